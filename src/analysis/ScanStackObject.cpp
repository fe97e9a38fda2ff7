#include "analysis/ScanStackObject.h"

#include <algorithm>

#include "platform/Text.h"

namespace kov {

ScanStackObject::ScanStackObject() : PlotableStackObject(kKindScan, 3) {
    axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, kUnitHertz};
    axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitMagnitude};
    axisUnits[kAxisAngle] = UnitRecord{kPrefixNone, "", 1.0, kUnitDegrees};
    perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
    perUnitBase[kAxisAngle] = PerUnitBase{false, 1.0, 0, kLabelYAngle};
}

ScanStackObject::ScanStackObject(std::uint32_t count, std::uint16_t magnitudeUnitId)
    : ScanStackObject() {
    axisUnits[kAxisY].unitId = magnitudeUnitId;
    Allocate(count, true);
}

void ScanStackObject::ComputeSummary() {
    auto summary = std::make_unique<ScanSummaryData>();
    // The extents of the stored magnitudes, taken from the values themselves
    // so that a summary built before Finish is right too.
    const std::size_t n = std::min<std::size_t>(pointCount(), yValues.size());
    if (n > 0) {
        const auto values = yValues.values().first(n);
        const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
        summary->min = *lo;
        summary->max = *hi;
    }
    summary->table = TextTable(2, 2);
    summary->table.SetCell(0, 0, "Min:");
    summary->table.SetCell(0, 1, Format(" %lg", summary->min));
    summary->table.SetCell(1, 0, "Max:");
    summary->table.SetCell(1, 1, Format(" %lg", summary->max));
    SetSummary(std::move(summary));
}

}  // namespace kov
