// Transforms and calculator operations: the sliding FFT over a minute of a
// 15,360 samples/s recording, FFTInPlace from 2^8 to 2^20 points, and a
// two-item operation on 10-million-sample waveforms.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "analysis/Fourier.h"
#include "platform/RecordingUi.h"
#include "stack/WaveStackObject.h"

namespace {

using namespace kov;

// Long records keep exact times beside the sample indexes, as readers give them.
std::unique_ptr<WaveStackObject> MakeWave(std::size_t n, double dt, double offset,
                                          bool exact = false) {
    std::vector<float> x(n), y(n);
    std::vector<double> times(exact ? n : 0);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = (static_cast<double>(i) + offset) * dt;
        x[i] = static_cast<float>(exact ? static_cast<double>(i) : t);
        if (exact) times[i] = t;
        y[i] = static_cast<float>(std::sin(2 * std::numbers::pi * 60 * t) +
                                  0.1 * std::sin(2 * std::numbers::pi * 300 * t));
    }
    auto wave = std::make_unique<WaveStackObject>();
    wave->SetSamples(FloatArray(std::move(x)), FloatArray(std::move(y)));
    if (exact) wave->xExact = DoubleArray(std::move(times));
    wave->Finish();
    return wave;
}

// 60 s at 15,360 samples/s: 3,599 one-cycle windows of 256 points, one cycle apart.
void BM_SlidingFft(benchmark::State& state) {
    const auto wave = MakeWave(60 * 15360, 1.0 / 15360, 0.0);
    RecordingUi ui;
    FFTParameters p;
    p.sliding = 1;
    p.step = 1.0f / 60;
    p.item = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto result = wave->Fft(ui, p);
        benchmark::DoNotOptimize(result);
    }
    state.SetItemsProcessed(state.iterations() * 60 * 15360);
}
BENCHMARK(BM_SlidingFft)->Arg(5)->Arg(kItemRms)->Unit(benchmark::kMillisecond);

void BM_FFTInPlace(benchmark::State& state) {
    const auto log2n = static_cast<unsigned>(state.range(0));
    const std::size_t n = std::size_t{1} << log2n;
    std::vector<float> re(n), im(n);
    for (std::size_t i = 0; i < n; ++i) re[i] = static_cast<float>(std::sin(0.01 * i));
    for (auto _ : state) {
        FFTInPlace(re, im, log2n);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}
BENCHMARK(BM_FFTInPlace)->DenseRange(8, 20)->Unit(benchmark::kMicrosecond);

// Add of two 10-million-sample waveforms with exact times (10 s at 1 MHz):
// on the same grid (values combined index by index, X shared) and on grids
// offset by half a sample (20 million merged points, both resampled).
void BM_AddTenMillion(benchmark::State& state) {
    constexpr std::size_t n = 10'000'000;
    const double dt = 1e-6;
    const auto a = MakeWave(n, dt, 0.0, true);
    const auto b = MakeWave(n, dt, state.range(0) ? 0.5 : 0.0, true);
    RecordingUi ui;
    std::size_t points = 0;
    for (auto _ : state) {
        auto result = a->Add(ui, b.get(), OperandMode::Curve, 0.0);
        points = static_cast<const PlotableStackObject&>(*result).pointCount();
        benchmark::DoNotOptimize(result);
    }
    state.counters["points"] = static_cast<double>(points);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points));
}
BENCHMARK(BM_AddTenMillion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

namespace {

// Transfer function of 1 s of voltage and current at 15,360 samples/s: three
// correlations of 15,360 samples (by FFT) and three 121-line DFTs.
void BM_TransferFunction(benchmark::State& state) {
    const auto v = MakeWave(15360, 1.0 / 15360, 0.0);
    const auto i = MakeWave(15360, 1.0 / 15360, 0.25);
    RecordingUi ui;
    for (auto _ : state) {
        auto result = v->TransferFunction(ui, i.get());
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_TransferFunction)->Unit(benchmark::kMillisecond);

}  // namespace
