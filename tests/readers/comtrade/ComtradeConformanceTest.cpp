// Every record of the shared COMTRADE corpus (testdata/comtrade, see its
// SOURCES.md): channel counts, names, units, ratios, sample counts and time
// spacing against the configuration, with hand-checked values for several
// records. Skipped, visibly, when the corpus is absent.

#include <gtest/gtest.h>

#include <cmath>

#include "readers/comtrade/ComtradeTestSupport.h"
#include "readers/comtrade/ComtradeText.h"

namespace kov {
namespace {

namespace fs = std::filesystem;
using test::LoadComtrade;
using test::TestDataDir;

fs::path Corpus(const std::string& relative) {
    return TestDataDir() / "comtrade" / relative;
}

struct Expected {
    const char* path;
    unsigned analog, digital;
    std::uint64_t samples;  // samples the data file gives (loaded)
    bool question;          // fewer samples than the configuration announces
    double spacing;         // seconds between the first samples; 0: not checked
    const char* firstId;    // id of channel 1 as UTF-8 (default encoding); null: not checked
    const char* firstUnits;
    double primary, secondary;
    char side;
};

// Values read off each configuration by hand.
const Expected kRecords[] = {
    {"python-comtrade/sample_ascii.cfg", 4, 4, 40, false, 1 / 1200.0, "IA", "A", 933, 1, 'S'},
    {"python-comtrade/sample_ascii.cff", 4, 4, 40, false, 1 / 1200.0, "IA", "A", 933, 1, 'S'},
    {"python-comtrade/sample_iso8859-1.cfg", 4, 4, 40, false, 1 / 1200.0, "IA", "A", 933, 1, 'S'},
    {"python-comtrade/sample_iso8859-1_bin.cfg", 4, 4, 40, false, 1 / 1200.0, "IA", "A", 933, 1,
     'S'},
    {"python-comtrade/sample_bin.cfg", 4, 16, 5, false, 1 / 15360.0, "VA", "kV", 120, 1, 'P'},
    {"python-comtrade/sample_float32.cff", 1, 1, 301, false, 0.01, "test/out1", "none", 1, 1, 'P'},
    {"comtrade-jl/1991-ascii-sel.cfg", 24, 592, 480, false, 1 / 960.0, "IA", "A", 1, 1, 'P'},
    {"comtrade-jl/1999-ascii-pq.cfg", 6, 0, 3584, false, 1 / 7678.4834, "Ia", "A", 1, 1, 'P'},
    {"comtrade-jl/1999-binary-hif-sel.cfg", 18, 48, 20700, false, 0, "IARMS", "A", 1000, 1, 'P'},
    {"wisp-comtrade/1.cfg", 4, 15, 5316, false, 1 / 2401.509521, "UA", "V", 100, 1, 'S'},
    {"wisp-comtrade/2.cfg", 55, 112, 19679, false, 1 / 1200.0, nullptr, "kV", 1100, 1, 'P'},
    {"wisp-comtrade/3.cfg", 24, 64, 1360, false, 0, "F1-IA", "A", 1000, 1, 'S'},
    {"wisp-comtrade/4.CFG", 6, 16, 2399, false, 1 / 600.0, "I1", "A", 1250, 1, 'P'},
    {"wisp-comtrade/5.cfg", 37, 300, 202, false, 1 / 2000.0, "Ia", "A", 1000, 1, 'S'},
    {"comtradehandler/Comtrade1.cfg", 23, 140, 7200, false, 1 / 1200.0, "HV IR", "A", 1, 1, 'P'},
    {"comtradeofpython/D51_RCD_2346_20150917_105253_065_F.cfg", 24, 37, 2131, false, 1 / 1200.0,
     "Ia1", "A", 1, 1, 'P'},
    {"comtradeofpython/ygz.cfg", 96, 128, 2830, false, 1 / 3200.0, nullptr, "V", 127017, 57.735,
     'S'},
    {"go-comtrade/test2.cfg", 15, 7, 950, false, 0.001, "1-Ia", "A", 1, 1, 'S'},
    {"pycomtrade-jackzhangqf/cfg_file.CFG", 77, 77, 11878, false, 1 / 5000.0, nullptr, "V", 500000,
     100, 'S'},
    {"comtrade-reader-2013/pmu_11111_1613566298.cfg", 4, 16, 49500, false, 0.001, "Phase_A", "kA",
     1, 1, 'P'},
    {"comtradereadercalc/resultadosHCS.cfg", 9, 0, 5001, false, 199999 * 5e-4 * 1e-6, "HCSA", "V",
     1, 1, 'P'},
    {"comtrade-examples/TestRecord1_ASCII.CFG", 7, 3, 1300, false, 0.001, "LINE_A_IL1", "A", 2000,
     1, 'P'},
    {"comtrade-examples/TestRecord1_Binary.CFG", 7, 3, 1300, false, 0.001, "LINE_A_IL1", "A", 2000,
     1, 'P'},
    {"comtrade-toy/01340703835235278186.cfg", 4, 86, 701, true, 0.001, "ia", "A", 1, 1, 'P'},
    {"xiao-comtrade/ZH5X_RCD_2517_20240427_054924_244_S.CFG", 65, 32, 10437, false, 1 / 2000.0,
     nullptr, "V", 10000, 100, 'S'},
    {"pycomtrade-vicozhang/BAY01_0001_20221020_114520_483.cfg", 10, 32, 1024, false, 1 / 6400.0,
     "Ua", "kV", 10, 100, 'S'},
    {"nti-comtrade-parser/01/Number start = 690 Test = 4.1.2.1.1 Time = 07_19_2022 13_50_13.811 "
     "RTDS.cfg",
     18, 30, 14000, false, 1 / 20000.0, "IBURA1", "Amps", 1, 1, 'P'},
    {"nti-comtrade-parser/02/Number start = 690 Test = 4.1.2.1.1 Time = 07_19_2022 13_50_13.811 "
     "Terminal \xD0\x9F\xD0\xA1\xD0\x90.cfg",
     33, 128, 6000, false, 0.001, nullptr, nullptr, 0, 0, 0},
    {"ayrat-comtrade-reader/ASCII/\xD0\x9E\xD1\x81\xD1\x86\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xBE\xD0\xB3"
     "\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB0_\xD0\xA1\xD0\xB8\xD1\x80\xD0\xB8\xD1\x83\xD1\x81."
     "cfg.comtrade.1991.cfg",
     4, 32, 2001, false, 0.001, "Ia", "A", 1, 1, 'P'},
    {"derived-broken/1999-ascii-pq_truncated.cfg", 6, 0, 2151, true, 1 / 7678.4834, "Ia", "A", 1, 1,
     'P'},
    {"derived-broken/3_truncated.cfg", 24, 64, 625, true, 0, "F1-IA", "A", 1000, 1, 'S'},
    {"comtrade-io/ascii_cff_2013.cff", 96, 192, 186, true, 1e-4, nullptr, "V", 0, 0, 0},
};

TEST(ComtradeConformance, EveryRecordLoadsAsItsConfigurationSays) {
    KOV_REQUIRE_TESTDATA("comtrade");
    for (const Expected& e : kRecords) {
        SCOPED_TRACE(e.path);
        auto load = LoadComtrade(Corpus(e.path));
        ASSERT_TRUE(load->reader) << "cannot open";
        ASSERT_TRUE(load->headerOk);
        const ComtradeConfig& c = load->reader->config();
        EXPECT_EQ(c.analogCount, e.analog);
        EXPECT_EQ(c.digitalCount, e.digital);
        ASSERT_TRUE(load->loaded);
        EXPECT_EQ(load->ui.messages.size(), e.question ? 1u : 0u) << load->ui.LastText();
        ASSERT_EQ(load->stack.size(), e.analog + e.digital);
        EXPECT_EQ(load->reader->samplesRead(), e.samples);
        for (std::size_t i = 0; i < load->stack.size(); ++i)
            ASSERT_EQ(load->Item(i).pointCount(), e.samples) << i;
        const auto& first = load->Item(0);
        if (e.firstId) {
            EXPECT_EQ(first.namePart2(), e.firstId);
        }
        if (e.firstUnits) {
            EXPECT_EQ(first.namePart4(), e.firstUnits);
        }
        if (e.side) {
            EXPECT_DOUBLE_EQ(first.primaryRatio, e.primary);
            EXPECT_DOUBLE_EQ(first.secondaryRatio, e.secondary);
            EXPECT_EQ(first.valueSide, e.side);
        }
        // Digital items hold 0 and 1 only.
        if (e.digital > 0) {
            const auto& d = load->Item(e.analog);
            EXPECT_GE(d.yValues.min(), 0.0f);
            EXPECT_LE(d.yValues.max(), 1.0f);
        }
        if (e.spacing > 0 && e.samples > 2) {
            const double skew = c.channels[0].skew * 1e-6;
            EXPECT_NEAR(first.XAt(0), skew, 1e-6);
            EXPECT_NEAR(first.XAt(1) - first.XAt(0), e.spacing, e.spacing * 1e-4);
        }
        // Times never go backwards, and every name is valid UTF-8.
        for (std::size_t k = 1; k < first.pointCount(); ++k)
            ASSERT_GE(first.XAt(k), first.XAt(k - 1)) << k;
        for (std::size_t i = 0; i < load->stack.size(); ++i)
            EXPECT_TRUE(comtrade::IsValidUtf8(load->stack.at(i)->stackKey())) << i;
    }
}

TEST(ComtradeConformance, HandCheckedValues) {
    KOV_REQUIRE_TESTDATA("comtrade");
    // sample_ascii: IA of row 1 is -83 -> -83 * 0.1138916015625 + 0.05694580078125.
    auto ascii = LoadComtrade(Corpus("python-comtrade/sample_ascii.cfg"));
    ASSERT_TRUE(ascii->loaded);
    EXPECT_FLOAT_EQ(ascii->Y(0)[0], -9.39605712890625f);
    EXPECT_FLOAT_EQ(ascii->X(0)[39], 39 / 1200.0f);
    // sample_bin: VA of record 1 is 0x9E6D = -24979 -> * 0.000361849 kV.
    auto bin = LoadComtrade(Corpus("python-comtrade/sample_bin.cfg"));
    ASSERT_TRUE(bin->loaded);
    EXPECT_FLOAT_EQ(bin->Y(0)[0], static_cast<float>(-24979 * 0.000361849));
    // 1991 SEL relay: IA of row 1 is 156550 -> 156550 * 0.00079208 - 395.
    auto sel = LoadComtrade(Corpus("comtrade-jl/1991-ascii-sel.cfg"), {0});
    ASSERT_TRUE(sel->loaded);
    EXPECT_FLOAT_EQ(sel->Y(0)[0], static_cast<float>(156550 * 0.00079208 - 395));
    // SEL-651R, rate count 0: IARMS of record 1 is 0x8001 -> -32767 + 32767 = 0;
    // the times are the data file's timestamps (~690 s in all).
    auto hif = LoadComtrade(Corpus("comtrade-jl/1999-binary-hif-sel.cfg"), {0});
    ASSERT_TRUE(hif->loaded);
    EXPECT_EQ(hif->Y(0)[0], 0.0f);
    EXPECT_NEAR(hif->X(0).back(), 689.79, 0.01);
    // The 2013 binary record with time multiplier 0.0075669959 keeps the
    // 1200 Hz spacing of its rate line.
    auto mult = LoadComtrade(Corpus("python-comtrade/sample_iso8859-1_bin.cfg"), {0});
    ASSERT_TRUE(mult->loaded);
    EXPECT_NEAR(mult->X(0)[39], 39 / 1200.0, 1e-6);
}

TEST(ComtradeConformance, TwinRecordsGiveTheSameValues) {
    KOV_REQUIRE_TESTDATA("comtrade");
    const std::pair<const char*, const char*> twins[] = {
        {"comtrade-examples/TestRecord1_ASCII.CFG", "comtrade-examples/TestRecord1_Binary.CFG"},
        {"python-comtrade/sample_ascii.cfg", "python-comtrade/sample_ascii.cff"},
        {"ayrat-comtrade-reader/ASCII/\xD0\x9E\xD1\x81\xD1\x86\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xBE\xD0"
         "\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB0_\xD0\xA1\xD0\xB8\xD1\x80\xD0\xB8\xD1\x83\xD1"
         "\x81.cfg.comtrade.1991.cfg",
         "ayrat-comtrade-reader/BIN/\xD0\x9E\xD1\x81\xD1\x86\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xBE\xD0"
         "\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB0_\xD0\xA1\xD0\xB8\xD1\x80\xD0\xB8\xD1\x83\xD1"
         "\x81.cfg.comtrade.2013bin.cff"},
    };
    for (const auto& [one, other] : twins) {
        SCOPED_TRACE(one);
        auto a = LoadComtrade(Corpus(one));
        auto b = LoadComtrade(Corpus(other));
        ASSERT_TRUE(a->loaded && b->loaded);
        ASSERT_EQ(a->stack.size(), b->stack.size());
        for (std::size_t i = 0; i < a->stack.size(); ++i) {
            const auto ya = a->Y(i), yb = b->Y(i);
            ASSERT_EQ(ya.size(), yb.size()) << i;
            // The Sirius twins differ by one step of channel 4 in a few samples
            // (the writer's rounding).
            const double step = std::fabs(a->reader->config().channels[i].a) * 1.0001;
            for (std::size_t k = 0; k < ya.size(); ++k)
                ASSERT_NEAR(ya[k], yb[k], i == 3 ? step : 1e-4 * std::fabs(ya[k]) + 1e-6)
                    << i << " " << k;
        }
    }
}

TEST(ComtradeConformance, RecordsWithoutTheirDataFileReadTheirHeader) {
    KOV_REQUIRE_TESTDATA("comtrade");
    for (const char* path :
         {"comtrade-gopy/38957.cfg_utf8.cfg", "python-comtrade/sample_ascii_utf-8.cfg",
          "python-comtrade/sample_sub_char.cfg"}) {
        SCOPED_TRACE(path);
        auto load = LoadComtrade(Corpus(path));
        ASSERT_TRUE(load->headerOk);
        EXPECT_FALSE(load->loaded);  // no data file beside it: no message, no item
        EXPECT_TRUE(load->ui.messages.empty());
        EXPECT_FALSE(load->reader->Catalogue().empty());
    }
    auto utf8 = test::OpenComtrade(Corpus("python-comtrade/sample_ascii_utf-8.cfg"));
    EXPECT_EQ(utf8->StationText(),
              "SMARTSTATION testing text encoding: hgvcj\xED\x84\xB0\xED\x8C\x8C\xED\x81\xAC"
              "387, IED123");
    auto sub = test::OpenComtrade(Corpus("python-comtrade/sample_sub_char.cfg"));
    EXPECT_EQ(sub->config().channels.size(), 8u);
    EXPECT_EQ(sub->config().timeMultiplier, 1.0);
}

TEST(ComtradeConformance, NamesInLatin1Cp1251AndGbk) {
    KOV_REQUIRE_TESTDATA("comtrade");
    auto latin = test::OpenComtrade(Corpus("python-comtrade/sample_iso8859-1.cfg"));
    EXPECT_EQ(latin->StationText(),
              "Esta\xC3\xA7\xC3\xA3o de Medi\xC3\xA7\xC3\xA3o, "
              "Oscil\xC3\xB3grafo");
    if (comtrade::IsKnownEncoding("CP1251")) {
        auto load = LoadComtrade(Corpus("wisp-comtrade/2.cfg"), {0}, {{"encoding", "CP1251"}});
        ASSERT_TRUE(load->loaded);
        EXPECT_EQ(load->Item(0).namePart2(),
                  "Ua_1\xD0\xA1\xD0\xA8-110_\xD0\xA2\xD0\x9D_110\xD0\xBA\xD0\x92");
    }
    if (comtrade::IsKnownEncoding("GBK")) {
        auto load = LoadComtrade(Corpus("xiao-comtrade/ZH5X_RCD_2517_20240427_054924_244_S.CFG"),
                                 {0}, {{"encoding", "GBK"}});
        ASSERT_TRUE(load->loaded);
        EXPECT_EQ(load->Item(0).namePart2(),
                  "10kV\xE6\xAF\x8D\xE7\xBA\xBF\xE7\x94\xB5\xE5\x8E\x8B Ua");
    }
}

TEST(ComtradeConformance, HeaderFilesShowInTheDialogFields) {
    KOV_REQUIRE_TESTDATA("comtrade");
    auto reader = test::OpenComtrade(Corpus("comtrade-jl/1991-ascii-sel.cfg"));
    const std::string hdr = reader->HeaderText();
    EXPECT_FALSE(hdr.empty());
    EXPECT_LE(hdr.size(), 2048u * 3);
    EXPECT_TRUE(comtrade::IsValidUtf8(hdr));
    EXPECT_EQ(reader->StartTimeText(), "02/12/11 11:41:11.081315");
    // The 206 KB header of Comtrade1 is shown by its first 2,048 bytes.
    auto big = test::OpenComtrade(Corpus("comtradehandler/Comtrade1.cfg"));
    EXPECT_LE(big->HeaderText().size(), 2048u * 3);
    EXPECT_GT(big->HeaderText().size(), 1000u);
}

}  // namespace
}  // namespace kov
