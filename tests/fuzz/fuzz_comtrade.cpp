// libFuzzer target of the COMTRADE reader: the configuration parser (with the
// .cff section splitter) and the data run.
//
// The first input byte picks what the rest is:
// - even: a whole configuration file (.cfg or .cff), read through the same
//   stream path as ReadHeader; when it parses, the bytes after a .cff DAT
//   marker (or nothing) go through the data run with every channel chosen;
// - odd: the next four bytes shape a small valid configuration (analog and
//   digital counts, data format, rate layout, time multiplier) and the rest
//   is its data file, so the data run sees every format often.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "readers/comtrade/ComtradeConfig.h"
#include "readers/comtrade/ComtradeData.h"

namespace {

void RunAll(const kov::ComtradeConfig& config, std::string_view data, bool singleFile) {
    std::vector<std::size_t> channels;
    for (std::size_t i = 0; i < config.channels.size(); ++i) channels.push_back(i);
    kov::ComtradeRunOptions options;
    options.exactTimeAbove = 64;  // exercise both time layouts
    options.stopAtSectionMarker = singleFile;
    const kov::ComtradeRunResult run = kov::RunComtradeData(config, channels, data, options);
    if (run.samples > config.totalSamples) __builtin_trap();
    for (const auto& v : run.values)
        if (v.size() != run.samples) __builtin_trap();
}

void FuzzConfiguration(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!file) return;
    const kov::ComtradeSource source = kov::ReadComtradeSource(file);
    std::fclose(file);
    kov::ComtradeConfig config;
    if (!kov::ParseComtradeConfig(source.cfgLines, config)) return;
    if (source.dataFormat) config.format = *source.dataFormat;
    std::string_view rest;
    if (source.hasData && source.dataOffset <= size)
        rest = std::string_view(reinterpret_cast<const char*>(data) + source.dataOffset,
                                size - source.dataOffset);
    RunAll(config, rest, source.singleFile);
}

void FuzzDataRun(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return;
    const unsigned analog = data[0] % 9, digital = data[1] % 40;
    const char* formats[] = {"ASCII", "BINARY", "BINARY32", "FLOAT32"};
    const char* format = formats[data[2] % 4];
    std::string cfg = "FUZZ,1,1999\n" + std::to_string(analog + digital) + "," +
                      std::to_string(analog) + "A," + std::to_string(digital) + "D\n";
    for (unsigned c = 1; c <= analog; ++c)
        cfg += std::to_string(c) + ",A" + std::to_string(c) + ",,,V,0.5,1," +
               std::to_string(c % 3) + ",0,0,1,1,P\n";
    for (unsigned c = 1; c <= digital; ++c) cfg += std::to_string(c) + ",D,,,0\n";
    cfg += "60\n";
    switch (data[3] % 4) {
        case 0:
            cfg += "1\n1000,500\n";
            break;
        case 1:
            cfg += "0\n0,300\n";
            break;
        case 2:
            cfg += "3\n1000,10\n0,5\n250,400\n";
            break;
        default:
            cfg += "2\n4000,100000000\n8000,50\n";
            break;
    }
    cfg += "01/01/2020,00:00:00.000000000\n01/01/2020,00:00:00\n" + std::string(format) + "\n" +
           (data[3] & 4 ? "0.25" : "1") + "\n";
    kov::ComtradeConfig config;
    if (!kov::ParseComtradeConfigText(cfg, config)) __builtin_trap();  // our own text must parse
    RunAll(config, std::string_view(reinterpret_cast<const char*>(data) + 4, size - 4), false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    if (data[0] % 2 == 0)
        FuzzConfiguration(data + 1, size - 1);
    else
        FuzzDataRun(data + 1, size - 1);
    return 0;
}
