#pragma once
// The data run of the COMTRADE reader: one pass over the data bytes (ASCII
// lines or binary records) that fills the arrays of every chosen channel.
//
// Times, in seconds:
// - where a sampling rate is in force, the first sample is at 0 and each
//   following one a period (1 / rate) after the one before; at a new rate
//   segment the spacing changes and the times continue from the last sample;
// - where the rate is 0, the data file's timestamp of each sample gives its
//   time: timestamp x time multiplier, in microseconds (nanoseconds when the
//   configuration's start stamp has more than six decimals).
// The channel's skew (microseconds) is added to every time of that channel.
// Values are raw x a + b (digital channels: 0 or 1).
//
// Channels with the same skew share one time array. When more than
// `exactTimeAbove` samples are announced, single precision cannot keep
// neighbouring times apart reliably; the times are then kept as doubles
// (xExact) and the single-precision X array holds the sample indexes 0, 1,
// 2, ... (one index array shared by every channel).

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "readers/comtrade/ComtradeConfig.h"
#include "stack/SampleArray.h"

namespace kov {

struct ComtradeRunOptions {
    std::uint64_t exactTimeAbove = std::uint64_t{1} << 20;
    // A single-file record: an ASCII data section ends at a "--" marker line.
    bool stopAtSectionMarker = false;
    // Called with the bytes consumed so far, so the caller can release pages
    // of a mapped file behind the run. May be empty.
    void (*consumed)(void* context, std::uint64_t bytes) = nullptr;
    void* context = nullptr;
};

struct ComtradeRunResult {
    std::uint64_t samples = 0;            // samples read (the same for every channel)
    std::vector<FloatArray> values;       // one per chosen channel
    std::vector<std::size_t> timeOf;      // per chosen channel: index into the time arrays
    std::vector<FloatArray> times;        // seconds, or the shared indexes when exact
    std::vector<DoubleArray> exactTimes;  // seconds, when exact (else empty)
};

// Reads the samples of the chosen channels (indexes into config.channels,
// each below the channel count) from the data bytes. Reads at most
// config.totalSamples samples and never more than the bytes hold; a binary
// record or a final ASCII line cut short is not a sample.
ComtradeRunResult RunComtradeData(const ComtradeConfig& config,
                                  std::span<const std::size_t> channels, std::string_view data,
                                  const ComtradeRunOptions& options = {});

}  // namespace kov
