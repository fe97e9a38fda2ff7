// Truncated, corrupted and hostile records: the header fails (status 3 in
// the open flow) or the data run stops at what is there; never a crash, a
// hang or an allocation beyond what the file holds.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "readers/comtrade/ComtradeTestSupport.h"

namespace kov {
namespace {

using test::BinaryRecords;
using test::LoadComtrade;
using test::OpenComtrade;
using test::TempDir;
using test::WriteFile;

std::string Cfg(const std::string& counts, const std::string& rates,
                const std::string& format = "ASCII") {
    return "S,1,1999\n" + counts + "\n1,V,,,V,1,0,0,0,0,1,1,P\n1,D,,,0\n60\n" + rates +
           "\n01/01/2020,00:00:00\n01/01/2020,00:00:00\n" + format + "\n1\n";
}

bool HeaderOk(const std::string& cfg) {
    ComtradeConfig c;
    return ParseComtradeConfigText(cfg, c);
}

TEST(ComtradeHostile, HugeAndNegativeChannelCountsFailTheHeader) {
    EXPECT_TRUE(HeaderOk(Cfg("2,1A,1D", "1\n1000,2")));
    EXPECT_FALSE(HeaderOk(Cfg("2,999999999A,1D", "1\n1000,2")));
    EXPECT_FALSE(HeaderOk(Cfg("2,1A,4294967297D", "1\n1000,2")));
    EXPECT_FALSE(HeaderOk(Cfg("2,-1A,1D", "1\n1000,2")));
    EXPECT_FALSE(HeaderOk(Cfg("2,1A,-3D", "1\n1000,2")));
    // More channels announced than lines follow: the lines run out.
    EXPECT_FALSE(HeaderOk(Cfg("2,90000A,1D", "1\n1000,2")));
    EXPECT_FALSE(HeaderOk(Cfg("2,1A,1D", "-1\n1000,2")));
}

TEST(ComtradeHostile, EveryTruncationOfTheConfigurationIsHandled) {
    const std::string cfg = Cfg("2,1A,1D", "1\n1000,2");
    // The trigger line is the last mandatory one (file type and time
    // multiplier are optional): a cut before it fails, any later cut leaves
    // a usable header.
    const std::size_t triggerLine = cfg.rfind("01/01/2020");
    for (std::size_t n = 0; n < cfg.size(); ++n) {
        const std::string cut = cfg.substr(0, n);
        EXPECT_EQ(HeaderOk(cut), n > triggerLine) << n;
    }
}

TEST(ComtradeHostile, NonNumericFieldsReadAsZero) {
    ComtradeConfig c;
    ASSERT_TRUE(ParseComtradeConfigText(
        "S,x,y\nz,1A,1D\nq,V,,,V,a,b,c,d,e\nr,D,,,s\nlf\nn\nrate,end\nd,t\nd,t\nWHAT\nm\n", c));
    EXPECT_EQ(c.deviceNumber, 0u);
    EXPECT_EQ(c.revisionYear, 0);
    EXPECT_EQ(c.channels[0].a, 0.0);
    EXPECT_EQ(c.rateCount, 0u);
    EXPECT_EQ(c.totalSamples, 0u);
    EXPECT_EQ(c.format, ComtradeFormat::Ascii);
    EXPECT_EQ(c.timeMultiplier, 1.0);
}

TEST(ComtradeHostile, AbsurdRatesAndMultipliersAreTamed) {
    ComtradeConfig c;
    ASSERT_TRUE(ParseComtradeConfigText(Cfg("2,1A,1D", "3\nnan,1\n-5,2\n1e400,3"), c));
    EXPECT_EQ(c.rates[0].rate, 0.0);
    EXPECT_EQ(c.rates[1].rate, 0.0);
    EXPECT_TRUE(std::isfinite(c.rates[2].rate));
    // 999 rate lines would have to follow.
    EXPECT_FALSE(ParseComtradeConfigText(Cfg("2,1A,1D", "1000000\n1000,2"), c));
    EXPECT_EQ(c.rateCount, 999u);
    std::string cfg = Cfg("2,1A,1D", "1\n1000,2");
    cfg.replace(cfg.rfind("1\n"), 2, "-7\n");
    ASSERT_TRUE(ParseComtradeConfigText(cfg, c));
    EXPECT_EQ(c.timeMultiplier, 1.0);
}

TEST(ComtradeHostile, ValuesAndTimesBeyondTheFloatRangeStayFinite) {
    TempDir dir;
    WriteFile(dir / "f.cfg",
              "S,1,1999\n1,1A,0D\n1,V,,,V,1e300,0,0,0,0,1,1,P\n60\n1\n1e-300,2\n"
              "01/01/2020,00:00:00\n01/01/2020,00:00:00\nASCII\n");
    WriteFile(dir / "f.dat", "1,0,5\n2,1,-5\n");
    auto load = LoadComtrade(dir / "f.cfg");
    ASSERT_TRUE(load->loaded);
    EXPECT_EQ(load->Y(0), (std::vector<float>{std::numeric_limits<float>::max(),
                                              -std::numeric_limits<float>::max()}));
    EXPECT_TRUE(std::isfinite(load->Item(0).xValues[1]));
}

TEST(ComtradeHostile, HugeEndSampleWithSmallDataFileAllocatesOnlyWhatIsThere) {
    for (const char* format : {"ASCII", "BINARY"}) {
        TempDir dir;
        WriteFile(dir / "h.cfg", Cfg("2,1A,1D", "1\n1000,4000000000000", format));
        if (std::string(format) == "ASCII") {
            WriteFile(dir / "h.dat", "1,0,5,1\n2,1,6,0\n");
        } else {
            BinaryRecords r;
            r.U32(1), r.U32(0), r.I16(5), r.U16(1);
            r.U32(2), r.U32(1), r.I16(6), r.U16(0);
            WriteFile(dir / "h.dat", r.bytes());
        }
        auto load = LoadComtrade(dir / "h.cfg");
        ASSERT_TRUE(load->loaded) << format;
        EXPECT_EQ(load->Y(0), (std::vector<float>{5, 6})) << format;
        EXPECT_EQ(load->ui.messages.size(), 1u) << format;  // question 2037
        EXPECT_LE(load->Item(0).yValues.size(), 2u) << format;
    }
}

TEST(ComtradeHostile, AsciiDataLongerThanItsFirstEstimateGrows) {
    // Rows much shorter than the channel count suggests: the arrays grow.
    TempDir dir;
    std::string cfg = "S,1,1999\n40,40A,0D\n";
    for (int c = 1; c <= 40; ++c) cfg += std::to_string(c) + ",C,,,V,1,0,0,0,0,1,1,P\n";
    cfg += "60\n1\n1000,5000\n01/01/2020,00:00:00\n01/01/2020,00:00:00\nASCII\n";
    std::string dat;
    for (int k = 1; k <= 5000; ++k) dat += std::to_string(k) + ",0," + std::to_string(k) + "\n";
    WriteFile(dir / "g.cfg", cfg);
    WriteFile(dir / "g.dat", dat);
    auto load = LoadComtrade(dir / "g.cfg", {0, 39});
    ASSERT_TRUE(load->loaded);
    EXPECT_TRUE(load->ui.messages.empty());
    const auto y = load->Y(0);
    ASSERT_EQ(y.size(), 5000u);
    EXPECT_EQ(y[4999], 5000.0f);
    EXPECT_EQ(load->Y(1)[10], 0.0f);  // missing from every row
}

TEST(ComtradeHostile, CorruptedRecordsNeverCrash) {
    // Random byte changes in a valid record, through header and data run.
    const std::string cfg = Cfg("2,1A,1D", "2\n1000,3\n500,6");
    std::string dat;
    for (int k = 1; k <= 6; ++k) dat += std::to_string(k) + "," + std::to_string(k) + ",7,1\n";
    std::mt19937 random(12345);
    const char alphabet[] = "0123456789,-.eE\r\n\x1A AD:";
    int usable = 0;
    for (int round = 0; round < 300; ++round) {
        std::string c = cfg, d = dat;
        for (int i = 0; i < 4; ++i) {
            std::string& target = (random() % 2) ? c : d;
            if (target.empty()) continue;
            const std::size_t at = random() % target.size();
            switch (random() % 3) {
                case 0:
                    target[at] = alphabet[random() % (sizeof alphabet - 1)];
                    break;
                case 1:
                    target.erase(at, 1 + random() % 8);
                    break;
                default:
                    target.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]);
            }
        }
        TempDir dir;
        WriteFile(dir / "c.cfg", c);
        WriteFile(dir / "c.dat", d);
        auto load = LoadComtrade(dir / "c.cfg");
        if (!load->headerOk) continue;
        ++usable;
        for (std::size_t i = 0; i < load->stack.size(); ++i)
            EXPECT_LE(load->Item(i).pointCount(), load->reader->config().totalSamples);
    }
    EXPECT_GT(usable, 0);
}

