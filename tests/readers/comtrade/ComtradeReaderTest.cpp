// The COMTRADE reader on records the tests write themselves: header fields,
// catalogue, the data run (ASCII, BINARY, BINARY32, FLOAT32), times, and the
// load's questions and failures.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/Strings.h"
#include "readers/comtrade/ComtradeTestSupport.h"

namespace kov {
namespace {

using test::BinaryRecords;
using test::LoadComtrade;
using test::OpenComtrade;
using test::TempDir;
using test::WriteFile;

// Two analog channels and one digital, 1000 Hz, four samples.
const char* const kCfg1999 =
    "STATION 1,12,1999\r\n"
    "3,2A,1D\r\n"
    "1,Va,A,Bus 1,kV,0.5,1,0,-32767,32767,132,0.11,P\r\n"
    "2,Ia,B,Line 2,A,2,0,10,-32767,32767,600,5,S\r\n"
    "1,Trip,,,0\r\n"
    "50\r\n"
    "1\r\n"
    "1000,4\r\n"
    "01/02/2020,10:00:00.000000\r\n"
    "01/02/2020,10:00:00.001000\r\n"
    "ASCII\r\n"
    "1\r\n";

const char* const kDatAscii =
    "1,0,10,20,1\r\n"
    "2,1000,-10,30,0\r\n"
    "3,2000,4,-2,1\r\n"
    "4,3000,0,0,0\r\n";

std::string WithFormat(std::string cfg, const std::string& format) {
    const std::size_t at = cfg.find("ASCII");
    return cfg.replace(at, 5, format);
}

TEST(ComtradeReader, ReadsTheHeaderFields) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    bool ok = false;
    auto reader = OpenComtrade(dir / "r.cfg", &ok);
    ASSERT_TRUE(reader && ok);
    const ComtradeConfig& c = reader->config();
    EXPECT_EQ(c.station, "STATION 1");
    EXPECT_EQ(c.deviceNumber, 12u);
    EXPECT_EQ(c.revisionYear, 1999);
    EXPECT_EQ(c.totalChannels, 3u);
    EXPECT_EQ(c.analogCount, 2u);
    EXPECT_EQ(c.digitalCount, 1u);
    ASSERT_EQ(c.channels.size(), 3u);
    const ComtradeChannel& ia = c.channels[1];
    EXPECT_EQ(ia.number, 2u);
    EXPECT_EQ(ia.id, "Ia");
    EXPECT_EQ(ia.phase, "B");
    EXPECT_EQ(ia.component, "Line 2");
    EXPECT_EQ(ia.units, "A");
    EXPECT_EQ(ia.a, 2.0);
    EXPECT_EQ(ia.skew, 10.0);
    EXPECT_EQ(ia.primary, 600.0);
    EXPECT_EQ(ia.secondary, 5.0);
    EXPECT_EQ(ia.side, 'S');
    EXPECT_FALSE(c.channels[2].analog);
    EXPECT_EQ(c.channels[2].a, 1.0);
    EXPECT_EQ(c.lineFrequency, 50.0);
    ASSERT_EQ(c.rates.size(), 1u);
    EXPECT_EQ(c.rates[0].rate, 1000.0);
    EXPECT_EQ(c.totalSamples, 4u);
    EXPECT_EQ(c.startTime, "10:00:00.000000");
    EXPECT_EQ(c.triggerTime, "10:00:00.001000");
    EXPECT_EQ(c.format, ComtradeFormat::Ascii);
    EXPECT_EQ(c.timeMultiplier, 1.0);
    EXPECT_EQ(reader->StationText(), "STATION 1, 12");
    EXPECT_EQ(reader->StartTimeText(), "01/02/2020 10:00:00.000000");
    EXPECT_EQ(reader->TriggerTimeText(), "01/02/2020 10:00:00.001000");
}

TEST(ComtradeReader, Revision1991ReadsTenFieldsAndKeepsUnitRatios) {
    std::string cfg = kCfg1999;
    cfg.replace(cfg.find(",1999"), 5, "");
    ComtradeConfig c;
    ASSERT_TRUE(ParseComtradeConfigText(cfg, c));
    EXPECT_EQ(c.revisionYear, 0);
    EXPECT_EQ(c.channels[1].primary, 1.0);
    EXPECT_EQ(c.channels[1].secondary, 1.0);
    EXPECT_EQ(c.channels[1].side, 'P');
    // Revisions from 1992 on (2000, 2013, ...) use the 13-field layout.
    cfg.replace(cfg.find("STATION 1,12"), 12, "STATION 1,12,2013");
    ASSERT_TRUE(ParseComtradeConfigText(cfg, c));
    EXPECT_EQ(c.channels[1].primary, 600.0);
}

TEST(ComtradeReader, CatalogueListsChannelsWithTheirKeys) {
    TempDir dir;
    WriteFile(dir / "fault.cfg", kCfg1999);
    auto reader = OpenComtrade(dir / "fault.cfg");
    const auto entries = reader->Catalogue();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].group, "Analog");
    EXPECT_EQ(entries[0].line, "1 A Va");
    EXPECT_EQ(entries[0].key, "(1_A     )(Va      )(Bus 1   )(kV      )(fault   )(WAVE)");
    EXPECT_EQ(entries[2].group, "Digital");
    EXPECT_EQ(entries[2].line, "1 Trip");
    EXPECT_EQ(entries[2].key, "(1       )(Trip    )(        )(        )(fault   )(WAVE)");
}

