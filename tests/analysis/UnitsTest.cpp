#include <gtest/gtest.h>

#include <vector>

#include "Near.h"
#include "analysis/SpectrumStackObject.h"
#include "analysis/StatisticItems.h"
#include "analysis/UnitEditing.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "stack/WaveStackObject.h"

namespace kov {
namespace {

using test::NearRel;

std::unique_ptr<WaveStackObject> VoltageWave(std::vector<float> y) {
    auto wave =
        std::make_unique<WaveStackObject>(static_cast<std::uint32_t>(y.size()), kUnitVoltage);
    auto x = wave->xValues.MutableValues();
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = 0.0125f * static_cast<float>(i);
    std::copy(y.begin(), y.end(), wave->yValues.MutableValues().begin());
    wave->Finish();
    return wave;
}

TEST(UnitRecords, SetPrefixFollowsTheCodeTables) {
    UnitRecord r;
    const struct {
        std::uint16_t code;
        const char* text;
        double multiplier;
    } cases[] = {{2, "p", 1e-12}, {3, "n", 1e-9}, {4, "u", 1e-6}, {5, "m", 0.001},
                 {6, " ", 1.0},   {7, "k", 1000}, {8, "M", 1e6},  {9, "G", 1e9}};
    for (const auto& c : cases) {
        SetPrefix(r, c.code);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.prefix, c.text);
        EXPECT_EQ(r.multiplier, c.multiplier);
    }
    for (std::uint16_t bad : {0, 1, 10, 999}) {
        SetPrefix(r, bad);
        EXPECT_EQ(r.code, kPrefixNone);
        EXPECT_EQ(r.prefix, "");
        EXPECT_EQ(r.multiplier, 1.0);
    }
}

TEST(UnitRecords, NameFieldsAndAxisLabels) {
    EXPECT_EQ(UnitNameField(kUnitVoltage, 0), "Voltage");
    EXPECT_EQ(UnitNameField(kUnitVoltage, 1), "Volts");
    EXPECT_EQ(UnitNameField(kUnitVoltage, 2), "V");
    EXPECT_EQ(UnitNameField(kUnitApparentPower, 2), "VA");
    EXPECT_EQ(UnitNameField(kUnitDegrees, 2), "");
    EXPECT_EQ(UnitNameField(2146, 0), "");

    UnitRecord volts{kPrefixNone, "", 1.0, kUnitVoltage};
    PerUnitBase base;
    EXPECT_EQ(AxisLabel(volts, base), "Voltage (V)");
    SetPrefix(volts, kPrefixKilo);
    EXPECT_EQ(AxisLabel(volts, base), "Voltage (kV)");
    base.set = true;
    EXPECT_EQ(AxisLabel(volts, base), "Voltage (kV pu)");
    SetPrefix(volts, kPrefixNone);  // "No Prefix" chosen: the blank adds nothing
    EXPECT_EQ(volts.prefix, " ");
    EXPECT_EQ(AxisLabel(volts, base), "Voltage (V pu)");
    // "Phase,Degrees" has no abbreviation: the unit field stands in for it.
    EXPECT_EQ(AxisLabel(UnitRecord{kPrefixNone, "", 1.0, kUnitDegrees}, PerUnitBase{}),
              "Phase (Degrees)");
    EXPECT_EQ(AxisLabel(UnitRecord{}, PerUnitBase{}), "");
}

TEST(UnitScales, KiloPrefixAndPerUnitBaseChangeOnlyTheDisplay) {
    auto wave = VoltageWave({12470.0f, -12470.0f});
    RecordingUi ui;
    UnitsEditor units;
    units.Load(wave.get());
    EXPECT_EQ(units.axis(), kAxisY);
    units.ChoosePrefix(kPrefixKilo);
    EXPECT_EQ(units.SampleLabel(), "kV");
    EXPECT_EQ(units.MultiplierText(), "1e+03");
    StackObject* selection[] = {wave.get()};
    EXPECT_EQ(units.Apply(ui, selection).size(), 1u);
    EXPECT_TRUE(NearRel(wave->scale(kAxisY) * wave->yValues[0], 12.47, 1e-7));
    EXPECT_EQ(wave->yValues[0], 12470.0f);  // stored samples unchanged
    EXPECT_EQ(AxisLabel(wave->axisUnits[kAxisY], wave->perUnitBase[kAxisY]), "Voltage (kV)");
    const auto* summary = dynamic_cast<const WaveSummaryData*>(wave->summary());
    ASSERT_NE(summary, nullptr);
    EXPECT_TRUE(NearRel(summary->max, 12.47, 1e-7));  // the summary was rebuilt

    // Back to no prefix, then per-unit on base 12470 with sqrt(2)/sqrt(3).
    units.ChoosePrefix(kPrefixNone);
    units.Apply(ui, selection);
    PerUnitEditor perUnit;
    perUnit.Load(wave.get());
    PerUnitEditor::Shown shown = perUnit.Show();
    EXPECT_EQ(shown.baseText, "1");
    shown.baseText = "12470";
    PerUnitEditor::BaseTyped(shown);
    shown.factor = 2;
    EXPECT_EQ(perUnit.Apply(ui, selection, shown).size(), 1u);
    EXPECT_TRUE(NearRel(wave->scale(kAxisY), 1.0 / (12470.0 * 0.816496580925)));
    EXPECT_EQ(AxisLabel(wave->axisUnits[kAxisY], wave->perUnitBase[kAxisY]), "Voltage (V pu)");

    // The time axis in milliseconds shows 0.0125 s as 12.5.
    EXPECT_TRUE(NearRel(wave->scale(kAxisX) * wave->xValues[1], 12.5, 1e-6));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.beeps, 0);
}

