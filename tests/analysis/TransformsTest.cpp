// FFT, DFT and IDFT of stack items: worked examples, messages and write-backs.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Items.h"
#include "Near.h"
#include "analysis/Transforms.h"
#include "analysis/TrendStackObject.h"
#include "platform/RecordingUi.h"

namespace kov {
namespace {

using test::As;
using test::NearRel;
constexpr double kPi = std::numbers::pi;

double Cosine60(double t) {
    return std::cos(2 * kPi * 60 * t);
}

TEST(FftOfWave, SixtyHertzCosineAt7680SamplesPerSecond) {
    RecordingUi ui;
    auto wave = test::Sampled(512, 1.0 / 7680, Cosine60);
    wave->axisUnits[kAxisY].unitId = kUnitVoltage;
    FFTParameters p;
    auto result = wave->Fft(ui, p);
    ASSERT_TRUE(result);
    EXPECT_TRUE(ui.messages.empty());
    auto& s = As<SpectrumStackObject>(result);
    ASSERT_EQ(s.pointCount(), 64u);  // N = 128, M = 64 lines
    EXPECT_EQ(s.FundamentalIndex, 1);
    EXPECT_EQ(s.axisUnits[kAxisY].unitId, kUnitVoltage);
    EXPECT_NEAR(s.xValues[1], 60.0, 1e-9);
    EXPECT_NEAR(s.xValues[63], 63 * 60.0, 1e-9);
    EXPECT_NEAR(s.yValues[1], std::sqrt(0.5), 1e-5);
    EXPECT_NEAR(s.y2Values[1], 0.0, 1e-5);
    EXPECT_NEAR(s.yValues[0], 0.0, 1e-6);
    EXPECT_NEAR(s.yValues[2], 0.0, 1e-5);
}

TEST(FftOfWave, WindowLengthRoundsToTheNearestPowerOfTwoOnALogScale) {
    RecordingUi ui;
    FFTParameters p;
    // T / dt = 182: log2 = 7.508, N = 256 (up-sampled).
    auto up = test::Sampled(400, 1.0 / (182 * 60), Cosine60);
    auto a = up->Fft(ui, p);
    ASSERT_TRUE(a);
    EXPECT_EQ(As<SpectrumStackObject>(a).pointCount(), 128u);
    EXPECT_NEAR(As<SpectrumStackObject>(a).yValues[1], std::sqrt(0.5), 2e-3);
    // T / dt = 181: log2 = 7.4998, N = 128 (down-sampled).
    auto down = test::Sampled(400, 1.0 / (181 * 60), Cosine60);
    auto b = down->Fft(ui, p);
    ASSERT_TRUE(b);
    EXPECT_EQ(As<SpectrumStackObject>(b).pointCount(), 64u);
    EXPECT_NEAR(As<SpectrumStackObject>(b).yValues[1], std::sqrt(0.5), 2e-3);
}

TEST(FftOfWave, NegativeCyclesComeFromTheLengthAndAreWrittenBack) {
    RecordingUi ui;
    auto wave = test::Sampled(768, 0.1 / 768, Cosine60);  // 0.1 s of 60 Hz
    FFTParameters p;
    p.cycles = -1;
    auto first = wave->Fft(ui, p);
    ASSERT_TRUE(first);
    EXPECT_EQ(p.cycles, 6);
    EXPECT_EQ(As<SpectrumStackObject>(first).FundamentalIndex, 6);
    EXPECT_NEAR(As<SpectrumStackObject>(first).xValues[1], 10.0, 1e-6);  // 60 / 6 Hz apart
    auto second = wave->Fft(ui, p);
    EXPECT_EQ(p.cycles, 6);
    EXPECT_NEAR(As<SpectrumStackObject>(second).yValues[6], std::sqrt(0.5), 1e-3);
}

TEST(FftOfWave, RefusalsAndWarnings) {
    RecordingUi ui;
    FFTParameters p;
    auto flat = test::Wave({0, 0, 1}, {1, 2, 3});
    EXPECT_FALSE(flat->Fft(ui, p));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Could not determine a positive time step from the first two data points.");
    EXPECT_EQ(ui.messages[0].caption, "KOV");
    EXPECT_EQ(ui.beeps, 1);
    DFTParameters d;
    EXPECT_FALSE(flat->Dft(ui, d));
    EXPECT_EQ(ui.messages.back().text, ui.messages[0].text);

    auto wave = test::Sampled(256, 1.0 / 7680, Cosine60);
    ui.messages.clear();
    p.startTime = -0.001f;  // before the first sample: warn and go on
    EXPECT_TRUE(wave->Fft(ui, p));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "There may be too few points to do FFT.  Calculation will continue.");
    EXPECT_EQ(ui.messages[0].caption, "KOV Warning");