TEST(ComtradeReader, LoadsAsciiValuesTimesNotesAndRatios) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    WriteFile(dir / "r.dat", kDatAscii);
    auto load = LoadComtrade(dir / "r.cfg");
    ASSERT_TRUE(load->loaded);
    ASSERT_EQ(load->stack.size(), 3u);
    EXPECT_TRUE(load->ui.messages.empty());
    EXPECT_EQ(load->Y(0), (std::vector<float>{6, -4, 3, 1}));    // raw * 0.5 + 1
    EXPECT_EQ(load->Y(1), (std::vector<float>{40, 60, -4, 0}));  // raw * 2
    EXPECT_EQ(load->Y(2), (std::vector<float>{1, 0, 1, 0}));
    const auto x = load->X(0);
    ASSERT_EQ(x.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(x[k], 0.001f * k);
    // Ia has 10 us of skew.
    EXPECT_FLOAT_EQ(load->X(1)[3], 0.003f + 10e-6f);
    // Channels of the same skew share one time array; another skew has its own.
    EXPECT_TRUE(load->Item(0).xValues.SharesWith(load->Item(2).xValues));
    EXPECT_FALSE(load->Item(0).xValues.SharesWith(load->Item(1).xValues));
    const auto& ia = load->Item(1);
    EXPECT_EQ(ia.primaryRatio, 600.0);
    EXPECT_EQ(ia.secondaryRatio, 5.0);
    EXPECT_EQ(ia.valueSide, 'S');
    EXPECT_EQ(ia.notes,
              (std::vector<std::string>{"STATION 1", "  Start Time:01/02/2020 10:00:00.000000",
                                        "Trigger Time: 01/02/2020 10:00:00.001000"}));
    EXPECT_EQ(ia.sourcePath(), (dir / "r.cfg").string());
    EXPECT_EQ(ia.namePart1(), "2_B");
    EXPECT_EQ(ia.axisUnits[kAxisX].unitId, kUnitSeconds);
    EXPECT_FLOAT_EQ(ia.yValues.max(), 60.0f);
    EXPECT_NE(ia.summary(), nullptr);
}

std::string BinaryOfTheAsciiData(int width) {
    // The samples of kDatAscii as binary records.
    const int raw[4][3] = {{10, 20, 1}, {-10, 30, 0}, {4, -2, 1}, {0, 0, 0}};
    BinaryRecords r;
    for (std::uint32_t k = 0; k < 4; ++k) {
        r.U32(k + 1);
        r.U32(1000 * k);
        for (int c = 0; c < 2; ++c) {
            if (width == 2) r.I16(static_cast<std::int16_t>(raw[k][c]));
            if (width == 4) r.I32(raw[k][c]);
            if (width == 5) r.F32(static_cast<float>(raw[k][c]));
        }
        r.U16(static_cast<std::uint16_t>(raw[k][2]));
    }
    return r.bytes();
}

