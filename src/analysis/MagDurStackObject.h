#pragma once
// MagDurStackObject: a set of power-quality events (voltage sags, swells,
// interruptions), each a duration and a magnitude: x = duration in seconds,
// y = magnitude (normally percent of nominal), one entry per event, in no
// required order. It has no summary.

#include <cstdint>

#include "stack/PlotableStackObject.h"

namespace kov {

class MagDurStackObject : public PlotableStackObject {
public:
    // No arrays; x "Duration,Seconds,s", y "Magnitude,Percent,%".
    MagDurStackObject();
    // count events with new duration and magnitude arrays.
    explicit MagDurStackObject(std::uint32_t count);

    // "Add" of two event sets: the first item's events followed by the
    // second's, unchanged (nothing merged, sorted or removed), with the first
    // item's units and header fields. A constant has no meaning for an event
    // set, and neither has another kind: both are refused.
    Result Add(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
};

}  // namespace kov
