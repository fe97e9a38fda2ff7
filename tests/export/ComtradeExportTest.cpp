// COMTRADE export: the exact configuration and data lines, the scaling, the
// channel cap, failures, and records read back by the COMTRADE reader.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "export/ComtradeExport.h"
#include "export/ExportItems.h"
#include "readers/comtrade/ComtradeTestSupport.h"

namespace kov {
namespace {

using test::ExportWave;
using test::Times;

// 1700000000 s is 14 November 2023, 22:13:20 UTC.
ComtradeExportOptions FixedClock() {
    setenv("TZ", "UTC", 1);
    tzset();
    ComtradeExportOptions options;
    options.clock = [] { return std::time_t{1700000000}; };
    return options;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(ComtradeExport, ValuesFromMinusOneToOne) {
    test::TempDir dir;
    // Times 1/1024 s apart are exact in single precision: rate 1024 Hz, and
    // i x 976.5625 us rounded.
    auto a = ExportWave("A", Times(5, 1.0f / 1024), {-1, 0, 0.5f, 1, -1});
    a->notes = {"Station 7", std::string(200, 'n')};
    const std::vector<const PlotableStackObject*> items{a.get()};
    ASSERT_TRUE(WriteComtradeExport((dir / "rec.cfg").string(), items, FixedClock()));

    // a = 2 / 65535 = 3.0518043793e-05, written with 9 digits; b = -1.
    EXPECT_EQ(test::ReadFile(dir / "rec.cfg"),
              "KOV,0,1999\r\n"
              "1,1A,0D\r\n"
              "1,(A       )(        )(        )(        )(case    )(WAVE),,KOV OUTPUT,V,"
              "3.05180438e-05,-1,0,0,65535,1,1,P\r\n"
              "60\r\n"
              "1\r\n"
              "1024,5\r\n"
              "14/11/2023,22:13:20.000000\r\n"
              "14/11/2023,22:13:20.000000\r\n"
              "ASCII\r\n"
              "1.0\r\n");
    // raw = (v + 1) / a rounded: 1 / 3.05180438e-05 = 32767.49999 gives 32767,
    // 1.5 / a = 49151.24999 gives 49151.
    EXPECT_EQ(test::ReadFile(dir / "rec.dat"),
              "1,0,0\r\n"
              "2,977,32767\r\n"
              "3,1953,49151\r\n"
              "4,2930,65535\r\n"
              "5,3906,0\r\n");
    EXPECT_EQ(test::ReadFile(dir / "rec.hdr"),
              "This file was created by KOV, Kovatrix,\n"
              "a program for the visualization of time and frequency\n"
              "domain data from measurement and simulation tools.\n"
              "KOV is made by Marvane Applications.\n"
              "\n"
              "Comments for Stack Item: (A       )(        )(        )(        )(case    )(WAVE)\n"
              "    Station 7\n"
              "    " +
                  std::string(127, 'n') +
                  "\n"
                  "\n");
}

TEST(ComtradeExport, ChannelLinesOfSeveralItems) {
    test::TempDir dir;
    auto a = ExportWave("VA,1", Times(3, 0.5f), {10, 20, 30}, kUnitVoltage);
    auto b = ExportWave("IA", Times(2, 0.5f), {5, 5}, kUnitCurrent);
    b->primaryRatio = 1200;
    b->secondaryRatio = 5;
    b->valueSide = 'S';
    a->axisUnits[kAxisY].prefix = "k";  // a display prefix: values stay in volts
    const std::vector<const PlotableStackObject*> items{a.get(), b.get()};
    ASSERT_TRUE(WriteComtradeExport((dir / "two").string(), items, FixedClock()));
    const auto cfg = Lines(test::ReadFile(dir / "two.cfg"));
    ASSERT_EQ(cfg.size(), 11u);
    EXPECT_EQ(cfg[1], "2,2A,0D");
    // ',' in the key becomes '_'; 20 / 65535 = 3.05180438e-04.
    EXPECT_EQ(cfg[2],
              "1,(VA_1    )(        )(        )(        )(case    )(WAVE),,KOV OUTPUT,V,"
              "0.000305180438,10,0,0,65535,1,1,P");
    // A constant item: a = 0, every raw value 0.
    EXPECT_EQ(cfg[3],
              "2,(IA      )(        )(        )(        )(case    )(WAVE),,KOV OUTPUT,A,0,5,0,"
              "0,65535,1200,5,S");
    EXPECT_EQ(cfg[6], "2,3");
    // 10 / 0.000305180438 = 32767.49999 rounds to 32767. The second item ends
    // after two rows: an empty field in the third.
    EXPECT_EQ(test::ReadFile(dir / "two.dat"),
              "1,0,0,0\r\n"
              "2,500000,32767,0\r\n"
              "3,1000000,65535,\r\n");
}

TEST(ComtradeExport, RecordedStartAndTriggerStamps) {
    test::TempDir dir;
    auto a = ExportWave("A", Times(2, 0.5f), {0, 1});
    a->acquisition.timeStampPresent = 1;
    a->acquisition.startTime = {45244, 80000.25};  // day 19675 after 1970: 14 Nov 2023
    a->acquisition.triggerFlag = 1;
    a->acquisition.triggerTime = {45244, 80000.7500004};
    const std::vector<const PlotableStackObject*> items{a.get()};
    ASSERT_TRUE(WriteComtradeExport((dir / "r.cfg").string(), items, FixedClock()));
    const auto cfg = Lines(test::ReadFile(dir / "r.cfg"));
    ASSERT_EQ(cfg.size(), 10u);
    EXPECT_EQ(cfg[6], "14/11/2023,22:13:20.250000");
    EXPECT_EQ(cfg[7], "14/11/2023,22:13:20.750000");
    // Without a trigger both lines give the start.
    a->acquisition.triggerFlag = 0;
    ASSERT_TRUE(WriteComtradeExport((dir / "r.cfg").string(), items, FixedClock()));
    EXPECT_EQ(Lines(test::ReadFile(dir / "r.cfg"))[7], "14/11/2023,22:13:20.250000");
    // An item whose first sample is 0.3 s into the recording (the data times
    // count from it) starts 0.3 s later; the trigger stamp stays.
    auto late = ExportWave("L", {0.3f, 1.0f}, {0, 1});
    late->acquisition = a->acquisition;
    late->acquisition.triggerFlag = 1;
    const std::vector<const PlotableStackObject*> lateItems{late.get()};
    ASSERT_TRUE(WriteComtradeExport((dir / "r.cfg").string(), lateItems, FixedClock()));
    const auto lateCfg = Lines(test::ReadFile(dir / "r.cfg"));
    EXPECT_EQ(lateCfg[6], "14/11/2023,22:13:20.550000");
    EXPECT_EQ(lateCfg[7], "14/11/2023,22:13:20.750000");
}

TEST(ComtradeExport, SampleRateAndTimes) {
    test::TempDir dir;
    // Uneven spacing: rate 0, the rows carry the times.
    const auto uneven = ExportWave("U", {0.0f, 0.001f, 0.003f, 0.004f}, {1, 2, 3, 4});
    // Exact X: xValues hold the indexes, the times come from xExact.
    auto exact = ExportWave("E", {0, 1, 2}, {1, 2, 3});
    exact->xExact = DoubleArray(std::vector<double>{10.0, 10.0001, 10.0002});
    // One sample: no spacing, rate 0.
    const auto single = ExportWave("S", {7.0f}, {1});
    // Without a rate the configuration says so with no rate lines ("0" rates
    // and "0,n"), the form that tells readers to use the rows' times.
    struct Case {
        const PlotableStackObject* item;
        const char* rates;
        const char* rateLine;
        const char* data;
    } cases[] = {
        {uneven.get(), "0", "0,4", "1,0,0\r\n2,1000,21845\r\n3,3000,43690\r\n4,4000,65535\r\n"},
        {exact.get(), "1", "10000,3", "1,0,0\r\n2,100,32767\r\n3,200,65535\r\n"},
        {single.get(), "0", "0,1", "1,0,0\r\n"},
    };
    for (const Case& c : cases) {
        const std::vector<const PlotableStackObject*> items{c.item};
        ASSERT_TRUE(WriteComtradeExport((dir / "t.cfg").string(), items, FixedClock()));
        const auto cfg = Lines(test::ReadFile(dir / "t.cfg"));
        EXPECT_EQ(cfg[4], c.rates) << c.item->stackKey();
        EXPECT_EQ(cfg[5], c.rateLine) << c.item->stackKey();
        EXPECT_EQ(cfg.back(), "1.0") << c.item->stackKey();
        EXPECT_EQ(test::ReadFile(dir / "t.dat"), c.data) << c.item->stackKey();
    }
}

TEST(ComtradeExport, NonFiniteValues) {
    test::TempDir dir;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // The scaling comes from the finite values 2 and 4 only.
    const auto a = ExportWave("A", Times(5, 1.0f), {2, nan, inf, -inf, 4});
    const std::vector<const PlotableStackObject*> items{a.get()};
    ASSERT_TRUE(WriteComtradeExport((dir / "n.cfg").string(), items, FixedClock()));
    EXPECT_NE(test::ReadFile(dir / "n.cfg").find(",3.05180438e-05,2,0,0,65535,"),
              std::string::npos);
    EXPECT_EQ(test::ReadFile(dir / "n.dat"),
              "1,0,0\r\n2,1000000,\r\n3,2000000,65535\r\n4,3000000,0\r\n5,4000000,65535\r\n");
}

TEST(ComtradeExport, ChannelCap) {
    test::TempDir dir;
    std::vector<std::unique_ptr<WaveStackObject>> owned;
    std::vector<const PlotableStackObject*> items;
    for (int i = 0; i < 5; ++i) {
        owned.push_back(ExportWave("C" + std::to_string(i), Times(2, 1.0f), {0, float(i + 1)}));
        items.push_back(owned.back().get());
    }
    ComtradeExportOptions options = FixedClock();
    options.channelLimit = 3;
    ASSERT_TRUE(WriteComtradeExport((dir / "cap.cfg").string(), items, options));
    const auto cfg = Lines(test::ReadFile(dir / "cap.cfg"));
    ASSERT_EQ(cfg.size(), 12u);  // 3 channel lines and 9 others
    EXPECT_EQ(cfg[1], "3,3A,0D");
    EXPECT_EQ(cfg[4].substr(0, 6), "3,(C2 ");
    EXPECT_EQ(cfg[5], "60");
    EXPECT_EQ(test::ReadFile(dir / "cap.dat"), "1,0,0,0,0\r\n2,1000000,65535,65535,65535\r\n");
    EXPECT_EQ(kComtradeChannelLimit, 999999u);
}

TEST(ComtradeExport, FileNamesAndFailures) {
    EXPECT_EQ(ComtradeExportFiles("/a.b/rec").config, "/a.b/rec.cfg");
    EXPECT_EQ(ComtradeExportFiles("/a.b/rec.x.CFG").data, "/a.b/rec.x.dat");
    EXPECT_EQ(ComtradeExportFiles("rec").header, "rec.hdr");

    test::TempDir dir;
    const auto a = ExportWave("A", Times(2, 1.0f), {0, 1});
    const std::vector<const PlotableStackObject*> items{a.get()};
    EXPECT_FALSE(WriteComtradeExport((dir / "none" / "r.cfg").string(), items));
    EXPECT_FALSE(WriteComtradeExport((dir / "r.cfg").string(), {}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    // The configuration cannot be created (a folder has its name): the header
    // already written is removed, an older data file not touched.
    std::filesystem::create_directory(dir / "r.cfg");
    test::WriteFile(dir / "r.dat", "old");
    EXPECT_FALSE(WriteComtradeExport((dir / "r.cfg").string(), items));
    EXPECT_FALSE(std::filesystem::exists(dir / "r.hdr"));
    EXPECT_EQ(test::ReadFile(dir / "r.dat"), "old");
    // The data file cannot be created: header and configuration go too.
    std::filesystem::remove(dir / "r.cfg");
    std::filesystem::remove(dir / "r.dat");
    std::filesystem::create_directory(dir / "r.dat");
    EXPECT_FALSE(WriteComtradeExport((dir / "r.cfg").string(), items));
    EXPECT_FALSE(std::filesystem::exists(dir / "r.hdr"));
    EXPECT_FALSE(std::filesystem::exists(dir / "r.cfg"));
}

// ---- read back by the COMTRADE reader ----

// Every value read back lies within half a step (range / 65535 / 2) of the
// value exported, plus single-precision rounding.
void ExpectSameValues(const PlotableStackObject& exported, const std::vector<float>& read,
                      std::size_t count) {
    ASSERT_GE(read.size(), count);
    const double range = exported.yValues.max() - exported.yValues.min();
    const double tolerance = range / 65535 / 2 + 1e-6 * std::max(1.0, range);
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_NEAR(read[i], exported.yValues[i], tolerance) << "sample " << i;
}

TEST(ComtradeExport, ReadBackGivesNamesTagsAndValues) {
    test::TempDir dir;
    std::vector<float> y1, y2;
    for (int i = 0; i < 1000; ++i) y1.push_back(float(1000 * std::sin(i * 0.05) + 230));
    for (int i = 0; i < 600; ++i) y2.push_back(float(-3e-3 * std::cos(i * 0.01)));
    auto a = ExportWave("BUS1", Times(1000, 1.0f / 4096), y1, kUnitVoltage);
    auto b = std::make_unique<WaveStackObject>();
    b->SetSamples(FloatArray(Times(600, 1.0f / 4096)), FloatArray(y2));
    b->Init("/data/other.pl4", "other", "BR1", "IA", "Type 8", "x", "WAVE");
    b->Finish();
    const std::vector<const PlotableStackObject*> items{a.get(), b.get()};
    ASSERT_TRUE(WriteComtradeExport((dir / "back.cfg").string(), items, FixedClock()));

    const auto load = test::LoadComtrade(dir / "back.cfg");
    ASSERT_TRUE(load->loaded);
    ASSERT_EQ(load->stack.size(), 2u);
    // The key form gives back the name parts (padded to 8, as the key holds
    // them) and the kind tag; the case name becomes "COMTRADE".
    const WaveStackObject& ra = load->Item(0);
    EXPECT_EQ(ra.namePart1(), "BUS1    ");
    EXPECT_EQ(ra.namePart2(), "        ");
    EXPECT_EQ(ra.typeTag(), "WAVE");
    EXPECT_EQ(ra.caseName(), "COMTRADE");
    const WaveStackObject& rb = load->Item(1);
    EXPECT_EQ(rb.namePart1(), "BR1     ");
    EXPECT_EQ(rb.namePart2(), "IA      ");
    EXPECT_EQ(rb.namePart3(), "Type 8  ");
    EXPECT_EQ(rb.namePart4(), "x       ");
    EXPECT_EQ(rb.typeTag(), "WAVE");
    // The first item sets the length; the rows past the second item's end
    // hold empty fields, which the reader takes as raw 0.
    EXPECT_EQ(ra.pointCount(), 1000u);
    EXPECT_EQ(rb.pointCount(), 1000u);
    ExpectSameValues(*a, load->Y(0), 1000);
    ExpectSameValues(*b, load->Y(1), 600);
    const auto x = load->X(0);
    for (std::size_t i = 0; i < 1000; i += 111) EXPECT_NEAR(x[i], i / 4096.0, 1e-9);
}

TEST(ComtradeExport, LongRecordsScaleTheirTimeStampsToTenDigits) {
    // Three hours: the last stamp, 10,800,000,000 us, has 11 digits; written
    // in units of 10 us with the time multiplier 10.
    test::TempDir dir;
    auto trend = ExportWave("T", {0, 1, 2}, {1, 2, 3});
    trend->xExact = DoubleArray(std::vector<double>{0.0, 5400.0, 10800.0});
    const std::vector<const PlotableStackObject*> items{trend.get()};
    ASSERT_TRUE(WriteComtradeExport((dir / "t.cfg").string(), items, FixedClock()));
    EXPECT_EQ(Lines(test::ReadFile(dir / "t.cfg")).back(), "10");
    EXPECT_EQ(test::ReadFile(dir / "t.dat"),
              "1,0,0\r\n2,540000000,32767\r\n3,1080000000,65535\r\n");
    const auto load = test::LoadComtrade(dir / "t.cfg");
    ASSERT_TRUE(load->loaded);
    const auto x = load->X(0);
    ASSERT_EQ(x.size(), 3u);
    EXPECT_NEAR(x[2], 10800.0, 1e-6);
}

TEST(ComtradeExport, ReadBackOfUnevenTimes) {
    test::TempDir dir;
    const auto a = ExportWave("U", {0.5f, 0.501f, 0.503f, 0.506f}, {1, 2, 3, 4});
    const std::vector<const PlotableStackObject*> items{a.get()};
    ASSERT_TRUE(WriteComtradeExport((dir / "u.cfg").string(), items, FixedClock()));
    const auto load = test::LoadComtrade(dir / "u.cfg");
    ASSERT_TRUE(load->loaded);
    const auto x = load->X(0);
    ASSERT_EQ(x.size(), 4u);
    // Times from the first sample, to the microsecond.
    const double expected[] = {0, 0.001, 0.003, 0.006};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(x[i], expected[i], 1.5e-6);
}

// Records of the shared corpus: loaded, exported and read back, the values
// agree within half a step of each channel's range.
TEST(ComtradeExportConformance, CorpusRecordsRoundTrip) {
    KOV_REQUIRE_TESTDATA("comtrade");
    const char* records[] = {"python-comtrade/sample_ascii.cfg", "comtrade-jl/1999-ascii-pq.cfg",
                             "wisp-comtrade/4.CFG", "go-comtrade/test2.cfg"};
    for (const char* record : records) {
        SCOPED_TRACE(record);
        const auto original = test::LoadComtrade(test::TestDataDir() / "comtrade" / record);
        ASSERT_TRUE(original->loaded);
        std::vector<const PlotableStackObject*> items;
        for (std::size_t i = 0; i < original->stack.size(); ++i)
            items.push_back(&original->Item(i));
        ASSERT_FALSE(items.empty());
        test::TempDir dir;
        ASSERT_TRUE(WriteComtradeExport((dir / "copy.cfg").string(), items, FixedClock()));
        const auto copy = test::LoadComtrade(dir / "copy.cfg");
        ASSERT_TRUE(copy->loaded);
        ASSERT_EQ(copy->stack.size(), items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(items[i]->stackKey());
            ExpectSameValues(*items[i], copy->Y(i), items[i]->pointCount());
            const auto x0 = original->X(i);
            const auto x1 = copy->X(i);
            ASSERT_EQ(x1.size(), x0.size());
            for (std::size_t k = 0; k < x0.size(); k += 97)
                EXPECT_NEAR(x1[k], x0[k] - x0[0], 2e-6 + 1e-6 * std::fabs(x0[k]));
        }
    }
}

}  // namespace
}  // namespace kov
