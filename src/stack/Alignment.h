#pragma once
// Putting two sampled items on one X grid for two-operand operations.

#include <span>
#include <vector>

#include "stack/PlotableStackObject.h"

namespace kov {

// True when both items have the same non-zero point count and their X values
// agree within 1e-8 of the first item's X span (display-scaled X when the
// first has no exact X; exact values, with equal ends, when it has).
bool SameGrid(const PlotableStackObject& a, const PlotableStackObject& b);

// The ascending union of two ascending lists; values equal in either list appear once.
std::vector<double> MergeGrids(std::span<const double> a, std::span<const double> b);

// Linear resampling of (x, y) at each grid point: 0 before the first and after
// the last x, the sample itself at an equal x, linear between. x and grid ascend.
std::vector<float> ResampleOnto(std::span<const double> x, std::span<const float> y,
                                std::span<const double> grid);

// The operands' Y (and Y2) values on the result's grid. When the grids are the
// same the spans point at the operands' own arrays; otherwise at resampled
// copies held here.
struct AlignedOperands {
    std::span<const float> firstY, firstY2, secondY, secondY2;

private:
    friend AlignedOperands AlignOperands(const PlotableStackObject&, const PlotableStackObject&,
                                         PlotableStackObject&, bool);
    std::vector<float> storage_[4];
};

// Shapes `result` for an operation on `first` and `second`: a CloneShape of
// the first operand when the grids are the same, otherwise the first operand's
// units and arrays on the merged grid of both. The merge runs on each
// operand's true X values (exact ones when present); the result keeps exact X
// (with indexes in xValues) when both operands have it. withY2 also aligns the
// Y2 arrays (missing ones read as 0).
AlignedOperands AlignOperands(const PlotableStackObject& first, const PlotableStackObject& second,
                              PlotableStackObject& result, bool withY2);

}  // namespace kov