TEST(ComtradeReader, BinaryFormatsReadTheSameValuesAsAscii) {
    const std::pair<const char*, int> formats[] = {{"BINARY", 2}, {"binary32", 4}, {"FLOAT32", 5}};
    for (const auto& [format, width] : formats) {
        TempDir dir;
        WriteFile(dir / "r.cfg", WithFormat(kCfg1999, format));
        WriteFile(dir / "r.dat", BinaryOfTheAsciiData(width));
        auto load = LoadComtrade(dir / "r.cfg");
        ASSERT_TRUE(load->loaded) << format;
        ASSERT_EQ(load->stack.size(), 3u) << format;
        EXPECT_EQ(load->Y(0), (std::vector<float>{6, -4, 3, 1})) << format;
        EXPECT_EQ(load->Y(1), (std::vector<float>{40, 60, -4, 0})) << format;
        EXPECT_EQ(load->Y(2), (std::vector<float>{1, 0, 1, 0})) << format;
        EXPECT_TRUE(load->ui.messages.empty()) << format;
    }
}

TEST(ComtradeReader, BinaryWithTwentyDigitalChannelsHasTwoStatusWords) {
    std::string cfg = "S,1,1999\n21,1A,20D\n1,V,,,V,1,0,0,0,0,1,1,P\n";
    for (int d = 1; d <= 20; ++d) cfg += std::to_string(d) + ",D" + std::to_string(d) + ",,,0\n";
    cfg += "60\n1\n1000,2\n01/01/2020,00:00:00\n01/01/2020,00:00:00\nBINARY\n1\n";
    BinaryRecords r;
    r.U32(1), r.U32(0), r.I16(5), r.U16(0x8001), r.U16(0x0001);     // D1, D16, D17
    r.U32(2), r.U32(1000), r.I16(6), r.U16(0x0002), r.U16(0x0008);  // D2, D20
    TempDir dir;
    WriteFile(dir / "d.cfg", cfg);
    WriteFile(dir / "d.dat", r.bytes());
    auto load = LoadComtrade(dir / "d.cfg");
    ASSERT_TRUE(load->loaded);
    ASSERT_EQ(load->stack.size(), 21u);
    EXPECT_EQ(load->Y(0), (std::vector<float>{5, 6}));
    EXPECT_EQ(load->Y(1), (std::vector<float>{1, 0}));   // D1
    EXPECT_EQ(load->Y(2), (std::vector<float>{0, 1}));   // D2
    EXPECT_EQ(load->Y(16), (std::vector<float>{1, 0}));  // D16: bit 15 of word 1
    EXPECT_EQ(load->Y(17), (std::vector<float>{1, 0}));  // D17: bit 0 of word 2
    EXPECT_EQ(load->Y(20), (std::vector<float>{0, 1}));  // D20: bit 3 of word 2
}

std::string OneChannelCfg(const std::string& rates, const std::string& tail = "ASCII\n") {
    return "S,1,1999\n1,1A,0D\n1,V,,,V,1,0,0,0,0,1,1,P\n60\n" + rates +
           "01/01/2020,00:00:00.000000\n01/01/2020,00:00:00.000000\n" + tail;
}

std::string AsciiRows(int count, int stampStep = 0) {
    std::string dat;
    for (int k = 1; k <= count; ++k)
        dat += std::to_string(k) + "," + std::to_string((k - 1) * stampStep) + "," +
               std::to_string(k) + "\n";
    return dat;
}

TEST(ComtradeReader, RateSegmentsChangeTheSpacingAndContinueTheTimes) {
    TempDir dir;
    WriteFile(dir / "m.cfg", OneChannelCfg("2\n1000,100\n500,150\n"));
    WriteFile(dir / "m.dat", AsciiRows(150));
    auto load = LoadComtrade(dir / "m.cfg");
    ASSERT_TRUE(load->loaded);
    const auto x = load->X(0);
    ASSERT_EQ(x.size(), 150u);
    EXPECT_NEAR(x[0], 0.0, 1e-9);
    EXPECT_NEAR(x[99] - x[98], 0.001, 1e-6);   // samples 1..100: 1 ms apart
    EXPECT_NEAR(x[100] - x[99], 0.002, 1e-6);  // sample 101 on: 2 ms apart
    EXPECT_NEAR(x[149], 0.099 + 50 * 0.002, 1e-6);
}

