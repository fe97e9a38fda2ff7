// Export speed: 16 waveforms of 1,000,000 samples each (one shared time
// array, as a recording gives) written as comma-separated values, tab text
// and IEEE COMTRADE ASCII into the temporary folder. Reports the bytes written
// per second and the values written per second.
//
// KOV_BENCH_EXPORT_SAMPLES sets the number of samples per channel.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "export/DataExport.h"
#include "stack/WaveStackObject.h"

namespace {

namespace fs = std::filesystem;

constexpr int kChannels = 16;

std::size_t Samples() {
    if (const char* s = std::getenv("KOV_BENCH_EXPORT_SAMPLES")) {
        const long long n = std::atoll(s);
        if (n > 0) return static_cast<std::size_t>(n);
    }
    return 1'000'000;
}

// 16 channels of a 60 Hz signal with a harmonic, sampled at 10 kHz.
struct Recording {
    std::vector<std::unique_ptr<kov::WaveStackObject>> waves;
    std::vector<const kov::PlotableStackObject*> items;

    Recording() {
        const std::size_t n = Samples();
        std::vector<float> x(n);
        for (std::size_t i = 0; i < n; ++i) x[i] = static_cast<float>(i) * 1e-4f;
        const kov::FloatArray time(std::move(x));
        for (int c = 0; c < kChannels; ++c) {
            std::vector<float> y(n);
            for (std::size_t i = 0; i < n; ++i) {
                const double t = static_cast<double>(i) * 1e-4;
                y[i] = static_cast<float>(100.0 * std::sin(2 * M_PI * 60 * t + c) +
                                          7.0 * std::sin(2 * M_PI * 300 * t));
            }
            auto wave = std::make_unique<kov::WaveStackObject>();
            wave->SetSamples(time, kov::FloatArray(std::move(y)));
            wave->Init("/bench/rec.cfg", "bench", "CH" + std::to_string(c), "V", "", "", "WAVE");
            wave->Finish();
            items.push_back(wave.get());
            waves.push_back(std::move(wave));
        }
    }
};

const Recording& Data() {
    static const Recording recording;
    return recording;
}

std::uintmax_t Written(kov::ExportFormat format, const fs::path& path) {
    if (format != kov::ExportFormat::Comtrade) return fs::file_size(path);
    fs::path base = path;
    base.replace_extension();
    std::uintmax_t total = 0;
    for (const char* ext : {".hdr", ".cfg", ".dat"})
        total += fs::file_size(fs::path(base).concat(ext));
    return total;
}

void Export(benchmark::State& state, kov::ExportFormat format, const char* name) {
    const Recording& data = Data();
    const fs::path folder = fs::temp_directory_path() / "kov-bench-export";
    fs::create_directories(folder);
    const fs::path path = folder / name;
    kov::ExportSettings settings;
    std::uintmax_t bytes = 0;
    for (auto _ : state) {
        if (!kov::WriteExport(format, path.string(), data.items, settings)) {
            state.SkipWithError("export failed");
            break;
        }
        bytes = Written(format, path);
    }
    const auto values = static_cast<double>(Samples()) * kChannels;
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["values/s"] = benchmark::Counter(
        values * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    fs::remove_all(folder);
}

void BM_ExportCsv(benchmark::State& state) {
    Export(state, kov::ExportFormat::CommaSeparated, "out.csv");
}
void BM_ExportTabText(benchmark::State& state) {
    Export(state, kov::ExportFormat::TabText, "out.txt");
}
void BM_ExportComtrade(benchmark::State& state) {
    Export(state, kov::ExportFormat::Comtrade, "out.cfg");
}

BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportTabText)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportComtrade)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
