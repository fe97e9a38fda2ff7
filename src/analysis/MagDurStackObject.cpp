#include "analysis/MagDurStackObject.h"

#include <algorithm>

namespace kov {

MagDurStackObject::MagDurStackObject() : PlotableStackObject(kKindMagDur, 2) {
    axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, kUnitDuration};
    axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitPercentMagnitude};
    perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
}

MagDurStackObject::MagDurStackObject(std::uint32_t count) : MagDurStackObject() {
    Allocate(count, false);
}

StackObject::Result MagDurStackObject::Add(Ui& ui, const StackObject* second, OperandMode mode,
                                           double) {
    const auto* other = dynamic_cast<const MagDurStackObject*>(second);
    if (mode != OperandMode::Curve || other == nullptr) return Unsupported(ui);

    auto events = [](const MagDurStackObject& item) {
        return std::min<std::size_t>({item.pointCount(), item.xValues.size(), item.yValues.size()});
    };
    const std::size_t n1 = events(*this), n2 = events(*other);
    auto result = std::make_unique<MagDurStackObject>(static_cast<std::uint32_t>(n1 + n2));
    result->axisUnits = axisUnits;
    result->perUnitBase = perUnitBase;
    result->acquisition = acquisition;
    auto x = result->xValues.MutableValues();
    auto y = result->yValues.MutableValues();
    std::copy_n(xValues.data(), n1, x.begin());
    std::copy_n(yValues.data(), n1, y.begin());
    std::copy_n(other->xValues.data(), n2, x.begin() + static_cast<std::ptrdiff_t>(n1));
    std::copy_n(other->yValues.data(), n2, y.begin() + static_cast<std::ptrdiff_t>(n1));
    result->Finish();
    return result;
}

}  // namespace kov
