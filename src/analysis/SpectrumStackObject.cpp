#include "analysis/SpectrumStackObject.h"

#include <cmath>
#include <vector>

#include "analysis/HarmonicIndices.h"
#include "platform/Text.h"

namespace kov {

SpectrumStackObject::SpectrumStackObject() : PlotableStackObject(kKindSpectrum, 3) {
    axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, kUnitHertz};
    axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitMagnitude};
    axisUnits[kAxisAngle] = UnitRecord{kPrefixNone, "", 1.0, kUnitDegrees};
    perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
    perUnitBase[kAxisAngle] = PerUnitBase{false, 1.0, 0, kLabelYAngle};
}

SpectrumStackObject::SpectrumStackObject(std::uint32_t count, std::uint16_t magnitudeUnitId)
    : SpectrumStackObject() {
    axisUnits[kAxisY].unitId = magnitudeUnitId;
    Allocate(count, true);
}

SpectrumStackObject::SpectrumStackObject(std::uint32_t count, std::uint16_t magnitudeUnitId,
                                         FloatArray frequencies, FloatArray magnitudes,
                                         FloatArray phases)
    : SpectrumStackObject() {
    axisUnits[kAxisY].unitId = magnitudeUnitId;
    SetPointCount(count);
    xValues = std::move(frequencies);
    yValues = std::move(magnitudes);
    y2Values = std::move(phases);
}

void SpectrumStackObject::Resize(std::uint32_t count) {
    if (count == pointCount()) return;
    PlotableStackObject::Resize(count);
    FundamentalIndex = -1;
}

void SpectrumStackObject::CloneShape(const PlotableStackObject& source) {
    PlotableStackObject::CloneShape(source);
    if (const auto* spectrum = dynamic_cast<const SpectrumStackObject*>(&source))
        FundamentalIndex = spectrum->FundamentalIndex;
}

std::int32_t SpectrumStackObject::FindFundamentalLine() const {
    const std::size_t n = std::min<std::size_t>({pointCount(), xValues.size(), yValues.size()});
    const double preferred = static_cast<float>(perUnitBase[kAxisX].value);
    std::size_t best = 0;
    float largest = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::fabs(static_cast<double>(xValues[i]) - preferred) < 0.1)
            return static_cast<std::int32_t>(i);
        if (yValues[i] > largest) {
            largest = yValues[i];
            best = i;
        }
    }
    return static_cast<std::int32_t>(best);
}

void SpectrumStackObject::ComputeSummary() {
    auto summary = std::make_unique<SpectrumSummaryData>();
    const std::size_t n = std::min<std::size_t>({pointCount(), xValues.size(), yValues.size()});
    if (n > 0) {
        if (FundamentalIndex < 0 || static_cast<std::size_t>(FundamentalIndex) >= n)
            FundamentalIndex = FindFundamentalLine();
        const std::size_t k = static_cast<std::size_t>(FundamentalIndex);
        const double sm = scale(kAxisY);
        std::vector<double> f(n), m(n);
        for (std::size_t i = 0; i < n; ++i) {
            f[i] = xValues[i];
            m[i] = static_cast<double>(yValues[i]) * sm;
        }
        // The harmonic test runs on stored frequencies, so its base is the
        // stored fundamental frequency; the row shows it in display units.
        const double F = f[k];
        const double A = m[k];
        summary->freq = F * scale(kAxisX);
        summary->fund = A;
        summary->thd = HarmonicDistortion(f, m, F, A);
        summary->tid = InterharmonicDistortion(f, m, F, A);
        summary->td = TotalDistortion(m, A);
        summary->rmsh = HarmonicOnlyRms(f, m, F, A);
        summary->rmsi = InterharmonicRms(f, m, F);
        summary->rmsfh = HarmonicRms(f, m, F);
        summary->rms = TotalRms(m);
        summary->asum = LineSum(f, m, F);
        summary->tif = TifRatio(f, m, F);
        summary->it = WeightedRms(f, m, F);
    }

    const std::pair<const char*, double> rows[] = {
        {"Freq :", summary->freq}, {"Fund :", summary->fund},  {"THD  :", summary->thd},
        {"TID  :", summary->tid},  {"TD   :", summary->td},    {"RMSh :", summary->rmsh},
        {"RMSi :", summary->rmsi}, {"RMSfh:", summary->rmsfh}, {"RMS  :", summary->rms},
        {"ASUM :", summary->asum}, {"TIF  :", summary->tif},   {"IT   :", summary->it}};
    summary->table = TextTable(std::size(rows), 2);
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        summary->table.SetCell(r, 0, rows[r].first);
        summary->table.SetCell(r, 1, Format(" %lg", rows[r].second));
    }
    SetSummary(std::move(summary));
}

}  // namespace kov
