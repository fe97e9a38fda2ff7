#include <gtest/gtest.h>

#include <vector>

#include "Near.h"
#include "analysis/MagDurStackObject.h"
#include "analysis/ToleranceCurves.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "stack/WaveStackObject.h"

namespace kov {
namespace {

std::unique_ptr<MagDurStackObject> Events(std::vector<std::pair<float, float>> events) {
    auto item = std::make_unique<MagDurStackObject>(static_cast<std::uint32_t>(events.size()));
    for (std::size_t i = 0; i < events.size(); ++i) {
        item->xValues.MutableValues()[i] = events[i].first;
        item->yValues.MutableValues()[i] = events[i].second;
    }
    item->Finish();
    return item;
}

TEST(MagDurAdd, AppendsTheSecondSetUnchanged) {
    auto a = Events({{0.1f, 50}, {0.02f, 80}, {0.1f, 50}});
    auto b = Events({{1.0f, 10}, {0.5f, 120}, {0.1f, 50}, {2.0f, 0}, {0.004f, 140}});
    a->axisUnits[kAxisX] = UnitRecord{kPrefixMilli, "m", 0.001, kUnitDuration};
    RecordingUi ui;
    auto sum = a->Add(ui, b.get(), OperandMode::Curve, 0.0);
    ASSERT_NE(sum, nullptr);
    auto* events = dynamic_cast<MagDurStackObject*>(sum.get());
    ASSERT_NE(events, nullptr);
    ASSERT_EQ(events->pointCount(), 8u);
    const float x[] = {0.1f, 0.02f, 0.1f, 1.0f, 0.5f, 0.1f, 2.0f, 0.004f};
    const float y[] = {50, 80, 50, 10, 120, 50, 0, 140};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(events->xValues[i], x[i]);
        EXPECT_EQ(events->yValues[i], y[i]);
    }
    EXPECT_EQ(events->xValues.min(), 0.004f);
    EXPECT_EQ(events->yValues.max(), 140.0f);
    EXPECT_EQ(events->axisUnits[kAxisX].prefix, "m");  // the first item's units
    EXPECT_EQ(events->summary(), nullptr);
    EXPECT_EQ(a->pointCount(), 3u);  // operands untouched
    EXPECT_TRUE(ui.messages.empty());
}

TEST(MagDurAdd, ConstantAndOtherKindsAreRefused) {
    auto a = Events({{0.1f, 50}});
    WaveStackObject wave(1, kUnitVoltage);
    RecordingUi ui;
    EXPECT_EQ(a->Add(ui, nullptr, OperandMode::Constant, 5.0), nullptr);
    EXPECT_EQ(a->Add(ui, a.get(), OperandMode::Constant, 5.0), nullptr);
    EXPECT_EQ(a->Add(ui, &wave, OperandMode::Curve, 0.0), nullptr);
    ASSERT_EQ(ui.messages.size(), 3u);
    for (const auto& m : ui.messages) EXPECT_EQ(m.text, str::kUnsupportedOperation);
    EXPECT_EQ(a->Subtract(ui, a.get(), OperandMode::Curve, 0.0), nullptr);
}

TEST(ToleranceCurves, FamiliesNamesAndCounts) {
    const struct {
        int family, curves;
        const char* names[2];
        int points;
    } families[] = {{0, 2, {"CBEMA Lower", "CBEMA Upper"}, 102},
                    {1, 2, {"ITIC Lower", "ITIC Upper"}, 21},
                    {2, 1, {"SEMI", nullptr}, 26},
                    {3, 1, {"DPDT Relay", nullptr}, 23},
                    {4, 1, {"24 VDC Pwr Sup", nullptr}, 23},
                    {5, 1, {"PLC Controller", nullptr}, 23}};
    for (const auto& f : families) {
        EXPECT_EQ(CurveCount(f.family), f.curves);
        for (int k = 0; k < f.curves; ++k) {
            EXPECT_STREQ(CurveName(f.family, k), f.names[k]);
            EXPECT_EQ(CurvePointCount(f.family, k), f.points);
            std::vector<double> d(f.points), m(f.points);
            ASSERT_TRUE(CurvePoints(f.family, k, 1.0, d, m));
            for (int i = 1; i < f.points; ++i) EXPECT_LE(d[i - 1], d[i]) << f.names[k] << i;
        }
        EXPECT_EQ(CurvePointCount(f.family, f.curves), 0);
        EXPECT_EQ(CurveName(f.family, f.curves), nullptr);
    }
    for (int bad : {-1, 6, 100}) {
        EXPECT_EQ(CurveCount(bad), 0);
        EXPECT_EQ(CurveFamilyName(bad), nullptr);
        EXPECT_TRUE(MakeBackgroundCurves(bad).empty());
    }
    EXPECT_STREQ(CurveFamilyName(4), "24 vdc Power Supply");
    std::vector<double> d(3), m(3);
    EXPECT_FALSE(CurvePoints(2, 1, 1.0, d, m));
    EXPECT_FALSE(CurvePoints(0, 0, 1.0, {}, {}));
}

TEST(ToleranceCurves, CbemaAndIticPoints) {
    std::vector<double> d(102), m(102);
    ASSERT_TRUE(CurvePoints(0, 0, 1.0, d, m));
    EXPECT_EQ(d[30], 0.008);
    EXPECT_EQ(m[30], 0.0);
    EXPECT_EQ(d[31], 0.009);
    EXPECT_EQ(m[31], 10.96234);
    EXPECT_EQ(d[0], 1e-10);
    EXPECT_EQ(d[101], 1e11);
    EXPECT_EQ(d[95], 1e5);
    EXPECT_EQ(d[96], 1e6);
    EXPECT_EQ(m[51], 86.67439);  // 2 s
    EXPECT_EQ(m[52], 87.0);      // 3 s on
    ASSERT_TRUE(CurvePoints(0, 1, 1.0, d, m));
    EXPECT_EQ(m[0], 602.4176);
    EXPECT_EQ(m[41], 106.7661);  // 0.1 s
    EXPECT_EQ(m[42], 106.0);
    // Scale 1000 gives the durations in milliseconds.
    ASSERT_TRUE(CurvePoints(0, 0, 1000.0, d, m));
    EXPECT_TRUE(test::NearRel(d[31], 9.0, 1e-15));

    std::vector<double> di(21), lo(21), hi(21);
    ASSERT_TRUE(CurvePoints(1, 0, 1.0, di, lo));
    ASSERT_TRUE(CurvePoints(1, 1, 1.0, di, hi));
    EXPECT_EQ(di[10], 10.0);
    EXPECT_EQ(di[11], 10.0);  // listed twice
    const double lower[] = {0, 0, 0, 0, 0, 0, 0, 70, 70, 80, 80, 90};
    const double upper[] = {500, 500, 500, 200, 140, 120, 120, 120, 120, 110, 110, 110};
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(lo[i], lower[i]) << i;
        EXPECT_EQ(hi[i], upper[i]) << i;
    }
    // A short buffer takes what fits.
    std::vector<double> d2(2), m2(2);
    ASSERT_TRUE(CurvePoints(3, 0, 1.0, d2, m2));
    EXPECT_EQ(d2[1], 1e-9);
}

TEST(ToleranceCurves, BackgroundItems) {
    auto curves = MakeBackgroundCurves(1);
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0]->namePart1(), "ITIC Lower");
    EXPECT_EQ(curves[1]->namePart1(), "ITIC Upper");
    EXPECT_EQ(curves[0]->caseName(), "BACKGROUND");
    EXPECT_EQ(curves[0]->typeTag(), "");
    EXPECT_EQ(curves[0]->pointCount(), 21u);
    EXPECT_EQ(curves[1]->yValues.max(), 500.0f);
    auto relay = MakeBackgroundCurves(3);
    ASSERT_EQ(relay.size(), 1u);
    EXPECT_EQ(relay[0]->namePart1(), "DPDT Relay");
    EXPECT_EQ(relay[0]->pointCount(), 23u);
    EXPECT_EQ(relay[0]->yValues[10], 75.0f);
}

}  // namespace
}  // namespace kov
