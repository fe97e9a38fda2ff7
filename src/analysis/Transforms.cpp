#include "analysis/Transforms.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "analysis/Butterworth.h"
#include "analysis/OperationSupport.h"
#include "analysis/SpectrumStackObject.h"
#include "analysis/TrendStackObject.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "stack/WaveStackObject.h"

namespace kov {

namespace {

constexpr double kSqrt2 = 1.4142135623730951;

// Largest transform length the FFT makes (2^26 points, 256 MB of work arrays).
constexpr int kMaxLog2 = 26;

// The samples of the waveform from the one before `start` on: the resampling
// cursor never needs the earlier ones, and an instant before the data still
// sees the first two samples.
std::size_t FirstNeeded(std::span<const double> t, double start) {
    const auto it = std::lower_bound(t.begin(), t.end(), start);
    const auto index = static_cast<std::size_t>(it - t.begin());
    return index == 0 ? 0 : index - 1;
}

}  // namespace

std::unique_ptr<StackObject> FftOfWave(Ui& ui, const WaveStackObject& wave,
                                       FFTParameters& parameters) {
    const TimeBase tb(wave);
    const std::span<const double> t = tb.values();
    const std::size_t n = std::min<std::size_t>(t.size(), wave.yValues.size());
    const std::span<const float> y = wave.yValues.values().first(n);
    const double dt = n >= 2 ? t[1] - t[0] : 0.0;
    if (!(dt > 0.0)) {
        Refuse(ui, str::kNoPositiveStep, str::kShortProductName);
        return nullptr;
    }
    const double f0 = parameters.fundamental;
    if (!(f0 > 0.0) || !std::isfinite(f0)) {
        Refuse(ui, str::kFundamentalNotPositive, str::kShortProductName);
        return nullptr;
    }
    const double start = parameters.startTime;
    const double tLast = t[n - 1];
    int cycles = std::abs(static_cast<int>(parameters.cycles));
    if (parameters.cycles < 0) {
        cycles = static_cast<int>(std::trunc((tLast - start + dt) * f0 + 0.5));
        cycles = std::clamp(cycles, 1, 32767);
        parameters.cycles = static_cast<std::int16_t>(cycles);
    }
    if (cycles == 0) {
        // A window of no cycles has an infinite line spacing.
        Refuse(ui, str::kCyclesNotPositive, str::kShortProductName);
        return nullptr;
    }
    const double df = f0 / cycles;
    const double T = 1.0 / df;
    if (start < t[0] || start + T - 2.0 * dt > tLast)
        Refuse(ui, str::kTooFewPointsFft, str::kWarningCaption);

    const int k = std::clamp(static_cast<int>(std::trunc(std::log2(T / dt) + 0.5)), 1, kMaxLog2);
    const std::size_t N = std::size_t{1} << k;
    const std::size_t M = N / 2;
    const double dtPrime = T / static_cast<double>(N);

    if (parameters.sliding == 0) {
        const std::size_t from = FirstNeeded(t, start);
        FftWindow w = TransformWindow(t.subspan(from), y.subspan(from), start, dtPrime,
                                      static_cast<unsigned>(k), df, parameters.window);
        auto result = std::make_unique<SpectrumStackObject>(
            static_cast<std::uint32_t>(M), wave.axisUnits[kAxisY].unitId,
            FloatArray(std::move(w.frequency)), FloatArray(std::move(w.magnitude)),
            FloatArray(std::move(w.phase)));
        result->FundamentalIndex = cycles;
        result->Finish();
        return result;
    }

    if (parameters.step == 0.0f) {
        Refuse(ui, str::kInvalidFftStep, str::kShortProductName);
        return nullptr;
    }
    const int item = parameters.item;
    if (item < kItemFormFactor) {
        Refuse(ui, str::kInvalidSlidingItem, str::kShortProductName);
        return nullptr;
    }
    if (item >= 0 && static_cast<long long>(item) * cycles >= static_cast<long long>(M)) {
        // The harmonic's line is not among the window's lines: no value to give.
        Refuse(ui, Format(str::kHarmonicBeyondWindow, item, static_cast<int>(M), df),
               str::kShortProductName);
        return nullptr;
    }
    const double windows = std::trunc((tLast - (start + T - 2.0 * dt)) / parameters.step);
    const std::size_t W = windows > 0.0 ? static_cast<std::size_t>(windows) : 0;

    auto result = std::make_unique<TrendStackObject>(static_cast<std::uint32_t>(W), kUnitSeconds,
                                                     wave.axisUnits[kAxisY].unitId);
    result->axisUnits[kAxisX] = UnitRecord{kPrefixMilli, "m", 0.001, kUnitSeconds};
    auto xs = result->xValues.MutableValues();
    auto ys = result->yValues.MutableValues();
    // Work arrays shared by every window.
    std::vector<float> re(N), im(N);
    const std::size_t line = item >= 0 ? static_cast<std::size_t>(item) * cycles : 0;
    for (std::size_t w = 0; w < W; ++w) {
        // The window start is computed in single precision.
        const float s = parameters.startTime + static_cast<float>(w) * parameters.step;
        const std::size_t from = FirstNeeded(t, s);
        ResampleWindow(t.subspan(from), y.subspan(from), s, dtPrime, re);
        xs[w] = static_cast<float>(s + static_cast<double>(M) * dtPrime);
        double value = 0.0;
        if (item < 0) {
            const double peak = PeakMagnitude(re);
            const double rms = RootMeanSquare(re);
            switch (item) {
                case kItemRms:
                    value = rms;
                    break;
                case kItemPeak:
                    value = peak;
                    break;
                case kItemCrestFactor:
                    value = rms > 0.0 ? peak / rms : 0.0;
                    break;
                default: {
                    const double mean = MeanAbsolute(re);
                    value = mean > 0.0 ? rms / mean : 0.0;
                    break;
                }
            }
        } else {
            std::fill(im.begin(), im.end(), 0.0f);
            const double gain = ApplyWindow(re, parameters.window);
            FFTInPlace(re, im, static_cast<unsigned>(k));
            float magnitude = 0.0f, phase = 0.0f;
            SpectrumLine(re[line], im[line], line, N, gain, magnitude, phase);
            value = magnitude;
        }
        ys[w] = static_cast<float>(value);
    }
    result->Finish();
    return result;
}

bool FindFundamental(std::span<const double> times, std::span<const float> values, float& f0) {
    f0 = 60.0f;
    const std::size_t n = std::min(times.size(), values.size());
    if (n < 2) return false;
    const double dt = times[1] - times[0];
    if (!(dt > 0.0)) return false;
    std::vector<float> y(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(n));
    // A corner above half the sampling rate has no digital filter: keep the signal.
    if (120.0 * dt < 0.5) ButterworthZeroPhase(y, FilterKind::LowPass, 120.0, dt, 3);
    std::size_t crossings[3];
    int found = 0;
    for (std::size_t j = 1; j < n && found < 3; ++j) {
        const float a = y[j - 1], b = y[j];
        if (a >= 0.0f && b < 0.0f)
            crossings[found++] = j - 1;
        else if (a < 0.0f && b >= 0.0f)
            crossings[found++] = j;
    }
    if (found < 3) return false;
    const double period = static_cast<double>(crossings[2] - crossings[0]) * dt;
    if (!(period > 0.0)) return false;
    f0 = static_cast<float>(std::trunc(10.0 / period + 0.5) / 10.0);
    return true;
}

std::unique_ptr<StackObject> DftOfWave(Ui& ui, const WaveStackObject& wave,
                                       DFTParameters& parameters) {
    const TimeBase tb(wave);
    const std::span<const double> t = tb.values();
    const std::size_t n = std::min<std::size_t>(t.size(), wave.yValues.size());
    const std::span<const float> y = wave.yValues.values().first(n);
    const double dt = n >= 2 ? t[1] - t[0] : 0.0;
    if (!(dt > 0.0)) {
        Refuse(ui, str::kNoPositiveStep, str::kShortProductName);
        return nullptr;
    }
    const double start = parameters.startTime;
    std::size_t first =
        static_cast<std::size_t>(std::lower_bound(t.begin(), t.end(), start) - t.begin());
    if (first >= n) first = 0;
    if (parameters.autoFundamental) {
        float found = 60.0f;
        FindFundamental(t.subspan(first), y.subspan(first), found);
        parameters.fundamental = found;
    }
    const double f0 = parameters.fundamental;
    if (!(f0 > 0.0) || !std::isfinite(f0)) {
        Refuse(ui, str::kFundamentalNotPositive, str::kShortProductName);
        return nullptr;
    }
    int cycles = std::abs(static_cast<int>(parameters.cycles));
    if (parameters.cycles < 0) {
        cycles = static_cast<int>(std::trunc(static_cast<double>(n - first) * f0 * dt + 0.5));
        cycles = std::clamp(cycles, 1, 32767);
        parameters.cycles = static_cast<std::int16_t>(cycles);
    }
    if (cycles == 0) {
        Refuse(ui, str::kCyclesNotPositive, str::kShortProductName);
        return nullptr;
    }
    const double df = f0 / cycles;
    // The window's last sample, counted from the item's first sample; times
    // are measured from the first sample so records that do not start at 0
    // get the same window.
    // Within a millionth (relative) of a whole index counts that index, so the
    // rounding of single-precision times does not drop the window's last sample.
    const double span = (1.0 / df + (start - t[0]) - dt) / dt;
    double lastIndex = std::trunc(span + 1e-6 * std::max(1.0, std::fabs(span)));
    std::size_t last = lastIndex > 0.0 ? static_cast<std::size_t>(std::min(lastIndex, 1e18)) : 0;
    if (last > n - 1) {
        last = n - 1;
        Refuse(ui, str::kTooFewPointsDft, str::kWarningCaption);
    }
    if (last < first) last = first;
    const std::size_t lines = static_cast<std::size_t>(parameters.lastHarmonic) * cycles + 1;
    if (parameters.sliding != 0) {
        Refuse(ui, parameters.step == 0.0f ? str::kInvalidDftStep : str::kSlidingDftUnsupported,
               str::kShortProductName);
        return nullptr;
    }

    std::vector<float> copy(y.begin() + static_cast<std::ptrdiff_t>(first),
                            y.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    const double gain = ApplyWindow(copy, parameters.window);
    std::vector<double> re, im;
    const float omega = static_cast<float>(2.0 * std::numbers::pi * df);
    DFTLines(copy, dt, lines, omega, re, im);

    auto result = std::make_unique<SpectrumStackObject>(static_cast<std::uint32_t>(lines),
                                                        wave.axisUnits[kAxisY].unitId);
    auto f = result->xValues.MutableValues();
    auto m = result->yValues.MutableValues();
    auto p = result->y2Values.MutableValues();
    for (std::size_t h = 0; h < lines; ++h) {
        const double modulus = std::hypot(re[h], im[h]);
        f[h] = static_cast<float>(static_cast<double>(h) * df);
        m[h] = static_cast<float>(h == 0 ? modulus / gain : kSqrt2 * modulus / gain);
        p[h] = (re[h] == 0.0 && im[h] == 0.0) ? 0.0f : static_cast<float>(std::atan2(im[h], re[h]));
    }
    result->FundamentalIndex = static_cast<std::int32_t>(std::trunc(f0 / df + 0.5));
    result->Finish();
    return result;
}

std::unique_ptr<StackObject> IdftOfSpectrum(Ui& ui, const SpectrumStackObject& spectrum,
                                            const IDFTParameters& parameters) {
    const std::size_t lines = std::min<std::size_t>(
        {spectrum.pointCount(), spectrum.xValues.size(), spectrum.yValues.size()});
    double f = 0.0;
    const std::int32_t k = spectrum.FundamentalIndex;
    if (k >= 0 && static_cast<std::size_t>(k) < lines)
        f = spectrum.xValues[static_cast<std::size_t>(k)];
    // A fundamental at 0 Hz (the summary picks the DC line when it is the
    // largest) has no period: take the first line above 0 Hz instead.
    if (!(f > 0.0) && lines > 0)
        f = spectrum.xValues[0] != 0.0f || lines < 2 ? spectrum.xValues[0] : spectrum.xValues[1];
    if (!(f > 0.0)) {
        Refuse(ui, str::kNoSpectrumFundamental, str::kShortProductName);
        return nullptr;
    }
    if (parameters.cycles < 1) {
        Refuse(ui, str::kCyclesNotPositive, str::kShortProductName);
        return nullptr;
    }
    const double T = parameters.cycles / f;
    double dt = 1.0 / (128.0 * f);
    const double fMax = spectrum.xValues[lines - 1];
    if (fMax > 0.0) dt = std::min(dt, 1.0 / (2.0 * fMax));
    const double count = std::trunc(T / dt);
    if (count > static_cast<double>(kMaxPoints)) {
        Refuse(ui, Format(str::kTooManyPoints, kMaxPoints), str::kShortProductName);
        return nullptr;
    }
    const auto P = static_cast<std::uint32_t>(count);

    auto result = std::make_unique<WaveStackObject>();
    result->axisUnits[kAxisY].unitId = spectrum.axisUnits[kAxisY].unitId;
    result->Resize(P);
    result->xValues = FloatArray(P);
    std::vector<double> sum(P, 0.0);
    const std::span<const float> phases =
        spectrum.y2Values ? spectrum.y2Values.values() : std::span<const float>();
    for (std::size_t j = 0; j < lines; ++j) {
        const double a = spectrum.yValues[j];
        const double fj = spectrum.xValues[j];
        const double phi = j < phases.size() ? phases[j] : 0.0;
        if (fj == 0.0) {
            for (double& v : sum) v += a;
            continue;
        }
        const double w = 2.0 * std::numbers::pi * fj;
        for (std::size_t i = 0; i < P; ++i) {
            const double arg = w * (static_cast<double>(i) * dt) + phi;
            sum[i] += kSqrt2 * a * (parameters.sine ? std::sin(arg) : std::cos(arg));
        }
    }
    auto x = result->xValues.MutableValues();
    std::vector<float> values(P);
    for (std::size_t i = 0; i < P; ++i) {
        x[i] = static_cast<float>(static_cast<double>(i) * dt);
        values[i] = static_cast<float>(sum[i]);
    }
    result->yValues = FloatArray(std::move(values));
    result->Finish();
    return result;
}

}  // namespace kov
