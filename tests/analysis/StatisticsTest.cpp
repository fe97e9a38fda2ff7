#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Near.h"
#include "analysis/StatisticItems.h"
#include "analysis/Statistics.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"

namespace kov {
namespace {

using test::NearRel;

const std::vector<double> kPeaks{1.2, 0.8, 1.0, 1.4, 1.1};

template <class T>
std::unique_ptr<T> As(StackObject::Result result) {
    auto* raw = dynamic_cast<T*>(result.get());
    if (raw == nullptr) return nullptr;
    result.release();
    return std::unique_ptr<T>(raw);
}

TEST(ColumnStatistics, MediansAndSpread) {
    EXPECT_EQ(ColumnStatistics(std::vector<double>{4, 1, 3, 2}).median, 2.5);
    EXPECT_EQ(ColumnStatistics(std::vector<double>{3, 1, 2}).median, 2.0);
    const ColumnStats s = ColumnStatistics(std::vector<double>{2, 4, 4, 4, 5, 5, 7, 9});
    EXPECT_EQ(s.count, 8u);
    EXPECT_EQ(s.min, 2.0);
    EXPECT_EQ(s.max, 9.0);
    EXPECT_EQ(s.range, 7.0);
    EXPECT_EQ(s.sum, 40.0);
    EXPECT_EQ(s.mean, 5.0);
    EXPECT_TRUE(NearRel(s.variance, 32.0 / 7.0));
    EXPECT_TRUE(NearRel(s.stdDev, std::sqrt(32.0 / 7.0)));
    EXPECT_TRUE(NearRel(s.stdErr, std::sqrt(32.0 / 7.0) / std::sqrt(8.0)));
    EXPECT_EQ(s.median, 4.5);
    // A small spread far from zero keeps its digits.
    const ColumnStats offset = ColumnStatistics(std::vector<double>{1e9 + 1, 1e9 + 2, 1e9 + 3});
    EXPECT_TRUE(NearRel(offset.variance, 1.0, 1e-12));
    // One value has no spread; no values have nothing.
    const ColumnStats one = ColumnStatistics(std::vector<double>{7});
    EXPECT_EQ(one.variance, 0.0);
    EXPECT_EQ(one.stdErr, 0.0);
    EXPECT_EQ(one.median, 7.0);
    EXPECT_EQ(ColumnStatistics(std::vector<double>{}).count, 0u);
    // Columns of a row-major table.
    const std::vector<double> table{1, 10, 2, 20, 3, 60};
    const auto columns = ColumnStatistics(table, 3, 2);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].mean, 2.0);
    EXPECT_EQ(columns[1].median, 20.0);
    EXPECT_TRUE(ColumnStatistics(table, 4, 2).empty());  // too few values
}

TEST(ColumnStatistics, NanFromADamagedFileSortsLast) {
    const double nan = std::nan("");
    std::vector<double> values;
    for (int i = 0; i < 40; ++i) values.push_back(i % 3 == 0 ? nan : i);
    const CumulativeCurve curve = CumulativeDistribution(values);
    EXPECT_EQ(curve.sorted.front(), 1.0);
    EXPECT_TRUE(std::isnan(curve.sorted.back()));
    EXPECT_EQ(ColumnStatistics(std::vector<double>{3, nan, 1}).median, 3.0);
    const Distribution d = ProbabilityBins(std::vector<double>{nan, 1.0}, 0.5);
    ASSERT_EQ(d.percent.size(), 3u);
    EXPECT_EQ(d.percent[2], 50.0);  // the NaN is left out, its share too
    StatisticStackObject stat(std::vector<double>{nan, -2.0, 1.0});
    EXPECT_EQ(stat.HighestPeaks(3), (std::vector<std::size_t>{1, 2, 0}));
}

