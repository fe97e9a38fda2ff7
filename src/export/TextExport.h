#pragma once
// Tab-separated text and comma-separated values of the items of a graph
// window.
//
// Layout (every line ends with CR LF):
//   X<S>title 1<S>title 2 ...            titles quoted in comma-separated files
//   x<S>y1<S>y2 ...                      one row per sample of the first item
// Every item shares the first item's time column; an item shorter than the
// first leaves its column empty in the remaining rows, samples of an item
// longer than the first are not written. Values are the stored values (base
// units) with "%.9g".
//
// The time column holds the first item's true X values: "%.9g" of X, or,
// when X is kept in double precision (xExact), the shortest text that reads
// back as the same double. With dateExport on and a first item whose exact
// X values are date stamps (seconds since 1970; any X unit but "Time,Seconds,s",
// which marks times relative to the start of a recording), the column holds
// the date and time rounded to whole seconds, as UTC, in the C locale's
// strftime "%x %X" form (mm/dd/yy hh:mm:ss), quoted in comma-separated files.

#include <span>
#include <string>

namespace kov {

class PlotableStackObject;

struct TextExportOptions {
    char separator = '\t';   // '\t' tab text, ',' comma-separated values
    bool dateExport = true;  // the "DateExport" preference
};

// Writes the items (at least one) to path. False when there is no item or
// the file cannot be created or written; a file that could not be written
// completely is removed.
bool WriteTextExport(const std::string& path, std::span<const PlotableStackObject* const> items,
                     const TextExportOptions& options = {});

// True when the item's exact X values are date stamps (see above).
bool HasDateStamps(const PlotableStackObject& item);

}  // namespace kov
