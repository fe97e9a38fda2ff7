// Single record bodies: the element parser, the serialiser, and every
// accessor of data source, monitor settings and observation records run over
// the same tree.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pqdif/PqdifObservation.h"
#include "pqdif/PqdifRecord.h"

using namespace kov::pqdif;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto record = CreateRecord(4);
    auto root = std::make_unique<CPQDIF_E_Collection>();
    PQController builder;
    builder.ParseBody(data, size, root.get());
    record->SetRoot(std::move(root));

    // The serialised tree parses back to the same bytes.
    const auto bytes = SerializeBody(*record->GetRoot());
    CPQDIF_E_Collection again;
    builder.ParseBody(bytes.data(), bytes.size(), &again);
    if (SerializeBody(again) != bytes) std::abort();

    CPQDIFRecord* r = record.get();
    DataSourceInfo info;
    GetDataSourceInfo(r, info);
    const int channels = GetChannelDefinitionCount(r);
    for (int i = 0; i < channels; ++i) {
        ChannelDefinition def;
        GetChannelDefinition(r, i, def);
        std::uint32_t primary = 0;
        GetPrimarySeriesIndex(r, i, primary);
        const int series = GetSeriesDefinitionCount(r, i);
        for (int j = 0; j < series; ++j) {
            SeriesDefinition sd;
            GetSeriesDefinition(r, i, j, sd);
            GetNominalQuantity(r, i, j);
        }
    }
    MonitorSettings ms;
    GetSettings(r, ms);
    const int settings = GetChannelSettingCount(r);
    for (int k = 0; k < settings; ++k) {
        GetChannelSettingDefinitionIndex(r, k);
        Transducer xd;
        GetTransducer(r, k, xd);
        Calibration cal;
        GetCalibration(r, k, cal);
    }
    // The same tree as observation, data source and settings at once.
    CPQDIF_R_Observation obs(r, r, r);
    ObservationInfo oi;
    obs.GetObservationInfo(oi);
    TriggerInfo ti;
    obs.GetTriggerInfo(ti);
    const int instances = obs.GetChannelInstanceCount();
    for (int c = 0; c < instances; ++c) {
        PqdifVariant v;
        obs.GetChannelValue(c, tagChannelDefnIdx, v);
        v.ToString();
        const int series = obs.GetSeriesInstanceCount(c);
        for (int s = 0; s < series; ++s) {
            double base = 0;
            obs.GetSeriesBaseQuantity(c, s, base);
            obs.GetSeriesValues(c, s);
        }
    }
    return 0;
}
