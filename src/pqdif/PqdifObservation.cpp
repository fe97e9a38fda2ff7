#include "pqdif/PqdifObservation.h"

#include <cmath>

namespace kov::pqdif {

namespace {

CPQDIF_E_Collection* Root(const CPQDIFRecord* record) {
    return record ? record->GetRoot() : nullptr;
}

// The child collection with the tag, created empty (and the record marked
// modified) when it is missing.
CPQDIF_E_Collection* FindOrCreate(CPQDIF_E_Collection* parent, const Guid& tag) {
    if (!parent) return nullptr;
    if (CPQDIF_E_Collection* c = parent->FindCollection(tag)) return c;
    return parent->AddCollection(tag);
}

// The i-th child of a collection when it is a collection with the given tag.
CPQDIF_E_Collection* ChildCollection(const CPQDIF_E_Collection* parent, int i, const Guid& tag) {
    if (!parent) return nullptr;
    CPQDIF_Element* e = parent->GetChild(i);
    if (!e || e->GetElementType() != kElementCollection || e->GetTag() != tag) return nullptr;
    return static_cast<CPQDIF_E_Collection*>(e);
}

// Reads a text vector when present.
void ReadText(const CPQDIF_E_Collection* c, const Guid& tag, std::string& out) {
    if (const CPQDIF_E_Vector* v = c->FindVector(tag)) v->GetString(out);
}

// An optional typed scalar: absent is fine, present with another type fails.
enum class Read { Absent, Ok, WrongType };

Read ReadUInt4(const CPQDIF_E_Collection* c, const Guid& tag, std::uint32_t& out) {
    const CPQDIF_E_Scalar* s = c->FindScalar(tag);
    if (!s) return Read::Absent;
    return s->GetUInt4(out) ? Read::Ok : Read::WrongType;
}

Read ReadGuid(const CPQDIF_E_Collection* c, const Guid& tag, Guid& out) {
    const CPQDIF_E_Scalar* s = c->FindScalar(tag);
    if (!s) return Read::Absent;
    Guid g;
    if (!s->GetGuid(g)) return Read::WrongType;
    out = g;
    return Read::Ok;
}

Read ReadTimestamp(const CPQDIF_E_Collection* c, const Guid& tag, PqdifTimestamp& out) {
    const CPQDIF_E_Scalar* s = c->FindScalar(tag);
    if (!s) return Read::Absent;
    return s->GetTimestamp(out) ? Read::Ok : Read::WrongType;
}

// Values of a scalar or a vector element, converted to double.
std::vector<double> NumbersOf(const CPQDIF_Element* e) {
    std::vector<double> out;
    if (!e) return out;
    if (e->GetElementType() == kElementScalar) {
        double v = 0.0;
        if (static_cast<const CPQDIF_E_Scalar*>(e)->GetAsDouble(v)) out.push_back(v);
    } else if (e->GetElementType() == kElementVector) {
        const auto* vec = static_cast<const CPQDIF_E_Vector*>(e);
        for (int i = 0; i < vec->GetCount(); ++i) {
            double v = 0.0;
            vec->GetAsDouble(i, v);
            out.push_back(v);
        }
    }
    return out;
}

}  // namespace

// ---- Data source ----

bool GetDataSourceInfo(const CPQDIFRecord* dataSource, DataSourceInfo& info) {
    info = DataSourceInfo{};
    const CPQDIF_E_Collection* root = Root(dataSource);
    if (!root) return false;
    ReadGuid(root, tagDataSourceTypeID, info.dataSourceType);
    ReadGuid(root, tagVendorID, info.vendor);
    ReadGuid(root, tagEquipmentID, info.equipment);
    ReadText(root, tagSerialNumberDS, info.serialNumber);
    ReadText(root, tagVersionDS, info.version);
    ReadText(root, tagNameDS, info.name);
    ReadText(root, tagOwnerDS, info.owner);
    ReadText(root, tagLocationDS, info.location);
    ReadText(root, tagTimeZoneDS, info.timeZone);
    return true;
}

int GetChannelDefinitionCount(CPQDIFRecord* dataSource) {
    CPQDIF_E_Collection* defs = FindOrCreate(Root(dataSource), tagChannelDefns);
    return defs ? defs->GetCount() : 0;
}

CPQDIF_E_Collection* GetChannelDefinitionCollection(CPQDIFRecord* dataSource, int i) {
    CPQDIF_E_Collection* root = Root(dataSource);
    if (!root) return nullptr;
    return ChildCollection(root->FindCollection(tagChannelDefns), i, tagOneChannelDefn);
}

bool GetChannelDefinition(CPQDIFRecord* dataSource, int i, ChannelDefinition& out) {
    out = ChannelDefinition{};
    const CPQDIF_E_Collection* ch = GetChannelDefinitionCollection(dataSource, i);
    if (!ch) return false;
    if (const CPQDIF_E_Vector* v = ch->FindVector(tagChannelName)) {
        if (!v->GetString(out.name)) return false;
    }
    if (ReadUInt4(ch, tagPhaseID, out.phase) != Read::Ok) return false;
    if (ReadGuid(ch, tagQuantityTypeID, out.quantityType) == Read::WrongType) return false;
    if (ReadUInt4(ch, tagQuantityMeasuredID, out.quantityMeasured) == Read::WrongType) return false;
    return true;
}

bool GetPrimarySeriesIndex(CPQDIFRecord* dataSource, int i, std::uint32_t& index) {
    index = 0;
    const CPQDIF_E_Collection* ch = GetChannelDefinitionCollection(dataSource, i);
    return ch && ReadUInt4(ch, tagPrimarySeriesIdx, index) == Read::Ok;
}

int GetSeriesDefinitionCount(CPQDIFRecord* dataSource, int i) {
    const CPQDIF_E_Collection* ch = GetChannelDefinitionCollection(dataSource, i);
    const CPQDIF_E_Collection* defs = ch ? ch->FindCollection(tagSeriesDefns) : nullptr;
    return defs ? defs->GetCount() : 0;
}

static CPQDIF_E_Collection* SeriesDefinitionCollection(CPQDIFRecord* dataSource, int i, int j) {
    const CPQDIF_E_Collection* ch = GetChannelDefinitionCollection(dataSource, i);
    if (!ch) return nullptr;
    return ChildCollection(ch->FindCollection(tagSeriesDefns), j, tagOneSeriesDefn);
}

bool GetSeriesDefinition(CPQDIFRecord* dataSource, int i, int j, SeriesDefinition& out) {
    out = SeriesDefinition{};
    const CPQDIF_E_Collection* sd = SeriesDefinitionCollection(dataSource, i, j);
    if (!sd) return false;
    if (ReadUInt4(sd, tagQuantityUnitsID, out.units) == Read::WrongType) return false;
    if (ReadGuid(sd, tagValueTypeID, out.valueType) == Read::WrongType) return false;
    if (ReadGuid(sd, tagQuantityCharacteristicID, out.characteristic) == Read::WrongType)
        return false;
    if (ReadUInt4(sd, tagStorageMethodID, out.storageMethod) == Read::WrongType) return false;
    return true;
}

double GetNominalQuantity(CPQDIFRecord* dataSource, int i, int j) {
    const CPQDIF_E_Collection* sd = SeriesDefinitionCollection(dataSource, i, j);
    double value = -1.0;
    const CPQDIF_E_Scalar* s =
        sd ? sd->GetTyped(tagSeriesNominalQuantity, ID_PHYS_TYPE_REAL8) : nullptr;
    if (s) s->GetReal8(value);
    return value;
}

// ---- Monitor settings ----

bool GetSettings(const CPQDIFRecord* settings, MonitorSettings& out) {
    out = MonitorSettings{};
    const CPQDIF_E_Collection* root = Root(settings);
    if (!root) return false;
    if (ReadTimestamp(root, tagEffective, out.effective) != Read::Ok) return false;
    out.hasInstalled = ReadTimestamp(root, tagTimeInstalled, out.installed) == Read::Ok;
    out.hasRemoved = ReadTimestamp(root, tagTimeRemoved, out.removed) == Read::Ok;
    const CPQDIF_E_Scalar* cal = root->GetTyped(tagUseCalibration, ID_PHYS_TYPE_BOOLEAN4);
    const CPQDIF_E_Scalar* xd = root->GetTyped(tagUseTransducer, ID_PHYS_TYPE_BOOLEAN4);
    if (!cal || !xd) return false;
    cal->GetBool4(out.useCalibration);
    xd->GetBool4(out.useTransducer);
    return true;
}

int GetChannelSettingCount(CPQDIFRecord* settings) {
    CPQDIF_E_Collection* root = Root(settings);
    const CPQDIF_E_Collection* arr = root ? root->FindCollection(tagChannelSettingsArray) : nullptr;
    return arr ? arr->GetCount() : 0;
}

static CPQDIF_E_Collection* ChannelSetting(CPQDIFRecord* settings, int k) {
    CPQDIF_E_Collection* root = Root(settings);
    if (!root) return nullptr;
    return ChildCollection(root->FindCollection(tagChannelSettingsArray), k, tagOneChannelSetting);
}

std::uint32_t GetChannelSettingDefinitionIndex(CPQDIFRecord* settings, int k) {
    const CPQDIF_E_Collection* cs = ChannelSetting(settings, k);
    std::uint32_t index = 0;
    if (!cs || ReadUInt4(cs, tagChannelDefnIdx, index) != Read::Ok) return 999999999;
    return index;
}

bool GetTransducer(CPQDIFRecord* settings, int k, Transducer& out) {
    out = Transducer{};
    const CPQDIF_E_Collection* cs = ChannelSetting(settings, k);
    if (!cs) return false;
    out.hasTransformerType = ReadUInt4(cs, tagXDTransformerTypeID, out.transformerType) == Read::Ok;
    const CPQDIF_E_Scalar* sys = cs->GetTyped(tagXDSystemSideRatio, ID_PHYS_TYPE_REAL8);
    const CPQDIF_E_Scalar* mon = cs->GetTyped(tagXDMonitorSideRatio, ID_PHYS_TYPE_REAL8);
    const CPQDIF_E_Vector* fr = cs->FindVector(tagXDFrequencyResponse);
    if (!sys || !mon || !fr || fr->GetPhysicalType() != ID_PHYS_TYPE_REAL8) return false;
    sys->GetReal8(out.systemSideRatio);
    mon->GetReal8(out.monitorSideRatio);
    out.frequencyResponse.resize(static_cast<std::size_t>(fr->GetCount()));
    for (int i = 0; i < fr->GetCount(); ++i)
        fr->GetReal8(i, out.frequencyResponse[static_cast<std::size_t>(i)]);
    return true;
}

bool GetCalibration(CPQDIFRecord* settings, int k, Calibration& out) {
    out = Calibration{};
    const CPQDIF_E_Collection* cs = ChannelSetting(settings, k);
    if (!cs) return false;
    auto first = [&](const Guid& tag, double& value) {
        const auto n = NumbersOf(cs->Find(tag));
        if (!n.empty()) value = n.front();
    };
    first(tagCalTimeSkew, out.timeSkew);
    first(tagCalOffset, out.offset);
    first(tagCalRatio, out.ratio);
    double must = 0.0;
    first(tagCalMustUseARCal, must);
    out.mustUseARCal = must != 0.0;
    out.applied = NumbersOf(cs->Find(tagCalApplied));
    out.recorded = NumbersOf(cs->Find(tagCalRecorded));
    return true;
}

// ---- Observation ----

bool CPQDIF_R_Observation::GetObservationInfo(ObservationInfo& out) const {
    out = ObservationInfo{};
    const CPQDIF_E_Collection* root = GetRoot();
    if (!root) return false;
    ReadText(root, tagObservationName, out.name);
    const Read create = ReadTimestamp(root, tagTimeCreate, out.timeCreate);
    const Read start = ReadTimestamp(root, tagTimeStart, out.timeStart);
    out.hasTimeCreate = create == Read::Ok;
    out.hasTimeStart = start == Read::Ok;
    return create != Read::WrongType && start != Read::WrongType;
}

bool CPQDIF_R_Observation::GetTriggerInfo(TriggerInfo& out) const {
    out = TriggerInfo{};
    const CPQDIF_E_Collection* root = GetRoot();
    if (!root) return false;
    if (ReadUInt4(root, tagTriggerMethodID, out.method) != Read::Ok) return false;
    if (out.method == static_cast<std::uint32_t>(ID_TRIGGER_METH_CHANNEL)) {
        const CPQDIF_E_Vector* v = root->FindVector(tagChannelTriggerIdx);
        if (v && v->GetPhysicalType() == ID_PHYS_TYPE_UNS_INTEGER4) {
            out.channelTriggerIdx.resize(static_cast<std::size_t>(v->GetCount()));
            v->GetUInt4Array(out.channelTriggerIdx.data(), v->GetCount());
        }
    }
    return ReadTimestamp(root, tagTimeTriggered, out.timeTriggered) == Read::Ok;
}

int CPQDIF_R_Observation::GetChannelInstanceCount() {
    CPQDIF_E_Collection* inst = FindOrCreate(GetRoot(), tagChannelInstances);
    return inst ? inst->GetCount() : 0;
}

CPQDIF_E_Collection* CPQDIF_R_Observation::GetChannelInstance(int c) {
    CPQDIF_E_Collection* root = GetRoot();
    if (!root) return nullptr;
    return ChildCollection(root->FindCollection(tagChannelInstances), c, tagOneChannelInst);
}

bool CPQDIF_R_Observation::GetChannelDefinitionIndex(int c, std::uint32_t& index) {
    index = 0;
    const CPQDIF_E_Collection* ci = GetChannelInstance(c);
    return ci && ReadUInt4(ci, tagChannelDefnIdx, index) == Read::Ok;
}

int CPQDIF_R_Observation::GetSeriesInstanceCount(int c) {
    const CPQDIF_E_Collection* ci = GetChannelInstance(c);
    const CPQDIF_E_Collection* si = ci ? ci->FindCollection(tagSeriesInstances) : nullptr;
    return si ? si->GetCount() : 0;
}

CPQDIF_E_Collection* CPQDIF_R_Observation::GetSeriesInstance(int c, int s) {
    const CPQDIF_E_Collection* ci = GetChannelInstance(c);
    if (!ci) return nullptr;
    return ChildCollection(ci->FindCollection(tagSeriesInstances), s, tagOneSeriesInstance);
}

bool CPQDIF_R_Observation::GetSeriesBaseQuantity(int c, int s, double& value) {
    value = 0.0;
    const CPQDIF_E_Collection* si = GetSeriesInstance(c, s);
    const CPQDIF_E_Scalar* q =
        si ? si->GetTyped(tagSeriesBaseQuantity, ID_PHYS_TYPE_REAL8) : nullptr;
    return q && q->GetReal8(value);
}

bool CPQDIF_R_Observation::GetChannelValue(int c, const Guid& tag, PqdifVariant& value) {
    value = PqdifVariant{};
    const CPQDIF_E_Collection* ci = GetChannelInstance(c);
    const CPQDIF_E_Scalar* s = ci ? ci->FindScalar(tag) : nullptr;
    return s && s->GetVariant(value);
}

bool CPQDIF_R_Observation::GetPrimarySeriesIndexFor(int c, std::uint32_t& index) {
    std::uint32_t d = 0;
    index = 0;
    if (!GetChannelDefinitionIndex(c, d) || d > 0x7FFFFFFF) return false;
    return GetPrimarySeriesIndex(dataSource_, static_cast<int>(d), index);
}

bool CPQDIF_R_Observation::GetSeriesDefinitionFor(int c, int s, SeriesDefinition& out) {
    std::uint32_t d = 0;
    out = SeriesDefinition{};
    if (!GetChannelDefinitionIndex(c, d) || d > 0x7FFFFFFF) return false;
    return GetSeriesDefinition(dataSource_, static_cast<int>(d), s, out);
}

std::optional<std::vector<double>> CPQDIF_R_Observation::GetSeriesValues(int c, int s) {
    return DecodeSeries(c, s, 0);
}

std::optional<std::vector<double>> CPQDIF_R_Observation::DecodeSeries(int c, int s, int level) {
    if (!obs_ || !dataSource_ || c < 0 || s < 0) return std::nullopt;
    std::uint32_t d = 0;
    if (!GetChannelDefinitionIndex(c, d) || d > 0x7FFFFFFF) return std::nullopt;
    SeriesDefinition def;
    if (!GetSeriesDefinition(dataSource_, static_cast<int>(d), s, def)) return std::nullopt;
    const CPQDIF_E_Collection* si = GetSeriesInstance(c, s);
    if (!si) return std::nullopt;

    double scale = 1.0, offset = 0.0;
    bool shareChannel = false, shareSeries = false;
    std::uint32_t shareChannelIdx = 0, shareSeriesIdx = 0;
    const CPQDIF_E_Vector* stored = nullptr;
    for (int i = 0; i < si->GetCount(); ++i) {
        const CPQDIF_Element* e = si->GetChild(i);
        if (e->GetElementType() == kElementScalar) {
            const auto* sc = static_cast<const CPQDIF_E_Scalar*>(e);
            // Scale and offset are converted from whatever numeric type the writer
            // used; an integer scale must not turn every value into 0.
            double v = 0.0;
            sc->GetAsDouble(v);
            if (e->GetTag() == tagSeriesScale) scale = v;
            if (e->GetTag() == tagSeriesOffset) offset = v;
            if (e->GetTag() == tagSeriesShareChannelIdx)
                shareChannel = sc->GetUInt4(shareChannelIdx);
            if (e->GetTag() == tagSeriesShareSeriesIdx) shareSeries = sc->GetUInt4(shareSeriesIdx);
        } else if (e->GetElementType() == kElementVector && e->GetTag() == tagSeriesValues &&
                   !stored) {
            stored = static_cast<const CPQDIF_E_Vector*>(e);
        }
    }

    if (shareChannel && shareSeries) {
        if (level > 0 || shareChannelIdx > 0x7FFFFFFF || shareSeriesIdx > 0x7FFFFFFF)
            return std::nullopt;
        return DecodeSeries(static_cast<int>(shareChannelIdx), static_cast<int>(shareSeriesIdx),
                            level + 1);
    }
    if (!stored) return std::nullopt;

    std::vector<double> values;
    const int n = stored->GetCount();
    if (def.storageMethod & 1u) {
        values.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) stored->GetAsDouble(i, values[static_cast<std::size_t>(i)]);
    } else if (def.storageMethod & 4u) {
        // Runs of (count, increment) continuing from 0.0. Counts are checked before
        // anything is allocated; a run count beyond the stored pairs uses the pairs there.
        double runsValue = 0.0;
        stored->GetAsDouble(0, runsValue);
        const double available = n > 0 ? (n - 1) / 2 : 0;
        const double runs = std::isfinite(runsValue) && runsValue > 0
                                ? std::min(std::trunc(runsValue), available)
                                : 0.0;
        std::size_t total = 0;
        for (int r = 0; r < static_cast<int>(runs); ++r) {
            double count = 0.0;
            stored->GetAsDouble(1 + 2 * r, count);
            if (!std::isfinite(count) || count < 1) continue;
            if (count > static_cast<double>(kMaxIncrementValues - total)) return std::nullopt;
            total += static_cast<std::size_t>(count);
        }
        values.reserve(total);
        // Each value is the previous one plus the increment of the run the previous
        // value belongs to; the first is 0.0.
        double current = 0.0;
        for (int r = 0; r < static_cast<int>(runs); ++r) {
            double count = 0.0, step = 0.0;
            stored->GetAsDouble(1 + 2 * r, count);
            stored->GetAsDouble(2 + 2 * r, step);
            if (!std::isfinite(count) || count < 1) continue;
            for (auto k = static_cast<std::size_t>(count); k > 0; --k) {
                values.push_back(current);
                current += step;
            }
        }
    } else {
        return std::nullopt;
    }

    const bool scaled = (def.storageMethod & 2u) != 0;
    if (!scaled) {
        scale = 1.0;
        offset = 0.0;
    }

    bool ratioApplied = false;
    MonitorSettings ms;
    if (settings_ && GetSettings(settings_, ms) && ms.useTransducer) {
        const int count = GetChannelSettingCount(settings_);
        for (int k = 0; k < count; ++k) {
            if (GetChannelSettingDefinitionIndex(settings_, k) != d) continue;
            Transducer xd;
            if (!GetTransducer(settings_, k, xd)) continue;
            // A zero or unusable system-side ratio would turn every value into inf/NaN.
            if (xd.systemSideRatio != 0.0 && std::isfinite(xd.systemSideRatio) &&
                std::isfinite(xd.monitorSideRatio)) {
                scale = scale * xd.monitorSideRatio / xd.systemSideRatio;
                ratioApplied = true;
            }
            break;
        }
    }
    if (ratioApplied || scaled)
        for (double& v : values) v = v * scale + offset;
    return values;
}

}  // namespace kov::pqdif
