#include "readers/comtrade/ComtradeConfig.h"

#include <algorithm>
#include <cmath>

#include "platform/Strings.h"
#include "platform/Text.h"
#include "readers/CommaFields.h"

namespace kov {

namespace {

bool IsPadding(char c) {
    return c == '\x1A' || c == '\0';
}
bool IsBlankOrPadding(char c) {
    return c == ' ' || c == '\t' || IsPadding(c);
}

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), IsBlankOrPadding);
}

// Drops Ctrl-Z and NUL padding at the end of a line.
void DropPadding(std::string& line) {
    while (!line.empty() && IsPadding(line.back())) line.pop_back();
}

// A count read leniently (floats where integers belong): the leading number,
// truncated. Nothing when it is negative or beyond `limit`.
std::optional<std::uint64_t> CountOf(double value, double limit) {
    if (!(value >= 0.0) || value > limit) return std::nullopt;
    return static_cast<std::uint64_t>(value);
}

// A double read from a count field, clamped to what a 64-bit count can hold.
std::uint64_t ClampCount(double value) {
    constexpr double kMax = 9.0e18;
    if (!(value > 0.0)) return 0;
    return value >= kMax ? static_cast<std::uint64_t>(kMax) : static_cast<std::uint64_t>(value);
}

std::uint32_t ClampU32(std::int64_t value) {
    if (value < 0) return 0;
    return value > 0xFFFFFFFFll ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

std::int32_t ClampI32(double value) {
    if (!(value >= -2147483648.0)) return value < 0 ? INT32_MIN : 0;
    if (value > 2147483647.0) return INT32_MAX;
    return static_cast<std::int32_t>(value);
}

// Reads the count of line 2 ("4A", "12D"): the number and the letter right
// after it (blanks allowed between them).
void ReadTypedCount(std::string_view field, std::optional<double>& analog,
                    std::optional<double>& digital) {
    const std::string_view f = TrimField(field);
    if (!FieldIsNumber(f)) return;
    const double value = FieldToReal(f);
    auto digit = [&f](std::size_t k) { return k < f.size() && f[k] >= '0' && f[k] <= '9'; };
    std::size_t i = 0;
    if (i < f.size() && (f[i] == '+' || f[i] == '-')) ++i;
    while (digit(i) || (i < f.size() && f[i] == '.')) ++i;
    // An exponent only when digits follow it ("4E" is no count).
    if (i < f.size() && (f[i] == 'e' || f[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < f.size() && (f[j] == '+' || f[j] == '-')) ++j;
        if (digit(j)) {
            while (digit(j)) ++j;
            i = j;
        }
    }
    while (i < f.size() && (f[i] == ' ' || f[i] == '\t')) ++i;
    if (i >= f.size()) return;
    const char type = ToLowerAscii(f[i]);
    if (type == 'a') analog = value;
    if (type == 'd') digital = value;
}

class LineCursor {
public:
    explicit LineCursor(const std::vector<std::string>& lines) : lines_(lines) {}
    // The next line; false at the end. A blank line is a line whose fields
    // are all absent.
    bool Next(std::string_view& line) {
        if (index_ >= lines_.size()) return false;
        line = lines_[index_++];
        if (IsBlankLine(line)) line = {};
        return true;
    }

private:
    const std::vector<std::string>& lines_;
    std::size_t index_ = 0;
};

std::string FieldText(std::string_view field) {
    return std::string(TrimField(field));
}

void ReadAnalog(std::string_view line, bool thirteenFields, ComtradeChannel& ch) {
    ch = ComtradeChannel{};
    ch.analog = true;
    CommaFields f(line);
    std::string_view v;
    std::int64_t number = 0;
    if (f.NextInteger(number)) ch.number = ClampU32(number);
    if (f.Next(v)) ch.id = FieldText(v);
    if (f.Next(v)) ch.phase = FieldText(v);
    if (f.Next(v)) ch.component = FieldText(v);
    if (f.Next(v)) ch.units = FieldText(v);
    f.NextReal(ch.a);
    f.NextReal(ch.b);
    f.NextReal(ch.skew);
    f.NextReal(ch.minimum);
    f.NextReal(ch.maximum);
    if (!thirteenFields) return;
    // A ratio that is empty or not positive means nothing: keep 1.0.
    double ratio = 0.0;
    if (f.NextReal(ratio) && ratio > 0.0) ch.primary = ratio;
    if (f.NextReal(ratio) && ratio > 0.0) ch.secondary = ratio;
    if (f.Next(v)) {
        const std::string_view s = TrimField(v);
        if (!s.empty()) {
            const char side = static_cast<char>(s[0] & ~0x20);  // upper case
            ch.side = (side == 'S') ? 'S' : 'P';
        }
    }
}

void ReadDigital(std::string_view line, ComtradeChannel& ch) {
    ch = ComtradeChannel{};
    ch.analog = false;
    ch.a = 1.0;
    CommaFields f(line);
    std::string_view v;
    std::vector<std::string_view> rest;
    std::int64_t number = 0;
    if (f.NextInteger(number)) ch.number = ClampU32(number);
    if (f.Next(v)) ch.id = FieldText(v);
    while (rest.size() < 3 && f.Next(v)) rest.push_back(v);
    // 1991 lines end with the normal state; from 1999 on phase and circuit
    // component come first and the normal state is the fifth field.
    if (rest.size() >= 3) {
        ch.normalState = ClampI32(FieldToReal(rest[2]));
        ch.component = FieldText(rest[1]);
    } else if (!rest.empty()) {
        ch.normalState = ClampI32(FieldToReal(rest[0]));
    }
}

// Cuts a stamp field the way the dialog shows it.
std::string StampText(std::string_view field, std::size_t limit) {
    return std::string(TrimField(field).substr(0, limit));
}

bool HasNanosecondFraction(std::string_view time) {
    const std::size_t dot = time.find('.');
    if (dot == std::string_view::npos) return false;
    std::size_t digits = 0;
    for (std::size_t i = dot + 1; i < time.size() && time[i] >= '0' && time[i] <= '9'; ++i)
        ++digits;
    return digits > 6;
}

}  // namespace

std::uint64_t ComtradeConfig::BinaryRecordSize() const {
    std::uint64_t width = 0;
    switch (format) {
        case ComtradeFormat::Ascii:
            return 0;
        case ComtradeFormat::Binary:
            width = 2;
            break;
        case ComtradeFormat::Binary32:
        case ComtradeFormat::Float32:
            width = 4;
            break;
    }
    return 8 + width * analogCount + 2 * ((static_cast<std::uint64_t>(digitalCount) + 15) / 16);
}

std::optional<ComtradeFormat> ParseComtradeFormat(std::string_view word) {
    const std::string_view w = TrimField(word);
    if (EqualsNoCase(w, "ASCII")) return ComtradeFormat::Ascii;
    if (EqualsNoCase(w, "BINARY")) return ComtradeFormat::Binary;
    if (EqualsNoCase(w, "BINARY32")) return ComtradeFormat::Binary32;
    if (EqualsNoCase(w, "FLOAT32")) return ComtradeFormat::Float32;
    return std::nullopt;
}

bool ParseComtradeConfig(const std::vector<std::string>& lines, ComtradeConfig& config) {
    config = ComtradeConfig{};
    LineCursor cursor(lines);
    std::string_view line;

    // Line 1: station name, recording device id, revision year.
    if (!cursor.Next(line)) return false;
    {
        CommaFields f(line);
        std::string_view v;
        if (f.Next(v)) config.station = FieldText(v);
        if (f.Next(v)) {
            config.deviceId = FieldText(v);
            config.deviceNumber = ClampU32(FieldToInteger(v));
        }
        if (f.Next(v)) {
            const std::int64_t year = FieldToInteger(v);
            config.revisionYear = (year > 0 && year < 100000) ? static_cast<int>(year) : 0;
        }
    }

    // Line 2: total channels, analog count "nnA", digital count "nnD".
    if (!cursor.Next(line)) return false;
    {
        CommaFields f(line);
        std::string_view v;
        if (f.Next(v)) config.totalChannels = ClampU32(FieldToInteger(v));
        std::optional<double> analog, digital;
        for (int i = 0; i < 2 && f.Next(v); ++i) ReadTypedCount(v, analog, digital);
        const auto a = CountOf(analog.value_or(0.0), kComtradeMaxChannels);
        const auto d = CountOf(digital.value_or(0.0), kComtradeMaxChannels);
        if (!a || !d || *a + *d > kComtradeMaxChannels) return false;
        config.analogCount = static_cast<std::uint32_t>(*a);
        config.digitalCount = static_cast<std::uint32_t>(*d);
    }

    // One line per channel; records are made as lines are read, so a
    // channel count larger than the file holds costs nothing.
    const std::uint32_t channels = config.analogCount + config.digitalCount;
    for (std::uint32_t i = 0; i < channels; ++i) {
        if (!cursor.Next(line)) return false;
        ComtradeChannel ch;
        if (i < config.analogCount)
            ReadAnalog(line, config.ThirteenFieldLayout(), ch);
        else
            ReadDigital(line, ch);
        config.channels.push_back(std::move(ch));
    }

    // Line frequency.
    if (!cursor.Next(line)) return false;
    {
        CommaFields f(line);
        double lf = 0.0;
        f.NextReal(lf);
        config.lineFrequency = lf;
    }

    // Rate count, then the rate lines.
    if (!cursor.Next(line)) return false;
    {
        CommaFields f(line);
        std::string_view v;
        double count = 0.0;
        if (f.Next(v)) count = FieldToReal(v);
        if (count < 0.0) return false;
        config.rateCount = static_cast<std::uint32_t>(std::min<double>(count, kComtradeMaxRates));
    }
    const std::uint32_t rateLines = std::max<std::uint32_t>(config.rateCount, 1);
    std::uint64_t largestEnd = 0;
    for (std::uint32_t i = 0; i < rateLines; ++i) {
        if (!cursor.Next(line)) return false;
        CommaFields f(line);
        double rate = 0.0, end = 0.0;
        f.NextReal(rate);
        f.NextReal(end);
        ComtradeRate r;
        // A rate that is not a positive finite number means: use timestamps.
        r.rate = (config.rateCount > 0 && std::isfinite(rate) && rate > 0.0) ? rate : 0.0;
        r.endSample = ClampCount(end);
        largestEnd = std::max(largestEnd, r.endSample);
        config.rates.push_back(r);
    }
    config.totalSamples = largestEnd;

    // Start and trigger stamps.
    for (int i = 0; i < 2; ++i) {
        std::string& date = i == 0 ? config.startDate : config.triggerDate;
        std::string& time = i == 0 ? config.startTime : config.triggerTime;
        date = str::kInvalidDate;
        time = str::kInvalidTime;
        if (!cursor.Next(line)) return false;
        CommaFields f(line);
        std::string_view v;
        if (f.Next(v)) date = StampText(v, 11);
        if (f.Next(v)) time = StampText(v, 31);
    }
    config.nanosecondStamps = HasNanosecondFraction(config.startTime);

    // File type: ASCII when missing or unknown.
    if (cursor.Next(line)) {
        CommaFields f(line);
        std::string_view v;
        if (f.Next(v)) config.format = ParseComtradeFormat(v).value_or(ComtradeFormat::Ascii);
        // Time multiplier: absent, zero, negative or not finite gives 1.0.
        if (cursor.Next(line)) {
            CommaFields m(line);
            double mult = 0.0;
            if (m.NextReal(mult) && std::isfinite(mult) && mult > 0.0) config.timeMultiplier = mult;
        }
    }
    // The 2013 lines that may follow (time code, local code, time quality,
    // leap second) carry nothing the reader uses.
    return true;
}

std::vector<std::string> SplitComtradeLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t e = i;
        while (e < text.size() && text[e] != '\r' && text[e] != '\n') ++e;
        std::string line(text.substr(i, std::min(e - i, kComtradeMaxLine)));
        DropPadding(line);
        lines.push_back(std::move(line));
        if (e < text.size() && text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ++e;
        i = e + 1;
    }
    return lines;
}

