#include "export/ComtradeExport.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/UnitEditing.h"
#include "export/ExportFile.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "stack/WaveStackObject.h"

namespace kov {

namespace {

constexpr double kSteps = 65535.0;

std::size_t ValueCount(const PlotableStackObject& item) {
    return std::min<std::size_t>(item.pointCount(), item.yValues.size());
}

std::size_t TimeCount(const PlotableStackObject& item) {
    const std::size_t x = item.xExact ? item.xExact.size() : item.xValues.size();
    return std::min<std::size_t>(item.pointCount(), x);
}

// The scaling of one channel, with a and b as written to the configuration
// (read back from their text, so the raw values are computed with exactly
// the numbers a reader gets).
struct Scaling {
    std::string aText, bText;
    double a = 0.0, b = 0.0;
};

Scaling ChannelScaling(const PlotableStackObject& item) {
    double lo = 0.0, hi = 0.0;
    bool any = false;
    const std::size_t n = ValueCount(item);
    const float* y = item.yValues.data();
    for (std::size_t i = 0; i < n; ++i) {
        const double v = y[i];
        if (!std::isfinite(v)) continue;
        if (!any) {
            lo = hi = v;
            any = true;
        } else {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    }
    Scaling s;
    s.aText = FormatReal((hi - lo) / kSteps);
    s.bText = FormatReal(lo);
    s.a = std::strtod(s.aText.c_str(), nullptr);
    s.b = std::strtod(s.bText.c_str(), nullptr);
    return s;
}

std::string ChannelId(const PlotableStackObject& item) {
    std::string id = item.stackKey();
    for (char& c : id)
        if (c == ',' || c == '\r' || c == '\n') c = '_';
    return Cut(id, 64);
}

// 1 / step when the first n samples are evenly spaced, else 0.
double SampleRate(const PlotableStackObject& item, std::size_t n) {
    if (n < 2) return 0.0;
    const double t0 = item.XAt(0);
    const double span = item.XAt(n - 1) - t0;
    if (!std::isfinite(span) || span <= 0.0) return 0.0;
    const double step = span / static_cast<double>(n - 1);
    const bool single = !item.xExact;
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double x = item.XAt(i);
        const double expected = t0 + static_cast<double>(i) * step;
        double tolerance = 0.01 * step;
        if (single) tolerance += 2.0 * FLT_EPSILON * std::max(std::fabs(x), std::fabs(expected));
        if (!(std::fabs(x - expected) <= tolerance)) return 0.0;
    }
    return 1.0 / step;
}

// Microseconds from the first sample, rounded; 0 for a time that is no number.
long long Microseconds(double seconds) {
    const double us = std::floor(seconds * 1e6 + 0.5);
    if (!std::isfinite(us)) return 0;
    return static_cast<long long>(std::clamp(us, -9.0e18, 9.0e18));
}

// The data file's time stamps have at most 10 digits. Records longer than
// 9,999,999,999 us (about 2.8 hours: trends over days) write their stamps in
// units of a power of ten that fits, and that power as the time multiplier,
// which readers apply to the stamps.
constexpr double kLargestStamp = 9999999999.0;

double TimeMultiplier(const PlotableStackObject& first) {
    const std::size_t n = TimeCount(first);
    if (n == 0) return 1.0;
    const double t0 = first.XAt(0);
    double largest = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double us = std::fabs(first.XAt(i) - t0) * 1e6;
        if (std::isfinite(us)) largest = std::max(largest, us);
    }
    double multiplier = 1.0;
    while (largest / multiplier > kLargestStamp && multiplier < 1e300) multiplier *= 10.0;
    return multiplier;
}

// dd/mm/yyyy,hh:mm:ss.ffffff
std::string StampLine(const std::tm& t, long microseconds) {
    return Format("%02d/%02d/%04d,%02d:%02d:%02d.%06ld\r\n", t.tm_mday, t.tm_mon + 1,
                  t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec, microseconds);
}

// A recorded stamp (days since 1899-12-30, seconds in the day) plus an
// offset in seconds, as written, without any time-zone conversion.
std::string RecordedStampLine(const PqdifTimestamp& stamp, double offset) {
    const double seconds = stamp.seconds + (std::isfinite(offset) ? offset : 0.0);
    double whole = std::floor(seconds);
    long micro = std::isfinite(whole) ? std::lround((seconds - whole) * 1e6) : 0;
    if (micro >= 1000000) {
        micro -= 1000000;
        whole += 1.0;
    }
    if (!std::isfinite(whole) || std::fabs(whole) > 1e12) whole = 0.0, micro = 0;
    const auto t =
        (static_cast<std::time_t>(stamp.days) - 25569) * 86400 + static_cast<std::time_t>(whole);
    std::tm calendar{};
    gmtime_r(&t, &calendar);
    return StampLine(calendar, micro);
}

std::string NowLine(const ComtradeExportOptions& options) {
    const std::time_t now = options.clock ? options.clock() : std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return StampLine(local, 0);
}

bool WriteHeader(const std::string& path, std::span<const PlotableStackObject* const> items,
                 bool& created) {
    ExportFile file;
    if (!(created = file.Create(path))) return false;
    file.Put(
        "This file was created by KOV, Kovatrix,\n"
        "a program for the visualization of time and frequency\n"
        "domain data from measurement and simulation tools.\n"
        "KOV is made by Marvane Applications.\n"
        "\n");
    for (const PlotableStackObject* item : items) {
        if (item->notes.empty()) continue;
        file.Put("Comments for Stack Item: ");
        file.Put(item->GetListLine(false));
        file.Put('\n');
        for (const std::string& note : item->notes) {
            file.Put("    ");
            file.Put(Cut(note, 127));
            file.Put('\n');
        }
        file.Put('\n');
    }
    return file.Close();
}

bool WriteConfig(const std::string& path, std::span<const PlotableStackObject* const> items,
                 const std::vector<Scaling>& scaling, const ComtradeExportOptions& options,
                 double multiplier, bool& created) {
    ExportFile file;
    if (!(created = file.Create(path))) return false;
    const std::size_t n = items.size();
    file.Put("KOV,0,1999\r\n");
    file.Put(Format("%zu,%zuA,0D\r\n", n, n));
    for (std::size_t k = 0; k < n; ++k) {
        const PlotableStackObject& item = *items[k];
        const auto* wave = dynamic_cast<const WaveStackObject*>(&item);
        file.Put(Format("%zu,", k + 1));
        file.Put(ChannelId(item));
        file.Put(",,KOV OUTPUT,");
        file.Put(Cut(UnitAbbreviation(item.axisUnits[kAxisY].unitId), 32));
        file.Put(',');
        file.Put(scaling[k].aText);
        file.Put(',');
        file.Put(scaling[k].bText);
        file.Put(",0,0,65535,");
        file.Put(Format("%lg,%lg,%c\r\n", wave ? wave->primaryRatio : 1.0,
                        wave ? wave->secondaryRatio : 1.0, wave ? wave->valueSide : 'P'));
    }
    const PlotableStackObject& first = *items.front();
    const std::size_t rows = first.pointCount();
    file.Put(FormatReal(options.lineFrequency));
    file.Put("\r\n");
    // Uneven sampling (or a single sample) has no rate: no rate lines, and
    // "0,last sample" tells readers to take the times from the data file.
    const double rate = SampleRate(first, TimeCount(first));
    if (rate > 0.0) {
        file.Put("1\r\n");
        file.Put(FormatReal(rate));
        file.Put(Format(",%zu\r\n", rows));
    } else {
        file.Put(Format("0\r\n0,%zu\r\n", rows));
    }
    const AcquisitionBlock& acq = first.acquisition;
    if (acq.timeStampPresent) {
        // The data times count from the first sample, which need not be at
        // the recording's start (a time-shifted or resampled item).
        const double t0 = TimeCount(first) > 0 ? first.XAt(0) : 0.0;
        file.Put(RecordedStampLine(acq.startTime, t0));
        file.Put(acq.triggerFlag ? RecordedStampLine(acq.triggerTime, 0.0)
                                 : RecordedStampLine(acq.startTime, t0));
    } else {
        const std::string now = NowLine(options);
        file.Put(now);
        file.Put(now);
    }
    file.Put("ASCII\r\n");
    file.Put(multiplier == 1.0 ? std::string("1.0") : FormatReal(multiplier));
    file.Put("\r\n");
    return file.Close();
}

bool WriteData(const std::string& path, std::span<const PlotableStackObject* const> items,
               const std::vector<Scaling>& scaling, double multiplier, bool& created) {
    ExportFile file;
    if (!(created = file.Create(path))) return false;
    const PlotableStackObject& first = *items.front();
    const std::size_t rows = first.pointCount();
    const std::size_t times = TimeCount(first);
    const double t0 = times > 0 ? first.XAt(0) : 0.0;
    std::vector<std::size_t> counts;
    std::vector<const float*> values;
    for (const PlotableStackObject* item : items) {
        counts.push_back(ValueCount(*item));
        values.push_back(item->yValues.data());
    }
    for (std::size_t row = 0; row < rows; ++row) {
        file.PutInteger(static_cast<long long>(row) + 1);
        file.Put(',');
        file.PutInteger(row < times ? Microseconds((first.XAt(row) - t0) / multiplier) : 0);
        for (std::size_t k = 0; k < counts.size(); ++k) {
            file.Put(',');
            if (row >= counts[k]) continue;
            const double v = values[k][row];
            if (std::isnan(v)) continue;  // a missing value stays an empty field
            const Scaling& s = scaling[k];
            double raw = 0.0;
            if (s.a != 0.0) raw = std::clamp(std::floor((v - s.b) / s.a + 0.5), 0.0, kSteps);
            file.PutInteger(static_cast<long long>(raw));
        }
        file.Put("\r\n");
    }
    return file.Close();
}

}  // namespace

