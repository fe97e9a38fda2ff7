#include "analysis/XYStackObject.h"

namespace kov {

XYStackObject::XYStackObject() : PlotableStackObject(kKindXY, 2) {
    axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, kUnitMagnitude};
    axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitMagnitude};
    axisUnits[kAxisAngle] = UnitRecord{kPrefixNone, "", 1.0, kUnitDegrees};
    perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
    perUnitBase[kAxisAngle] = PerUnitBase{false, 1.0, 0, kLabelYAngle};
}

XYStackObject::XYStackObject(std::uint32_t count, bool withSecondY) : XYStackObject() {
    Allocate(count, withSecondY);
}

}  // namespace kov
