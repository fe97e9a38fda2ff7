#pragma once
// XYStackObject: any y against any x ("X-Y Combine", readers). With a second
// y array the item is a magnitude (y) and phase in radians (y2) per x. It has
// no summary.

#include <cstdint>

#include "stack/PlotableStackObject.h"

namespace kov {

class XYStackObject : public PlotableStackObject {
public:
    // No arrays; both units "Magnitude,Mag,Mag".
    XYStackObject();
    // count points with new x and y arrays, and y2 when withSecondY.
    XYStackObject(std::uint32_t count, bool withSecondY);
};

}  // namespace kov
