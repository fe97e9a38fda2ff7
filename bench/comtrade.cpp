// Load speed of the COMTRADE reader: a 16-analog-channel record (binary and
// ASCII) of 20 million samples by default, written once into the temporary
// folder, then loaded with all channels onto a fresh stack per iteration.
// Reports MB/s of data file, samples/s (per channel sample), and the peak
// resident memory during the load against the size of the loaded arrays.
//
// KOV_BENCH_COMTRADE_SAMPLES sets the number of samples (e.g. 1000000 for a
// quick run).

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/RecordingUi.h"
#include "readers/comtrade/ComtradeDataFile.h"
#include "stack/PlotableStackObject.h"
#include "stack/Stack.h"

namespace {

namespace fs = std::filesystem;

constexpr int kChannels = 16;

std::uint64_t Samples() {
    if (const char* s = std::getenv("KOV_BENCH_COMTRADE_SAMPLES")) {
        const long long n = std::atoll(s);
        if (n > 0) return static_cast<std::uint64_t>(n);
    }
    return 20'000'000;
}

fs::path Folder() {
    return fs::temp_directory_path() / "kov-bench-comtrade";
}

std::string Base(bool binary) {
    return "bench_" + std::string(binary ? "bin" : "ascii") + "_" + std::to_string(Samples());
}

// Resets the peak resident size of this process (Linux: "5" to clear_refs).
void ResetPeak() {
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// Peak and current resident size in MB (VmHWM, VmRSS).
std::pair<double, double> ResidentMb() {
    double hwm = 0, rss = 0;
    std::ifstream in("/proc/self/status");
    std::string key;
    while (in >> key) {
        double kb = 0;
        if (key == "VmHWM:" && in >> kb) hwm = kb / 1024.0;
        if (key == "VmRSS:" && in >> kb) rss = kb / 1024.0;
    }
    return {hwm, rss};
}

// 16 channels of 50 Hz sines with harmonics, as 16-bit counts.
inline int Value(std::uint64_t k, int c) {
    const double t = static_cast<double>(k) / 4000.0;
    return static_cast<int>(20000.0 * std::sin(2 * M_PI * 50 * t + c * 0.4) +
                            3000.0 * std::sin(2 * M_PI * 250 * t + c));
}

void WriteRecord(bool binary) {
    fs::create_directories(Folder());
    const fs::path cfg = Folder() / (Base(binary) + ".cfg");
    const fs::path dat = Folder() / (Base(binary) + ".dat");
    if (fs::exists(cfg) && fs::exists(dat)) return;
    const std::uint64_t n = Samples();
    {
        std::ofstream out(cfg, std::ios::binary);
        out << "BENCH STATION,1,1999\n" << kChannels << "," << kChannels << "A,0D\n";
        for (int c = 1; c <= kChannels; ++c)
            out << c << ",CH" << c << ",A,,V,0.01,0,0,-32767,32767,1,1,P\n";
        out << "50\n1\n4000," << n << "\n01/01/2024,00:00:00.000000\n01/01/2024,00:00:00.000000\n"
            << (binary ? "BINARY" : "ASCII") << "\n1\n";
    }
    std::FILE* out = std::fopen(dat.string().c_str(), "wb");
    std::string buffer;
    buffer.reserve(1 << 22);
    char number[32];
    auto put = [&](long long v) {
        const auto r = std::to_chars(number, number + sizeof number, v);
        buffer.append(number, r.ptr);
    };
    for (std::uint64_t k = 0; k < n; ++k) {
        const auto stamp = static_cast<std::uint32_t>(k * 250);
        if (binary) {
            const auto number32 = static_cast<std::uint32_t>(k + 1);
            buffer.append(reinterpret_cast<const char*>(&number32), 4);
            buffer.append(reinterpret_cast<const char*>(&stamp), 4);
            for (int c = 0; c < kChannels; ++c) {
                const auto v = static_cast<std::int16_t>(Value(k, c));
                buffer.append(reinterpret_cast<const char*>(&v), 2);
            }
        } else {
            put(static_cast<long long>(k + 1));
            buffer += ',';
            put(stamp);
            for (int c = 0; c < kChannels; ++c) {
                buffer += ',';
                put(Value(k, c));
            }
            buffer += '\n';
        }
        if (buffer.size() > (1 << 22) - 256) {
            std::fwrite(buffer.data(), 1, buffer.size(), out);
            buffer.clear();
        }
    }
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    std::fclose(out);
}

void BM_ComtradeLoad(benchmark::State& state) {
    const bool binary = state.range(0) != 0;
    WriteRecord(binary);
    const fs::path cfg = Folder() / (Base(binary) + ".cfg");
    const double datBytes = static_cast<double>(fs::file_size(Folder() / (Base(binary) + ".dat")));
    double peakMb = 0, baseMb = 0, arraysMb = 0;
    for (auto _ : state) {
        kov::RecordingUi ui;
        kov::Stack stack(ui);
        baseMb = ResidentMb().second;
        ResetPeak();
        kov::ComtradeDataFile reader;
        reader.SetPath(cfg.string());
        std::FILE* f = std::fopen(cfg.string().c_str(), "rb");
        if (!reader.ReadHeader(f)) state.SkipWithError("header");
        std::fclose(f);
        kov::LoadChoice choice;
        for (int c = 0; c < kChannels; ++c) choice.indexes.push_back(static_cast<std::size_t>(c));
        if (!reader.LoadChoice(stack, ui, choice) || stack.size() != kChannels)
            state.SkipWithError("load");
        peakMb = ResidentMb().first - baseMb;
        // The loaded arrays: each item's Y, and the shared X (and exact X).
        const auto& first = dynamic_cast<const kov::PlotableStackObject&>(*stack.at(0));
        arraysMb = (kChannels * 4.0 + 4.0 + (first.xExact ? 8.0 : 0.0)) *
                   static_cast<double>(first.pointCount()) / (1024.0 * 1024.0);
        state.PauseTiming();  // freeing the stack is not part of the load
        stack.~Stack();
        new (&stack) kov::Stack(ui);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(datBytes) * state.iterations());
    state.counters["samples/s"] = benchmark::Counter(
        static_cast<double>(Samples()) * kChannels * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    state.counters["dat_MB"] = datBytes / (1024.0 * 1024.0);
    state.counters["peak_MB"] = peakMb;
    state.counters["arrays_MB"] = arraysMb;
    state.counters["peak/arrays"] = arraysMb > 0 ? peakMb / arraysMb : 0;
}

// The data run alone (no items, summaries or stack), over the mapped bytes.
void BM_ComtradeDataRun(benchmark::State& state) {
    const bool binary = state.range(0) != 0;
    WriteRecord(binary);
    const fs::path cfg = Folder() / (Base(binary) + ".cfg");
    kov::ComtradeDataFile reader;
    reader.SetPath(cfg.string());
    std::FILE* f = std::fopen(cfg.string().c_str(), "rb");
    reader.ReadHeader(f);
    std::fclose(f);
    std::ifstream in(Folder() / (Base(binary) + ".dat"), std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::size_t> channels;
    for (int c = 0; c < kChannels; ++c) channels.push_back(static_cast<std::size_t>(c));
    for (auto _ : state) {
        auto run = kov::RunComtradeData(reader.config(), channels, data);
        benchmark::DoNotOptimize(run.samples);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(data.size()) * state.iterations());
}

BENCHMARK(BM_ComtradeLoad)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("binary")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ComtradeDataRun)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("binary")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