TEST(CumulativeProbability, WorkedExampleAndSingleOperation) {
    StatisticStackObject stat(kPeaks);
    RecordingUi ui;
    auto prob = As<ProbabilityStackObject>(stat.CumulativeProbability(ui));
    ASSERT_NE(prob, nullptr);
    ASSERT_EQ(prob->pointCount(), 5u);
    const float x[] = {0.8f, 1.0f, 1.1f, 1.2f, 1.4f};
    const float y[] = {0, 25, 50, 75, 100};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(prob->xValues[i], x[i]);
        EXPECT_FLOAT_EQ(prob->yValues[i], y[i]);
    }
    EXPECT_EQ(prob->samples.size(), 5u);
    EXPECT_EQ(prob->samples[0], 0.8);
    EXPECT_EQ(prob->kind(), kKindProbability);
    EXPECT_EQ(prob->axisUnits[kAxisY].unitId, kUnitProbability);
    EXPECT_EQ(prob->yValues.max(), 100.0f);  // extents computed

    StatisticStackObject single(std::vector<double>{-3.0});
    auto one = As<ProbabilityStackObject>(single.CumulativeProbability(ui));
    ASSERT_NE(one, nullptr);
    ASSERT_EQ(one->pointCount(), 1u);
    EXPECT_EQ(one->xValues[0], 3.0f);  // by magnitude
    EXPECT_EQ(one->yValues[0], 100.0f);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(CumulativeProbability, PerUnitBaseAndDerivedUnits) {
    StatisticStackObject stat(std::vector<double>{-20000, 10000, 15000});
    stat.axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, kUnitVoltage};
    stat.perUnitBase[kAxisX] = PerUnitBase{true, 10000, 0, kLabelXAxis};
    RecordingUi ui;
    auto prob = As<ProbabilityStackObject>(stat.CumulativeProbability(ui));
    ASSERT_NE(prob, nullptr);
    EXPECT_EQ(prob->samples[0], 1.0);  // per-unit values
    EXPECT_EQ(prob->samples[2], 2.0);
    EXPECT_EQ(prob->xValues[2], 20000.0f);  // x in stored units
    EXPECT_EQ(prob->axisUnits[kAxisX].unitId, kUnitVoltage);
    EXPECT_TRUE(prob->perUnitBase[kAxisX].set);
    EXPECT_TRUE(NearRel(prob->scale(kAxisX) * prob->xValues[2], 2.0));  // shown per unit
}

