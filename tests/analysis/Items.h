#pragma once
// Small item builders for the operation tests.

#include <functional>
#include <memory>
#include <vector>

#include "analysis/ScanStackObject.h"
#include "analysis/SpectrumStackObject.h"
#include "stack/WaveStackObject.h"

namespace kov::test {

// A finished waveform with the given times and values.
inline std::unique_ptr<WaveStackObject> Wave(const std::vector<float>& x,
                                             const std::vector<float>& y,
                                             std::uint16_t unit = kUnitMagnitude) {
    auto w = std::make_unique<WaveStackObject>();
    w->axisUnits[kAxisY].unitId = unit;
    w->SetSamples(FloatArray(x), FloatArray(y));
    w->Finish();
    return w;
}

// n samples of f(t) at t = t0 + i dt.
inline std::unique_ptr<WaveStackObject> Sampled(std::size_t n, double dt,
                                                const std::function<double(double)>& f,
                                                double t0 = 0.0) {
    std::vector<float> x(n), y(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = t0 + static_cast<double>(i) * dt;
        x[i] = static_cast<float>(t);
        y[i] = static_cast<float>(f(t));
    }
    return Wave(x, y);
}

// A finished spectrum of lines (frequency, magnitude, phase in radians).
inline std::unique_ptr<SpectrumStackObject> Spectrum(const std::vector<float>& f,
                                                     const std::vector<float>& m,
                                                     const std::vector<float>& p) {
    auto s =
        std::make_unique<SpectrumStackObject>(static_cast<std::uint32_t>(f.size()), kUnitVoltage,
                                              FloatArray(f), FloatArray(m), FloatArray(p));
    s->Finish();
    return s;
}

template <class T>
T& As(std::unique_ptr<StackObject>& item) {
    return dynamic_cast<T&>(*item);
}

}  // namespace kov::test
