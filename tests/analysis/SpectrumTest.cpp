#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Near.h"
#include "analysis/HarmonicIndices.h"
#include "analysis/SpectrumStackObject.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "stack/Stack.h"

namespace kov {
namespace {

using test::NearRel;

struct Line {
    float hz, magnitude;
};

std::unique_ptr<SpectrumStackObject> MakeSpectrum(std::vector<Line> lines, double xBase = 1.0) {
    auto s = std::make_unique<SpectrumStackObject>(static_cast<std::uint32_t>(lines.size()),
                                                   kUnitCurrent);
    auto f = s->xValues.MutableValues();
    auto m = s->yValues.MutableValues();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        f[i] = lines[i].hz;
        m[i] = lines[i].magnitude;
    }
    s->perUnitBase[kAxisX].value = xBase;
    s->Finish();
    return s;
}

const SpectrumSummaryData& Summary(const SpectrumStackObject& s) {
    const auto* summary = dynamic_cast<const SpectrumSummaryData*>(s.summary());
    EXPECT_NE(summary, nullptr);
    return *summary;
}

TEST(TifWeight, WorkedValues) {
    EXPECT_TRUE(NearRel(TifWeight(180), 30));
    EXPECT_TRUE(NearRel(TifWeight(240), 127.5));
    EXPECT_TRUE(NearRel(TifWeight(4380), 2190));
    EXPECT_TRUE(NearRel(TifWeight(5000), 840));
    EXPECT_EQ(TifWeight(6000), 0.0);
    EXPECT_EQ(TifWeight(20), 0.0);
    EXPECT_TRUE(NearRel(TifWeight(60), 4.5));
    EXPECT_EQ(TifWeight(std::nan("")), 0.0);  // the linear rule, not the table's 0.5
    EXPECT_TRUE(NearRel(TifWeight(1000), 5000));
    EXPECT_TRUE(NearRel(TifWeight(2700), (10600 + 10210) / 2.0));
    ASSERT_EQ(kTifTable.size(), 40u);
    for (std::size_t i = 1; i < kTifTable.size(); ++i)
        EXPECT_GT(kTifTable[i].hz, kTifTable[i - 1].hz);
    // Every table point from 180 Hz on is met exactly.
    for (std::size_t i = 1; i < kTifTable.size(); ++i)
        EXPECT_TRUE(NearRel(TifWeight(kTifTable[i].hz), kTifTable[i].weight));
}

TEST(HarmonicLines, DcAndTheToleranceAboveAMultiple) {
    EXPECT_TRUE(IsHarmonicLine(0.0, 60.0));
    EXPECT_TRUE(IsHarmonicLine(180.05, 60.0));
    EXPECT_FALSE(IsHarmonicLine(179.95, 60.0));
    EXPECT_FALSE(IsHarmonicLine(210.0, 60.0));
    EXPECT_FALSE(IsHarmonicLine(60.0, 0.0));
}

TEST(HarmonicIndices, DistortionOfFundamentalHarmonicAndInterharmonic) {
    const std::vector<double> f{60, 180, 210}, m{100, 10, 5};
    EXPECT_TRUE(NearRel(HarmonicDistortion(f, m, 60, 100), 10.0));
    EXPECT_TRUE(NearRel(TotalDistortion(m, 100), std::sqrt(125.0)));
    EXPECT_TRUE(NearRel(InterharmonicDistortion(f, m, 60, 100), 5.0));
    EXPECT_TRUE(NearRel(HarmonicOnlyRms(f, m, 60, 100), 10.0));
    EXPECT_TRUE(NearRel(InterharmonicRms(f, m, 60), 5.0));
    EXPECT_TRUE(NearRel(HarmonicRms(f, m, 60), std::sqrt(10100.0)));
    EXPECT_TRUE(NearRel(TotalRms(m), std::sqrt(10125.0)));
    EXPECT_TRUE(NearRel(LineSum(f, m, 60), 115.0));
    // Nothing to measure gives 0.
    EXPECT_EQ(LineSum(f, m, 0), 0.0);
    EXPECT_EQ(HarmonicDistortion(f, m, 60, 0), 0.0);
    EXPECT_EQ(TotalDistortion(m, 0), 0.0);
    EXPECT_EQ(TifRatio(f, std::vector<double>{0, 0, 0}, 60), 0.0);
    EXPECT_EQ(TifRatio({}, {}, 60), 0.0);
    // A negative fundamental value is compared by its square.
    EXPECT_EQ(HarmonicOnlyRms(f, std::vector<double>{-100, 0, 0}, 60, -100), 0.0);
}

TEST(SpectrumSummary, LoneFundamental) {
    auto s = MakeSpectrum({{60, 100}}, 60.0);
    const auto& sum = Summary(*s);
    EXPECT_EQ(s->FundamentalIndex, 0);
    EXPECT_TRUE(NearRel(sum.freq, 60));
    EXPECT_TRUE(NearRel(sum.fund, 100));
    for (double zero : {sum.thd, sum.td, sum.tid, sum.rmsh, sum.rmsi}) EXPECT_EQ(zero, 0.0);
    EXPECT_TRUE(NearRel(sum.rmsfh, 100));
    EXPECT_TRUE(NearRel(sum.rms, 100));
    EXPECT_TRUE(NearRel(sum.asum, 100));
    EXPECT_TRUE(NearRel(sum.tif, 4.5));
    EXPECT_TRUE(NearRel(sum.it, 450));

    const char* labels[] = {"Freq :", "Fund :", "THD  :", "TID  :", "TD   :", "RMSh :",
                            "RMSi :", "RMSfh:", "RMS  :", "ASUM :", "TIF  :", "IT   :"};
    const char* values[] = {" 60", " 100", " 0",   " 0",   " 0",   " 0",
                            " 0",  " 100", " 100", " 100", " 4.5", " 450"};
    ASSERT_EQ(sum.table.rows(), 12u);
    for (std::size_t r = 0; r < 12; ++r) {
        EXPECT_EQ(sum.table.Cell(r, 0), labels[r]);
        EXPECT_EQ(sum.table.Cell(r, 1), values[r]);
    }
}

TEST(SpectrumSummary, HarmonicInterharmonicAndDcLines) {
    auto s = MakeSpectrum({{60, 100}, {180, 10}, {210, 5}}, 60.0);
    const auto& sum = Summary(*s);
    EXPECT_TRUE(NearRel(sum.thd, 10.0, 1e-6));
    EXPECT_TRUE(NearRel(sum.td, std::sqrt(125.0), 1e-6));
    EXPECT_TRUE(NearRel(sum.tid, 5.0, 1e-6));
    EXPECT_TRUE(NearRel(sum.rmsh, 10.0, 1e-6));
    EXPECT_TRUE(NearRel(sum.rmsi, 5.0, 1e-6));

    // DC counts as a harmonic.
    auto dc = MakeSpectrum({{0, 50}, {60, 100}}, 60.0);
    EXPECT_EQ(dc->FundamentalIndex, 1);
    EXPECT_TRUE(NearRel(Summary(*dc).thd, 50.0));
    EXPECT_TRUE(NearRel(Summary(*dc).rmsh, 50.0));

    // 179.95 Hz is an interharmonic, 180.05 Hz a harmonic.
    auto below = MakeSpectrum({{60, 100}, {179.95f, 10}}, 60.0);
    EXPECT_EQ(Summary(*below).thd, 0.0);
    EXPECT_TRUE(NearRel(Summary(*below).rmsi, 10.0, 1e-6));
    auto above = MakeSpectrum({{60, 100}, {180.05f, 10}}, 60.0);
    EXPECT_TRUE(NearRel(Summary(*above).thd, 10.0, 1e-6));
    EXPECT_EQ(Summary(*above).rmsi, 0.0);

    // Signed magnitudes: ASUM is the plain sum.
    auto negative = MakeSpectrum({{60, 100}, {120, -30}}, 60.0);
    EXPECT_TRUE(NearRel(Summary(*negative).asum, 70.0));
}

TEST(SpectrumSummary, FundamentalSearch) {
    // Base left at 1.0, no line near 1 Hz: the largest line, here the 5th harmonic.
    auto s = MakeSpectrum({{0, 2}, {60, 40}, {300, 90}, {420, 90}});
    EXPECT_EQ(s->FundamentalIndex, 2);
    EXPECT_TRUE(NearRel(Summary(*s).freq, 300));
    // The line near the base wins even when it is not the largest.
    auto near = MakeSpectrum({{0, 2}, {50.05f, 40}, {300, 90}}, 50.0);
    EXPECT_EQ(near->FundamentalIndex, 1);
    // No magnitude above 0: line 0.
    auto flat = MakeSpectrum({{10, 0}, {20, -1}});
    EXPECT_EQ(flat->FundamentalIndex, 0);
    EXPECT_TRUE(NearRel(Summary(*flat).asum, -1.0));
    // A fundamental at 0 Hz classifies nothing: the harmonic-line values are 0.
    auto dcOnly = MakeSpectrum({{0, 5}, {60, 1}});
    EXPECT_EQ(dcOnly->FundamentalIndex, 0);
    const auto& dcSum = Summary(*dcOnly);
    for (double zero : {dcSum.freq, dcSum.asum, dcSum.tif, dcSum.it, dcSum.rmsfh, dcSum.rmsi,
                        dcSum.thd, dcSum.tid})
        EXPECT_EQ(zero, 0.0);
    EXPECT_TRUE(NearRel(dcSum.rms, std::sqrt(26.0), 1e-7));
    // Once found it stays, even when the base changes later.
    near->perUnitBase[kAxisX].value = 300.0;
    near->UpdateScales();
    EXPECT_EQ(near->FundamentalIndex, 1);
    // A preset index (from a transform) is kept.
    SpectrumStackObject preset(3, kUnitVoltage);
    preset.FundamentalIndex = 2;
    preset.ComputeSummary();
    EXPECT_EQ(preset.FundamentalIndex, 2);
}

TEST(SpectrumSummary, ScalesApplyToMagnitudesAndFrequency) {
    auto s = MakeSpectrum({{60, 1000}, {180, 100}}, 60.0);
    s->axisUnits[kAxisY].multiplier = 1000.0;  // kA
    s->axisUnits[kAxisX].multiplier = 1000.0;  // kHz
    s->UpdateScales();
    const auto& sum = Summary(*s);
    EXPECT_TRUE(NearRel(sum.fund, 1.0));
    EXPECT_TRUE(NearRel(sum.freq, 0.06));
    EXPECT_TRUE(NearRel(sum.thd, 10.0, 1e-6));  // the harmonic test still runs in Hz
    EXPECT_TRUE(NearRel(sum.rmsh, 0.1, 1e-6));
}

TEST(SpectrumItem, ShapedResultsKeepTheFundamentalUntilResized) {
    auto source = MakeSpectrum({{0, 1}, {50, 10}, {100, 2}});
    source->FundamentalIndex = 1;
    SpectrumStackObject result;
    result.CloneShape(*source);
    EXPECT_EQ(result.FundamentalIndex, 1);
    EXPECT_TRUE(result.xValues.SharesWith(source->xValues));
    EXPECT_EQ(result.y2Values.size(), 3u);
    result.Resize(5);
    EXPECT_EQ(result.FundamentalIndex, -1);
    EXPECT_EQ(result.pointCount(), 5u);
}

TEST(SpectrumItem, DefaultsEmptySummaryAndUnsupportedOperation) {
    SpectrumStackObject s;
    EXPECT_EQ(s.kind(), kKindSpectrum);
    EXPECT_EQ(s.axisCount(), 3u);
    EXPECT_EQ(s.axisUnits[kAxisX].unitId, kUnitHertz);
    EXPECT_EQ(s.axisUnits[kAxisAngle].unitId, kUnitDegrees);
    EXPECT_EQ(s.perUnitBase[kAxisAngle].labelId, kLabelYAngle);
    EXPECT_EQ(s.FundamentalIndex, -1);
    s.ComputeSummary();
    EXPECT_EQ(s.FundamentalIndex, -1);
    EXPECT_EQ(s.summary()->table.Cell(2, 1), " 0");

    RecordingUi ui;
    FloatArray f(std::vector<float>{60}), m(std::vector<float>{1}), p(std::vector<float>{0});
    auto owned = std::make_unique<SpectrumStackObject>(1, kUnitVoltage, f, m, p);
    EXPECT_TRUE(owned->xValues.SharesWith(f));
    EXPECT_EQ(owned->CumulativeProbability(ui), nullptr);
    EXPECT_EQ(ui.LastText(), str::kUnsupportedOperation);
    owned->Init("", "case", "BUS1", "I", "", "", "SPEC");
    Stack stack(ui);
    ASSERT_TRUE(stack.Add(std::move(owned)));
    EXPECT_EQ(stack.at(0)->summary()->table.Cell(1, 1), " 1");
}

}  // namespace
}  // namespace kov
