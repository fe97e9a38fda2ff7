#pragma once
// Switching statistics and the items made from them.
//
// A StatisticStackObject holds, for many randomly timed switching operations,
// the peak value each one reached. From it come a cumulative probability
// curve (ProbabilityStackObject, "Cum Prob") and a probability distribution
// (HistogramStackObject, "Prob Dist"). Both keep the per-unit values they were
// made from:
//     v_i = |peak_i| / B,  B = factor x base value of the statistics item's
//                          x-axis per-unit base when set, else 1.0 (0 counts as 1.0)
// and plot x in stored units (B x v) against y in percent of the operations.
// Hist3DStackObject is the three-dimensional histogram that PQDIF files carry.

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/Statistics.h"
#include "stack/PlotableStackObject.h"

namespace kov {

// The nine statistics rows shared by the three summaries below: "Samples:",
// "Min    :", "Max    :", "Range  :", "Mean   :", "Std Dev:", "Var    :",
// "Std Err:" and "Mode   :", the last showing the median.
class StatisticsSummary : public SummaryData {
public:
    ColumnStats stats;
};
// Over the item's per-unit samples.
class HistogramSummaryData : public StatisticsSummary {};
class ProbabilitySummaryData : public StatisticsSummary {};
// Over the displayed peak magnitudes (|peak| x display scale of the x axis).
class StatisticSummaryData : public StatisticsSummary {};

class StatisticStackObject : public StackObject {
public:
    // No operations; peaks shown as "Magnitude,Mag,Mag".
    StatisticStackObject();
    explicit StatisticStackObject(std::vector<double> peaks);

    std::vector<double> peaks;  // one per operation, in the stored unit
    // Per-operation details kept by the reader for the statistics table (the
    // closing time of each switch), and the names that label them.
    std::vector<std::vector<double>> details;
    std::vector<std::string> detailNames;

    // B above, and the per-unit values v_i in operation order.
    double PerUnitDivisorX() const { return PerUnitDivisor(perUnitBase[kAxisX]); }
    std::vector<double> PerUnitValues() const;
    // Display scale of the peaks: 1 / B / prefix multiplier (B only when set).
    double DisplayScale() const;
    // Indexes of the `count` operations with the largest |peak|, largest first
    // (earlier operation first among equals).
    std::vector<std::size_t> HighestPeaks(std::size_t count) const;

    // "Cum Prob": the cumulative probability curve of the per-unit values.
    Result CumulativeProbability(Ui& ui) override;
    // "Prob Dist": the distribution of the per-unit values in bins of the
    // given increment. An increment that is not above 0 is refused.
    Result ProbabilityDistribution(Ui& ui, const BinParameters& bins) override;

    void ComputeSummary() override;
};

class ProbabilityStackObject : public PlotableStackObject {
public:
    // No arrays; y "Probability,Percent,%".
    ProbabilityStackObject();
    // count points with new x and y arrays.
    explicit ProbabilityStackObject(std::uint32_t count);

    DoubleArray samples;  // the per-unit values, sorted ascending

    void CloneShape(const PlotableStackObject& source) override;
    void ComputeSummary() override;
    // Calculator operations (Arithmetic.h gives the rules).
    Result Multiply(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Divide(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Negate(Ui& ui) override;
    Result Invert(Ui& ui) override;
    Result XYCombine(Ui& ui, const StackObject* second) override;
};

class HistogramStackObject : public PlotableStackObject {
public:
    // No arrays; y "Probability,Percent,%".
    HistogramStackObject();
    // count bins with new x (bin centre) and y arrays.
    explicit HistogramStackObject(std::uint32_t count);

    DoubleArray samples;  // the per-unit values, in operation order

    void CloneShape(const PlotableStackObject& source) override;
    void ComputeSummary() override;
    // Calculator operations (Arithmetic.h gives the rules).
    Result Multiply(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Divide(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Negate(Ui& ui) override;
    Result Invert(Ui& ui) override;
    Result XYCombine(Ui& ui, const StackObject* second) override;
};

class Hist3DStackObject : public PlotableStackObject {
public:
    // No arrays; three axes labelled "X Axis", "Y Axis Mag", "Y Axis Ang".
    Hist3DStackObject();
    // count cells with new x, y and y2 arrays.
    explicit Hist3DStackObject(std::uint32_t count);
};

// Fills the nine statistics rows, values " %lg"; the sample count " %u" when
// countAsInteger (histogram and probability items), else " %lg" (statistics items).
void FillStatisticsTable(StatisticsSummary& summary, bool countAsInteger);

}  // namespace kov
