// Window functions, the radix-2 FFT, direct DFT lines, resampling and the
// zero-phase Butterworth filters.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

#include "analysis/Butterworth.h"
#include "analysis/Fourier.h"

namespace kov {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(Fourier, FftMatchesADirectSum) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> u(-1, 1);
    constexpr unsigned kLog2 = 6;
    constexpr std::size_t n = 1u << kLog2;
    std::vector<float> re(n), im(n);
    for (std::size_t i = 0; i < n; ++i) {
        re[i] = u(rng);
        im[i] = u(rng);
    }
    const std::vector<float> re0 = re, im0 = im;
    FFTInPlace(re, im, kLog2);
    for (std::size_t h = 0; h < n; h += 5) {
        std::complex<double> sum = 0;
        for (std::size_t i = 0; i < n; ++i)
            sum += std::complex<double>(re0[i], im0[i]) *
                   std::polar(1.0, -2 * kPi * static_cast<double>(h * i) / n);
        EXPECT_NEAR(re[h], sum.real(), 1e-4) << h;
        EXPECT_NEAR(im[h], sum.imag(), 1e-4) << h;
    }
}

TEST(Fourier, WindowGains) {
    std::vector<float> ones(1024, 1.0f);
    EXPECT_EQ(ApplyWindow(ones, kWindowRectangular), 1.0);
    EXPECT_EQ(ones[3], 1.0f);
    auto gain = [](int type) {
        std::vector<float> x(4096, 1.0f);
        return ApplyWindow(x, type);
    };
    EXPECT_NEAR(gain(kWindowHanning), std::sqrt(3.0 / 8.0), 1e-4);
    EXPECT_NEAR(gain(kWindowWelsh), std::sqrt(8.0 / 15.0), 1e-3);
    EXPECT_NEAR(gain(kWindowBartlett), std::sqrt(1.0 / 3.0), 1e-3);
    std::vector<float> four(4, 1.0f);
    ApplyWindow(four, kWindowHanning);
    EXPECT_NEAR(four[0], 0.0f, 1e-7);
    EXPECT_NEAR(four[2], 1.0f, 1e-7);  // the window's centre is n/2
}

TEST(Fourier, SixtyHertzCosineGivesItsRmsAtLineOne) {
    const double dt = 1.0 / 7680;
    std::vector<double> t(256);
    std::vector<float> y(256);
    for (std::size_t i = 0; i < t.size(); ++i) {
        t[i] = static_cast<double>(i) * dt;
        y[i] = static_cast<float>(std::cos(2 * kPi * 60 * t[i]));
    }
    const FftWindow w = TransformWindow(t, y, 0.0, dt, 7, 60.0, kWindowRectangular);
    ASSERT_EQ(w.magnitude.size(), 64u);
    EXPECT_NEAR(w.magnitude[0], 0.0, 1e-6);
    EXPECT_NEAR(w.magnitude[1], 1 / std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(w.phase[1], 0.0, 1e-5);
    EXPECT_NEAR(w.frequency[1], 60.0, 1e-9);
    EXPECT_NEAR(w.frequency[63], 3780.0, 1e-9);
    EXPECT_NEAR(w.magnitude[2], 0.0, 1e-5);
    EXPECT_NEAR(w.rms, 1 / std::sqrt(2.0), 1e-5);
    EXPECT_NEAR(w.peak, 1.0, 1e-6);
    EXPECT_NEAR(w.rms / w.meanAbs, kPi / (2 * std::sqrt(2.0)), 1e-3);  // form factor 1.11
}

TEST(Fourier, ResamplingExtrapolatesFromTheNearestTwoSamples) {
    const std::vector<double> t{0, 1, 2, 3};
    const std::vector<float> y{0, 10, 30, 60};
    std::vector<float> out(7);
    ResampleWindow(t, y, -1.0, 0.75, out);  // -1, -0.25, 0.5, 1.25, 2, 2.75, 3.5
    EXPECT_FLOAT_EQ(out[0], -10);           // before the data: the first two samples
    EXPECT_FLOAT_EQ(out[1], -2.5);
    EXPECT_FLOAT_EQ(out[2], 5);
    EXPECT_FLOAT_EQ(out[3], 15);  // between samples 1 and 2
    EXPECT_FLOAT_EQ(out[4], 30);  // exactly on a sample
    EXPECT_FLOAT_EQ(out[5], 52.5);
    EXPECT_FLOAT_EQ(out[6], 75);  // past the end: the last two samples
}

TEST(Fourier, DftOfAConstantIsItsMean) {
    const std::vector<float> x(128, 2.0f);
    std::vector<double> re, im;
    DFTLines(x, 1.0 / 7680, 5, static_cast<float>(2 * kPi * 60), re, im);
    EXPECT_NEAR(re[0], 2.0, 1e-12);
    for (std::size_t h = 1; h < 5; ++h) EXPECT_NEAR(std::hypot(re[h], im[h]), 0.0, 1e-6);
    EXPECT_EQ(RootMeanSquare(x), 2.0);
    EXPECT_EQ(MeanAbsolute({}), 0.0);
}

double SineAmplitude(const std::vector<float>& y, std::size_t from) {
    double peak = 0;
    for (std::size_t i = from; i < y.size() - from; ++i)
        peak = std::max(peak, std::fabs(double(y[i])));
    return peak;
}

TEST(Butterworth, ZeroPhasePassesTheBandAndStopsTheRest) {
    const double dt = 1e-4;
    auto sine = [&](double f) {
        std::vector<float> y(20000);
        for (std::size_t i = 0; i < y.size(); ++i) y[i] = float(std::sin(2 * kPi * f * i * dt));
        return y;
    };
    // Low pass at 120 Hz, 3 sections (order 6, squared by the two passes).
    auto pass = sine(60);
    ButterworthZeroPhase(pass, FilterKind::LowPass, 120, dt, 3);
    EXPECT_NEAR(SineAmplitude(pass, 5000), 1.0, 0.01);
    // Zero phase: the filtered sine still crosses zero where the input did.
    EXPECT_NEAR(pass[10000], std::sin(2 * kPi * 60 * 10000 * dt), 0.02);
    auto stop = sine(1200);
    ButterworthZeroPhase(stop, FilterKind::LowPass, 120, dt, 3);
    EXPECT_LT(SineAmplitude(stop, 5000), 1e-5);
    // At the corner one pass gives 1/sqrt 2, two passes 1/2.
    auto corner = sine(120);
    ButterworthZeroPhase(corner, FilterKind::HighPass, 120, dt, 3);
    EXPECT_NEAR(SineAmplitude(corner, 5000), 0.5, 0.01);
    auto high = sine(2500);  // four samples a period: the peaks are sampled
    ButterworthZeroPhase(high, FilterKind::HighPass, 120, dt, 3);
    EXPECT_NEAR(SineAmplitude(high, 5000), 1.0, 0.01);
}

}  // namespace
}  // namespace kov
