#pragma once
// Item builders of the export tests.

#include <memory>
#include <string>
#include <vector>

#include "analysis/TrendStackObject.h"
#include "stack/WaveStackObject.h"

namespace kov::test {

// A finished waveform "case>name" with the given times and values.
inline std::unique_ptr<WaveStackObject> ExportWave(const std::string& name,
                                                   const std::vector<float>& x,
                                                   const std::vector<float>& y,
                                                   std::uint16_t unit = kUnitVoltage) {
    auto w = std::make_unique<WaveStackObject>();
    w->axisUnits[kAxisY].unitId = unit;
    w->SetSamples(FloatArray(x), FloatArray(y));
    w->Init("/data/rec.cfg", "case", name, "", "", "", "WAVE");
    w->Finish();
    return w;
}

// x = i * step for i = 0 .. n-1.
inline std::vector<float> Times(std::size_t n, float step) {
    std::vector<float> x(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = static_cast<float>(i) * step;
    return x;
}

}  // namespace kov::test
