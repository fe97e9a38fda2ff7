#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "Near.h"
#include "analysis/ItemKinds.h"
#include "analysis/ScanStackObject.h"
#include "analysis/TrendStackObject.h"
#include "analysis/XYStackObject.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"

namespace kov {
namespace {

using test::NearRel;

// Runs a test body in a fixed time zone and restores the previous one.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) saved_ = old, had_ = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (had_) {
            setenv("TZ", saved_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string saved_;
    bool had_ = false;
};

std::vector<std::string> Column(const TextTable& t, std::size_t c) {
    std::vector<std::string> cells;
    for (std::size_t r = 0; r < t.rows(); ++r) cells.push_back(t.Cell(r, c));
    return cells;
}

TEST(TrendSummary, FiveRowsWithoutExactTimes) {
    TrendStackObject trend(4, kUnitSeconds, kUnitVoltage);
    const float y[] = {2, 8, 4, 6};
    std::copy(std::begin(y), std::end(y), trend.yValues.MutableValues().begin());
    trend.Finish();
    const TextTable& t = trend.summary()->table;
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{
                                "Samples:", "Min    :", "Max    :", "Avg    :", "Range  :"}));
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{" 4", " 2", " 8", " 5", " 6"}));

    // Statistics follow the displayed values.
    trend.axisUnits[kAxisY].multiplier = 1000.0;
    trend.UpdateScales();
    EXPECT_EQ(trend.summary()->table.Cell(2, 1), " 0.008");
}

TEST(TrendSummary, ExactTimesSpanningMidnightShowTwoDates) {
    TimeZone utc("UTC");
    // 2026-12-31 23:59:30.7 and 2027-01-01 00:00:10 UTC.
    const double start = 1798761570.7, end = 1798761610.0;
    DoubleArray exact(std::vector<double>{start, start + 10, end});
    FloatArray y(std::vector<float>{1, 2, 3});
    TrendStackObject trend(3, kUnitTime, kUnitCurrent, FloatArray(), y, exact);
    ASSERT_TRUE(trend.xValues);
    EXPECT_EQ(trend.xValues[2], 2.0f);  // indexes in x
    trend.Finish();
    const TextTable& t = trend.summary()->table;
    ASSERT_EQ(t.rows(), 13u);
    EXPECT_EQ(Column(t, 0),
              (std::vector<std::string>{"   From:", "", "     To:", "",
                                        "Samples:", "Min    :", "Max    :", "Range  :", "Mean   :",
                                        "Std Dev:", "Var    :", "Std Err:", "Mode   :"}));
    EXPECT_EQ(t.Cell(0, 1), "12/31/26");
    EXPECT_EQ(t.Cell(1, 1), "23:59:30");  // cut to whole seconds
    EXPECT_EQ(t.Cell(2, 1), "01/01/27");
    EXPECT_EQ(t.Cell(3, 1), "00:00:10");
    EXPECT_EQ(t.Cell(4, 1), " 3");
    EXPECT_EQ(t.Cell(9, 1), " 1");   // standard deviation of 1, 2, 3
    EXPECT_EQ(t.Cell(12, 1), " 2");  // median

    // Local time is the platform's: the same instant an hour east of UTC.
    TimeZone cet("CET-1");
    EXPECT_EQ(FormatLocalTime(start, "%m/%d/%y %H:%M:%S"), "01/01/27 00:59:30");
    EXPECT_EQ(FormatLocalTime(1e300, "%H"), "");  // a damaged time is shown empty
    EXPECT_EQ(FormatLocalTime(std::nan(""), "%H"), "");
}

TEST(ScanSummary, StoredMagnitudeExtents) {
    ScanStackObject scan(3, kUnitImpedance);
    const float m[] = {2, 5, 3};
    std::copy(std::begin(m), std::end(m), scan.yValues.MutableValues().begin());
    scan.ComputeSummary();  // before Finish: taken from the values
    const TextTable& t = scan.summary()->table;
    EXPECT_EQ(Column(t, 0), (std::vector<std::string>{"Min:", "Max:"}));
    EXPECT_EQ(Column(t, 1), (std::vector<std::string>{" 2", " 5"}));
    EXPECT_EQ(scan.kind(), kKindScan);
    EXPECT_EQ(scan.axisUnits[kAxisX].unitId, kUnitHertz);
    EXPECT_EQ(scan.axisUnits[kAxisY].unitId, kUnitImpedance);
    EXPECT_EQ(scan.axisUnits[kAxisAngle].unitId, kUnitDegrees);
    EXPECT_EQ(scan.y2Values.size(), 3u);
}

TEST(XYItem, NoSummaryAndOptionalSecondY) {
    XYStackObject plain(2, false);
    XYStackObject complex(2, true);
    EXPECT_FALSE(plain.y2Values);
    EXPECT_TRUE(complex.y2Values);
    plain.Finish();
    EXPECT_EQ(plain.summary(), nullptr);
    EXPECT_EQ(plain.kind(), kKindXY);
    RecordingUi ui;
    EXPECT_EQ(plain.CumulativeProbability(ui), nullptr);
    EXPECT_EQ(ui.LastText(), str::kUnsupportedOperation);
}

TEST(ItemKinds, EveryPlotKindByCode) {
    for (std::uint32_t kind : {kKindWave, kKindSpectrum, kKindScan, kKindTrend, kKindProbability,
                               kKindHistogram, kKindXY, kKindMagDur, kKindHist3D}) {
        auto item = MakePlotableOfKind(kind);
        ASSERT_NE(item, nullptr) << kind;
        EXPECT_EQ(item->kind(), kind);
        EXPECT_EQ(item->pointCount(), 0u);
    }
    EXPECT_EQ(MakePlotableOfKind(kKindStatistic), nullptr);
    EXPECT_EQ(MakePlotableOfKind(20483), nullptr);
    EXPECT_EQ(MakePlotableOfKind(kKindSpectrum)->axisCount(), 3u);
    EXPECT_EQ(MakePlotableOfKind(kKindTrend)->axisUnits[kAxisY].unitId, kUnitNone);
}

}  // namespace
}  // namespace kov
