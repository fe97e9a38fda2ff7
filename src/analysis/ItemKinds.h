#pragma once
// Making an empty item of a kind code, for makers that choose the kind at
// run time (file readers that carry the kind in the data, the expression
// evaluator).

#include <cstdint>
#include <memory>

#include "stack/PlotableStackObject.h"

namespace kov {

// A new item of the kind with that kind's defaults and no arrays: waveform,
// spectrum, scan, trend, probability, histogram, X-Y, magnitude-duration or
// 3-D histogram. nullptr for the statistics kind (it has no sampled arrays)
// and for codes outside the kind table.
std::unique_ptr<PlotableStackObject> MakePlotableOfKind(std::uint32_t kind);

}  // namespace kov
