#pragma once
// The generic calculator workers shared by every sampled kind.
//
// Two families:
//  - real items (no second y array: waveforms, trends, probability and
//    histogram items, X-Y items without y2): y values combine directly;
//  - line-by-line items (with a second y array: spectra, scans, X-Y items
//    with y2, complex waveforms): magnitude m and phase phi (radians) combine
//    as phasors m e^(j phi).
// With a constant the result keeps the first item's X (shared) and transforms
// its values one by one. With a second item on the same grid the values
// combine index by index; otherwise both are resampled onto the merged grid
// (AlignOperands), each operand 0 outside its own X range.
//
// Real rules: Add, Subtract, Multiply as written; Divide gives 0 where the
// divisor is 0; Invert keeps zeros at 0; Square Root gives 0 for negative y.
// Line-by-line: Add/Subtract add phasors (a constant goes to the real part);
// Multiply m1 m2, phi1 + phi2 (constant: m c); Divide m1 / m2 (0 where m2 is
// 0), phi1 - phi2; Negate phi + pi; Invert 1/m, -phi (zero magnitudes stay 0);
// Square m^2, 2 phi; Square Root sqrt(m), phi / 2; Abs |m|.
// dB ratios: F log10(|a / b|) with F = 20 ("V,I") or 10 ("Pwr") for real
// items and the factors exchanged for line-by-line items (on magnitudes, the
// first item's phases kept); a zero divisor gives 30, a zero ratio -30. The
// sign of a negative ratio is dropped: its magnitude is what the logarithm
// measures (the signs of two instantaneous values say nothing about level).

#include <span>

#include "stack/PlotableStackObject.h"

namespace kov {

class Ui;

enum class ArithmeticOp {
    Add,
    Subtract,
    Multiply,
    Divide,
    Negate,
    Invert,
    Square,
    SquareRoot,
    AbsValue,
    VIDbRatio,
    PowerDbRatio
};

// True for the line-by-line family: the item has a second y array.
bool IsLineByLine(const PlotableStackObject& item);

// A new item of the first item's kind. Binary operations take `second` in
// curve mode (null: message 2069) or `constant` in constant mode; the dB
// ratios take `second`, or the constant as reference when it is null. A
// second item without sampled values is refused.
StackObject::Result Arithmetic(Ui& ui, const PlotableStackObject& first, ArithmeticOp op,
                               const StackObject* second, OperandMode mode, double constant);

// The running trapezoid integral in place: out[0] = 0,
// out[i] = out[i-1] + (x[i] - x[i-1]) (y[i-1] + y[i]) / 2, accumulated in
// double precision. Each interval uses its own width, so a non-uniform grid
// integrates correctly; on a uniform grid this is the fixed-step rule.
void RunningIntegral(std::span<const double> x, std::span<float> y);

// "Integrate" of a waveform or X-Y item: every y array integrated over X.
StackObject::Result IntegrateItem(Ui& ui, const PlotableStackObject& first);

// "X-Y Combine": on the common grid, x = the first item's y, y = the second's;
// units follow (x unit = first's y unit, y unit = second's y unit).
StackObject::Result XYCombineItems(Ui& ui, const PlotableStackObject& first,
                                   const StackObject* second);

// "Sampling": the item resampled onto a new uniform grid from x0 to x1, by a
// step (count = floor((x1 - x0) / s) + 1, within 1e-9 of a whole count so
// that 0.3 / 0.1 counts 3 steps) or by a number of points (spacing
// (x1 - x0) / (p - 1)); y and y2 linearly interpolated, 0 outside the data.
// By indexes, x0 and x1 are the X values of the start and stop samples
// (stop clamped to the last sample, start kept below stop).
struct SamplingRequest {
    bool byIndex = false;
    long startIndex = 0, stopIndex = 0;
    double startValue = 0.0, stopValue = 100.0;
    bool byStep = true;
    double step = 1.0;
    long points = 1;
};
StackObject::Result SampleItem(Ui& ui, const PlotableStackObject& first,
                               const SamplingRequest& request);

}  // namespace kov
