#pragma once
// TrendStackObject: a quantity against time, either seconds from a start or
// absolute date and time (monitor trends, the sliding FFT, the coherence
// function). With absolute times the exact times (xExact, seconds since
// 1970-01-01 00:00 UTC, shown in local time) are the real x values and the
// single-precision x array holds 0, 1, 2, ...

#include <cstdint>
#include <string>

#include "analysis/Statistics.h"
#include "stack/PlotableStackObject.h"

namespace kov {

// ColumnStatistics over the displayed y values (stored value x scale), so a
// unit prefix or per-unit base changes them. Without exact times the table
// has five rows: "Samples:", "Min    :", "Max    :", "Avg    :" (mean),
// "Range  :". With exact times: "   From:" with the first time's date and,
// on the next row, its time; "     To:" likewise for the last time; then the
// nine statistics rows ("Mode   :" shows the median).
class TrendSummaryData : public SummaryData {
public:
    ColumnStats stats;
};

class TrendStackObject : public PlotableStackObject {
public:
    // No arrays and no units; per-unit labels "X Axis" and "Y Axis Mag".
    TrendStackObject();
    // count points with new x and y arrays.
    TrendStackObject(std::uint32_t count, std::uint16_t xUnitId, std::uint16_t yUnitId);
    // Takes the arrays. With exact times and no x array, x becomes 0, 1, 2, ...
    TrendStackObject(std::uint32_t count, std::uint16_t xUnitId, std::uint16_t yUnitId,
                     FloatArray x, FloatArray y, DoubleArray exactTimes = {});

    void ComputeSummary() override;
    // Calculator operations (Arithmetic.h gives the rules).
    Result Add(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Subtract(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Multiply(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Divide(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Negate(Ui& ui) override;
    Result Invert(Ui& ui) override;
    Result Square(Ui& ui) override;
    Result SquareRoot(Ui& ui) override;
    Result AbsValue(Ui& ui) override;
    Result VIDbRatio(Ui& ui, const StackObject* second, double reference) override;
    Result PowerDbRatio(Ui& ui, const StackObject* second, double reference) override;
};

// A time in seconds since 1970-01-01 00:00 UTC, cut to whole seconds and
// formatted in local time with a strftime format ("%m/%d/%y", "%H:%M:%S").
std::string FormatLocalTime(double seconds, const char* format);

}  // namespace kov
