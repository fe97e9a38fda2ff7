// Whole PQDIF files: the chain walk, every body (compressed or not), the
// record sequence check and the decoding of every series. A serialised body
// must parse back to the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/RecordingUi.h"
#include "pqdif/PqdifRecord.h"
#include "pqdif/PqdifSequence.h"

namespace {

using namespace kov::pqdif;

class DecodingHandler : public CountingRecordHandler {
public:
    std::size_t values = 0;
    void OnObservation(CPQDIF_R_Observation& obs, int ds, int ms) override {
        CountingRecordHandler::OnObservation(obs, ds, ms);
        ObservationInfo info;
        obs.GetObservationInfo(info);
        TriggerInfo trigger;
        obs.GetTriggerInfo(trigger);
        const int channels = obs.GetChannelInstanceCount();
        for (int c = 0; c < channels; ++c) {
            const int series = obs.GetSeriesInstanceCount(c);
            for (int s = 0; s < series; ++s)
                if (auto v = obs.GetSeriesValues(c, s)) values += v->size();
        }
    }
};

void CheckRoundTrip(const CPQDIF_E_Collection& root) {
    const auto bytes = SerializeBody(root);
    CPQDIF_E_Collection again;
    PQController builder;
    builder.ParseBody(bytes.data(), bytes.size(), &again);
    if (SerializeBody(again) != bytes) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CPQDIF_PC_FlatFile controller;
    controller.SetMemoryBlock(data, size);
    controller.Load();
    kov::RecordingUi ui;
    DecodingHandler handler;
    CheckRecordSequence(&controller, ui, handler);
    for (int i = 0; i < controller.GetCount(); ++i) {
        CPQDIFRecord* r = controller.GetRecordLoaded(i);
        if (r && r->GetRoot()) CheckRoundTrip(*r->GetRoot());
    }
    return 0;
}
