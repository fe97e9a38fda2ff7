#include "readers/comtrade/ComtradeData.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "readers/CommaFields.h"

namespace kov {

namespace {

constexpr std::uint64_t kReportEvery = 32u << 20;  // bytes between progress reports

// A double as float; values beyond the float range become the largest
// float of their sign (converting them directly is undefined behaviour).
inline float ToFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(v > kMax ? kMax : (v < -kMax ? -kMax : v));
}

// The time of each sample, in microseconds, from the rate segments or the
// data file's timestamps.
class Clock {
public:
    explicit Clock(const ComtradeConfig& config)
        : rates_(config.rates),
          stampScale_(config.timeMultiplier * (config.nanosecondStamps ? 1e-3 : 1.0)) {}

    double Time(std::uint64_t k, double stamp) {
        if (k >= boundary_) Enter(k);
        last_ = period_ > 0.0 ? base_ + static_cast<double>(k - segmentStart_ + 1) * period_
                              : stamp * stampScale_;
        return last_;
    }

private:
    // Sample k starts a segment: the first one, from the current on, that
    // ends after k. Segments whose end sample is not beyond the samples
    // already read (zero-length, or end samples going backwards) are passed.
    void Enter(std::uint64_t k) {
        while (next_ < rates_.size() && k >= rates_[next_].endSample) ++next_;
        if (next_ >= rates_.size()) {
            boundary_ = std::numeric_limits<std::uint64_t>::max();
            return;
        }
        const ComtradeRate& r = rates_[next_];
        boundary_ = r.endSample;
        ++next_;
        if (r.rate > 0.0) {
            period_ = 1e6 / r.rate;
            base_ = k == 0 ? -period_ : last_;
            segmentStart_ = k;
        }
    }

    const std::vector<ComtradeRate>& rates_;
    double stampScale_;
    std::size_t next_ = 0;
    std::uint64_t boundary_ = 0;
    double period_ = 0.0;  // 0: no rate in force, timestamps give the times
    double base_ = 0.0;
    std::uint64_t segmentStart_ = 0;
    double last_ = 0.0;
};

template <class T>
T LoadLittle(const char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    if constexpr (std::endian::native == std::endian::big && sizeof(T) > 1) {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof value);
        std::reverse(bytes, bytes + sizeof(T));
        std::memcpy(&value, bytes, sizeof value);
    }
    return value;
}

// Growable output of the run: one value array per chosen channel, one time
// array per distinct skew.
class Output {
public:
    Output(const ComtradeConfig& config, std::span<const std::size_t> channels, bool exact)
        : exact_(exact) {
        for (std::size_t c : channels) {
            const double skew = config.channels[c].skew;
            std::size_t g = 0;
            while (g < skews_.size() && skews_[g] != skew) ++g;
            if (g == skews_.size()) skews_.push_back(skew);
            timeOf_.push_back(g);
        }
        values_.resize(channels.size());
        times_.resize(exact ? 0 : skews_.size());
        exactTimes_.resize(exact ? skews_.size() : 0);
        valuePtr_.resize(values_.size());
        timePtr_.resize(times_.size());
        exactPtr_.resize(exactTimes_.size());
    }

    std::size_t groups() const { return skews_.size(); }
    std::uint64_t capacity() const { return capacity_; }
    float* values(std::size_t i) { return valuePtr_[i]; }

    // Makes room for `count` samples, keeping the first `kept`.
    void Reserve(std::uint64_t count, std::uint64_t kept) {
        auto grow = [&](auto& array, auto*& ptr) {
            using Array = std::decay_t<decltype(array)>;
            Array bigger(static_cast<std::size_t>(count));
            auto* out = bigger.MutableData();
            if (kept > 0) std::memcpy(out, ptr, static_cast<std::size_t>(kept) * sizeof *out);
            array = std::move(bigger);
            ptr = out;
        };
        for (std::size_t i = 0; i < values_.size(); ++i) grow(values_[i], valuePtr_[i]);
        for (std::size_t g = 0; g < times_.size(); ++g) grow(times_[g], timePtr_[g]);
        for (std::size_t g = 0; g < exactTimes_.size(); ++g) grow(exactTimes_[g], exactPtr_[g]);
        capacity_ = count;
    }

