// Sample arrays, waveform shaping, scales, summaries and operand alignment.

#include <gtest/gtest.h>

#include <cmath>

#include "stack/Alignment.h"
#include "stack/WaveStackObject.h"

namespace kov {
namespace {

std::unique_ptr<WaveStackObject> WaveOf(std::vector<float> x, std::vector<float> y) {
    auto w = std::make_unique<WaveStackObject>();
    w->SetSamples(FloatArray(std::move(x)), FloatArray(std::move(y)));
    w->Finish();
    return w;
}

std::vector<float> Vec(std::span<const float> s) {
    return {s.begin(), s.end()};
}

TEST(SampleArray, ExtentsFollowWritesThroughMutableData) {
    FloatArray a(std::vector<float>{1, 2, 3});
    FloatArray shared = a;
    a.RefreshExtents();  // fresh already: nothing to do
    EXPECT_EQ(a.max(), 3);
    auto values = a.MutableValues();  // detaches from `shared`
    values[1] = 7;
    a.RefreshExtents();
    EXPECT_EQ(a.max(), 7);
    EXPECT_EQ(shared.max(), 3);
    FloatArray sized(2);
    sized.MutableData()[0] = -4;
    sized.RefreshExtents();
    EXPECT_EQ(sized.min(), -4);
}

TEST(SampleArray, CopiesShareUntilOneIsWritten) {
    FloatArray a(std::vector<float>{1, 2, 3});
    FloatArray b = a;
    EXPECT_TRUE(a.SharesWith(b));
    b.RefreshExtents();  // refreshing extents never detaches
    EXPECT_TRUE(a.SharesWith(b));
    b.MutableData()[0] = 9;
    EXPECT_FALSE(a.SharesWith(b));
    EXPECT_EQ(a[0], 1);
    b.RefreshExtents();
    EXPECT_EQ(b.max(), 9);
    EXPECT_EQ(a.max(), 3);
    EXPECT_FALSE(FloatArray().present());
}

TEST(WaveStackObject, DefaultsAndCountConstructor) {
    WaveStackObject w;
    EXPECT_EQ(w.kind(), 20480u);
    EXPECT_EQ(w.axisCount(), 2u);
    EXPECT_EQ(w.axisUnits[kAxisX].unitId, kUnitSeconds);
    EXPECT_EQ(w.axisUnits[kAxisX].prefix, "m");
    EXPECT_DOUBLE_EQ(w.axisUnits[kAxisX].multiplier, 0.001);
    EXPECT_EQ(w.axisUnits[kAxisY].unitId, kUnitMagnitude);
    EXPECT_EQ(w.perUnitBase[kAxisX].labelId, kLabelXAxis);
    EXPECT_EQ(w.perUnitBase[kAxisY].labelId, kLabelYMag);
    EXPECT_FALSE(w.xValues.present());

    WaveStackObject c(4, kUnitVoltage);
    EXPECT_EQ(c.pointCount(), 4u);
    EXPECT_EQ(c.axisUnits[kAxisY].unitId, kUnitVoltage);
    EXPECT_EQ(c.y2Values.size(), 4u);
}

TEST(WaveStackObject, ResizeEmptiesExistingArraysAndResetsRatios) {
    WaveStackObject w(3, kUnitVoltage);
    w.primaryRatio = 400;
    w.secondaryRatio = 1;
    w.valueSide = 'S';
    w.Resize(3);  // same count: nothing changes
    EXPECT_EQ(w.primaryRatio, 400);
    w.Resize(5);
    EXPECT_EQ(w.xValues.size(), 5u);
    EXPECT_EQ(w.y2Values.size(), 5u);
    EXPECT_FALSE(w.xExact.present());
    EXPECT_EQ(w.primaryRatio, 1.0);
    EXPECT_EQ(w.valueSide, 'P');
}

TEST(WaveStackObject, CloneShapeSharesXAndCopiesUnitRules) {
    auto src = WaveOf({0, 1, 2}, {5, 6, 7});
    src->axisUnits[kAxisY] = UnitRecord{kPrefixKilo, "k", 1000, kUnitVoltage};
    src->perUnitBase[kAxisX] = PerUnitBase{true, 60, 0, kLabelXAxis};
    src->perUnitBase[kAxisY] = PerUnitBase{true, 12470, 2, kLabelYMag};
    src->primaryRatio = 400;
    src->acquisition.triggerFlag = 1;

    WaveStackObject result;
    result.CloneShape(*src);
    EXPECT_EQ(result.pointCount(), 3u);
    EXPECT_TRUE(result.xValues.SharesWith(src->xValues));
    EXPECT_FALSE(result.yValues.SharesWith(src->yValues));
    EXPECT_FALSE(result.y2Values.present());
    // X unit copied whole (time in seconds); Y keeps only its unit id.
    EXPECT_EQ(result.axisUnits[kAxisX].prefix, "m");
    EXPECT_EQ(result.axisUnits[kAxisY].unitId, kUnitVoltage);
    EXPECT_EQ(result.axisUnits[kAxisY].prefix, "");
    EXPECT_EQ(result.axisUnits[kAxisY].multiplier, 1.0);
    EXPECT_TRUE(result.perUnitBase[kAxisX].set);
    EXPECT_FALSE(result.perUnitBase[kAxisY].set);
    EXPECT_EQ(result.primaryRatio, 400);
    EXPECT_EQ(result.acquisition.triggerFlag, 1u);

    // A non-time X unit keeps only its id.
    src->axisUnits[kAxisX] = UnitRecord{kPrefixKilo, "k", 1000, kUnitHertz};
    WaveStackObject other;
    other.CopyUnitsLike(*src);
    EXPECT_EQ(other.axisUnits[kAxisX].unitId, kUnitHertz);
    EXPECT_EQ(other.axisUnits[kAxisX].multiplier, 1.0);
}

TEST(WaveStackObject, ScalesFollowPrefixAndPerUnitBase) {
    auto w = WaveOf({0, 0.0125f}, {12470, -12470});
    w->axisUnits[kAxisY] = UnitRecord{kPrefixKilo, "k", 1000, kUnitVoltage};
    w->UpdateScales();
    EXPECT_DOUBLE_EQ(w->scale(kAxisX), 1000.0);  // 0.0125 s shows as 12.5 ms
    EXPECT_DOUBLE_EQ(w->scale(kAxisY) * 12470, 12.47);
    EXPECT_EQ(w->yValues[0], 12470);  // stored values unchanged
    const auto* s = dynamic_cast<const WaveSummaryData*>(w->summary());
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(s->max, 12.47, 1e-9);

    w->axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitVoltage};
    w->perUnitBase[kAxisY] = PerUnitBase{true, 12470, 2, kLabelYMag};
    w->UpdateScales();
    EXPECT_NEAR(w->scale(kAxisY), 1.0 / (12470 * 0.816496580925), 1e-15);
    // A base of 0 or a multiplier of 0 count as 1.
    w->perUnitBase[kAxisY].value = 0;
    w->axisUnits[kAxisY].multiplier = 0;
    w->UpdateScales();
    EXPECT_EQ(w->scale(kAxisY), 1.0);
}

TEST(WaveSummary, ValuesAndTable) {
    auto w = WaveOf({0, 1, 2, 3}, {1, -1, 1, -1});
    const auto* s = dynamic_cast<const WaveSummaryData*>(w->summary());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->max, 1);
    EXPECT_EQ(s->min, -1);
    EXPECT_EQ(s->abs, 1);
    EXPECT_EQ(s->avg, 1);
    EXPECT_EQ(s->rms, 1);
    EXPECT_EQ(s->cf, 1);
    EXPECT_EQ(s->ff, 1);
    const TextTable& t = s->table;
    ASSERT_EQ(t.rows(), 7u);
    ASSERT_EQ(t.columns(), 2u);
    const char* labels[] = {"Max:", "Min:", "Avg:", "Abs:", "RMS:", "CF :", "FF :"};
    for (std::size_t r = 0; r < 7; ++r) EXPECT_EQ(t.Cell(r, 0), labels[r]);
    EXPECT_EQ(t.Cell(1, 1), " -1");

