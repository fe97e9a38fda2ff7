// Calculator operations: the arithmetic families, alignment, the waveform-only
// operations, the operation table and Do.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "Items.h"
#include "Near.h"
#include "analysis/Arithmetic.h"
#include "analysis/Calculator.h"
#include "analysis/MagDurStackObject.h"
#include "analysis/SignalOperations.h"
#include "analysis/StatisticItems.h"
#include "analysis/TrendStackObject.h"
#include "analysis/XYStackObject.h"
#include "platform/RecordingUi.h"
#include "stack/Stack.h"

namespace kov {
namespace {

using test::As;
using test::NearRel;
using test::Wave;
constexpr double kPi = std::numbers::pi;

std::vector<float> Ys(const PlotableStackObject& item) {
    return {item.yValues.values().begin(), item.yValues.values().end()};
}
std::vector<float> Xs(const PlotableStackObject& item) {
    return {item.xValues.values().begin(), item.xValues.values().end()};
}

TEST(Arithmetic, AddAlignsDifferentGridsOnTheMergedGrid) {
    RecordingUi ui;
    auto a = Wave({0, 1, 2, 3}, {0, 10, 20, 30});
    auto b = Wave({0, 1.5f, 3}, {1, 1, 1});
    auto r = a->Add(ui, b.get(), OperandMode::Curve, 0);
    ASSERT_TRUE(r);
    auto& w = As<WaveStackObject>(r);
    EXPECT_EQ(Xs(w), (std::vector<float>{0, 1, 1.5f, 2, 3}));
    // The first operand contributes its interpolated 15 at 1.5; the second is 1 throughout.
    EXPECT_EQ(Ys(w), (std::vector<float>{1, 11, 16, 21, 31}));
    // Inputs are unchanged.
    EXPECT_EQ(Ys(*a), (std::vector<float>{0, 10, 20, 30}));
}

TEST(Arithmetic, EachOperandIsZeroOutsideItsOwnRange) {
    RecordingUi ui;
    auto a = Wave({0, 0.5f, 1}, {1, 1, 1});
    auto b = Wave({0.5f, 1, 1.5f, 2}, {2, 2, 2, 2});
    auto r = a->Add(ui, b.get(), OperandMode::Curve, 0);
    auto& w = As<WaveStackObject>(r);
    EXPECT_EQ(Xs(w), (std::vector<float>{0, 0.5f, 1, 1.5f, 2}));
    EXPECT_EQ(Ys(w), (std::vector<float>{1, 3, 3, 2, 2}));
}

TEST(Arithmetic, SameGridSharesTheFirstOperandsX) {
    RecordingUi ui;
    auto a = Wave({0, 1, 2}, {1, 2, 3});
    auto r = a->Add(ui, a.get(), OperandMode::Curve, 0);
    auto& w = As<WaveStackObject>(r);
    EXPECT_TRUE(w.xValues.SharesWith(a->xValues));
    EXPECT_EQ(Ys(w), (std::vector<float>{2, 4, 6}));
    auto c = a->Subtract(ui, nullptr, OperandMode::Constant, 0.5);
    EXPECT_TRUE(As<WaveStackObject>(c).xValues.SharesWith(a->xValues));
    EXPECT_EQ(Ys(As<WaveStackObject>(c)), (std::vector<float>{0.5f, 1.5f, 2.5f}));
}

TEST(Arithmetic, DivisionAndInversionKeepZeros) {
    RecordingUi ui;
    auto a = Wave({0, 1, 2}, {2, 0, 4});
    auto divisor = Wave({0, 1, 2}, {1, 0, 2});
    auto quotient = a->Divide(ui, divisor.get(), OperandMode::Curve, 0);
    EXPECT_EQ(Ys(As<WaveStackObject>(quotient)), (std::vector<float>{2, 0, 2}));
    auto byZero = a->Divide(ui, nullptr, OperandMode::Constant, 0.0);
    EXPECT_EQ(Ys(As<WaveStackObject>(byZero)), (std::vector<float>{0, 0, 0}));
    auto inverse = a->Invert(ui);
    EXPECT_EQ(Ys(As<WaveStackObject>(inverse)), (std::vector<float>{0.5f, 0, 0.25f}));
    auto roots = Wave({0, 1}, {-4, 9})->SquareRoot(ui);
    EXPECT_EQ(Ys(As<WaveStackObject>(roots)), (std::vector<float>{0, 3}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(Arithmetic, DecibelRatiosOfWaveformsAndSpectra) {
    RecordingUi ui;
    auto volts = Wave({0, 1, 2}, {10, 10, 0});
    auto one = Wave({0, 1, 2}, {1, 0, 1});
    auto vi = volts->VIDbRatio(ui, one.get(), 0);
    // 20 dB; a zero divisor gives 30; a zero ratio -30.
    EXPECT_EQ(Ys(As<WaveStackObject>(vi)), (std::vector<float>{20, 30, -30}));
    EXPECT_EQ(As<WaveStackObject>(vi).axisUnits[kAxisY].unitId, kUnitDecibels);
    auto pwr = volts->PowerDbRatio(ui, one.get(), 0);
    EXPECT_EQ(Ys(As<WaveStackObject>(pwr))[0], 10.0f);
    // Against itself: 0, and 30 where the reference is 0.
    auto self = volts->VIDbRatio(ui, volts.get(), 0);
    EXPECT_EQ(Ys(As<WaveStackObject>(self)), (std::vector<float>{0, 0, 30}));
    // A negative ratio counts by its magnitude.
    auto negative = Wave({0}, {-10})->VIDbRatio(ui, nullptr, 1.0);
    EXPECT_EQ(Ys(As<WaveStackObject>(negative))[0], 20.0f);

    // Spectra exchange the factors: 10 log10 for V,I and 20 log10 for power.
    auto s10 = test::Spectrum({60}, {10}, {0.3f});
    auto s1 = test::Spectrum({60}, {1}, {0});
    auto svi = s10->VIDbRatio(ui, s1.get(), 0);
    EXPECT_NEAR(As<SpectrumStackObject>(svi).yValues[0], 10.0, 1e-6);
    EXPECT_NEAR(As<SpectrumStackObject>(svi).y2Values[0], 0.3, 1e-7);  // first item's phase
    auto spw = s10->PowerDbRatio(ui, s1.get(), 0);
    EXPECT_NEAR(As<SpectrumStackObject>(spw).yValues[0], 20.0, 1e-6);
}

TEST(Arithmetic, SpectrumLinesCombineAsPhasors) {
    RecordingUi ui;
    const float deg30 = static_cast<float>(kPi / 6);
    auto s = test::Spectrum({60}, {3}, {deg30});
    auto sq = s->Square(ui);
    EXPECT_NEAR(As<SpectrumStackObject>(sq).yValues[0], 9.0, 1e-5);
    EXPECT_NEAR(As<SpectrumStackObject>(sq).y2Values[0], kPi / 3, 1e-6);  // 60 degrees
    auto neg = s->Negate(ui);
    EXPECT_NEAR(As<SpectrumStackObject>(neg).yValues[0], 3.0, 1e-6);
    EXPECT_NEAR(As<SpectrumStackObject>(neg).y2Values[0] * 180 / kPi, 210.0, 1e-4);

    // 1 at 0 degrees plus 1 at 90 degrees: sqrt 2 at 45 degrees.
    auto a = test::Spectrum({60, 120}, {1, 2}, {0, 0});
    auto b = test::Spectrum({60, 120}, {1, 0}, {static_cast<float>(kPi / 2), 0});
    auto sum = a->Add(ui, b.get(), OperandMode::Curve, 0);
    auto& r = As<SpectrumStackObject>(sum);
    EXPECT_NEAR(r.yValues[0], std::sqrt(2.0), 1e-6);
    EXPECT_NEAR(r.y2Values[0], kPi / 4, 1e-6);
    EXPECT_NEAR(r.yValues[1], 2.0, 1e-6);
    // A constant goes to the real part; multiplication by one scales magnitudes.
    auto plus = b->Add(ui, nullptr, OperandMode::Constant, 1.0);
    EXPECT_NEAR(As<SpectrumStackObject>(plus).yValues[0], std::sqrt(2.0), 1e-6);
    auto times = s->Multiply(ui, nullptr, OperandMode::Constant, 2.0);
    EXPECT_NEAR(As<SpectrumStackObject>(times).yValues[0], 6.0, 1e-6);
    EXPECT_NEAR(As<SpectrumStackObject>(times).y2Values[0], deg30, 1e-7);
    auto quotient = a->Divide(ui, b.get(), OperandMode::Curve, 0);
    EXPECT_NEAR(As<SpectrumStackObject>(quotient).y2Values[0], -kPi / 2, 1e-6);
    EXPECT_EQ(As<SpectrumStackObject>(quotient).yValues[1], 0.0f);  // m2 = 0
    auto inverse = test::Spectrum({60, 120}, {4, 0}, {0.5f, 0.25f})->Invert(ui);
    EXPECT_NEAR(As<SpectrumStackObject>(inverse).yValues[0], 0.25, 1e-7);
    EXPECT_NEAR(As<SpectrumStackObject>(inverse).y2Values[0], -0.5, 1e-7);
    EXPECT_EQ(As<SpectrumStackObject>(inverse).yValues[1], 0.0f);
}

TEST(Arithmetic, TrendsMergeOnTheirExactTimes) {
    RecordingUi ui;
    auto a = std::make_unique<TrendStackObject>(2, kUnitSeconds, kUnitVoltage, FloatArray(),
                                                FloatArray(std::vector<float>{1, 3}),
                                                DoubleArray(std::vector<double>{1e9, 1e9 + 2}));
    auto b = std::make_unique<TrendStackObject>(2, kUnitSeconds, kUnitVoltage, FloatArray(),
                                                FloatArray(std::vector<float>{10, 10}),
                                                DoubleArray(std::vector<double>{1e9 + 1, 1e9 + 2}));
    a->Finish();
    b->Finish();
    auto r = a->Add(ui, b.get(), OperandMode::Curve, 0);
    ASSERT_TRUE(r);
    auto& t = As<TrendStackObject>(r);
    ASSERT_EQ(t.pointCount(), 3u);
    EXPECT_EQ(t.xExact[1], 1e9 + 1);
    EXPECT_EQ(Xs(t), (std::vector<float>{0, 1, 2}));
    EXPECT_EQ(Ys(t), (std::vector<float>{1, 12, 13}));
}

TEST(Arithmetic, MissingOrUnsampledSecondArgumentsAreRefused) {
    RecordingUi ui;
    auto a = Wave({0, 1}, {1, 2});
    EXPECT_FALSE(a->Power(ui, nullptr));
    EXPECT_EQ(ui.LastText(), "This function requires two curves as arguments.");
    StatisticStackObject stats({1.0, 2.0});
    EXPECT_FALSE(a->Add(ui, &stats, OperandMode::Curve, 0));
    EXPECT_EQ(ui.LastText(), "The second argument has no sampled values.");
}

TEST(WaveOperations, RunningIntegralsPowerAndEnergy) {
    RecordingUi ui;
    auto volts = test::Sampled(1001, 0.001, [](double) { return 1.0; });
    auto amps = test::Sampled(1001, 0.001, [](double) { return 1.0; });
    volts->axisUnits[kAxisY].unitId = kUnitVoltage;
    auto energy = volts->Energy(ui, amps.get());
    ASSERT_TRUE(energy);
    auto& e = As<WaveStackObject>(energy);
    EXPECT_TRUE(NearRel(e.yValues.back(), 1.0, 1e-5));  // 1 J
    EXPECT_EQ(e.yValues[0], 0.0f);
    EXPECT_EQ(e.axisUnits[kAxisY].unitId, kUnitEnergy);
    auto power = volts->Power(ui, amps.get());
    EXPECT_EQ(As<WaveStackObject>(power).axisUnits[kAxisY].unitId, kUnitInstantaneousPower);
    auto i2t = Wave({0, 0.5f, 1}, {2, 2, 2})->ISquaredT(ui);
    EXPECT_EQ(Ys(As<WaveStackObject>(i2t)), (std::vector<float>{0, 2, 4}));

    // Two samples integrate over their own interval; a non-uniform grid uses
    // each interval's width.
    auto two = Wave({0, 0.5f}, {2, 4})->Integrate(ui);
    EXPECT_EQ(Ys(As<WaveStackObject>(two)), (std::vector<float>{0, 1.5f}));
    auto uneven = Wave({0, 1, 3}, {1, 1, 1})->Integrate(ui);
    EXPECT_EQ(Ys(As<WaveStackObject>(uneven)), (std::vector<float>{0, 1, 3}));
}

TEST(WaveOperations, CorrelationsByHand) {
    RecordingUi ui;
    auto y = Wave({0, 1, 2}, {1, 2, 3});
    auto auto1 = y->AutoCorrelation(ui);
    // R[0] = (1 + 9) / 2 + 4; R[1] = (2 + 0) / 2 + 6; R[2] = (3 + 0) / 2.
    EXPECT_EQ(Ys(As<WaveStackObject>(auto1)), (std::vector<float>{9, 7, 1.5f}));
    auto ones = Wave({0, 1, 2}, {1, 1, 1});
    auto cross = y->CrossCorrelation(ui, ones.get());
    auto& c = As<WaveStackObject>(cross);
    EXPECT_EQ(Xs(c), (std::vector<float>{-2, -1, -0.0f, 1, 2}));
    // lag -2: p = 0, 0, 3 -> 1.5; lag -1: p = 0, 2, 3 -> 3.5; lag 0: p = 1, 2, 3 -> 4;
    // lag 1: p = 1, 2, 0 -> 2.5; lag 2: p = 1, 0, 0 -> 0.5.
    EXPECT_EQ(Ys(c), (std::vector<float>{1.5f, 3.5f, 4, 2.5f, 0.5f}));
    // A shorter second item reads as 0 past its end.
    auto shorter = Wave({0, 1}, {1, 1});
    auto partial = y->CrossCorrelation(ui, shorter.get());
    // lag 0: p = 1, 2, 0 -> (1 + 0) / 2 + 2.
    EXPECT_EQ(As<WaveStackObject>(partial).yValues[2], 2.5f);
}

TEST(WaveOperations, TimeShiftWindowAndSampling) {
    RecordingUi ui;
    auto w = Wave({0, 1, 2, 3}, {1, 1, 1, 1});
    auto shifted = w->TimeShift(ui, 0.5);
    EXPECT_EQ(Xs(As<WaveStackObject>(shifted)), (std::vector<float>{0.5f, 1.5f, 2.5f, 3.5f}));
    EXPECT_EQ(Xs(*w), (std::vector<float>{0, 1, 2, 3}));
    auto windowed = w->WindowFunction(ui, kWindowHanning);
    EXPECT_EQ(Ys(As<WaveStackObject>(windowed)), (std::vector<float>{0, 0.5f, 1, 0.5f}));

    auto line = test::Sampled(11, 0.1, [](double t) { return 2 * t; });
    auto byValue = line->SampleValuesByStep(ui, 0, 1, 0.3);
    ASSERT_TRUE(byValue);
    EXPECT_EQ(As<WaveStackObject>(byValue).pointCount(), 4u);  // 0, 0.3, 0.6, 0.9
    EXPECT_NEAR(As<WaveStackObject>(byValue).yValues[3], 1.8, 1e-5);
    // 0.3 / 0.1 is three steps, not 2.9999999999999996.
    auto exact = line->SampleValuesByStep(ui, 0, 0.3, 0.1);
    EXPECT_EQ(As<WaveStackObject>(exact).pointCount(), 4u);
    auto byCount = line->SampleIndexesByCount(ui, 2, 99, 5);  // stop clamped to the last sample
    auto& c = As<WaveStackObject>(byCount);
    ASSERT_EQ(c.pointCount(), 5u);
    EXPECT_NEAR(c.xValues[0], 0.2, 1e-6);
    EXPECT_NEAR(c.xValues[4], 1.0, 1e-6);
    auto outside = line->SampleValuesByCount(ui, 0.5, 1.5, 3);  // past the data: 0
    EXPECT_EQ(As<WaveStackObject>(outside).yValues[2], 0.0f);
    EXPECT_FALSE(line->SampleValuesByCount(ui, 0, 1, 1));
    EXPECT_EQ(ui.LastText(), "Number of points must be at least 2");
}

// Amplitude of a sine of frequency f in the middle of a filtered record.
double Amplitude(std::vector<float> y, double f, double dt) {
    double re = 0, im = 0;
    const std::size_t from = y.size() / 4, to = 3 * y.size() / 4;
    for (std::size_t i = from; i < to; ++i) {
        re += y[i] * std::cos(2 * kPi * f * i * dt);
        im += y[i] * std::sin(2 * kPi * f * i * dt);
    }
    return 2 * std::hypot(re, im) / static_cast<double>(to - from);
}

TEST(WaveOperations, BandRejectRemovesTheBandAndKeepsBothSides) {
    RecordingUi ui;
    const double dt = 1e-4;
    auto mix = test::Sampled(20000, dt, [](double t) {
        return std::sin(2 * kPi * 50 * t) + std::sin(2 * kPi * 1000 * t) +
               std::sin(2 * kPi * 4000 * t);
    });
    auto reject = mix->Filter(ui, kFilterBandReject, 300, 3000, 3);
    auto pass = mix->Filter(ui, kFilterBandPass, 300, 3000, 3);
    ASSERT_TRUE(reject && pass);
    const auto r = Ys(As<WaveStackObject>(reject)), p = Ys(As<WaveStackObject>(pass));
    EXPECT_NEAR(Amplitude(r, 50, dt), 1.0, 0.01);
    EXPECT_NEAR(Amplitude(r, 4000, dt), 1.0, 0.02);
    EXPECT_LT(Amplitude(r, 1000, dt), 0.02);
    EXPECT_NEAR(Amplitude(p, 1000, dt), 1.0, 0.02);
    EXPECT_LT(Amplitude(p, 50, dt), 0.01);
    // The two are exact complements.
    const auto y = Ys(*mix);
    for (std::size_t i = 0; i < y.size(); i += 997) EXPECT_NEAR(r[i] + p[i], y[i], 1e-5);
    // F1 and F2 in either order give the same band.
    auto swapped = mix->Filter(ui, kFilterBandReject, 3000, 300, 3);
    EXPECT_EQ(Ys(As<WaveStackObject>(swapped)), r);
    EXPECT_FALSE(mix->Filter(ui, kFilterLowPass, 6000, 0, 3));  // beyond half the rate
    EXPECT_EQ(ui.LastText(), "Filter frequencies must lie between 0 and half the sampling rate.");
}

TEST(WaveOperations, TransferFunctionHas121LinesTo1200Hz) {
    RecordingUi ui;
    EXPECT_EQ(CrossSpectrumLines(), 121u);
    const double dt = 1.0 / 7680;
    auto v = test::Sampled(512, dt, [](double t) { return std::sin(2 * kPi * 600 * t); });
    auto i = test::Sampled(512, dt, [](double t) { return 0.5 * std::sin(2 * kPi * 600 * t); });
    auto h = v->TransferFunction(ui, i.get());
    ASSERT_TRUE(h);
    auto& scan = As<ScanStackObject>(h);
    ASSERT_EQ(scan.pointCount(), 121u);
    EXPECT_EQ(scan.xValues[120], 1200.0f);
    EXPECT_EQ(scan.axisUnits[kAxisY].unitId, kUnitImpedance);
    // V / I at 600 Hz; the one-sided auto correlations against the two-sided
    // cross correlation leave a bias below 1 %.
    EXPECT_NEAR(scan.yValues[60], 2.0, 0.01);
    auto g = v->CoherenceFunction(ui, i.get());
    auto& trend = As<TrendStackObject>(g);
    ASSERT_EQ(trend.pointCount(), 121u);
    EXPECT_NEAR(trend.yValues[60], 1.0, 0.01);  // one source: fully coherent
    EXPECT_EQ(trend.axisUnits[kAxisX].unitId, kUnitHertz);
}

TEST(WaveOperations, XYCombineMakesAnXYItemOfTwoYs) {
    RecordingUi ui;
    auto v = Wave({0, 1, 2}, {1, 2, 3}, kUnitVoltage);
    auto i = Wave({0, 1, 2}, {4, 5, 6}, kUnitCurrent);
    auto r = v->XYCombine(ui, i.get());
    ASSERT_TRUE(r);
    auto& xy = As<XYStackObject>(r);
    EXPECT_EQ(Xs(xy), (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(Ys(xy), (std::vector<float>{4, 5, 6}));
    EXPECT_EQ(xy.axisUnits[kAxisX].unitId, kUnitVoltage);
    EXPECT_EQ(xy.axisUnits[kAxisY].unitId, kUnitCurrent);
    EXPECT_FALSE(xy.y2Values);
    auto sum = xy.Add(ui, nullptr, OperandMode::Constant, 1);  // real rules without y2
    EXPECT_EQ(Ys(As<XYStackObject>(sum)), (std::vector<float>{5, 6, 7}));
}

class CalculatorDo : public ::testing::Test {
protected:
    StackObject* Push(std::unique_ptr<StackObject> item, const char* name) {
        item->Init("/data/rec.cfg", "rec", name, "", "", "", KindTag(item->kind()));
        StackObject* raw = item.get();
        EXPECT_TRUE(stack.Add(std::move(item)));
        return raw;
    }
    CalcRequest Request(StackObject* first, int row, const char* name) {
        CalcRequest r;
        r.first = first;
        r.row = row;
        r.nameParts = {name, "", "", ""};
        return r;
    }
    RecordingUi ui;
    Stack stack{ui};
    CalculatorRecords records;
};

TEST_F(CalculatorDo, TableOrderNamesAndTags) {
    const auto& table = OperationTable();
    ASSERT_EQ(table.size(), 29u);
    for (std::size_t i = 0; i < table.size(); ++i)
        EXPECT_EQ(table[i].stringId, 2150 + i) << table[i].name;
    EXPECT_EQ(FindOperation("v,i db ratio"), kRowVIDbRatio);
    EXPECT_EQ(FindOperation("Coherence Function"), 28);
    EXPECT_EQ(FindOperation("nothing"), -1);
    EXPECT_TRUE(RowAcceptsKind(kRowAdd, kKindMagDur));
    EXPECT_FALSE(RowAcceptsKind(kRowSubtract, kKindMagDur));
    EXPECT_TRUE(RowAcceptsKind(kRowProbDist, kKindStatistic));
    auto w = Wave({0, 1}, {1, 1});
    FFTParameters fft;
    EXPECT_EQ(ResultTag(kRowFft, *w, fft), "SPEC");
    fft.sliding = 1;
    EXPECT_EQ(ResultTag(kRowFft, *w, fft), "TRND");
    EXPECT_EQ(ResultTag(kRowXYCombine, *w, fft), "WAVE");
    EXPECT_EQ(ResultTag(kRowSquare, *w, fft), "WAVE");
    EXPECT_EQ(ResultTag(40, *w, fft), "UNKN");
}

TEST_F(CalculatorDo, NamesPushesAndRefusesTakenNames) {
    StackObject* a = Push(Wave({0, 1, 2}, {1, 2, 3}), "VA");
    CalcRequest r = Request(a, kRowMultiply, "VA2");
    r.constant = 2;
    StackObject* result = DoCalculation(stack, ui, r, records);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->caseName(), "DERIVED");
    EXPECT_EQ(result->typeTag(), "WAVE");
    EXPECT_EQ(result->sourcePath(), "");
    EXPECT_EQ(stack.size(), 2u);
    EXPECT_NE(result->summary(), nullptr);

    EXPECT_EQ(DoCalculation(stack, ui, r, records), nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "(VA2     )(        )(        )(        )(DERIVED )(WAVE) name already exists.  It "
              "must be unique.");
    EXPECT_EQ(ui.messages[0].caption, "KOV");

    r.nameParts = {"", "", "x", ""};
    EXPECT_EQ(DoCalculation(stack, ui, r, records), nullptr);
    EXPECT_EQ(ui.LastText(), "Invalid stack name specified.");
    EXPECT_EQ(ui.beeps, 2);
    EXPECT_EQ(stack.size(), 2u);
}

TEST_F(CalculatorDo, SecondArgumentAndPerUnitChecks) {
    StackObject* a = Push(Wave({0, 1, 2}, {1, 2, 3}), "VA");
    CalcRequest r = Request(a, kRowPower, "P");
    r.mode = OperandMode::Curve;
    EXPECT_EQ(DoCalculation(stack, ui, r, records), nullptr);
    EXPECT_EQ(ui.LastText(), "This function requires two curves as arguments.");
    EXPECT_EQ(stack.size(), 1u);
    r.second = a;
    StackObject* p = DoCalculation(stack, ui, r, records);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(Ys(dynamic_cast<WaveStackObject&>(*p)), (std::vector<float>{1, 4, 9}));

    StackObject* stats =
        Push(std::make_unique<StatisticStackObject>(std::vector<double>{1.2, 0.8}), "SW");
    CalcRequest d = Request(stats, kRowProbDist, "SW");
    EXPECT_EQ(DoCalculation(stack, ui, d, records), nullptr);
    EXPECT_EQ(ui.LastText(),
              "Per-unit base not set for this curve.  Use the Stack Base Quantities option to set "
              "it and try again.");
    EXPECT_EQ(ui.messages.back().caption, "Kovatrix");
    stats->perUnitBase[kAxisX].set = true;
    StackObject* hist = DoCalculation(stack, ui, d, records);
    ASSERT_NE(hist, nullptr);
    EXPECT_EQ(hist->kind(), kKindHistogram);
    EXPECT_EQ(hist->typeTag(), "HIST");
    CalcRequest c = Request(stats, kRowCumProb, "SW");
    ASSERT_NE(DoCalculation(stack, ui, c, records), nullptr);
}

TEST_F(CalculatorDo, RecordsDriveTheOptionsAndKeepWriteBacks) {
    StackObject* a = Push(
        test::Sampled(768, 0.1 / 768, [](double t) { return std::cos(2 * kPi * 60 * t); }), "VA");
    records.fft.cycles = -1;
    StackObject* s = DoCalculation(stack, ui, Request(a, kRowFft, "F1"), records);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(records.fft.cycles, 6);
    EXPECT_EQ(s->typeTag(), "SPEC");
    records.sampling.byStep = false;
    records.sampling.points = 3;
    records.sampling.startValue = 0;
    records.sampling.stopValue = 0.05;
    StackObject* sampled = DoCalculation(stack, ui, Request(a, kRowSampling, "S"), records);
    ASSERT_NE(sampled, nullptr);
    EXPECT_EQ(dynamic_cast<PlotableStackObject&>(*sampled).pointCount(), 3u);
    records.filter.type = kFilterLowPass;
    records.filter.f1 = 300;
    EXPECT_NE(DoCalculation(stack, ui, Request(a, kRowFilter, "LP"), records), nullptr);
    records.timeShift.shift = 1;
    StackObject* shifted = DoCalculation(stack, ui, Request(a, kRowTimeShift, "TS"), records);
    EXPECT_EQ(dynamic_cast<PlotableStackObject&>(*shifted).xValues[0], 1.0f);
    // A kind the row does not accept.
    EXPECT_EQ(DoCalculation(stack, ui, Request(s, kRowIntegrate, "I"), records), nullptr);
    EXPECT_EQ(ui.LastText(), "Requested operation not supported for this object type.");
}

TEST_F(CalculatorDo, MagnitudeDurationAddJoinsTheEvents) {
    auto m1 = std::make_unique<MagDurStackObject>(3);
    auto m2 = std::make_unique<MagDurStackObject>(5);
    StackObject* a = Push(std::move(m1), "E1");
    StackObject* b = Push(std::move(m2), "E2");
    CalcRequest r = Request(a, kRowAdd, "E3");
    r.mode = OperandMode::Curve;
    r.second = b;
    StackObject* sum = DoCalculation(stack, ui, r, records);
    ASSERT_NE(sum, nullptr);
    EXPECT_EQ(dynamic_cast<PlotableStackObject&>(*sum).pointCount(), 8u);
    EXPECT_EQ(sum->typeTag(), "MGDR");
}

TEST(CalculatorOptions, SlidingItemTextAndSamplingChecks) {
    RecordingUi ui;
    EXPECT_EQ(SlidingItemText(kItemRms), "RMS");
    EXPECT_EQ(SlidingItemText(kItemFormFactor), "FF");
    EXPECT_EQ(SlidingItemText(7), "7");
    int item = 5;
    EXPECT_TRUE(ReadSlidingItem(ui, " Peak ", item));
    EXPECT_EQ(item, kItemPeak);
    EXPECT_TRUE(ReadSlidingItem(ui, "0", item));
    EXPECT_EQ(item, 0);
    EXPECT_FALSE(ReadSlidingItem(ui, "3rd", item));
    EXPECT_EQ(ui.LastText(), "Invalid text entry.  Harmonic number, rms, peak, ff, or cf allowed.");
    EXPECT_FALSE(ReadSlidingItem(ui, "-2", item));
    EXPECT_EQ(ui.LastText(), "Harmonic value must be > 0.");
    EXPECT_EQ(item, 0);

    SamplingParameters s;
    EXPECT_TRUE(CheckSampling(ui, s));  // the defaults: 0 to 100 by steps of 1
    s.startValue = 5;
    s.stopValue = 5;
    EXPECT_FALSE(CheckSampling(ui, s));
    EXPECT_EQ(ui.LastText(), "Start value must be less than Stop value");
    EXPECT_EQ(ui.messages.back().caption, "Error");
    s.stopValue = 6;
    EXPECT_TRUE(CheckSampling(ui, s));
    s.byIndex = true;
    s.startIndex = 3;
    s.stopIndex = 3;
    EXPECT_FALSE(CheckSampling(ui, s));
    EXPECT_EQ(ui.LastText(), "Start point index must be less than Stop point index");
    s.startIndex = -1;
    EXPECT_FALSE(CheckSampling(ui, s));
    EXPECT_EQ(ui.LastText(), "Point indices must be 0 or positive");
    s.startIndex = 0;
    s.step = 0;
    EXPECT_FALSE(CheckSampling(ui, s));
    EXPECT_EQ(ui.LastText(), "Step size must be greater than zero");
    s.byStep = false;
    s.points = 1;
    EXPECT_FALSE(CheckSampling(ui, s));
    EXPECT_EQ(ui.LastText(), "Number of points must be at least 2");
}

TEST(WaveOperations, LongCorrelationsByFftMatchTheDirectSums) {
    // Beyond 2048 samples the lag sums come from an FFT: check them against
    // the direct trapezoid of every 97th lag.
    std::vector<float> a(3000), b(2500);
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] = static_cast<float>(std::sin(0.013 * i) + 0.3 * std::cos(0.21 * i * i));
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<float>(std::cos(0.007 * i) - 0.2);
    const double h = 0.5;
    const std::vector<double> autoR = AutoCorrelationValues(a, h);
    const std::vector<double> cross = CrossCorrelationValues(a, b, h);  // b is shorter
    ASSERT_EQ(autoR.size(), a.size());
    ASSERT_EQ(cross.size(), 2 * a.size() - 1);
    const double scale = std::fabs(autoR[0]);
    for (long k = 0; k < 3000; k += 97)
        EXPECT_NEAR(autoR[static_cast<std::size_t>(k)], CorrelationAtLag(a, a, k, h), 1e-10 * scale)
            << k;
    for (long k = -2999; k < 3000; k += 97)
        EXPECT_NEAR(cross[static_cast<std::size_t>(k + 2999)], CorrelationAtLag(a, b, k, h),
                    1e-10 * scale)
            << k;
    EXPECT_EQ(cross[2 * 2999], CorrelationAtLag(a, b, 2999, h));  // past b's end: 0
}

}  // namespace
}  // namespace kov