TEST(ComtradeHostile, SingleFileRecordWithLyingSectionSizes) {
    const std::string head = "--- file type: CFG ---\n" + Cfg("2,1A,1D", "1\n1000,2", "BINARY");
    BinaryRecords r;
    r.U32(1), r.U32(0), r.I16(5), r.U16(1);
    for (const std::string& marker :
         {std::string("--- file type: DAT BINARY: 99999999999 ---\n"),
          std::string("--- file type: DAT BINARY: -4 ---\n"),
          std::string("--- file type: DAT ---\n"), std::string("--- file type: HDR ---\n")}) {
        TempDir dir;
        WriteFile(dir / "l.cff", head + marker + r.bytes());
        auto load = LoadComtrade(dir / "l.cff");
        ASSERT_TRUE(load->headerOk) << marker;
        EXPECT_TRUE(load->loaded) << marker;
        // One record is there, two were announced: question 2037 each time.
        EXPECT_EQ(load->ui.messages.size(), 1u) << marker;
        if (!load->stack.empty()) {
            EXPECT_LE(load->Item(0).pointCount(), 1u) << marker;
        }
    }
}

TEST(ComtradeHostile, MissingConfigurationLinesFailTheHeaderThroughTheReader) {
    TempDir dir;
    WriteFile(dir / "m.cfg", "S,1,1999\n2,1A,1D\n1,V,,,V,1,0,0,0,0,1,1,P\n");
    bool ok = true;
    auto reader = OpenComtrade(dir / "m.cfg", &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(reader->Catalogue().empty());
    test::ComtradeLoad load;
    EXPECT_FALSE(reader->LoadChoice(load.stack, load.ui, {{0}, {}}));
    WriteFile(dir / "empty.cfg", "");
    OpenComtrade(dir / "empty.cfg", &ok);
    EXPECT_FALSE(ok);
}

}  // namespace
}  // namespace kov