    auto ramp = WaveOf({0, 1, 2, 3}, {0, 1, 2, 3});
    const auto* r = dynamic_cast<const WaveSummaryData*>(ramp->summary());
    EXPECT_DOUBLE_EQ(r->avg, 1.5);
    EXPECT_DOUBLE_EQ(r->rms, std::sqrt(14.0 / 4));
    EXPECT_DOUBLE_EQ(r->cf, 3 / std::sqrt(3.5));
    EXPECT_EQ(ramp->summary()->table.Cell(2, 1), " 1.5");

    auto zero = WaveOf({0, 1}, {0, 0});
    const auto* z = dynamic_cast<const WaveSummaryData*>(zero->summary());
    EXPECT_EQ(z->cf, 0);
    EXPECT_EQ(z->ff, 0);
}

TEST(Alignment, SameGridWithinTolerance) {
    auto a = WaveOf({0, 1, 2}, {1, 2, 3});
    auto b = WaveOf({0, 1, 2.00000001f}, {1, 1, 1});
    auto c = WaveOf({0, 1, 2.5f}, {1, 1, 1});
    auto d = WaveOf({0, 1}, {1, 1});
    EXPECT_TRUE(SameGrid(*a, *a));
    EXPECT_TRUE(SameGrid(*a, *b));
    EXPECT_FALSE(SameGrid(*a, *c));
    EXPECT_FALSE(SameGrid(*a, *d));
    WaveStackObject empty;
    EXPECT_FALSE(SameGrid(empty, empty));
}

