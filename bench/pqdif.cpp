// PQDIF library benchmarks over a large record-level-compressed file that the
// benchmark writes itself with the library's writer: 24 waveform observations,
// each 8 channels of 65,536 INTEGER2 samples (scaled) sharing one REAL8 time
// series. Figures: opening (headers and container only), inflating and
// parsing every body (MB/s of inflated body), and decoding every series
// (values/s and MB/s of decoded doubles).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pqdif/PqdifIdentifiers.h"
#include "pqdif/PqdifObservation.h"
#include "pqdif/PqdifRecord.h"

namespace {

using namespace kov::pqdif;

constexpr int kObservations = 24;
constexpr int kChannels = 8;
constexpr int kSamples = 65536;

std::unique_ptr<CPQDIFRecord> NewRecord(int kind) {
    auto r = CreateRecord(kind);
    auto root = std::make_unique<CPQDIF_E_Collection>();
    root->SetTag(r->Tag());
    r->SetRoot(std::move(root));
    return r;
}

void AddU4(CPQDIF_E_Collection* c, const kov::Guid& tag, std::uint32_t v) {
    c->AddScalar(tag, ID_PHYS_TYPE_UNS_INTEGER4, nullptr)->SetUInt4(v);
}

struct LargeFile {
    std::string path;
    std::uint64_t fileBytes = 0;
    std::uint64_t inflatedBytes = 0;  // bodies of every record after the container
    std::uint64_t values = 0;         // decoded values of every series