    void StoreTime(std::uint64_t k, double microseconds) {
        if (exact_) {
            for (std::size_t g = 0; g < exactPtr_.size(); ++g)
                exactPtr_[g][k] = (microseconds + skews_[g]) * 1e-6;
        } else {
            for (std::size_t g = 0; g < timePtr_.size(); ++g)
                timePtr_[g][k] = ToFloat((microseconds + skews_[g]) * 1e-6);
        }
    }

    ComtradeRunResult Finish(std::uint64_t samples) {
        if (samples != capacity_) Reserve(samples, samples);
        ComtradeRunResult result;
        result.samples = samples;
        result.values = std::move(values_);
        result.timeOf = std::move(timeOf_);
        if (exact_) {
            FloatArray indexes(static_cast<std::size_t>(samples));
            float* x = indexes.MutableData();
            for (std::uint64_t k = 0; k < samples; ++k) x[k] = static_cast<float>(k);
            result.times.assign(exactTimes_.size(), indexes);
            result.exactTimes = std::move(exactTimes_);
        } else {
            result.times = std::move(times_);
        }
        return result;
    }

private:
    bool exact_;
    std::vector<double> skews_;
    std::vector<std::size_t> timeOf_;
    std::vector<FloatArray> values_;
    std::vector<FloatArray> times_;
    std::vector<DoubleArray> exactTimes_;
    std::vector<float*> valuePtr_;
    std::vector<float*> timePtr_;
    std::vector<double*> exactPtr_;
    std::uint64_t capacity_ = 0;
};

struct AnalogPick {
    std::size_t out;     // index of the output array
    std::size_t offset;  // byte offset in a binary record / field index in a line
    double a, b;
};

struct DigitalPick {
    std::size_t out;
    std::size_t word;  // byte offset of the status word in a binary record
    unsigned bit;
};

template <class Raw>
std::uint64_t ReadBinary(const ComtradeConfig& config, std::span<const std::size_t> channels,
                         std::string_view data, std::uint64_t count, Output& out,
                         const ComtradeRunOptions& options) {
    const std::uint64_t recordSize = config.BinaryRecordSize();
    const std::size_t digitalBase = 8 + sizeof(Raw) * config.analogCount;
    std::vector<AnalogPick> analog;
    std::vector<DigitalPick> digital;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const std::size_t c = channels[i];
        const ComtradeChannel& ch = config.channels[c];
        if (c < config.analogCount) {
            analog.push_back({i, 8 + sizeof(Raw) * c, ch.a, ch.b});
        } else {
            const std::size_t j = c - config.analogCount;
            digital.push_back({i, digitalBase + 2 * (j / 16), static_cast<unsigned>(j % 16)});
        }
    }
    Clock clock(config);
    out.Reserve(count, 0);
    std::vector<float*> analogOut, digitalOut;
    for (const auto& p : analog) analogOut.push_back(out.values(p.out));
    for (const auto& p : digital) digitalOut.push_back(out.values(p.out));

    // Records are taken in blocks that stay in the cache; each channel is
    // then written as one sequential run, rather than 16 or more output
    // streams advancing together one value at a time.
    constexpr std::uint64_t kBlock = 2048;
    std::uint64_t reported = 0;
    for (std::uint64_t first = 0; first < count; first += kBlock) {
        const std::uint64_t n = std::min(kBlock, count - first);
        const char* block = data.data() + first * recordSize;
        const char* record = block;
        for (std::uint64_t k = first; k < first + n; ++k, record += recordSize) {
            const auto stamp = LoadLittle<std::uint32_t>(record + 4);
            out.StoreTime(k, clock.Time(k, static_cast<double>(stamp)));
        }
        for (std::size_t i = 0; i < analog.size(); ++i) {
            const char* p = block + analog[i].offset;
            float* y = analogOut[i] + first;
            const double a = analog[i].a, b = analog[i].b;
            for (std::uint64_t j = 0; j < n; ++j, p += recordSize)
                y[j] = ToFloat(static_cast<double>(LoadLittle<Raw>(p)) * a + b);
        }
        for (std::size_t i = 0; i < digital.size(); ++i) {
            const char* p = block + digital[i].word;
            float* y = digitalOut[i] + first;
            const unsigned bit = digital[i].bit;
            for (std::uint64_t j = 0; j < n; ++j, p += recordSize)
                y[j] = static_cast<float>((LoadLittle<std::uint16_t>(p) >> bit) & 1u);
        }
        const std::uint64_t done = (first + n) * recordSize;
        if (options.consumed && done - reported >= kReportEvery) {
            reported = done;
            options.consumed(options.context, reported);
        }
    }
    return count;
}