TEST(ProbabilityDistribution, WorkedExampleAndFallbackBins) {
    StatisticStackObject stat(kPeaks);
    RecordingUi ui;
    BinParameters bins;
    EXPECT_EQ(bins.increment, 0.1);
    ASSERT_TRUE(bins.SetIncrement(0.5));
    auto hist = As<HistogramStackObject>(stat.ProbabilityDistribution(ui, bins));
    ASSERT_NE(hist, nullptr);
    ASSERT_EQ(hist->pointCount(), 3u);
    const double centres[] = {0.25, 0.75, 1.25}, percent[] = {0, 20, 80};
    for (std::size_t j = 0; j < 3; ++j) {
        EXPECT_TRUE(NearRel(hist->xValues[j], centres[j], 1e-7));
        EXPECT_TRUE(NearRel(hist->yValues[j], percent[j], 1e-6));
    }
    ASSERT_EQ(hist->samples.size(), 5u);
    EXPECT_EQ(hist->samples[0], 1.2);  // operation order kept
    EXPECT_EQ(hist->kind(), kKindHistogram);

    // Peaks up to 100 with increment 0.1 would need 1000 bins.
    std::vector<double> wide;
    for (int i = 1; i <= 100; ++i) wide.push_back(i);
    const Distribution d = ProbabilityBins(wide, 0.1);
    EXPECT_TRUE(NearRel(d.width, 0.5));
    ASSERT_EQ(d.centres.size(), 201u);
    double total = 0;
    for (double p : d.percent) total += p;
    EXPECT_TRUE(NearRel(total, 100.0, 1e-12));
    EXPECT_TRUE(NearRel(d.percent[200], 1.0));  // 100 lands in the last bin

    // Negative peaks count by their magnitude.
    StatisticStackObject negative(std::vector<double>{-1.4, 0.2});
    const Distribution dn = ProbabilityBins(negative.PerUnitValues(), 0.5);
    ASSERT_EQ(dn.percent.size(), 3u);
    EXPECT_EQ(dn.percent[2], 50.0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ProbabilityDistribution, IncrementMustBeAboveZero) {
    BinParameters bins;
    EXPECT_FALSE(bins.SetIncrement(0.0));
    EXPECT_FALSE(bins.SetIncrement(-1.0));
    EXPECT_FALSE(bins.SetIncrement(std::nan("")));
    EXPECT_EQ(bins.increment, 0.1);
    EXPECT_EQ(&RunBinParameters(), &RunBinParameters());

    StatisticStackObject stat(kPeaks);
    RecordingUi ui;
    bins.increment = 0.0;  // set around SetIncrement
    EXPECT_EQ(stat.ProbabilityDistribution(ui, bins), nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, str::kIncrementNotPositive);
}

TEST(StatisticSummaries, NineRowsForEachKind) {
    StatisticStackObject stat(kPeaks);
    stat.ComputeSummary();
    const TextTable& t = stat.summary()->table;
    const char* labels[] = {"Samples:", "Min    :", "Max    :", "Range  :", "Mean   :",
                            "Std Dev:", "Var    :", "Std Err:", "Mode   :"};
    ASSERT_EQ(t.rows(), 9u);
    for (std::size_t r = 0; r < 9; ++r) EXPECT_EQ(t.Cell(r, 0), labels[r]);
    EXPECT_EQ(t.Cell(0, 1), " 5");
    EXPECT_EQ(t.Cell(1, 1), " 0.8");
    EXPECT_EQ(t.Cell(2, 1), " 1.4");
    EXPECT_EQ(t.Cell(4, 1), " 1.1");
    EXPECT_EQ(t.Cell(8, 1), " 1.1");
    const auto* s = dynamic_cast<const StatisticSummaryData*>(stat.summary());
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(NearRel(s->stats.variance, 0.05));

    // The statistics item shows its peaks in display units.
    stat.axisUnits[kAxisX].multiplier = 0.001;
    stat.ComputeSummary();
    EXPECT_EQ(stat.summary()->table.Cell(2, 1), " 1400");
    StatisticStackObject signedPeaks(std::vector<double>{-2.0, 1.0});
    signedPeaks.ComputeSummary();
    EXPECT_EQ(signedPeaks.summary()->table.Cell(1, 1), " 1");  // by magnitude
    EXPECT_EQ(signedPeaks.summary()->table.Cell(2, 1), " 2");

    RecordingUi ui;
    auto hist = As<HistogramStackObject>(stat.ProbabilityDistribution(ui, BinParameters{}));
    ASSERT_NE(hist, nullptr);
    const TextTable& h = hist->summary()->table;
    EXPECT_EQ(h.Cell(0, 1), " 5");
    EXPECT_EQ(h.Cell(8, 0), "Mode   :");
    EXPECT_EQ(h.Cell(8, 1), " 1.1");
    EXPECT_NE(dynamic_cast<const HistogramSummaryData*>(hist->summary()), nullptr);

    // The count: " %lg" for statistics items, " %u" for the derived ones.
    StatisticStackObject many(std::vector<double>(1234567, 1.0));
    many.ComputeSummary();
    EXPECT_EQ(many.summary()->table.Cell(0, 1), " 1.23457e+06");
    ProbabilityStackObject curve;
    curve.samples = DoubleArray(many.peaks);
    curve.ComputeSummary();
    EXPECT_EQ(curve.summary()->table.Cell(0, 1), " 1234567");
}

TEST(StatisticItem, HighestPeaksAndRefusedOperations) {
    StatisticStackObject stat(std::vector<double>{1.0, -5.0, 3.0, 5.0, 2.0});
    EXPECT_EQ(stat.HighestPeaks(3), (std::vector<std::size_t>{1, 3, 2}));
    EXPECT_EQ(stat.HighestPeaks(9).size(), 5u);
    EXPECT_EQ(stat.kind(), kKindStatistic);
    EXPECT_EQ(stat.axisCount(), 1u);
    RecordingUi ui;
    EXPECT_EQ(stat.Add(ui, nullptr, OperandMode::Constant, 1.0), nullptr);
    EXPECT_EQ(ui.LastText(), str::kUnsupportedOperation);

    // Results shaped like a histogram share its samples.
    RecordingUi quiet;
    auto hist = As<HistogramStackObject>(stat.ProbabilityDistribution(quiet, BinParameters{}));
    ASSERT_NE(hist, nullptr);
    HistogramStackObject shaped;
    shaped.CloneShape(*hist);
    EXPECT_TRUE(shaped.samples.SharesWith(hist->samples));
    EXPECT_EQ(shaped.axisUnits[kAxisY].unitId, kUnitProbability);

    Hist3DStackObject cube(4);
    EXPECT_EQ(cube.kind(), kKindHist3D);
    EXPECT_EQ(cube.axisCount(), 3u);
    EXPECT_EQ(cube.y2Values.size(), 4u);
    cube.Finish();
    EXPECT_EQ(cube.summary(), nullptr);
}

}  // namespace
}  // namespace kov
