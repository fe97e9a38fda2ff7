#pragma once
// The configuration of an IEEE COMTRADE record (C37.111 1991, 1999 and 2013
// revisions), as read from a .cfg file or the CFG section of a single-file
// .cff record, and the layout of a .cff record's sections.
//
// Texts are kept as the bytes of the file (blanks at both ends removed); the
// reader turns them into UTF-8 when it names items, so a different text
// encoding can be chosen after the header was read.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

// How the data file stores a sample.
enum class ComtradeFormat {
    Ascii,     // text lines
    Binary,    // signed 16-bit analog values
    Binary32,  // signed 32-bit analog values (2013)
    Float32,   // IEEE single-precision analog values (2013)
};

struct ComtradeChannel {
    bool analog = true;
    std::uint32_t number = 0;
    std::string id;
    std::string phase;      // "" when the field is empty
    std::string component;  // circuit component (analog only)
    std::string units;      // (analog only)
    double a = 0.0;         // value = raw * a + b
    double b = 0.0;
    double skew = 0.0;     // microseconds
    double minimum = 0.0;  // kept as written (float for FLOAT32 records)
    double maximum = 0.0;
    std::int32_t normalState = 0;  // digital only
    double primary = 1.0;
    double secondary = 1.0;
    char side = 'P';  // 'P' values are primary, 'S' secondary
};

// One sampling-rate line: the rate in Hz (0 when the data file's own
// timestamps give the times) and the last sample number it applies to.
struct ComtradeRate {
    double rate = 0.0;
    std::uint64_t endSample = 0;
};

struct ComtradeConfig {
    std::string station;
    std::string deviceId;             // as written (the standard allows text)
    std::uint32_t deviceNumber = 0;   // the device id read as an integer
    int revisionYear = 0;             // 0 when absent (1991)
    std::uint32_t totalChannels = 0;  // as written on line 2
    std::uint32_t analogCount = 0;
    std::uint32_t digitalCount = 0;
    std::vector<ComtradeChannel> channels;  // analog first, then digital
    double lineFrequency = 0.0;
    std::uint32_t rateCount = 0;      // as on the rate-count line (at most 999)
    std::vector<ComtradeRate> rates;  // at least one after a successful parse
    std::uint64_t totalSamples = 0;   // the largest end sample
    std::string startDate, startTime, triggerDate, triggerTime;
    ComtradeFormat format = ComtradeFormat::Ascii;
    double timeMultiplier = 1.0;  // scales the data file's timestamps
    // The start stamp has more than six decimals: the timestamps of the data
    // file count nanoseconds instead of microseconds (2013 revision).
    bool nanosecondStamps = false;

    // Revisions from 1992 on write 13 fields per analog line.
    bool ThirteenFieldLayout() const { return revisionYear >= 1992; }
    // Bytes of one sample of a binary data file (0 for ASCII).
    std::uint64_t BinaryRecordSize() const;
};

// Limits that keep hostile files from asking for absurd amounts of memory.
// Channels: the most six-digit channel numbers allow (and the most our
// COMTRADE export writes); channel records are made only as their lines are
// read, so a count the file does not back costs nothing.
inline constexpr std::uint32_t kComtradeMaxChannels = 999999;
inline constexpr std::uint32_t kComtradeMaxRates = 999;
inline constexpr std::size_t kComtradeMaxLine = 65536;  // longer lines are cut
inline constexpr std::size_t kComtradeMaxConfigBytes = 64u << 20;
inline constexpr std::size_t kComtradeHeaderTextBytes = 2048;  // shown by the load dialog

// Parses the lines of a configuration. Returns
// false when a mandatory line is missing or a count is unusable; `config`
// then holds what was read and must not be used for a data run.
bool ParseComtradeConfig(const std::vector<std::string>& lines, ComtradeConfig& config);
// The same over a whole configuration text.
bool ParseComtradeConfigText(std::string_view text, ComtradeConfig& config);

// Splits text into lines at CR, LF or CR LF (mixed freely). Ctrl-Z (0x1A) and
// NUL bytes at the end of a line are dropped; a line made only of them is
// blank. Lines longer than kComtradeMaxLine are cut.
std::vector<std::string> SplitComtradeLines(std::string_view text);

// What the stream of a configuration file holds: the configuration lines
// and, for a single-file .cff record, where its other sections are.
struct ComtradeSource {
    std::vector<std::string> cfgLines;
    bool readError = false;
    bool singleFile = false;                   // a .cff record
    std::string headerText;                    // .cff: the start of the HDR section
    bool hasData = false;                      // .cff: a DAT section was found
    std::uint64_t dataOffset = 0;              // .cff: first byte of the DAT section
    std::optional<std::uint64_t> dataBytes;    // .cff: size given on the DAT line
    std::optional<ComtradeFormat> dataFormat;  // .cff: format given on the DAT line
};
// Reads a .cfg stream, or a .cff stream up to the start of its DAT section
// (the data itself is not read).
ComtradeSource ReadComtradeSource(std::FILE* file);

// A ".cff" section marker such as "--- file type: DAT BINARY: 4214 ---":
// the section name ("CFG", "INF", "HDR", "DAT"), the data format word and the
// byte count when given. Nothing when the line is not a marker.
struct ComtradeSectionMarker {
    std::string section;
    std::string format;
    std::optional<std::uint64_t> bytes;
};
std::optional<ComtradeSectionMarker> ParseComtradeSectionMarker(std::string_view line);

// "ASCII", "BINARY", "BINARY32", "FLOAT32" in any case; nothing otherwise.
std::optional<ComtradeFormat> ParseComtradeFormat(std::string_view word);

}  // namespace kov