bool ParseComtradeConfigText(std::string_view text, ComtradeConfig& config) {
    return ParseComtradeConfig(SplitComtradeLines(text), config);
}

std::optional<ComtradeSectionMarker> ParseComtradeSectionMarker(std::string_view line) {
    std::string_view s = TrimField(line);
    if (s.size() < 2 || s[0] != '-' || s[1] != '-') return std::nullopt;
    const std::string lower = ToLower(s);
    const std::size_t at = lower.find("file type");
    if (at == std::string::npos) return std::nullopt;
    std::string_view rest = s.substr(at + 9);
    // Drop the closing dashes.
    while (!rest.empty() && (rest.back() == '-' || rest.back() == ' ' || rest.back() == '\t'))
        rest.remove_suffix(1);
    auto skip = [&rest] {
        while (!rest.empty() && (rest[0] == ' ' || rest[0] == '\t' || rest[0] == ':'))
            rest.remove_prefix(1);
    };
    auto word = [&rest] {
        std::size_t n = 0;
        while (n < rest.size() && rest[n] != ' ' && rest[n] != '\t' && rest[n] != ':') ++n;
        std::string w(rest.substr(0, n));
        rest.remove_prefix(n);
        return w;
    };
    ComtradeSectionMarker marker;
    skip();
    marker.section = word();
    for (char& c : marker.section) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    skip();
    marker.format = word();
    skip();
    if (FieldIsNumber(rest)) {
        const double bytes = FieldToReal(rest);
        if (bytes >= 0.0) marker.bytes = ClampCount(bytes);
    }
    if (marker.section.empty()) return std::nullopt;
    return marker;
}

