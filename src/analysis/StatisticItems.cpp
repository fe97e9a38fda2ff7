#include "analysis/StatisticItems.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace kov {

namespace {

// y in percent of the operations; x takes its unit from the statistics item.
void SetProbabilityDefaults(PlotableStackObject& item) {
    item.axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitProbability};
    item.perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    item.perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
}

// Gives a derived item the statistics item's x unit and x per-unit base.
void TakeXAxisOf(const StatisticStackObject& source, PlotableStackObject& result) {
    result.axisUnits[kAxisX] = source.axisUnits[kAxisX];
    result.perUnitBase[kAxisX] = source.perUnitBase[kAxisX];
}

}  // namespace

void FillStatisticsTable(StatisticsSummary& summary, bool countAsInteger) {
    const ColumnStats& s = summary.stats;
    const std::pair<const char*, double> rows[] = {{"Min    :", s.min},    {"Max    :", s.max},
                                                   {"Range  :", s.range},  {"Mean   :", s.mean},
                                                   {"Std Dev:", s.stdDev}, {"Var    :", s.variance},
                                                   {"Std Err:", s.stdErr}, {"Mode   :", s.median}};
    summary.table = TextTable(1 + std::size(rows), 2);
    summary.table.SetCell(0, 0, "Samples:");
    summary.table.SetCell(0, 1,
                          countAsInteger ? Format(" %u", static_cast<unsigned>(s.count))
                                         : Format(" %lg", static_cast<double>(s.count)));
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        summary.table.SetCell(r + 1, 0, rows[r].first);
        summary.table.SetCell(r + 1, 1, Format(" %lg", rows[r].second));
    }
}

// ---- StatisticStackObject ----

StatisticStackObject::StatisticStackObject() : StackObject(kKindStatistic, 1) {
    axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, kUnitMagnitude};
    perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
}

StatisticStackObject::StatisticStackObject(std::vector<double> values) : StatisticStackObject() {
    peaks = std::move(values);
}

std::vector<double> StatisticStackObject::PerUnitValues() const {
    const double b = PerUnitDivisorX();
    std::vector<double> v(peaks.size());
    for (std::size_t i = 0; i < peaks.size(); ++i) v[i] = std::fabs(peaks[i]) / b;
    return v;
}

double StatisticStackObject::DisplayScale() const {
    const double m = axisUnits[kAxisX].multiplier == 0.0 ? 1.0 : axisUnits[kAxisX].multiplier;
    return 1.0 / PerUnitDivisorX() / m;
}

std::vector<std::size_t> StatisticStackObject::HighestPeaks(std::size_t count) const {
    std::vector<std::size_t> order(peaks.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    count = std::min(count, order.size());
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count),
                      order.end(), [this](std::size_t a, std::size_t b) {
                          // NaN peaks rank below every number.
                          auto key = [](double v) { return std::isnan(v) ? -1.0 : std::fabs(v); };
                          const double pa = key(peaks[a]), pb = key(peaks[b]);
                          return pa > pb || (pa == pb && a < b);
                      });
    order.resize(count);
    return order;
}

StackObject::Result StatisticStackObject::CumulativeProbability(Ui&) {
    const CumulativeCurve curve = CumulativeDistribution(PerUnitValues());
    const double b = PerUnitDivisorX();
    const auto n = static_cast<std::uint32_t>(curve.sorted.size());
    auto result = std::make_unique<ProbabilityStackObject>(n);
    TakeXAxisOf(*this, *result);
    auto x = result->xValues.MutableValues();
    auto y = result->yValues.MutableValues();
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = static_cast<float>(b * curve.sorted[i]);
        y[i] = static_cast<float>(curve.percent[i]);
    }
    result->samples = DoubleArray(curve.sorted);
    result->Finish();
    return result;
}

StackObject::Result StatisticStackObject::ProbabilityDistribution(Ui& ui,
                                                                  const BinParameters& bins) {
    if (!(bins.increment > 0.0) || !std::isfinite(bins.increment)) {
        ui.MessageBox(str::kIncrementNotPositive, str::kShortProductName, Icon::Exclamation);
        return nullptr;
    }
    std::vector<double> values = PerUnitValues();
    const Distribution d = ProbabilityBins(values, bins.increment);
    const double b = PerUnitDivisorX();
    const auto count = static_cast<std::uint32_t>(d.centres.size());
    auto result = std::make_unique<HistogramStackObject>(count);
    TakeXAxisOf(*this, *result);
    auto x = result->xValues.MutableValues();
    auto y = result->yValues.MutableValues();
    for (std::size_t j = 0; j < count; ++j) {
        x[j] = static_cast<float>(d.centres[j] * b);
        y[j] = static_cast<float>(d.percent[j]);
    }
    result->samples = DoubleArray(std::move(values));
    result->Finish();
    return result;
}

void StatisticStackObject::ComputeSummary() {
    auto summary = std::make_unique<StatisticSummaryData>();
    const double s = DisplayScale();
    std::vector<double> shown(peaks.size());
    // Peaks count by their magnitude, as the derived curves count them.
    for (std::size_t i = 0; i < peaks.size(); ++i) shown[i] = std::fabs(peaks[i]) * s;
    summary->stats = ColumnStatistics(shown);
    FillStatisticsTable(*summary, false);
    SetSummary(std::move(summary));
}

// ---- ProbabilityStackObject ----

ProbabilityStackObject::ProbabilityStackObject() : PlotableStackObject(kKindProbability, 2) {
    SetProbabilityDefaults(*this);
}

ProbabilityStackObject::ProbabilityStackObject(std::uint32_t count) : ProbabilityStackObject() {
    Allocate(count, false);
}

void ProbabilityStackObject::CloneShape(const PlotableStackObject& source) {
    PlotableStackObject::CloneShape(source);
    if (const auto* p = dynamic_cast<const ProbabilityStackObject*>(&source)) samples = p->samples;
}

void ProbabilityStackObject::ComputeSummary() {
    auto summary = std::make_unique<ProbabilitySummaryData>();
    summary->stats = ColumnStatistics(samples.values());
    FillStatisticsTable(*summary, true);
    SetSummary(std::move(summary));
}

// ---- HistogramStackObject ----

HistogramStackObject::HistogramStackObject() : PlotableStackObject(kKindHistogram, 2) {
    SetProbabilityDefaults(*this);
}

HistogramStackObject::HistogramStackObject(std::uint32_t count) : HistogramStackObject() {
    Allocate(count, false);
}

void HistogramStackObject::CloneShape(const PlotableStackObject& source) {
    PlotableStackObject::CloneShape(source);
    if (const auto* h = dynamic_cast<const HistogramStackObject*>(&source)) samples = h->samples;
}

void HistogramStackObject::ComputeSummary() {
    auto summary = std::make_unique<HistogramSummaryData>();
    summary->stats = ColumnStatistics(samples.values());
    FillStatisticsTable(*summary, true);
    SetSummary(std::move(summary));
}

// ---- Hist3DStackObject ----

Hist3DStackObject::Hist3DStackObject() : PlotableStackObject(kKindHist3D, 3) {
    perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
    perUnitBase[kAxisAngle] = PerUnitBase{false, 1.0, 0, kLabelYAngle};
}

Hist3DStackObject::Hist3DStackObject(std::uint32_t count) : Hist3DStackObject() {
    Allocate(count, true);
}

}  // namespace kov
