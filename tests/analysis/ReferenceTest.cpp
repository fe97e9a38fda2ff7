// Transforms and operations against values computed independently with numpy
// and scipy (reference/make_reference.py, output in reference/ReferenceData.h).
// Inputs are rebuilt here exactly as the script builds them. Tolerances: the
// samples and every intermediate array are single precision here and double
// precision there, so lines agree to about 1e-6 of the largest value; the
// bounds below leave a factor of ten.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <span>

#include "Items.h"
#include "analysis/Arithmetic.h"
#include "analysis/Fourier.h"
#include "analysis/SignalOperations.h"
#include "platform/RecordingUi.h"
#include "reference/ReferenceData.h"

namespace kov {
namespace {

using test::As;
constexpr double kPi = std::numbers::pi;

double Distorted(double t) {
    return 1.5 + 2.0 * std::cos(2 * kPi * 60 * t + 0.3) + 0.5 * std::cos(2 * kPi * 300 * t - 1.1) +
           0.2 * std::sin(2 * kPi * 420 * t);
}

// |actual - expected| within tolerance for every value.
template <class Actual>
void ExpectClose(const Actual& actual, std::span<const double> expected, double tolerance,
                 const char* what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << what << " [" << i << "]";
}

void CheckFft(int window, std::span<const double> magnitude, std::span<const double> phase) {
    RecordingUi ui;
    auto wave = test::Sampled(600, 1.0 / 5000, Distorted);
    FFTParameters p;
    p.cycles = 2;
    p.startTime = 0.0043f;
    p.window = window;
    auto r = wave->Fft(ui, p);
    ASSERT_TRUE(r);
    auto& s = As<SpectrumStackObject>(r);
    ExpectClose(s.yValues.values(), magnitude, 2e-5, "magnitude");
    // Phases of the lines that carry a component (noise lines have none).
    for (std::size_t h = 0; h < phase.size(); ++h) {
        if (magnitude[h] > 0.01) {
            EXPECT_NEAR(std::remainder(s.y2Values[h] - phase[h], 2 * kPi), 0.0, 2e-4) << h;
        }
    }
}

TEST(Reference, FftLinesOfAResampledWindowedSignal) {
    CheckFft(kWindowRectangular, reference::kFftRectangularMagnitude,
             reference::kFftRectangularPhase);
    CheckFft(kWindowHanning, reference::kFftHanningMagnitude, reference::kFftHanningPhase);
    CheckFft(kWindowWelsh, reference::kFftWelshMagnitude, reference::kFftWelshPhase);
    CheckFft(kWindowBartlett, reference::kFftBartlettMagnitude, reference::kFftBartlettPhase);
}

TEST(Reference, FftOfOneCycleDownSampledTo64Points) {
    RecordingUi ui;
    auto wave = test::Sampled(600, 1.0 / 5000, Distorted);
    FFTParameters p;
    auto r = wave->Fft(ui, p);
    ASSERT_TRUE(r);
    ExpectClose(As<SpectrumStackObject>(r).yValues.values(), reference::kFftOneCycleMagnitude, 2e-5,
                "one cycle");
}

std::vector<float> Mix() {
    std::vector<float> y(1000);
    for (std::size_t i = 0; i < y.size(); ++i) {
        const double t = static_cast<double>(i) * 1e-4;
        y[i] = static_cast<float>(std::sin(2 * kPi * 50 * t) +
                                  0.5 * std::sin(2 * kPi * 900 * t + 0.2));
    }
    return y;
}

TEST(Reference, ZeroPhaseButterworthMatchesScipysDesign) {
    std::vector<float> low = Mix();
    FilterSignal(low, kFilterLowPass, 200, 0, 1e-4, 3);
    ExpectClose(low, reference::kLowPass200, 2e-5, "low pass");
    std::vector<float> high = Mix();
    FilterSignal(high, kFilterHighPass, 400, 0, 1e-4, 2);
    ExpectClose(high, reference::kHighPass400x2, 2e-5, "high pass");
}

TEST(Reference, CorrelationsAreTrapezoidsOfEachLag) {
    auto a = test::Sampled(40, 0.01, [](double t) { return std::sin(7 * t) + 0.3 * t; });
    auto b = test::Sampled(40, 0.01, [](double t) { return std::cos(11 * t) - 0.1; });
    RecordingUi ui;
    auto autoR = a->AutoCorrelation(ui);
    ExpectClose(As<WaveStackObject>(autoR).yValues.values(), reference::kAutoCorrelation, 1e-6,
                "auto");
    auto cross = a->CrossCorrelation(ui, b.get());
    ExpectClose(As<WaveStackObject>(cross).yValues.values(), reference::kCrossCorrelation, 1e-6,
                "cross");
}

TEST(Reference, RunningIntegralOnANonUniformGrid) {
    const std::vector<float> xf{0.0f, 0.1f, 0.25f, 0.3f, 0.7f, 1.0f, 1.05f};
    std::vector<float> y{1.0f, 3.0f, -2.0f, 0.5f, 4.0f, 2.5f, -1.0f};
    const std::vector<double> x(xf.begin(), xf.end());
    RunningIntegral(x, y);
    ExpectClose(y, reference::kRunningIntegral, 1e-6, "integral");
}

}  // namespace
}  // namespace kov
