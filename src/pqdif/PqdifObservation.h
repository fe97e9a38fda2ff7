#pragma once
// Reading the settled values out of PQDIF records: the data source (channel
// and series definitions), the monitor settings (transducers, calibration) and
// the observations (channel and series instances, decoded series values).
// Accessors return false or null and leave their outputs at the defaults
// documented here; nothing is reported at this level.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pqdif/PqdifElement.h"
#include "pqdif/PqdifIdentifiers.h"
#include "pqdif/PqdifRecord.h"

namespace kov::pqdif {

// ---- Data source record ----

struct DataSourceInfo {
    Guid dataSourceType, vendor, equipment;  // null GUID when absent
    std::string serialNumber, version, name, owner, location, timeZone;
};
// Fails only without a record or root.
bool GetDataSourceInfo(const CPQDIFRecord* dataSource, DataSourceInfo& info);

struct ChannelDefinition {
    std::string name;
    std::uint32_t phase = 0;
    Guid quantityType = ID_QT_WAVEFORM;
    std::uint32_t quantityMeasured = 0;
};
// Children of tagChannelDefns (a missing collection is created empty).
int GetChannelDefinitionCount(CPQDIFRecord* dataSource);
// Fails when channel i or its phase is missing or a present value has another type.
bool GetChannelDefinition(CPQDIFRecord* dataSource, int i, ChannelDefinition& out);
bool GetPrimarySeriesIndex(CPQDIFRecord* dataSource, int i, std::uint32_t& index);
int GetSeriesDefinitionCount(CPQDIFRecord* dataSource, int i);

struct SeriesDefinition {
    std::uint32_t units = 0;
    Guid valueType = ID_SERIES_VALUE_TYPE_VAL;
    Guid characteristic;
    std::uint32_t storageMethod = 1;  // bits: 1 values, 2 scaled, 4 increment
};
bool GetSeriesDefinition(CPQDIFRecord* dataSource, int i, int j, SeriesDefinition& out);
// tagSeriesNominalQuantity of series j of channel i; -1.0 when absent.
double GetNominalQuantity(CPQDIFRecord* dataSource, int i, int j);
// Collections of channel i and of its series j (null when missing).
CPQDIF_E_Collection* GetChannelDefinitionCollection(CPQDIFRecord* dataSource, int i);

// ---- Monitor settings record ----

struct MonitorSettings {
    PqdifTimestamp effective, installed, removed;
    bool hasInstalled = false, hasRemoved = false;
    bool useCalibration = false, useTransducer = false;
};
// Fails when tagEffective, tagUseCalibration or tagUseTransducer is missing.
bool GetSettings(const CPQDIFRecord* settings, MonitorSettings& out);
int GetChannelSettingCount(CPQDIFRecord* settings);
// tagChannelDefnIdx of channel setting k; 999999999 when it cannot be read.
std::uint32_t GetChannelSettingDefinitionIndex(CPQDIFRecord* settings, int k);

struct Transducer {
    bool hasTransformerType = false;
    std::uint32_t transformerType = 0;
    double systemSideRatio = 0.0, monitorSideRatio = 0.0;
    std::vector<double> frequencyResponse;
};
// Fails without both ratios (REAL8) and the frequency response (REAL8 vector).
bool GetTransducer(CPQDIFRecord* settings, int k, Transducer& out);

struct Calibration {
    double timeSkew = 0.0, offset = 0.0, ratio = 1.0;
    bool mustUseARCal = false;
    std::vector<double> applied, recorded;
};
// Reads whichever calibration values channel setting k holds; fails without the setting.
bool GetCalibration(CPQDIFRecord* settings, int k, Calibration& out);

// ---- Observation ----

struct ObservationInfo {
    std::string name;
    PqdifTimestamp timeCreate, timeStart;
    bool hasTimeCreate = false, hasTimeStart = false;
};

struct TriggerInfo {
    std::uint32_t method = 0;
    std::vector<std::uint32_t> channelTriggerIdx;
    PqdifTimestamp timeTriggered;
};

// A view of one observation record with the data source and monitor settings
// records in force for it (not owned; either may be null). Record operations
// are forwarded to the observation record.
class CPQDIF_R_Observation : public CPQDIFRecord {
public:
    CPQDIF_R_Observation(CPQDIFRecord* observation, CPQDIFRecord* dataSource,
                         CPQDIFRecord* settings)
        : obs_(observation), dataSource_(dataSource), settings_(settings) {}

