#include "stack/PlotableStackObject.h"

namespace kov {

void PlotableStackObject::Allocate(std::uint32_t count, bool complex) {
    pointCount_ = count;
    xValues = FloatArray(count);
    yValues = FloatArray(count);
    if (complex) y2Values = FloatArray(count);
}

void PlotableStackObject::Resize(std::uint32_t count) {
    if (count == pointCount_) return;
    pointCount_ = count;
    for (FloatArray* array : {&xValues, &yValues, &y2Values})
        if (array->present()) *array = FloatArray(count);
    if (xExact) xExact = DoubleArray(count);
}

void PlotableStackObject::CopyUnitsLike(const PlotableStackObject& source) {
    const UnitRecord& sx = source.axisUnits[kAxisX];
    if (sx.unitId == kUnitSeconds) {
        axisUnits[kAxisX] = sx;
    } else {
        axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, sx.unitId};
    }
    axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, source.axisUnits[kAxisY].unitId};
    axisUnits[kAxisAngle] = UnitRecord{kPrefixNone, "", 1.0, source.axisUnits[kAxisAngle].unitId};
    perUnitBase[kAxisX] = source.perUnitBase[kAxisX];
    perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
    perUnitBase[kAxisAngle] = PerUnitBase{false, 1.0, 0, kLabelYMag};
    acquisition = source.acquisition;
}

void PlotableStackObject::PrepareYLike(const PlotableStackObject& source) {
    CopyUnitsLike(source);
    SetKind(kind(), source.axisCount());
    yValues = FloatArray(pointCount_);
    y2Values = source.y2Values ? FloatArray(pointCount_) : FloatArray();
}

void PlotableStackObject::PrepareLike(const PlotableStackObject& source) {
    PrepareYLike(source);
    xValues = FloatArray(pointCount_);
    xExact = source.xExact ? DoubleArray(pointCount_) : DoubleArray();
}

void PlotableStackObject::CloneShape(const PlotableStackObject& source) {
    pointCount_ = source.pointCount_;
    PrepareYLike(source);
    // The X values are the source's: share its arrays rather than copy them.
    xValues = source.xValues;
    xExact = source.xExact;
}

void PlotableStackObject::Finish() {
    xValues.RefreshExtents();
    yValues.RefreshExtents();
    y2Values.RefreshExtents();
    xExact.RefreshExtents();
    UpdateScales();
}

void PlotableStackObject::UpdateScales() {
    const std::size_t axes = y2Values ? 3 : 2;
    for (std::size_t a = 0; a < axes; ++a) {
        const double base = PerUnitDivisor(perUnitBase[a]);
        const double m = axisUnits[a].multiplier == 0.0 ? 1.0 : axisUnits[a].multiplier;
        scales_[a] = 1.0 / base / m;
    }
    ComputeSummary();
}

}  // namespace kov