TEST(ComtradeReader, ZeroLengthAndBackwardSegmentsArePassed) {
    TempDir dir;
    WriteFile(dir / "z.cfg", OneChannelCfg("4\n1000,10\n2000,10\n500,5\n250,20\n"));
    WriteFile(dir / "z.dat", AsciiRows(20));
    auto load = LoadComtrade(dir / "z.cfg");
    ASSERT_TRUE(load->loaded);
    const auto x = load->X(0);
    ASSERT_EQ(x.size(), 20u);
    EXPECT_NEAR(x[9], 0.009, 1e-6);
    EXPECT_NEAR(x[10] - x[9], 0.004, 1e-6);  // the 250 Hz segment follows the first
}

TEST(ComtradeReader, RateCountZeroTakesTheTimestampsTimesTheMultiplier) {
    TempDir dir;
    WriteFile(dir / "t.cfg", OneChannelCfg("0\n0,1200\n", "ASCII\n0.5\n"));
    WriteFile(dir / "t.dat", AsciiRows(1200, 100));
    auto load = LoadComtrade(dir / "t.cfg");
    ASSERT_TRUE(load->loaded);
    const auto x = load->X(0);
    ASSERT_EQ(x.size(), 1200u);
    EXPECT_NEAR(x[0], 0.0, 1e-9);
    EXPECT_NEAR(x[1], 100 * 0.5 * 1e-6, 1e-9);
    EXPECT_NEAR(x[1199], 1199 * 100 * 0.5 * 1e-6, 1e-7);
}

TEST(ComtradeReader, TimeMultiplierLeavesRateTimesAlone) {
    TempDir dir;
    WriteFile(dir / "t.cfg", OneChannelCfg("1\n1000,5\n", "ASCII\n0.00757\n"));
    WriteFile(dir / "t.dat", AsciiRows(5, 7));
    auto load = LoadComtrade(dir / "t.cfg");
    ASSERT_TRUE(load->loaded);
    const auto x = load->X(0);
    ASSERT_EQ(x.size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) EXPECT_NEAR(x[k], 0.001 * k, 1e-7);
}

TEST(ComtradeReader, NanosecondStartStampMakesTimestampsNanoseconds) {
    std::string cfg = OneChannelCfg("0\n0,3\n", "ASCII\n1\n");
    cfg.replace(cfg.find("00:00:00.000000"), 15, "00:00:00.000000000");
    TempDir dir;
    WriteFile(dir / "n.cfg", cfg);
    WriteFile(dir / "n.dat", AsciiRows(3, 500));
    auto load = LoadComtrade(dir / "n.cfg");
    ASSERT_TRUE(load->loaded);
    EXPECT_NEAR(load->X(0)[2], 1000e-9, 1e-12);
}

TEST(ComtradeReader, LongRecordsKeepExactTimesAndShareTheIndexArray) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    WriteFile(dir / "r.dat", kDatAscii);
    auto load = std::make_unique<test::ComtradeLoad>();
    load->reader = OpenComtrade(dir / "r.cfg");
    load->reader->runOptions.exactTimeAbove = 2;
    ASSERT_TRUE(load->reader->LoadChoice(load->stack, load->ui, {{0, 1, 2}, {}}));
    const auto& va = load->Item(0);
    ASSERT_TRUE(va.xExact.present());
    EXPECT_EQ(va.xValues[3], 3.0f);
    EXPECT_DOUBLE_EQ(va.xExact[3], 0.003);
    EXPECT_DOUBLE_EQ(load->Item(1).xExact[3], 0.003 + 10e-6);
    EXPECT_TRUE(va.xValues.SharesWith(load->Item(1).xValues));
    EXPECT_TRUE(va.xExact.SharesWith(load->Item(2).xExact));
}