bool IsDelimiter(char c) {
    return c == ',' || c == '\r' || c == '\n';
}

// One value field of an ASCII line, starting at p (inside [p, end)); p ends
// on the delimiter after it. Integers take a fast path; anything else goes
// through the lenient real conversion.
double ParseValue(const char*& p, const char* end) {
    const char* s = p;
    while (s < end && (*s == ' ' || *s == '\t')) ++s;
    bool negative = false;
    if (s < end && (*s == '-' || *s == '+')) negative = *s++ == '-';
    const char* digits = s;
    std::int64_t v = 0;
    while (s < end && static_cast<unsigned char>(*s - '0') < 10 && s - digits < 18)
        v = v * 10 + (*s++ - '0');
    if (s < end && !IsDelimiter(*s) && *s != ' ' && *s != '\t') {
        // A fraction, an exponent, a long number or text: the general path.
        const char* e = s;
        while (e < end && !IsDelimiter(*e)) ++e;
        const double r = FieldToReal(std::string_view(p, static_cast<std::size_t>(e - p)));
        p = e;
        return r;
    }
    while (s < end && !IsDelimiter(*s)) ++s;  // trailing blanks
    p = s;
    return negative ? -static_cast<double>(v) : static_cast<double>(v);
}

void SkipField(const char*& p, const char* end) {
    while (p < end && *p != ',') ++p;
}

bool IsBlankLine(const char* p, const char* end) {
    for (; p < end; ++p)
        if (*p != ' ' && *p != '\t' && *p != '\0' && *p != '\x1A') return false;
    return true;
}