    bool ReadHeader(CPQDIF_StreamIO& s) override { return obs_ && obs_->ReadHeader(s); }
    bool ReadBody(CPQDIF_StreamIO& s) override { return obs_ && obs_->ReadBody(s); }
    bool WriteHeader(CPQDIF_StreamIO& s) override { return obs_ && obs_->WriteHeader(s); }
    bool WriteBody(CPQDIF_StreamIO& s) override { return obs_ && obs_->WriteBody(s); }
    bool GetPosition(std::uint32_t& p) const override { return obs_ && obs_->GetPosition(p); }
    bool SetPosition(std::uint32_t p) override { return obs_ && obs_->SetPosition(p); }
    bool GetTag(Guid& t) const override { return obs_ && obs_->GetTag(t); }
    bool SetTag(const Guid& t) override { return obs_ && obs_->SetTag(t); }
    bool GetSizes(std::uint32_t& h, std::uint32_t& b) const override {
        return obs_ && obs_->GetSizes(h, b);
    }
    bool SetSizes(std::uint32_t h, std::uint32_t b) override {
        return obs_ && obs_->SetSizes(h, b);
    }
    bool GetChecksum(std::uint32_t& v) const override { return obs_ && obs_->GetChecksum(v); }
    bool SetChecksum(std::uint32_t v) override { return obs_ && obs_->SetChecksum(v); }
    bool GetNextLink(std::uint32_t& l) const override { return obs_ && obs_->GetNextLink(l); }
    bool SetNextLink(std::uint32_t l) override { return obs_ && obs_->SetNextLink(l); }
    CPQDIF_E_Collection* GetRoot() const override { return obs_ ? obs_->GetRoot() : nullptr; }
    void SetRoot(std::unique_ptr<CPQDIF_E_Collection> r) override {
        if (obs_) obs_->SetRoot(std::move(r));
    }
    bool IsModified() const override { return obs_ && obs_->IsModified(); }
    void SetModified(bool f) override {
        if (obs_) obs_->SetModified(f);
    }

    CPQDIFRecord* DataSource() const { return dataSource_; }
    CPQDIFRecord* Settings() const { return settings_; }

    bool GetObservationInfo(ObservationInfo& out) const;
    bool GetTriggerInfo(TriggerInfo& out) const;
    // Children of tagChannelInstances (a missing collection is created empty).
    int GetChannelInstanceCount();
    CPQDIF_E_Collection* GetChannelInstance(int c);
    bool GetChannelDefinitionIndex(int c, std::uint32_t& index);
    int GetSeriesInstanceCount(int c);
    CPQDIF_E_Collection* GetSeriesInstance(int c, int s);
    bool GetSeriesBaseQuantity(int c, int s, double& value);
    bool GetChannelValue(int c, const Guid& tag, PqdifVariant& value);
    bool GetPrimarySeriesIndexFor(int c, std::uint32_t& index);
    bool GetSeriesDefinitionFor(int c, int s, SeriesDefinition& out);

    // The decoded values of series s of channel instance c, or nullopt. Storage
    // method bit 1: the stored values; else bit 4: runs of (count, increment)
    // starting at 0.0. Without bit 2 the scale and offset are ignored; a
    // transducer ratio (monitor side / system side) multiplies the scale when the
    // settings in force use transducers. A series that shares another series
    // (through tagSeriesShareChannelIdx and tagSeriesShareSeriesIdx) gets its
    // values; a share of a share gives nullopt.
    std::optional<std::vector<double>> GetSeriesValues(int c, int s);

    // Longest series that increment storage may expand to.
    static constexpr std::size_t kMaxIncrementValues = std::size_t{1} << 25;

private:
    std::optional<std::vector<double>> DecodeSeries(int c, int s, int level);

    CPQDIFRecord* obs_;
    CPQDIFRecord* dataSource_;
    CPQDIFRecord* settings_;
};

}  // namespace kov::pqdif
