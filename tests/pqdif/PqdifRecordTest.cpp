#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "PqdifTestFiles.h"
#include "pqdif/PqdifIdentifiers.h"
#include "pqdif/PqdifObservation.h"
#include "pqdif/PqdifRecord.h"

namespace kov::pqdif {
namespace {

using namespace testfiles;

TEST(PqdifRecords, ContainerCreationKeepsFileInfoAndTexts) {
    CPQDIF_PC_FlatFile controller;
    ASSERT_TRUE(controller.CreateContainer("out.pqd", {45000, 30.0}, {1, 5, 0, 0}));
    std::array<const char*, 13> texts{};
    texts[0] = "English";
    texts[7] = "KOV";
    ASSERT_TRUE(controller.CreateContainerInfo(texts));
    ASSERT_EQ(controller.GetCount(), 1);
    const CPQDIF_E_Collection* root = controller.GetRecord(0)->GetRoot();
    ASSERT_NE(root, nullptr);
    std::string text;
    root->FindVector(tagFileName)->GetString(text);
    EXPECT_EQ(text, "out.pqd");
    PqdifTimestamp t;
    ASSERT_TRUE(root->FindScalar(tagCreation)->GetTimestamp(t));
    EXPECT_EQ(t, (PqdifTimestamp{45000, 30.0}));
    std::uint32_t version[4] = {};
    EXPECT_EQ(root->FindVector(tagVersionInfo)->GetUInt4Array(version, 4), 4);
    EXPECT_EQ(version[1], 5u);
    root->FindVector(tagApplication)->GetString(text);
    EXPECT_EQ(text, "KOV");
    EXPECT_EQ(root->FindVector(tagTitle), nullptr);  // null texts add nothing

    // A second CreateContainer replaces record 0.
    ASSERT_TRUE(controller.CreateContainer("second.pqd", {1, 0.0}, {1, 0, 0, 0}));
    EXPECT_EQ(controller.GetCount(), 1);
    controller.GetRecord(0)->GetRoot()->FindVector(tagFileName)->GetString(text);
    EXPECT_EQ(text, "second.pqd");

    // Insert and remove move records about.
    EXPECT_FALSE(controller.InsertRecord(CreateRecord(2), 3));
    EXPECT_TRUE(controller.InsertRecord(CreateRecord(2), 1));
    EXPECT_TRUE(controller.InsertRecord(CreateRecord(4), 1));
    EXPECT_EQ(controller.GetRecord(2)->Tag(), tagRecDataSource);
    auto removed = controller.RemoveRecord(1);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->Tag(), tagRecObservation);
    EXPECT_EQ(controller.GetCount(), 2);
    EXPECT_EQ(controller.RemoveRecord(2), nullptr);
    EXPECT_EQ(controller.GetRecordLoaded(1), nullptr);  // no body and nothing to read it from
}

TEST(PqdifRecords, DataSourceAccessorsAndDefaults) {
    auto ds = DataSource();
    CPQDIF_E_Collection* ch =
        AddChannelDefn(ds.get(), "I BN", ID_PHASE_BN, {{ID_SERIES_VALUE_TYPE_TIME, 1, 2}, {}});
    AddReal8(static_cast<CPQDIF_E_Collection*>(ch->FindCollection(tagSeriesDefns)->GetChild(1)),
             tagSeriesNominalQuantity, 230.0);
    DataSourceInfo info;
    ASSERT_TRUE(GetDataSourceInfo(ds.get(), info));
    EXPECT_EQ(info.name, "Feeder 7");
    EXPECT_EQ(info.vendor, ID_VENDOR_MARVANE);
    EXPECT_TRUE(info.dataSourceType.IsNull());

    ASSERT_EQ(GetChannelDefinitionCount(ds.get()), 1);
    ChannelDefinition def;
    ASSERT_TRUE(GetChannelDefinition(ds.get(), 0, def));
    EXPECT_EQ(def.name, "I BN");
    EXPECT_EQ(def.phase, 2u);
    EXPECT_EQ(def.quantityType, ID_QT_WAVEFORM);
    EXPECT_FALSE(GetChannelDefinition(ds.get(), 1, def));
    ASSERT_EQ(GetSeriesDefinitionCount(ds.get(), 0), 2);
    SeriesDefinition sd;
    ASSERT_TRUE(GetSeriesDefinition(ds.get(), 0, 0, sd));
    EXPECT_EQ(sd.valueType, ID_SERIES_VALUE_TYPE_TIME);
    EXPECT_EQ(sd.units, 2u);
    EXPECT_DOUBLE_EQ(GetNominalQuantity(ds.get(), 0, 1), 230.0);
    EXPECT_DOUBLE_EQ(GetNominalQuantity(ds.get(), 0, 0), -1.0);

    // Defaults of a series definition that holds nothing.
    ch->FindCollection(tagSeriesDefns)->AddCollection(tagOneSeriesDefn);
    ASSERT_TRUE(GetSeriesDefinition(ds.get(), 0, 2, sd));
    EXPECT_EQ(sd.storageMethod, 1u);
    EXPECT_EQ(sd.valueType, ID_SERIES_VALUE_TYPE_VAL);
    EXPECT_EQ(sd.units, 0u);
    // A present value of the wrong type fails the call.
    AddReal8(static_cast<CPQDIF_E_Collection*>(ch->FindCollection(tagSeriesDefns)->GetChild(2)),
             tagStorageMethodID, 1.0);
    EXPECT_FALSE(GetSeriesDefinition(ds.get(), 0, 2, sd));

    // A channel without its phase fails; one without type gets the waveform default.
    auto ds2 = NewRecord(2);
    ds2->SetModified(false);
    EXPECT_EQ(GetChannelDefinitionCount(ds2.get()), 0);  // creates the empty collection
    EXPECT_TRUE(ds2->IsModified());
    CPQDIF_E_Collection* bare =
        ds2->GetRoot()->FindCollection(tagChannelDefns)->AddCollection(tagOneChannelDefn);
    EXPECT_FALSE(GetChannelDefinition(ds2.get(), 0, def));
    AddUInt4(bare, tagPhaseID, 3);
    ASSERT_TRUE(GetChannelDefinition(ds2.get(), 0, def));
    EXPECT_EQ(def.quantityType, ID_QT_WAVEFORM);
    EXPECT_EQ(def.name, "");
    EXPECT_FALSE(GetDataSourceInfo(nullptr, info));
}

TEST(PqdifRecords, MonitorSettingsAccessors) {
    auto ms = SettingsRecord(true);
    AddTransducer(ms.get(), 4, 100.0, 1.0);
    MonitorSettings s;
    ASSERT_TRUE(GetSettings(ms.get(), s));
    EXPECT_TRUE(s.useTransducer);
    EXPECT_FALSE(s.useCalibration);
    EXPECT_FALSE(s.hasInstalled);
    EXPECT_EQ(GetChannelSettingCount(ms.get()), 1);
    EXPECT_EQ(GetChannelSettingDefinitionIndex(ms.get(), 0), 4u);
    EXPECT_EQ(GetChannelSettingDefinitionIndex(ms.get(), 1), 999999999u);
    Transducer xd;
    ASSERT_TRUE(GetTransducer(ms.get(), 0, xd));
    EXPECT_EQ(xd.systemSideRatio, 100.0);
    EXPECT_EQ(xd.frequencyResponse.size(), 2u);
    Calibration cal;
    EXPECT_TRUE(GetCalibration(ms.get(), 0, cal));
    EXPECT_EQ(cal.ratio, 1.0);

    auto missing = NewRecord(3);
    missing->GetRoot()->AddTimestamp(tagEffective, 1, 0.0);
    EXPECT_FALSE(GetSettings(missing.get(), s));  // the two flags are required
}

// A file of one observation over one channel whose series definitions and
// series instances are set up by the test.
struct Fixture {
    std::unique_ptr<CPQDIFRecord> ds = DataSource();
    std::unique_ptr<CPQDIFRecord> ms = SettingsRecord(false);
    std::unique_ptr<CPQDIFRecord> obs = Observation("obs");
    CPQDIF_E_Collection* series = nullptr;  // series instances of channel instance 0
    explicit Fixture(const std::vector<SeriesSpec>& defs) {
        AddChannelDefn(ds.get(), "ch", ID_PHASE_AN, defs);
        series = AddChannelInst(obs.get(), 0);
    }
    CPQDIF_R_Observation View(bool withSettings = false) {
        return CPQDIF_R_Observation(obs.get(), ds.get(), withSettings ? ms.get() : nullptr);
    }
};

TEST(PqdifRecords, SeriesValuesByStorageMethod) {
    Fixture f({{ID_SERIES_VALUE_TYPE_VAL, 1, 6},
               {ID_SERIES_VALUE_TYPE_TIME, 4, 2},
               {ID_SERIES_VALUE_TYPE_VAL, 3, 6},
               {ID_SERIES_VALUE_TYPE_VAL, 0, 6},
               {ID_SERIES_VALUE_TYPE_TIME, 6, 2}});
    CPQDIF_E_Collection* plain = AddSeries(f.series, {1.0, 2.0, 3.0});
    AddReal8(plain, tagSeriesScale, 2.0);  // ignored without the scaled bit
    AddSeries(f.series, {2, 3, 0.5, 2, 1.0});
    CPQDIF_E_Collection* scaled = AddSeries(f.series, {1.0, -1.0});
    AddReal8(scaled, tagSeriesScale, 10.0);
    AddReal8(scaled, tagSeriesOffset, 0.5);
    AddSeries(f.series, {1.0});
    CPQDIF_E_Collection* incScaled = AddSeries(f.series, {1, 3, 1.0});
    AddReal8(incScaled, tagSeriesScale, 0.5);

    CPQDIF_R_Observation view = f.View();
    EXPECT_EQ(view.GetSeriesValues(0, 0), (std::vector<double>{1.0, 2.0, 3.0}));
    EXPECT_EQ(view.GetSeriesValues(0, 1), (std::vector<double>{0.0, 0.5, 1.0, 1.5, 2.5}));
    EXPECT_EQ(view.GetSeriesValues(0, 2), (std::vector<double>{10.5, -9.5}));
    EXPECT_FALSE(view.GetSeriesValues(0, 3));  // neither values nor increments
    EXPECT_EQ(view.GetSeriesValues(0, 4), (std::vector<double>{0.0, 0.5, 1.0}));
    EXPECT_FALSE(view.GetSeriesValues(0, 5));
    EXPECT_FALSE(view.GetSeriesValues(1, 0));
    EXPECT_FALSE(view.GetSeriesValues(-1, 0));
    EXPECT_FALSE(CPQDIF_R_Observation(f.obs.get(), nullptr, nullptr).GetSeriesValues(0, 0));
}

TEST(PqdifRecords, ScaleStoredAsAnIntegerStillScales) {
    Fixture f({{ID_SERIES_VALUE_TYPE_VAL, 3, 6}});
    auto v = std::make_unique<CPQDIF_E_Vector>();
    v->SetTag(tagSeriesValues);
    const std::int32_t raw[3] = {0, 6000000, 12000000};
    v->SetValues(ID_PHYS_TYPE_INTEGER4, raw, 3);
    CPQDIF_E_Collection* si = f.series->AddCollection(tagOneSeriesInstance);
    si->Insert(std::move(v));
    std::uint8_t two[4];
    WriteU32(two, 2);
    si->AddScalar(tagSeriesScale, ID_PHYS_TYPE_INTEGER4, two);
    EXPECT_EQ(f.View().GetSeriesValues(0, 0), (std::vector<double>{0.0, 12e6, 24e6}));
}

TEST(PqdifRecords, TransducerRatioMultipliesTheScale) {
    Fixture f({{ID_SERIES_VALUE_TYPE_VAL, 1, 6}, {ID_SERIES_VALUE_TYPE_VAL, 3, 6}});
    AddSeries(f.series, {1.0, 2.0});
    CPQDIF_E_Collection* scaled = AddSeries(f.series, {1.0, 2.0});
    AddReal8(scaled, tagSeriesScale, 3.0);
    AddReal8(scaled, tagSeriesOffset, 1.0);
    f.ms = SettingsRecord(true);
    // A setting for another channel first, then one without ratios, then the one
    // that applies: 1 monitor-side volt for 100 system-side volts.
    AddTransducer(f.ms.get(), 7, 2.0, 1.0);
    AddUInt4(f.ms->GetRoot()
                 ->FindCollection(tagChannelSettingsArray)
                 ->AddCollection(tagOneChannelSetting),
             tagChannelDefnIdx, 0);
    AddTransducer(f.ms.get(), 0, 1.0, 100.0);

    EXPECT_EQ(f.View(true).GetSeriesValues(0, 0), (std::vector<double>{100.0, 200.0}));
    EXPECT_EQ(f.View(true).GetSeriesValues(0, 1), (std::vector<double>{301.0, 601.0}));
    EXPECT_EQ(f.View(false).GetSeriesValues(0, 0), (std::vector<double>{1.0, 2.0}));

    // Settings that do not use transducers leave the values alone.
    f.ms->GetRoot()->FindScalar(tagUseTransducer)->SetBool4(false);
    EXPECT_EQ(f.View(true).GetSeriesValues(0, 0), (std::vector<double>{1.0, 2.0}));

    // A zero system-side ratio is not applied.
    f.ms->GetRoot()->FindScalar(tagUseTransducer)->SetBool4(true);
    auto* arr = f.ms->GetRoot()->FindCollection(tagChannelSettingsArray);
    static_cast<CPQDIF_E_Collection*>(arr->GetChild(2))
        ->FindScalar(tagXDSystemSideRatio)
        ->SetReal8(0.0);
    const auto values = f.View(true).GetSeriesValues(0, 0);
    ASSERT_TRUE(values);
    EXPECT_TRUE(std::isfinite(values->front()));
}

TEST(PqdifRecords, SharedSeriesOneLevelDeep) {
    auto ds = DataSource();
    AddChannelDefn(ds.get(), "a", 1, {{ID_SERIES_VALUE_TYPE_TIME, 1, 2}, {}});
    AddChannelDefn(ds.get(), "b", 2, {{ID_SERIES_VALUE_TYPE_TIME, 1, 2}, {}});
    AddChannelDefn(ds.get(), "c", 3, {{ID_SERIES_VALUE_TYPE_TIME, 1, 2}, {}});
    auto obs = Observation("shared");
    CPQDIF_E_Collection* c0 = AddChannelInst(obs.get(), 0);
    AddSeries(c0, {0.0, 0.1, 0.2});
    AddSeries(c0, {5.0, 6.0, 7.0});
    CPQDIF_E_Collection* c1 = AddChannelInst(obs.get(), 1);
    AddSharedSeries(c1, 0, 0);
    AddSeries(c1, {8.0, 9.0, 10.0});
    CPQDIF_E_Collection* c2 = AddChannelInst(obs.get(), 2);
    AddSharedSeries(c2, 1, 0);  // a share of a share
    AddSharedSeries(c2, 2, 1);  // shares itself
    CPQDIF_R_Observation view(obs.get(), ds.get(), nullptr);
    EXPECT_EQ(view.GetSeriesValues(1, 0), (std::vector<double>{0.0, 0.1, 0.2}));
    EXPECT_FALSE(view.GetSeriesValues(2, 0));
    EXPECT_FALSE(view.GetSeriesValues(2, 1));
    // Only one index set: not a share, and without stored values no values.
    CPQDIF_E_Collection* half = c1->AddCollection(tagOneSeriesInstance);
    AddUInt4(half, tagSeriesShareChannelIdx, 0);
    EXPECT_FALSE(view.GetSeriesValues(1, 2));
}

TEST(PqdifRecords, HostileIncrementRunsAreBounded) {
    Fixture f({{ID_SERIES_VALUE_TYPE_TIME, 4, 2},
               {ID_SERIES_VALUE_TYPE_TIME, 4, 2},
               {ID_SERIES_VALUE_TYPE_TIME, 4, 2},
               {ID_SERIES_VALUE_TYPE_TIME, 4, 2}});
    AddSeries(f.series, {1, 1e18, 1.0});          // far too many values
    AddSeries(f.series, {5, 2, 1.0});             // more runs announced than stored
    AddSeries(f.series, {2, -4, 1.0, NAN, 1.0});  // negative and NaN counts add nothing
    AddSeries(f.series, {});                      // empty vector
    CPQDIF_R_Observation view = f.View();
    EXPECT_FALSE(view.GetSeriesValues(0, 0));
    EXPECT_EQ(view.GetSeriesValues(0, 1), (std::vector<double>{0.0, 1.0}));
    EXPECT_EQ(view.GetSeriesValues(0, 2), (std::vector<double>{}));
    EXPECT_EQ(view.GetSeriesValues(0, 3), (std::vector<double>{}));
}

TEST(PqdifRecords, ObservationAccessors) {
    Fixture f({SeriesSpec{}});
    AddSeries(f.series, {1.0});
    AddReal8(static_cast<CPQDIF_E_Collection*>(f.series->GetChild(0)), tagSeriesBaseQuantity, 11.0);
    CPQDIF_R_Observation view = f.View();
    ObservationInfo info;
    ASSERT_TRUE(view.GetObservationInfo(info));
    EXPECT_EQ(info.name, "obs");
    EXPECT_TRUE(info.hasTimeStart);
    EXPECT_FALSE(info.hasTimeCreate);
    TriggerInfo trig;
    ASSERT_TRUE(view.GetTriggerInfo(trig));
    EXPECT_EQ(trig.method, 0u);
    EXPECT_EQ(trig.timeTriggered.seconds, 10.5);
    EXPECT_EQ(view.GetChannelInstanceCount(), 1);
    std::uint32_t d = 9;
    EXPECT_TRUE(view.GetChannelDefinitionIndex(0, d));
    EXPECT_EQ(d, 0u);
    double base = 0;
    EXPECT_TRUE(view.GetSeriesBaseQuantity(0, 0, base));
    EXPECT_EQ(base, 11.0);
    PqdifVariant v;
    EXPECT_TRUE(view.GetChannelValue(0, tagChannelDefnIdx, v));
    EXPECT_EQ(v.ToString(), "0");
    SeriesDefinition sd;
    EXPECT_TRUE(view.GetSeriesDefinitionFor(0, 0, sd));
    EXPECT_FALSE(view.GetPrimarySeriesIndexFor(0, d));
    EXPECT_EQ(view.Tag(), tagRecObservation);

    // A timestamp scalar of another type fails the call (text in its place is
    // not a timestamp and is passed over); a trigger method is required.
    f.obs->GetRoot()->AddString(tagTimeCreate, "2000-1-1");
    EXPECT_TRUE(view.GetObservationInfo(info));
    EXPECT_FALSE(info.hasTimeCreate);
    AddUInt4(f.obs->GetRoot(), tagTimeCreate, 5);
    EXPECT_FALSE(view.GetObservationInfo(info));
    auto bare = NewRecord(4);
    CPQDIF_R_Observation empty(bare.get(), f.ds.get(), nullptr);
    EXPECT_FALSE(empty.GetTriggerInfo(trig));
    EXPECT_EQ(empty.GetChannelInstanceCount(), 0);
    EXPECT_TRUE(bare->IsModified());
}

}  // namespace
}  // namespace kov::pqdif