std::uint64_t ReadAscii(const ComtradeConfig& config, std::span<const std::size_t> channels,
                        std::string_view data, std::uint64_t announced, std::uint64_t possible,
                        Output& out, const ComtradeRunOptions& options) {
    const std::size_t channelCount = config.channels.size();
    // For each channel field of a line: the output it goes to, or none.
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> outOf(channelCount, kNone);
    std::size_t lastField = 0;  // fields after the last chosen one are not parsed
    for (std::size_t i = 0; i < channels.size(); ++i) {
        outOf[channels[i]] = i;
        lastField = std::max(lastField, channels[i] + 1);
    }
    std::vector<double> a(channels.size()), b(channels.size());
    for (std::size_t i = 0; i < channels.size(); ++i) {
        a[i] = config.channels[channels[i]].a;
        b[i] = config.channels[channels[i]].b;
    }
    std::vector<float*> dest(channels.size());

    // Lines hold at least one byte per field and a separator each.
    const std::uint64_t estimate = data.size() / (2 * (channelCount + 2)) + 1;
    out.Reserve(std::min(possible, estimate), 0);
    for (std::size_t i = 0; i < dest.size(); ++i) dest[i] = out.values(i);

    Clock clock(config);
    const char* p = data.data();
    const char* const end = p + data.size();
    const char* nextLf = nullptr;  // the next LF at or after p (cached: CR-only files)
    std::uint64_t k = 0;
    std::uint64_t reported = 0;
    while (k < announced && p < end) {
        if (nextLf < p) {
            nextLf =
                static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!nextLf) nextLf = end;
        }
        const char* lineEnd = nextLf;
        if (const void* cr = std::memchr(p, '\r', static_cast<std::size_t>(lineEnd - p)))
            lineEnd = static_cast<const char*>(cr);
        const char* next = lineEnd;
        if (next < end) {
            if (*next == '\r' && next + 1 < end && next[1] == '\n') ++next;
            ++next;
        }
        const char* line = p;
        p = next;

        if (line < lineEnd && *line == '\x1A') break;  // Ctrl-Z: end of the data
        if (options.stopAtSectionMarker && lineEnd - line >= 2 && line[0] == '-' && line[1] == '-')
            break;
        if (IsBlankLine(line, lineEnd)) continue;
        if (lineEnd == end) {
            // The last line without a line end may have been cut: it is a
            // sample only when it holds every field.
            const auto commas = static_cast<std::size_t>(std::count(line, lineEnd, ','));
            if (commas < channelCount + 1) break;
        }

        if (k == out.capacity()) {
            const std::uint64_t bigger = std::min(possible, std::max<std::uint64_t>(k * 2, 1024));
            if (bigger <= k) break;
            out.Reserve(bigger, k);
            for (std::size_t i = 0; i < dest.size(); ++i) dest[i] = out.values(i);
        }

        // Sample number (ignored), timestamp, then one field per channel.
        const char* f = line;
        SkipField(f, lineEnd);
        double stamp = 0.0;
        if (f < lineEnd) {
            ++f;
            stamp = ParseValue(f, lineEnd);
        }
        out.StoreTime(k, clock.Time(k, stamp));
        std::size_t field = 0;
        for (; field < lastField && f < lineEnd && *f == ','; ++field) {
            ++f;
            const std::size_t o = outOf[field];
            if (o == kNone) {
                SkipField(f, lineEnd);
                continue;
            }
            const double raw = ParseValue(f, lineEnd);
            dest[o][k] = ToFloat(raw * a[o] + b[o]);
        }
        // Values missing from the line count as 0 (raw), like empty fields.
        for (; field < lastField; ++field)
            if (outOf[field] != kNone) dest[outOf[field]][k] = ToFloat(b[outOf[field]]);
        ++k;
        const auto done = static_cast<std::uint64_t>(p - data.data());
        if (options.consumed && done - reported >= kReportEvery) {
            reported = done;
            options.consumed(options.context, reported);
        }
    }
    return k;
}

}  // namespace

ComtradeRunResult RunComtradeData(const ComtradeConfig& config,
                                  std::span<const std::size_t> channels, std::string_view data,
                                  const ComtradeRunOptions& options) {
    const std::uint64_t announced = config.totalSamples;
    std::uint64_t possible = 0;
    const std::uint64_t recordSize = config.BinaryRecordSize();
    if (config.format == ComtradeFormat::Ascii)
        possible = std::min<std::uint64_t>(announced, data.size() / 2 + 1);
    else
        possible = std::min<std::uint64_t>(announced, data.size() / recordSize);
    Output out(config, channels, possible > options.exactTimeAbove);

    std::uint64_t samples = 0;
    switch (config.format) {
        case ComtradeFormat::Ascii:
            samples = ReadAscii(config, channels, data, announced, possible, out, options);
            break;
        case ComtradeFormat::Binary:
            samples = ReadBinary<std::int16_t>(config, channels, data, possible, out, options);
            break;
        case ComtradeFormat::Binary32:
            samples = ReadBinary<std::int32_t>(config, channels, data, possible, out, options);
            break;
        case ComtradeFormat::Float32:
            samples = ReadBinary<float>(config, channels, data, possible, out, options);
            break;
    }
    return out.Finish(samples);
}

}  // namespace kov
