#include "export/TextExport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "export/ExportFile.h"
#include "platform/Files.h"
#include "stack/PlotableStackObject.h"

namespace kov {

namespace {

// Samples of an item that can be read: pointCount, but never past the end of
// an array.
std::size_t ValueCount(const PlotableStackObject& item) {
    return std::min<std::size_t>(item.pointCount(), item.yValues.size());
}

std::size_t TimeCount(const PlotableStackObject& item) {
    const std::size_t x = item.xExact ? item.xExact.size() : item.xValues.size();
    return std::min<std::size_t>(item.pointCount(), x);
}

// A title as one field: line breaks (and tabs in tab text) would split the
// row, and a quote inside a quoted field is doubled.
std::string TitleField(const PlotableStackObject& item, char separator) {
    const std::string title = item.GetTitle(256);
    std::string field;
    if (separator == ',') field += '"';
    for (char c : title) {
        if (c == '\r' || c == '\n' || (c == '\t' && separator == '\t'))
            field += ' ';
        else if (c == '"' && separator == ',')
            field += "\"\"";
        else
            field += c;
    }
    if (separator == ',') field += '"';
    return field;
}

// "%x %X" in the C locale, as UTC: mm/dd/yy hh:mm:ss. False when the time is
// no calendar date.
bool FormatDate(double seconds, char (&text)[32]) {
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e14) return false;
    const auto whole = static_cast<std::time_t>(std::floor(seconds + 0.5));
    std::tm utc{};
    if (!gmtime_r(&whole, &utc)) return false;
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", utc.tm_mon + 1, utc.tm_mday,
                  ((utc.tm_year % 100) + 100) % 100, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return true;
}

}  // namespace

bool HasDateStamps(const PlotableStackObject& item) {
    return item.xExact && item.axisUnits[kAxisX].unitId != kUnitSeconds;
}

bool WriteTextExport(const std::string& path, std::span<const PlotableStackObject* const> items,
                     const TextExportOptions& options) {
    if (items.empty() || std::find(items.begin(), items.end(), nullptr) != items.end())
        return false;
    const char s = options.separator;
    ExportFile file;
    if (!file.Create(path)) return false;

    file.Put('X');
    for (const PlotableStackObject* item : items) {
        file.Put(s);
        file.Put(TitleField(*item, s));
    }
    file.Put("\r\n");

    const PlotableStackObject& first = *items.front();
    const std::size_t rows = first.pointCount();
    const std::size_t times = TimeCount(first);
    const bool dates = options.dateExport && HasDateStamps(first);
    std::vector<std::size_t> counts;
    std::vector<const float*> values;
    for (const PlotableStackObject* item : items) {
        counts.push_back(ValueCount(*item));
        values.push_back(item->yValues.data());
    }
    for (std::size_t row = 0; row < rows; ++row) {
        if (row < times) {
            char date[32];
            if (dates && FormatDate(first.xExact[row], date)) {
                if (s == ',') file.Put('"');
                file.Put(date);
                if (s == ',') file.Put('"');
            } else if (first.xExact) {
                file.PutExactReal(first.xExact[row]);
            } else {
                file.PutReal(first.xValues[row]);
            }
        }
        for (std::size_t k = 0; k < counts.size(); ++k) {
            file.Put(s);
            if (row < counts[k]) file.PutReal(values[k][row]);
        }
        file.Put("\r\n");
    }
    if (!file.Close()) {
        RemovePartialFile(path);
        return false;
    }
    return true;
}

}  // namespace kov