ComtradeExportPaths ComtradeExportFiles(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const bool inName = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string base = inName ? path.substr(0, dot) : path;
    return {base + ".hdr", base + ".cfg", base + ".dat"};
}

bool WriteComtradeExport(const std::string& path, std::span<const PlotableStackObject* const> items,
                         const ComtradeExportOptions& options) {
    if (items.empty() || std::find(items.begin(), items.end(), nullptr) != items.end())
        return false;
    items = items.first(std::min(items.size(), options.channelLimit));
    if (items.empty()) return false;
    std::vector<Scaling> scaling;
    scaling.reserve(items.size());
    for (const PlotableStackObject* item : items) scaling.push_back(ChannelScaling(*item));

    const double multiplier = TimeMultiplier(*items.front());
    const ComtradeExportPaths files = ComtradeExportFiles(path);
    bool created[3] = {false, false, false};
    const bool written =
        WriteHeader(files.header, items, created[0]) &&
        WriteConfig(files.config, items, scaling, options, multiplier, created[1]) &&
        WriteData(files.data, items, scaling, multiplier, created[2]);
    if (!written) {
        // Nothing half-written is left behind; files not created are not touched.
        const std::string* names[] = {&files.header, &files.config, &files.data};
        for (std::size_t i = 0; i < 3; ++i)
            if (created[i]) RemovePartialFile(*names[i]);
        return false;
    }
    return true;
}

}  // namespace kov
