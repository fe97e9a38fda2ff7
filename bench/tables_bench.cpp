// Table computations: building a data-points table of a long waveform (its
// cells are made on demand), streaming its text export, and the IEEE 519
// check of many spectra.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis/SpectrumStackObject.h"
#include "analysis/Tables.h"
#include "stack/WaveStackObject.h"

namespace {

std::unique_ptr<kov::WaveStackObject> LongWave(std::size_t n) {
    std::vector<float> x(n), y(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) * 1e-6;
        x[i] = static_cast<float>(t);
        y[i] = static_cast<float>(std::sin(2 * 3.14159265358979 * 60 * t));
    }
    auto w = std::make_unique<kov::WaveStackObject>();
    w->SetSamples(kov::FloatArray(std::move(x)), kov::FloatArray(std::move(y)));
    w->Finish();
    return w;
}

// A 20 M-sample waveform: building the table and reading cells must not
// depend on the sample count.
void BM_PointsTableOf20MSamples(benchmark::State& state) {
    const auto wave = LongWave(20'000'000);
    const kov::StackObject* items[] = {wave.get()};
    for (auto _ : state) {
        const auto table = kov::BuildTable(kov::TableType::TimePoints, items, {});
        benchmark::DoNotOptimize(table->Cell(0, 19'999'999, 2).text);
    }
}
BENCHMARK(BM_PointsTableOf20MSamples)->Unit(benchmark::kMicrosecond);

void BM_PointsTextStream(benchmark::State& state) {
    const auto wave = LongWave(static_cast<std::size_t>(state.range(0)));
    const kov::StackObject* items[] = {wave.get()};
    const auto table = kov::BuildTable(kov::TableType::TimePoints, items, {});
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        table->StreamText('\t', [&bytes](std::string_view piece) { bytes += piece.size(); });
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PointsTextStream)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_Ieee519Of100Spectra(benchmark::State& state) {
    std::vector<std::unique_ptr<kov::SpectrumStackObject>> spectra;
    std::vector<const kov::StackObject*> items;
    for (int s = 0; s < 100; ++s) {
        std::vector<float> f, m, p;
        for (int h = 1; h <= 128; ++h) {
            f.push_back(static_cast<float>(60 * h));
            m.push_back(static_cast<float>(100.0 / h / (1 + s % 7)));
            p.push_back(0.0f);
        }
        auto spectrum = std::make_unique<kov::SpectrumStackObject>(
            128, kov::kUnitCurrent, kov::FloatArray(f), kov::FloatArray(m), kov::FloatArray(p));
        spectrum->Finish();
        items.push_back(spectrum.get());
        spectra.push_back(std::move(spectrum));
    }
    for (auto _ : state) {
        const auto table = kov::BuildTable(kov::TableType::Ieee519, items, {});
        benchmark::DoNotOptimize(table->Cell(1, 100, 7).text);
    }
}
BENCHMARK(BM_Ieee519Of100Spectra)->Unit(benchmark::kMillisecond);

}  // namespace