TEST(Alignment, MergedGridResamplesWithZeroOutside) {
    auto a = WaveOf({0, 1, 2}, {10, 20, 30});
    auto b = WaveOf({0.5f, 1.5f}, {1, 3});
    WaveStackObject result;
    const AlignedOperands ops = AlignOperands(*a, *b, result, false);
    EXPECT_EQ(Vec(result.xValues.values()), (std::vector<float>{0, 0.5f, 1, 1.5f, 2}));
    EXPECT_EQ(Vec(ops.firstY), (std::vector<float>{10, 15, 20, 25, 30}));
    EXPECT_EQ(Vec(ops.secondY), (std::vector<float>{0, 1, 2, 3, 0}));
    EXPECT_EQ(result.pointCount(), 5u);
    EXPECT_EQ(result.yValues.size(), 5u);
}

TEST(Alignment, SameGridUsesTheOperandsOwnArrays) {
    auto a = WaveOf({0, 1, 2}, {1, 2, 3});
    WaveStackObject result;
    const AlignedOperands ops = AlignOperands(*a, *a, result, true);
    EXPECT_EQ(ops.firstY.data(), a->yValues.data());
    EXPECT_EQ(ops.secondY.data(), a->yValues.data());
    EXPECT_EQ(Vec(ops.firstY2), (std::vector<float>{0, 0, 0}));  // no Y2: zeros
    EXPECT_TRUE(result.xValues.SharesWith(a->xValues));
}

TEST(Alignment, ExactTimesMergeOnTheExactValues) {
    auto withExact = [](std::vector<double> t, std::vector<float> y) {
        auto w = std::make_unique<WaveStackObject>();
        std::vector<float> idx(t.size());
        for (std::size_t i = 0; i < idx.size(); ++i) idx[i] = static_cast<float>(i);
        w->SetSamples(FloatArray(idx), FloatArray(std::move(y)));
        w->xExact = DoubleArray(std::move(t));
        w->Finish();
        return w;
    };
    const double t0 = 1.7e9;  // seconds since 1970: lost in single precision
    auto a = withExact({t0, t0 + 1, t0 + 2}, {1, 2, 3});
    auto b = withExact({t0 + 0.5, t0 + 1}, {4, 6});
    WaveStackObject result;
    const AlignedOperands ops = AlignOperands(*a, *b, result, false);
    ASSERT_TRUE(result.xExact.present());
    EXPECT_EQ(std::vector<double>(result.xExact.values().begin(), result.xExact.values().end()),
              (std::vector<double>{t0, t0 + 0.5, t0 + 1, t0 + 2}));
    EXPECT_EQ(Vec(result.xValues.values()), (std::vector<float>{0, 1, 2, 3}));
    EXPECT_EQ(Vec(ops.firstY), (std::vector<float>{1, 1.5f, 2, 3}));
    EXPECT_EQ(Vec(ops.secondY), (std::vector<float>{0, 4, 6, 0}));
}

TEST(Alignment, MergeAndResampleEdgeCases) {
    const std::vector<double> a{0, 1, 1, 2}, b{1}, none{};
    EXPECT_EQ(MergeGrids(a, b), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(MergeGrids(none, b), std::vector<double>{1});
    EXPECT_EQ(MergeGrids(none, none), std::vector<double>{});
    const std::vector<double> x{1, 2};
    const std::vector<float> y{5, 7};
    EXPECT_EQ(ResampleOnto(x, y, std::vector<double>{0, 1, 1.5, 2, 3}),
              (std::vector<float>{0, 5, 6, 7, 0}));
    EXPECT_EQ(ResampleOnto({}, {}, std::vector<double>{1}), std::vector<float>{0});
}

}  // namespace
}  // namespace kov