TEST(ComtradeReader, ChannelIdInKeyFormGivesTheExportedIdentity) {
    const std::string id = "(BUS1    )(VOLTAGE )(Type 4  )(x       )(case    )(WAVE)";
    ASSERT_EQ(id.size(), 56u);
    TempDir dir;
    WriteFile(dir / "e.cfg", "S,1,1999\n1,1A,0D\n1," + id +
                                 ",,,,1,0,0,0,0,1,1,P\n60\n1\n"
                                 "1000,1\n01/01/2020,00:00:00\n01/01/2020,00:00:00\nASCII\n");
    WriteFile(dir / "e.dat", "1,0,5\n");
    auto load = LoadComtrade(dir / "e.cfg");
    ASSERT_TRUE(load->loaded);
    const auto& item = load->Item(0);
    EXPECT_EQ(item.namePart1(), "BUS1    ");
    EXPECT_EQ(item.namePart2(), "VOLTAGE ");
    EXPECT_EQ(item.namePart3(), "Type 4  ");
    EXPECT_EQ(item.caseName(), "COMTRADE");
    EXPECT_EQ(item.typeTag(), "WAVE");
}

TEST(ComtradeReader, ShortDataFileAsksAndKeepsWhatWasReadOnYes) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    WriteFile(dir / "r.dat", "1,0,10,20,1\n2,1000,-10,30,0\n");
    auto load = LoadComtrade(dir / "r.cfg");
    ASSERT_TRUE(load->loaded);
    ASSERT_EQ(load->ui.messages.size(), 1u);
    EXPECT_EQ(load->ui.messages[0].text, str::kDataFileShort);
    EXPECT_EQ(load->ui.messages[0].caption, "Kovatrix");
    EXPECT_EQ(load->ui.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(load->ui.beeps, 1);
    ASSERT_EQ(load->stack.size(), 3u);
    EXPECT_EQ(load->Y(0), (std::vector<float>{6, -4}));
    EXPECT_EQ(load->Item(0).pointCount(), 2u);
}

TEST(ComtradeReader, ShortDataFileAnsweredNoAddsNothing) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    WriteFile(dir / "r.dat", "1,0,10,20,1\n");
    auto load = LoadComtrade(dir / "r.cfg", {}, {}, Answer::No);
    EXPECT_FALSE(load->loaded);
    EXPECT_TRUE(load->stack.empty());
    EXPECT_EQ(load->ui.messages.size(), 1u);
}

TEST(ComtradeReader, EmptyDataFileGivesItemsWithoutPointsOnYes) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    WriteFile(dir / "r.dat", "");
    auto load = LoadComtrade(dir / "r.cfg");
    ASSERT_TRUE(load->loaded);
    ASSERT_EQ(load->stack.size(), 3u);
    EXPECT_EQ(load->Item(0).pointCount(), 0u);
}

TEST(ComtradeReader, MissingDataFileFailsWithoutMessage) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    auto load = LoadComtrade(dir / "r.cfg");
    EXPECT_TRUE(load->headerOk);
    EXPECT_FALSE(load->loaded);
    EXPECT_TRUE(load->ui.messages.empty());
    EXPECT_TRUE(load->stack.empty());
    EXPECT_EQ(load->ui.waitDepth, 0);
}

TEST(ComtradeReader, LoadsOnlyTheChosenChannelsAndSkipsThoseOnTheStack) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    WriteFile(dir / "r.dat", kDatAscii);
    auto load = LoadComtrade(dir / "r.cfg", {1, 1, 7});
    ASSERT_TRUE(load->loaded);
    ASSERT_EQ(load->stack.size(), 1u);
    EXPECT_EQ(load->Item(0).namePart2(), "Ia");
    // Loading everything again adds the two others, without a conflict message.
    ASSERT_TRUE(load->reader->LoadChoice(load->stack, load->ui, {{0, 1, 2}, {}}));
    EXPECT_EQ(load->stack.size(), 3u);
    EXPECT_TRUE(load->ui.messages.empty());
}

TEST(ComtradeReader, UnknownEncodingOptionIsRefused) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    WriteFile(dir / "r.dat", kDatAscii);
    auto load = LoadComtrade(dir / "r.cfg", {}, {{"encoding", "NO-SUCH-CODE"}});
    EXPECT_FALSE(load->loaded);
    EXPECT_EQ(load->ui.LastText(), "Unknown text encoding \"NO-SUCH-CODE\".");
    EXPECT_TRUE(load->stack.empty());
}

