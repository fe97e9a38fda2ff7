#pragma once
// Builders of PQDIF records and files for the tests: each test makes the bytes
// it reads with the library's own writer, so the files are known exactly.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pqdif/PqdifElement.h"
#include "pqdif/PqdifIdentifiers.h"
#include "pqdif/PqdifRecord.h"

namespace kov::pqdif::testfiles {

inline CPQDIF_E_Scalar* AddUInt4(CPQDIF_E_Collection* c, const Guid& tag, std::uint32_t v) {
    auto* s = c->AddScalar(tag, ID_PHYS_TYPE_UNS_INTEGER4, nullptr);
    s->SetUInt4(v);
    return s;
}
inline CPQDIF_E_Scalar* AddReal8(CPQDIF_E_Collection* c, const Guid& tag, double v) {
    auto* s = c->AddScalar(tag, ID_PHYS_TYPE_REAL8, nullptr);
    s->SetReal8(v);
    return s;
}
inline CPQDIF_E_Scalar* AddGuid(CPQDIF_E_Collection* c, const Guid& tag, const Guid& v) {
    auto* s = c->AddScalar(tag, ID_PHYS_TYPE_GUID, nullptr);
    s->SetGuid(v);
    return s;
}
inline CPQDIF_E_Scalar* AddBool4(CPQDIF_E_Collection* c, const Guid& tag, bool v) {
    auto* s = c->AddScalar(tag, ID_PHYS_TYPE_BOOLEAN4, nullptr);
    s->SetBool4(v);
    return s;
}
inline CPQDIF_E_Vector* AddReal8Vector(CPQDIF_E_Collection* c, const Guid& tag,
                                       const std::vector<double>& values) {
    auto v = std::make_unique<CPQDIF_E_Vector>();
    v->SetTag(tag);
    v->SetValues(ID_PHYS_TYPE_REAL8, nullptr, 0);
    v->SetCount(static_cast<int>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) v->SetReal8(static_cast<int>(i), values[i]);
    return static_cast<CPQDIF_E_Vector*>(c->Insert(std::move(v)));
}

// A record of the given kind (CreateRecord) with an empty root.
inline std::unique_ptr<CPQDIFRecord> NewRecord(int kind) {
    auto r = CreateRecord(kind);
    auto root = std::make_unique<CPQDIF_E_Collection>();
    root->SetTag(r->Tag());
    r->SetRoot(std::move(root));
    return r;
}

inline std::unique_ptr<CPQDIFRecord> Container() {
    auto r = NewRecord(1);
    r->GetRoot()->AddString(tagFileName, "test.pqd");
    r->GetRoot()->AddTimestamp(tagCreation, 45000, 3600.5);
    const std::uint32_t version[4] = {1, 5, 0, 0};
    r->GetRoot()->AddUInt4Vector(tagVersionInfo, version, 4);
    return r;
}

struct SeriesSpec {
    Guid valueType = ID_SERIES_VALUE_TYPE_VAL;
    std::uint32_t storage = 1;
    std::uint32_t units = 6;
};

// Adds a channel definition with its series definitions to a data source.
inline CPQDIF_E_Collection* AddChannelDefn(CPQDIFRecord* ds, const std::string& name,
                                           std::uint32_t phase,
                                           const std::vector<SeriesSpec>& series) {
    CPQDIF_E_Collection* defs = ds->GetRoot()->FindCollection(tagChannelDefns);
    if (!defs) defs = ds->GetRoot()->AddCollection(tagChannelDefns);
    CPQDIF_E_Collection* ch = defs->AddCollection(tagOneChannelDefn);
    ch->AddString(tagChannelName, name.c_str());
    AddUInt4(ch, tagPhaseID, phase);
    AddGuid(ch, tagQuantityTypeID, ID_QT_WAVEFORM);
    AddUInt4(ch, tagQuantityMeasuredID, 1);
    CPQDIF_E_Collection* sds = ch->AddCollection(tagSeriesDefns);
    for (const auto& s : series) {
        CPQDIF_E_Collection* sd = sds->AddCollection(tagOneSeriesDefn);
        AddGuid(sd, tagValueTypeID, s.valueType);
        AddUInt4(sd, tagStorageMethodID, s.storage);
        AddUInt4(sd, tagQuantityUnitsID, s.units);
    }
    return ch;
}

inline std::unique_ptr<CPQDIFRecord> DataSource() {
    auto r = NewRecord(2);
    r->GetRoot()->AddString(tagNameDS, "Feeder 7");
    AddGuid(r->GetRoot(), tagVendorID, ID_VENDOR_MARVANE);
    AddGuid(r->GetRoot(), tagEquipmentID, ID_EQUIP_MRV_KOV);
    return r;
}

inline std::unique_ptr<CPQDIFRecord> SettingsRecord(bool useTransducer) {
    auto r = NewRecord(3);
    r->GetRoot()->AddTimestamp(tagEffective, 45000, 0.0);
    AddBool4(r->GetRoot(), tagUseCalibration, false);
    AddBool4(r->GetRoot(), tagUseTransducer, useTransducer);
    return r;
}

// Adds a channel setting with a transducer (system side : monitor side) for a definition.
inline CPQDIF_E_Collection* AddTransducer(CPQDIFRecord* ms, std::uint32_t definition,
                                          double systemSide, double monitorSide) {
    CPQDIF_E_Collection* arr = ms->GetRoot()->FindCollection(tagChannelSettingsArray);
    if (!arr) arr = ms->GetRoot()->AddCollection(tagChannelSettingsArray);
    CPQDIF_E_Collection* cs = arr->AddCollection(tagOneChannelSetting);
    AddUInt4(cs, tagChannelDefnIdx, definition);
    AddReal8(cs, tagXDSystemSideRatio, systemSide);
    AddReal8(cs, tagXDMonitorSideRatio, monitorSide);
    AddReal8Vector(cs, tagXDFrequencyResponse, {1.0, 1.0});
    return cs;
}

inline std::unique_ptr<CPQDIFRecord> Observation(const std::string& name) {
    auto r = NewRecord(4);
    r->GetRoot()->AddString(tagObservationName, name.c_str());
    r->GetRoot()->AddTimestamp(tagTimeStart, 45000, 10.0);
    AddUInt4(r->GetRoot(), tagTriggerMethodID, 0);
    r->GetRoot()->AddTimestamp(tagTimeTriggered, 45000, 10.5);
    return r;
}

// Adds a channel instance; returns its tagSeriesInstances collection.
inline CPQDIF_E_Collection* AddChannelInst(CPQDIFRecord* obs, std::uint32_t definition) {
    CPQDIF_E_Collection* inst = obs->GetRoot()->FindCollection(tagChannelInstances);
    if (!inst) inst = obs->GetRoot()->AddCollection(tagChannelInstances);
    CPQDIF_E_Collection* ci = inst->AddCollection(tagOneChannelInst);
    AddUInt4(ci, tagChannelDefnIdx, definition);
    return ci->AddCollection(tagSeriesInstances);
}

inline CPQDIF_E_Collection* AddSeries(CPQDIF_E_Collection* seriesInstances,
                                      const std::vector<double>& values) {
    CPQDIF_E_Collection* si = seriesInstances->AddCollection(tagOneSeriesInstance);
    AddReal8Vector(si, tagSeriesValues, values);
    return si;
}

inline CPQDIF_E_Collection* AddSharedSeries(CPQDIF_E_Collection* seriesInstances,
                                            std::uint32_t channel, std::uint32_t series) {
    CPQDIF_E_Collection* si = seriesInstances->AddCollection(tagOneSeriesInstance);
    AddUInt4(si, tagSeriesShareChannelIdx, channel);
    AddUInt4(si, tagSeriesShareSeriesIdx, series);
    return si;
}

inline std::vector<CPQDIFRecord*> Pointers(const std::vector<std::unique_ptr<CPQDIFRecord>>& v) {
    std::vector<CPQDIFRecord*> out;
    for (const auto& r : v) out.push_back(r.get());
    return out;
}

// Container, data source (one channel: time and values), monitor settings and
// one observation holding `samples` points.
inline std::vector<std::unique_ptr<CPQDIFRecord>> SmallFileRecords(int samples = 16) {
    std::vector<std::unique_ptr<CPQDIFRecord>> records;
    records.push_back(Container());
    auto ds = DataSource();
    AddChannelDefn(ds.get(), "V AN", ID_PHASE_AN,
                   {{ID_SERIES_VALUE_TYPE_TIME, 1, 2}, {ID_SERIES_VALUE_TYPE_VAL, 1, 6}});
    records.push_back(std::move(ds));
    records.push_back(SettingsRecord(false));
    auto obs = Observation("Event 1");
    CPQDIF_E_Collection* si = AddChannelInst(obs.get(), 0);
    std::vector<double> t, v;
    for (int i = 0; i < samples; ++i) {
        t.push_back(i * 0.001);
        v.push_back(100.0 * (i % 7) - 300.0);
    }
    AddSeries(si, t);
    AddSeries(si, v);
    records.push_back(std::move(obs));
    return records;
}

inline std::vector<std::uint8_t> SmallFile(std::uint32_t algorithm, int samples = 16) {
    auto records = SmallFileRecords(samples);
    return WriteRecords(Pointers(records), algorithm);
}

}  // namespace kov::pqdif::testfiles