    ui.messages.clear();
    p.startTime = 0;
    p.sliding = 1;
    p.step = 0;
    EXPECT_FALSE(wave->Fft(ui, p));
    EXPECT_EQ(ui.LastText(), "Invalid sliding FFT step size.");

    // A cycles count of 0 has no window: refused.
    p = FFTParameters{};
    p.cycles = 0;
    EXPECT_FALSE(wave->Fft(ui, p));
    EXPECT_EQ(ui.LastText(), "The number of cycles must be at least 1.");

    // Harmonic 64 of one cycle lies beyond the 64 lines of a 128-point window.
    p = FFTParameters{};
    p.sliding = 1;
    p.item = 64;
    EXPECT_FALSE(wave->Fft(ui, p));
    EXPECT_NE(ui.LastText().find("Harmonic 64 lies beyond"), std::string::npos) << ui.LastText();
    p.item = 63;
    EXPECT_TRUE(wave->Fft(ui, p));
}

TEST(FftOfWave, SlidingFormAndCrestFactorsOfASine) {
    RecordingUi ui;
    auto wave =
        test::Sampled(7680, 1.0 / 7680, [](double t) { return std::sin(2 * kPi * 60 * t); });
    FFTParameters p;
    p.sliding = 1;
    p.step = 1.0f / 60;
    p.item = kItemFormFactor;
    auto ff = wave->Fft(ui, p);
    ASSERT_TRUE(ff);
    auto& trend = As<TrendStackObject>(ff);
    // W = trunc((t_last - (T - 2 dt)) / step) = 59 windows of one cycle.
    ASSERT_EQ(trend.pointCount(), 59u);
    for (std::size_t w = 0; w < trend.pointCount(); ++w)
        EXPECT_NEAR(trend.yValues[w], kPi / (2 * std::sqrt(2.0)), 2e-3) << w;  // 1.1107
    EXPECT_NEAR(trend.xValues[0], 1.0 / 120, 1e-6);                            // window centre
    EXPECT_EQ(trend.axisUnits[kAxisX].unitId, kUnitSeconds);
    EXPECT_EQ(trend.axisUnits[kAxisX].prefix, "m");
    p.item = kItemCrestFactor;
    auto cf = wave->Fft(ui, p);
    EXPECT_NEAR(As<TrendStackObject>(cf).yValues[10], std::sqrt(2.0), 2e-3);
    p.item = 1;  // the fundamental's RMS value
    auto h1 = wave->Fft(ui, p);
    EXPECT_NEAR(As<TrendStackObject>(h1).yValues[20], std::sqrt(0.5), 1e-4);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(DftOfWave, ConstantGivesItsMeanAsTheFftDoes) {
    RecordingUi ui;
    auto wave = test::Sampled(256, 1.0 / 7680, [](double) { return 2.0; });
    DFTParameters d;
    d.lastHarmonic = 5;
    auto dft = wave->Dft(ui, d);
    ASSERT_TRUE(dft);
    auto& s = As<SpectrumStackObject>(dft);
    ASSERT_EQ(s.pointCount(), 6u);
    EXPECT_NEAR(s.yValues[0], 2.0, 1e-6);
    for (std::size_t h = 1; h < 6; ++h) EXPECT_NEAR(s.yValues[h], 0.0, 1e-5);
    FFTParameters f;
    auto fft = wave->Fft(ui, f);
    EXPECT_NEAR(As<SpectrumStackObject>(fft).yValues[0], 2.0, 1e-6);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(DftOfWave, HarmonicsOfACosineAndTheSlidingRefusals) {
    RecordingUi ui;
    auto wave = test::Sampled(256, 1.0 / 7680, [](double t) {
        return 1 + std::cos(2 * kPi * 60 * t) + 0.2 * std::cos(2 * kPi * 180 * t + 0.5);
    });
    DFTParameters d;
    d.lastHarmonic = 4;
    auto r = wave->Dft(ui, d);
    ASSERT_TRUE(r);
    auto& s = As<SpectrumStackObject>(r);
    EXPECT_EQ(s.FundamentalIndex, 1);
    EXPECT_NEAR(s.yValues[0], 1.0, 1e-5);
    EXPECT_NEAR(s.yValues[1], std::sqrt(0.5), 1e-5);
    EXPECT_NEAR(s.yValues[3], 0.2 * std::sqrt(0.5), 1e-5);
    EXPECT_NEAR(s.y2Values[3], 0.5, 1e-4);
    EXPECT_NEAR(s.xValues[3], 180.0, 1e-4);

    d.sliding = 1;
    EXPECT_FALSE(wave->Dft(ui, d));
    EXPECT_EQ(ui.LastText(), "Sliding DFT not supported yet in this version of KOV.  Use the FFT.");
    d.step = 0;
    EXPECT_FALSE(wave->Dft(ui, d));
    EXPECT_EQ(ui.LastText(), "Invalid sliding DFT step size.");

    d = DFTParameters{};
    d.cycles = 3;  // 3 cycles need 384 samples; there are 256
    ui.messages.clear();
    EXPECT_TRUE(wave->Dft(ui, d));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0].text,
              "There may be too few points to do the DFT.  Calculation will continue.");
    EXPECT_EQ(ui.messages[0].caption, "KOV Warning");
}

TEST(DftOfWave, AutomaticFundamentalIsFoundAndWrittenBack) {
    RecordingUi ui;
    auto wave = test::Sampled(2000, 1e-4, [](double t) { return std::sin(2 * kPi * 50 * t); });
    DFTParameters d;
    d.autoFundamental = true;
    d.lastHarmonic = 3;
    auto r = wave->Dft(ui, d);
    ASSERT_TRUE(r);
    // Crossings are counted in whole samples (0.25 Hz each here) and the first
    // one falls while the low pass still settles: within 1 Hz.
    EXPECT_NEAR(d.fundamental, 50.0f, 1.0f);
    EXPECT_NE(d.fundamental, 60.0f);
    EXPECT_NEAR(As<SpectrumStackObject>(r).yValues[1], std::sqrt(0.5), 0.02);

    float f0 = 0;
    const std::vector<double> t{0, 1e-4};
    const std::vector<float> y{1, 1};
    EXPECT_FALSE(FindFundamental(t, y, f0));
    EXPECT_EQ(f0, 60.0f);
}

TEST(IdftOfSpectrum, StepIsTheSmallerOf128PointsPerCycleAndNyquist) {
    RecordingUi ui;
    IDFTParameters p;  // 2 cycles, sine series
    auto low = test::Spectrum({0, 60, 3000}, {0, 1, 0.1f}, {0, 0, 0});
    auto a = low->Idft(ui, p);
    ASSERT_TRUE(a);
    auto& wa = As<WaveStackObject>(a);
    EXPECT_TRUE(NearRel(wa.xValues[1], 1.0 / 7680, 1e-6));
    EXPECT_EQ(wa.pointCount(), 256u);  // 2 cycles of 128 points
    auto high = test::Spectrum({0, 60, 5000}, {0, 1, 0.1f}, {0, 0, 0});
    auto b = high->Idft(ui, p);
    ASSERT_TRUE(b);
    EXPECT_TRUE(NearRel(As<WaveStackObject>(b).xValues[1], 1.0 / 10000, 1e-6));
    EXPECT_EQ(As<WaveStackObject>(b).pointCount(), 333u);  // trunc(2 / 60 x 10000)
}

TEST(IdftOfSpectrum, SineSeriesOfACosineSpectrumIsASine) {
    RecordingUi ui;
    auto wave = test::Sampled(256, 1.0 / 7680, Cosine60);
    FFTParameters f;
    auto spectrum = wave->Fft(ui, f);
    ASSERT_TRUE(spectrum);
    IDFTParameters p;
    auto sine = spectrum->Idft(ui, p);
    ASSERT_TRUE(sine);
    auto& w = As<WaveStackObject>(sine);
    for (std::size_t i = 0; i < w.pointCount(); i += 7)
        EXPECT_NEAR(w.yValues[i], std::sin(2 * kPi * 60 * w.xValues[i]), 1e-4) << i;
    p.sine = false;
    auto cosine = spectrum->Idft(ui, p);
    auto& c = As<WaveStackObject>(cosine);
    EXPECT_NEAR(c.yValues[0], 1.0, 1e-4);
    EXPECT_NEAR(c.yValues[32], 0.0, 1e-4);  // a quarter period later
}

TEST(IdftOfSpectrum, UsesTheFundamentalIndexAndAddsTheDcLine) {
    RecordingUi ui;
    auto s = test::Spectrum({0, 30, 60}, {0.5f, 0, 2}, {0, 0, 0});
    s->FundamentalIndex = 2;  // 60 Hz, not the first non-zero line
    IDFTParameters p;
    p.cycles = 1;
    p.sine = false;
    auto r = s->Idft(ui, p);
    ASSERT_TRUE(r);
    auto& w = As<WaveStackObject>(r);
    EXPECT_EQ(w.pointCount(), 128u);
    EXPECT_NEAR(w.yValues[0], 0.5 + 2 * std::sqrt(2.0), 1e-5);
    // Operations on waveforms are refused for spectra and the other way round.
    FFTParameters f;
    EXPECT_FALSE(s->Fft(ui, f));
    EXPECT_EQ(ui.LastText(), "Requested operation not supported for this object type.");
}

TEST(DftOfWave, TheWindowIsCountedFromTheFirstSampleTime) {
    // A record that starts at 1 s: the window from the start time 1 s spans
    // one cycle, as it does for the same record starting at 0.
    RecordingUi ui;
    auto late = test::Sampled(
        256, 1.0 / 7680, [](double t) { return std::cos(2 * kPi * 60 * t); }, 1.0);
    DFTParameters d;
    d.startTime = 1.0f;
    d.lastHarmonic = 2;
    auto r = late->Dft(ui, d);
    ASSERT_TRUE(r);
    EXPECT_TRUE(ui.messages.empty()) << ui.LastText();
    EXPECT_NEAR(As<SpectrumStackObject>(r).yValues[1], std::sqrt(0.5), 1e-3);
    EXPECT_NEAR(As<SpectrumStackObject>(r).yValues[2], 0.0, 1e-3);
}

TEST(IdftOfSpectrum, RefusesNoCyclesAndNoFundamental) {
    RecordingUi ui;
    IDFTParameters p;
    p.cycles = 0;
    auto s = test::Spectrum({0, 60}, {1, 1}, {0, 0});
    EXPECT_FALSE(s->Idft(ui, p));
    EXPECT_EQ(ui.LastText(), "The number of cycles must be at least 1.");
    p.cycles = 2;
    // The summary took the larger DC line as the fundamental: the 60 Hz line serves.
    EXPECT_EQ(s->FundamentalIndex, 0);
    auto r = s->Idft(ui, p);
    ASSERT_TRUE(r);
    EXPECT_EQ(As<WaveStackObject>(r).pointCount(), 256u);
    auto dc = test::Spectrum({0}, {1}, {0});
    EXPECT_FALSE(dc->Idft(ui, p));
    EXPECT_EQ(ui.LastText(), "Cannot determine the fundamental frequency of this spectrum.");
}

}  // namespace
}  // namespace kov