    LargeFile() {
        std::vector<std::unique_ptr<CPQDIFRecord>> records;
        auto container = NewRecord(1);
        container->GetRoot()->AddString(tagFileName, "bench.pqd");
        records.push_back(std::move(container));

        auto ds = NewRecord(2);
        ds->GetRoot()->AddString(tagNameDS, "Benchmark feeder");
        CPQDIF_E_Collection* defs = ds->GetRoot()->AddCollection(tagChannelDefns);
        for (int ch = 0; ch < kChannels; ++ch) {
            CPQDIF_E_Collection* def = defs->AddCollection(tagOneChannelDefn);
            AddU4(def, tagPhaseID, static_cast<std::uint32_t>(ch % 4 + 1));
            def->AddScalar(tagQuantityTypeID, ID_PHYS_TYPE_GUID, nullptr)->SetGuid(ID_QT_WAVEFORM);
            CPQDIF_E_Collection* sds = def->AddCollection(tagSeriesDefns);
            CPQDIF_E_Collection* t = sds->AddCollection(tagOneSeriesDefn);
            t->AddScalar(tagValueTypeID, ID_PHYS_TYPE_GUID, nullptr)
                ->SetGuid(ID_SERIES_VALUE_TYPE_TIME);
            AddU4(t, tagStorageMethodID, 1);
            CPQDIF_E_Collection* v = sds->AddCollection(tagOneSeriesDefn);
            AddU4(v, tagStorageMethodID, 3);
        }
        records.push_back(std::move(ds));

        std::vector<double> time(kSamples);
        for (int i = 0; i < kSamples; ++i) time[static_cast<std::size_t>(i)] = i / 12800.0;
        std::vector<std::int16_t> samples(kSamples);
        for (int o = 0; o < kObservations; ++o) {
            auto obs = NewRecord(4);
            obs->GetRoot()->AddString(tagObservationName, "Waveform");
            AddU4(obs->GetRoot(), tagTriggerMethodID, 0);
            CPQDIF_E_Collection* insts = obs->GetRoot()->AddCollection(tagChannelInstances);
            for (int ch = 0; ch < kChannels; ++ch) {
                CPQDIF_E_Collection* ci = insts->AddCollection(tagOneChannelInst);
                AddU4(ci, tagChannelDefnIdx, static_cast<std::uint32_t>(ch));
                CPQDIF_E_Collection* sis = ci->AddCollection(tagSeriesInstances);
                CPQDIF_E_Collection* ts = sis->AddCollection(tagOneSeriesInstance);
                if (ch == 0) {
                    auto v = std::make_unique<CPQDIF_E_Vector>();
                    v->SetTag(tagSeriesValues);
                    v->SetValues(ID_PHYS_TYPE_REAL8, time.data(), time.size());
                    ts->Insert(std::move(v));
                } else {
                    AddU4(ts, tagSeriesShareChannelIdx, 0);
                    AddU4(ts, tagSeriesShareSeriesIdx, 0);
                }
                // A 50 Hz wave with harmonics and a little noise, 16-bit scaled.
                std::uint32_t noise = 12345u + static_cast<std::uint32_t>(o * 31 + ch);
                for (int i = 0; i < kSamples; ++i) {
                    noise = noise * 1664525u + 1013904223u;
                    const double t = i / 12800.0;
                    const double w = std::sin(2 * M_PI * 50 * t + ch) +
                                     0.05 * std::sin(2 * M_PI * 250 * t) +
                                     ((noise >> 24) - 128.0) / 40000.0;
                    samples[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(w * 30000);
                }
                CPQDIF_E_Collection* vs = sis->AddCollection(tagOneSeriesInstance);
                auto v = std::make_unique<CPQDIF_E_Vector>();
                v->SetTag(tagSeriesValues);
                v->SetValues(ID_PHYS_TYPE_INTEGER2, samples.data(), samples.size());
                vs->Insert(std::move(v));
                vs->AddScalar(tagSeriesScale, ID_PHYS_TYPE_REAL8, nullptr)->SetReal8(400.0 / 30000);
            }
            records.push_back(std::move(obs));
        }

        std::vector<CPQDIFRecord*> list;
        for (std::size_t i = 0; i < records.size(); ++i) {
            list.push_back(records[i].get());
            if (i > 0) inflatedBytes += SerializeBody(*records[i]->GetRoot()).size();
        }
        const auto bytes = WriteRecords(list, 1);
        fileBytes = bytes.size();
        values = std::uint64_t{kObservations} * kChannels * 2 * kSamples;
        path = (std::filesystem::temp_directory_path() / "kov-bench-pqdif.pqd").string();
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
};

const LargeFile& File() {
    static const LargeFile file;
    return file;
}

void BM_OpenHeadersAndContainer(benchmark::State& state) {
    const LargeFile& f = File();
    for (auto _ : state) {
        CPQDIF_PC_FlatFile c;
        c.SetFileName(f.path);
        if (!c.Load() || c.GetCount() != kObservations + 2) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(c.GetRecord(1)->GetRoot());
    }
    state.counters["file_MB"] = static_cast<double>(f.fileBytes) / 1e6;
}

void BM_InflateAndParseBodies(benchmark::State& state) {
    const LargeFile& f = File();
    for (auto _ : state) {
        CPQDIF_PC_FlatFile c;
        c.SetFileName(f.path);
        c.Load();
        for (int i = 1; i < c.GetCount(); ++i) benchmark::DoNotOptimize(c.GetRecordLoaded(i));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.inflatedBytes));
    state.counters["inflated_MB"] = static_cast<double>(f.inflatedBytes) / 1e6;
}

void BM_DecodeEverySeries(benchmark::State& state) {
    const LargeFile& f = File();
    CPQDIF_PC_FlatFile c;
    c.SetFileName(f.path);
    c.Load();
    for (int i = 1; i < c.GetCount(); ++i) c.GetRecordLoaded(i);
    std::uint64_t decoded = 0;
    for (auto _ : state) {
        for (int i = 2; i < c.GetCount(); ++i) {
            CPQDIF_R_Observation obs(c.GetRecord(i), c.GetRecord(1), nullptr);
            for (int ch = 0; ch < obs.GetChannelInstanceCount(); ++ch)
                for (int s = 0; s < 2; ++s) {
                    auto v = obs.GetSeriesValues(ch, s);
                    if (v) decoded += v->size();
                    benchmark::DoNotOptimize(v);
                }
        }
    }
    if (decoded != state.iterations() * f.values) state.SkipWithError("wrong value count");
    state.SetBytesProcessed(static_cast<std::int64_t>(decoded * sizeof(double)));
    state.counters["values/s"] =
        benchmark::Counter(static_cast<double>(decoded), benchmark::Counter::kIsRate);
}

void BM_OpenInflateAndDecode(benchmark::State& state) {
    const LargeFile& f = File();
    for (auto _ : state) {
        CPQDIF_PC_FlatFile c;
        c.SetFileName(f.path);
        c.Load();
        for (int i = 2; i < c.GetCount(); ++i) {
            CPQDIF_R_Observation obs(c.GetRecordLoaded(i), c.GetRecordLoaded(1), nullptr);
            for (int ch = 0; ch < obs.GetChannelInstanceCount(); ++ch)
                for (int s = 0; s < 2; ++s) benchmark::DoNotOptimize(obs.GetSeriesValues(ch, s));
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * f.inflatedBytes));
    state.counters["values/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * f.values), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_OpenHeadersAndContainer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InflateAndParseBodies)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeEverySeries)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenInflateAndDecode)->Unit(benchmark::kMillisecond);

}  // namespace
