#pragma once
// IEEE COMTRADE (ASCII, revision 1999) of the items of a graph window: a
// header file (.hdr), a configuration file (.cfg) and a data file (.dat)
// made from the output path without its extension. One analog channel per
// item, in window order, at most `channelLimit` (999,999, the most the
// standard's six-digit channel numbers allow).
//
// Channel k:
//   id      the item's stack key, ',' (and line breaks) replaced by '_', cut
//           to 64 bytes; a key of 56 characters is the form the COMTRADE
//           reader turns back into the item's name parts and kind tag
//   units   the abbreviation of the item's value unit ("V", "A"; the values
//           written are stored values, in base units, so no prefix)
//   a, b    b = minimum, a = (maximum - minimum) / 65535 of the item's finite
//           stored values, so that raw x a + b gives the stored value back
//           within a / 2; raw = (value - b) / a rounded, 0 ... 65535
//           (0 when a is 0). A missing value (NaN) is written as an empty
//           field; +-infinity becomes 65535 or 0.
//   ratios  primaryRatio, secondaryRatio and valueSide of waveforms; 1, 1, P
//           for other kinds.
// Rows: one per sample of the first item: sample number from 1, the time in
// microseconds from the first item's first sample (its true X, XAt), then
// one value per item, an empty field past an item's end.
// Sampling rate: one rate, 1 / step, when the first item's samples are evenly
// spaced (within 1 % of a step, allowing for single-precision X); otherwise
// no rate ("0" rates, "0,n"), so that readers take the times from the rows.
// Time stamps have at most 10 digits: a record longer than 9,999,999,999 us
// writes them in units of the power of ten that fits, given as the time
// multiplier (else "1.0").
// Start and trigger lines: the first item's recorded start stamp (moved to
// its first sample) and trigger stamp when it carries them
// (acquisition.timeStampPresent), else the current local time (clock) for both.

#include <cstddef>
#include <ctime>
#include <functional>
#include <span>
#include <string>

namespace kov {

class PlotableStackObject;

inline constexpr std::size_t kComtradeChannelLimit = 999999;

struct ComtradeExportOptions {
    std::size_t channelLimit = kComtradeChannelLimit;
    double lineFrequency = 60.0;
    // The current time for the start and trigger lines; empty: the system clock.
    std::function<std::time_t()> clock;
};

// The three file names: path cut at the last '.' of its file name part
// (folders may hold dots), plus ".hdr", ".cfg", ".dat".
struct ComtradeExportPaths {
    std::string header, config, data;
};
ComtradeExportPaths ComtradeExportFiles(const std::string& path);

// Writes the record. False when there is no item or a file cannot be created
// or written; files of the record written before the failure are removed.
bool WriteComtradeExport(const std::string& path, std::span<const PlotableStackObject* const> items,
                         const ComtradeExportOptions& options = {});

}  // namespace kov
