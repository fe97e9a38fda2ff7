#include "stack/WaveStackObject.h"

#include <algorithm>
#include <cmath>

#include "platform/Text.h"

namespace kov {

WaveStackObject::WaveStackObject() : PlotableStackObject(kKindWave, 2) {
    axisUnits[kAxisX] = UnitRecord{kPrefixMilli, "m", 0.001, kUnitSeconds};
    axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitMagnitude};
    perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
}

WaveStackObject::WaveStackObject(std::uint32_t count, std::uint16_t yUnitId) : WaveStackObject() {
    axisUnits[kAxisY].unitId = yUnitId;
    Allocate(count, true);
}

void WaveStackObject::Resize(std::uint32_t count) {
    if (count == pointCount()) return;
    PlotableStackObject::Resize(count);
    primaryRatio = 1.0;
    secondaryRatio = 1.0;
    valueSide = 'P';
}

void WaveStackObject::CloneShape(const PlotableStackObject& source) {
    PlotableStackObject::CloneShape(source);
    if (const auto* wave = dynamic_cast<const WaveStackObject*>(&source)) {
        primaryRatio = wave->primaryRatio;
        secondaryRatio = wave->secondaryRatio;
        valueSide = wave->valueSide;
    }
}

void WaveStackObject::SetSamples(FloatArray x, FloatArray y) {
    SetPointCount(static_cast<std::uint32_t>(std::min(x.size(), y.size())));
    xValues = std::move(x);
    yValues = std::move(y);
}

void WaveStackObject::ComputeSummary() {
    auto summary = std::make_unique<WaveSummaryData>();
    const double s = scale(kAxisY);
    const std::size_t n = std::min<std::size_t>(pointCount(), yValues.size());
    summary->min = s * yValues.min();
    summary->max = s * yValues.max();
    summary->abs = std::max(std::fabs(summary->min), std::fabs(summary->max));
    double sumAbs = 0.0, sumSquares = 0.0;
    for (float v : yValues.values().first(n)) {
        sumAbs += std::fabs(static_cast<double>(v));
        sumSquares += static_cast<double>(v) * v;
    }
    if (n > 0) {
        summary->avg = s * (sumAbs / static_cast<double>(n));
        summary->rms = s * std::sqrt(sumSquares / static_cast<double>(n));
    }
    summary->cf = summary->rms > 0.0 ? summary->abs / summary->rms : 0.0;
    summary->ff = summary->avg > 0.0 ? summary->rms / summary->avg : 0.0;

    summary->table = TextTable(7, 2);
    const std::pair<const char*, double> rows[] = {{"Max:", summary->max}, {"Min:", summary->min},
                                                   {"Avg:", summary->avg}, {"Abs:", summary->abs},
                                                   {"RMS:", summary->rms}, {"CF :", summary->cf},
                                                   {"FF :", summary->ff}};
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        summary->table.SetCell(r, 0, rows[r].first);
        summary->table.SetCell(r, 1, Format(" %lg", rows[r].second));
    }
    SetSummary(std::move(summary));
}

}  // namespace kov