namespace {

// Reads one line from the stream; false at the end. `consumed` grows by the
// bytes taken, line end included.
bool ReadStreamLine(std::FILE* file, std::string& line, std::uint64_t& consumed) {
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = std::getc(file)) != EOF) {
        any = true;
        ++consumed;
        if (c == '\n') break;
        if (c == '\r') {
            const int next = std::getc(file);
            if (next == '\n')
                ++consumed;
            else if (next != EOF)
                std::ungetc(next, file);
            break;
        }
        if (line.size() < kComtradeMaxLine) line += static_cast<char>(c);
    }
    DropPadding(line);
    return any;
}

}  // namespace

ComtradeSource ReadComtradeSource(std::FILE* file) {
    ComtradeSource source;
    if (!file) {
        source.readError = true;
        return source;
    }
    const long start = std::ftell(file);
    std::uint64_t consumed = start > 0 ? static_cast<std::uint64_t>(start) : 0;
    std::uint64_t total = 0;  // memory of the lines kept, against the size limit
    std::string line;
    std::string section = "CFG";
    bool first = true;
    while (ReadStreamLine(file, line, consumed)) {
        if (first) {
            first = false;
            if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // UTF-8 byte order mark
            if (const auto marker = ParseComtradeSectionMarker(line)) {
                source.singleFile = true;
                section = marker->section;
                continue;
            }
        }
        if (source.singleFile) {
            if (const auto marker = ParseComtradeSectionMarker(line)) {
                section = marker->section;
                if (section == "DAT") {
                    source.hasData = true;
                    source.dataOffset = consumed;
                    source.dataBytes = marker->bytes;
                    source.dataFormat = ParseComtradeFormat(marker->format);
                    break;  // the data is read by the data run
                }
                continue;
            }
            if (section == "HDR" && source.headerText.size() < kComtradeHeaderTextBytes) {
                source.headerText += line;
                source.headerText += '\n';
                if (source.headerText.size() > kComtradeHeaderTextBytes)
                    source.headerText.resize(kComtradeHeaderTextBytes);
            }
            if (section != "CFG") continue;
        }
        // Count what a line costs in memory, so that millions of empty lines
        // stop the read as surely as one huge text does.
        total += line.size() + sizeof(std::string);
        if (total > kComtradeMaxConfigBytes) break;
        source.cfgLines.push_back(line);
    }
    if (std::ferror(file)) source.readError = true;
    return source;
}

}  // namespace kov