TEST(UnitScales, ZeroBaseOrMultiplierCountsAsOne) {
    auto wave = VoltageWave({3.0f});
    wave->axisUnits[kAxisY].multiplier = 0.0;
    wave->perUnitBase[kAxisY] = PerUnitBase{true, 0.0, 1, kLabelYMag};
    wave->UpdateScales();
    EXPECT_EQ(wave->scale(kAxisY), 1.0);
}

TEST(UnitApply, MixedKindsAndEmptySelection) {
    auto wave = VoltageWave({1.0f});
    auto otherWave = VoltageWave({2.0f});
    SpectrumStackObject spectrum(1, kUnitVoltage);
    spectrum.Finish();
    RecordingUi ui;

    UnitsEditor units;
    units.Load(wave.get());
    units.ChoosePrefix(kPrefixMilli);
    StackObject* mixed[] = {wave.get(), &spectrum, otherWave.get(), &spectrum};
    EXPECT_EQ(units.Apply(ui, mixed), (std::vector<StackObject*>{wave.get(), otherWave.get()}));
    ASSERT_EQ(ui.messages.size(), 1u);  // once, however many are skipped
    EXPECT_EQ(ui.messages[0].text, str::kMixedKinds);
    EXPECT_EQ(ui.messages[0].caption, "KOV");
    EXPECT_EQ(otherWave->axisUnits[kAxisY].prefix, "m");
    EXPECT_EQ(spectrum.axisUnits[kAxisY].prefix, "");

    PerUnitEditor perUnit;
    perUnit.Load(&spectrum);
    StackObject* spectrumFirst[] = {&spectrum, wave.get()};
    auto shown = perUnit.Show();
    shown.perUnitize = true;
    EXPECT_EQ(perUnit.Apply(ui, spectrumFirst, shown).size(), 1u);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(spectrum.perUnitBase[kAxisY].set);
    EXPECT_FALSE(wave->perUnitBase[kAxisY].set);

    EXPECT_TRUE(units.Apply(ui, {}).empty());
    EXPECT_TRUE(perUnit.Apply(ui, {}, shown).empty());
    EXPECT_EQ(ui.beeps, 2);
    EXPECT_EQ(ui.messages.size(), 2u);

    EXPECT_TRUE(MaySelect(ui, nullptr, spectrum));
    EXPECT_TRUE(MaySelect(ui, wave.get(), *otherWave));
    EXPECT_FALSE(MaySelect(ui, wave.get(), spectrum));
    EXPECT_EQ(ui.beeps, 3);
}

TEST(UnitEditors, AxisChoiceStoresTheShownValues) {
    SpectrumStackObject spectrum(2, kUnitCurrent);
    PerUnitEditor perUnit;
    perUnit.Load(&spectrum);
    EXPECT_EQ(perUnit.axisCount(), 3u);
    EXPECT_EQ(perUnit.AxisLabelId(2), kLabelYAngle);
    EXPECT_STREQ(PerUnitLabelText(perUnit.AxisLabelId(0)), "X Axis");
    EXPECT_STREQ(PerUnitLabelText(perUnit.AxisLabelId(1)), "Y Axis Mag");
    EXPECT_STREQ(PerUnitLabelText(perUnit.AxisLabelId(2)), "Y Axis Ang");
    EXPECT_STREQ(PerUnitLabelText(0), "");
    auto shown = perUnit.Show();
    shown.baseText = " 60 ";
    shown.perUnitize = true;
    perUnit.ChooseAxis(kAxisX, shown);  // stores y, shows x
    EXPECT_EQ(perUnit.records()[kAxisY].value, 60.0);
    EXPECT_TRUE(perUnit.records()[kAxisY].set);
    shown = perUnit.Show();
    EXPECT_FALSE(shown.perUnitize);
    shown.baseText = "abc";  // not a number: the base stays
    perUnit.Store(shown);
    EXPECT_EQ(perUnit.records()[kAxisX].value, 1.0);

    StatisticStackObject statistics;
    UnitsEditor units;
    units.Load(&statistics);
    EXPECT_EQ(units.axisCount(), 1u);
    EXPECT_EQ(units.axis(), kAxisX);  // one axis: x is shown
    EXPECT_EQ(units.UnitIndex(), kUnitMagnitude - kFirstUnitId);
    units.ChooseUnit(kUnitVoltage - kFirstUnitId);
    EXPECT_EQ(units.SampleLabel(), "V");
    units.ChooseUnit(kUnitNameCount);  // outside the list: ignored
    EXPECT_EQ(units.record().unitId, kUnitVoltage);

    units.Load(nullptr);
    EXPECT_FALSE(units.enabled());
    EXPECT_EQ(units.SampleLabel(), "");
    EXPECT_EQ(units.MultiplierText(), "");
}

}  // namespace
}  // namespace kov