TEST(ComtradeReader, HeaderFileTextIsCutAt2048Bytes) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    std::string hdr(2047, 'h');
    hdr += "\xC3\xA9 more";  // U+00E9 split by the cut at 2,048 bytes
    WriteFile(dir / "r.HDR", hdr);
    auto reader = OpenComtrade(dir / "r.cfg");
    const std::string text = reader->HeaderText();
    EXPECT_EQ(text, std::string(2047, 'h'));
    TempDir none;
    WriteFile(none / "r.cfg", kCfg1999);
    EXPECT_EQ(OpenComtrade(none / "r.cfg")->HeaderText(), "");
}

TEST(ComtradeReader, CompanionFilesAreFoundWhateverTheCaseOfTheirExtension) {
    TempDir dir;
    WriteFile(dir / "4.CFG", kCfg1999);
    WriteFile(dir / "4.DAT", kDatAscii);
    WriteFile(dir / "x.cfg", kCfg1999);
    WriteFile(dir / "x.Dat", kDatAscii);
    WriteFile(dir / "x.HDR", "header");
    EXPECT_TRUE(LoadComtrade(dir / "4.CFG")->loaded);
    auto x = LoadComtrade(dir / "x.cfg");
    EXPECT_TRUE(x->loaded);
    EXPECT_EQ(x->reader->HeaderText(), "header");
    EXPECT_EQ(FindComtradeCompanion((dir / "x.cfg").string(), ".dat"), (dir / "x.Dat").string());
    EXPECT_EQ(FindComtradeCompanion((dir / "nothing.cfg").string(), ".dat"), "");
}

TEST(ComtradeReader, SingleFileRecordWithAsciiData) {
    std::string cff = "--- file type: CFG ---\r\n";
    cff += kCfg1999;
    cff +=
        "\r\n--- file type: INF ---\r\n[x]\r\n--- file type: HDR ---\r\nFault on line 2\r\n"
        "--- file type: DAT ASCII ---\r\n";
    cff += kDatAscii;
    TempDir dir;
    WriteFile(dir / "r.cff", cff);
    auto load = LoadComtrade(dir / "r.cff");
    ASSERT_TRUE(load->loaded);
    EXPECT_TRUE(load->reader->singleFile());
    EXPECT_EQ(load->reader->HeaderText(), "Fault on line 2\n");
    ASSERT_EQ(load->stack.size(), 3u);
    EXPECT_EQ(load->Y(1), (std::vector<float>{40, 60, -4, 0}));
    EXPECT_TRUE(load->ui.messages.empty());
}

TEST(ComtradeReader, SingleFileRecordWithBinaryDataSection) {
    const std::string data = BinaryOfTheAsciiData(4);
    std::string cff = "--- file type: CFG ---\n" + WithFormat(kCfg1999, "BINARY32") +
                      "--- file type: INF ---\n--- file type: HDR ---\n"
                      "--- file type: DAT BINARY32: " +
                      std::to_string(data.size()) + " ---\n" + data + "trailing bytes";
    TempDir dir;
    WriteFile(dir / "b.cff", cff);
    auto load = LoadComtrade(dir / "b.cff");
    ASSERT_TRUE(load->loaded);
    EXPECT_EQ(load->Y(0), (std::vector<float>{6, -4, 3, 1}));
    EXPECT_EQ(load->Y(2), (std::vector<float>{1, 0, 1, 0}));
    EXPECT_TRUE(load->ui.messages.empty());
}

TEST(ComtradeReader, SectionMarkersAreRecognised) {
    auto m = ParseComtradeSectionMarker("--- file type: DAT BINARY: 40020 ---");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->section, "DAT");
    EXPECT_EQ(m->format, "BINARY");
    EXPECT_EQ(m->bytes, 40020u);
    m = ParseComtradeSectionMarker("-- file type  hdr ---");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->section, "HDR");
    EXPECT_FALSE(m->bytes);
    EXPECT_FALSE(ParseComtradeSectionMarker("1,2,3"));
    EXPECT_FALSE(ParseComtradeSectionMarker("--- nothing ---"));
}

TEST(ComtradeReader, CheckFileReportsTheStreamState) {
    ComtradeDataFile reader;
    EXPECT_EQ(reader.CheckFile(nullptr), -1);
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg1999);
    std::FILE* f = std::fopen((dir / "r.cfg").string().c_str(), "rb");
    EXPECT_EQ(reader.CheckFile(f), 0);
    std::fclose(f);
}

}  // namespace
}  // namespace kov
