#pragma once
// PlotableStackObject: a stack item with sampled values. It holds up to four
// arrays of pointCount values: X (single precision), Y (magnitude or real
// part), Y2 (angle or imaginary part, complex data only) and, when X is not
// to be trusted in single precision, the exact X values in double precision
// (X then holds the sample indexes 0, 1, 2, ...). Each axis has a display
// scale that turns a stored value into the value shown in the axis's units.

#include <array>

#include "stack/Acquisition.h"
#include "stack/SampleArray.h"
#include "stack/StackObject.h"

namespace kov {

class PlotableStackObject : public StackObject {
public:
    std::uint32_t pointCount() const { return pointCount_; }

    FloatArray xValues;
    FloatArray yValues;
    FloatArray y2Values;
    DoubleArray xExact;
    AcquisitionBlock acquisition;

    // Display scale of axis X, Y or angle (1.0 until UpdateScales runs).
    double scale(Axis axis) const { return scales_[axis]; }

    // The true X value of sample i: xExact when present, otherwise xValues.
    double XAt(std::size_t i) const { return xExact ? xExact[i] : static_cast<double>(xValues[i]); }

    // Sets pointCount and re-allocates, empty, each array that exists.
    virtual void Resize(std::uint32_t count);
    // Takes over the units, per-unit bases and acquisition of a source for a result.
    void CopyUnitsLike(const PlotableStackObject& source);
    // CopyUnitsLike, then new arrays of the current pointCount for the
    // arrays the source has (X and Y always).
    void PrepareLike(const PlotableStackObject& source);
    // pointCount and X values from the source, arrays prepared as PrepareLike;
    // the Y arrays are left for the operation to fill.
    virtual void CloneShape(const PlotableStackObject& source);
    // Refreshes the extents of the arrays, the display scales and the summary.
    // Every operation and every reader ends with it.
    void Finish();
    // Recomputes the display scale of each axis from its unit and per-unit
    // base: 1 / base / multiplier. The angle axis only with Y2 data.
    void UpdateScales();

    void ComputeSummary() override {}

protected:
    PlotableStackObject(std::uint32_t kind, std::uint32_t axisCount)
        : StackObject(kind, axisCount) {}
    // CopyUnitsLike, then new Y (and Y2 when the source has it) arrays.
    void PrepareYLike(const PlotableStackObject& source);
    // Allocates X, Y (and Y2 when complex) of count points.
    void Allocate(std::uint32_t count, bool complex);
    void SetPointCount(std::uint32_t count) { pointCount_ = count; }

private:
    std::uint32_t pointCount_ = 0;
    std::array<double, 3> scales_{1.0, 1.0, 1.0};
};

}  // namespace kov
