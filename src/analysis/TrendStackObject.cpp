#include "analysis/TrendStackObject.h"

#include <cmath>
#include <ctime>
#include <vector>

#include "platform/Text.h"

namespace kov {

TrendStackObject::TrendStackObject() : PlotableStackObject(kKindTrend, 2) {
    axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, kUnitNone};
    axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitNone};
    perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
}

TrendStackObject::TrendStackObject(std::uint32_t count, std::uint16_t xUnitId,
                                   std::uint16_t yUnitId)
    : TrendStackObject() {
    axisUnits[kAxisX].unitId = xUnitId;
    axisUnits[kAxisY].unitId = yUnitId;
    Allocate(count, false);
}

TrendStackObject::TrendStackObject(std::uint32_t count, std::uint16_t xUnitId,
                                   std::uint16_t yUnitId, FloatArray x, FloatArray y,
                                   DoubleArray exactTimes)
    : TrendStackObject() {
    axisUnits[kAxisX].unitId = xUnitId;
    axisUnits[kAxisY].unitId = yUnitId;
    SetPointCount(count);
    if (!x && exactTimes) {
        x = FloatArray(count);
        auto indexes = x.MutableValues();
        for (std::size_t i = 0; i < indexes.size(); ++i) indexes[i] = static_cast<float>(i);
    }
    xValues = std::move(x);
    yValues = std::move(y);
    xExact = std::move(exactTimes);
}

std::string FormatLocalTime(double seconds, const char* format) {
    // Beyond a few million years a time is no date, and no time_t holds it.
    if (!(std::fabs(seconds) < 1e14)) return {};
    const std::time_t whole = static_cast<std::time_t>(std::floor(seconds));
    std::tm local{};
    if (localtime_r(&whole, &local) == nullptr) return {};
    char text[64];
    const std::size_t size = std::strftime(text, sizeof text, format, &local);
    return std::string(text, size);
}

void TrendStackObject::ComputeSummary() {
    auto summary = std::make_unique<TrendSummaryData>();
    const std::size_t n = std::min<std::size_t>(pointCount(), yValues.size());
    const double s = scale(kAxisY);
    std::vector<double> shown(n);
    for (std::size_t i = 0; i < n; ++i) shown[i] = static_cast<double>(yValues[i]) * s;
    summary->stats = ColumnStatistics(shown);
    const ColumnStats& st = summary->stats;
    const std::string samples = Format(" %u", static_cast<unsigned>(n));
    TextTable& table = summary->table;

    const bool exact = xExact && n > 0 && xExact.size() >= n;
    if (!exact) {
        const std::pair<const char*, double> rows[] = {{"Min    :", st.min},
                                                       {"Max    :", st.max},
                                                       {"Avg    :", st.mean},
                                                       {"Range  :", st.range}};
        table = TextTable(1 + std::size(rows), 2);
        table.SetCell(0, 0, "Samples:");
        table.SetCell(0, 1, samples);
        for (std::size_t r = 0; r < std::size(rows); ++r) {
            table.SetCell(r + 1, 0, rows[r].first);
            table.SetCell(r + 1, 1, Format(" %lg", rows[r].second));
        }
    } else {
        const std::pair<const char*, double> rows[] = {
            {"Min    :", st.min},    {"Max    :", st.max},    {"Range  :", st.range},
            {"Mean   :", st.mean},   {"Std Dev:", st.stdDev}, {"Var    :", st.variance},
            {"Std Err:", st.stdErr}, {"Mode   :", st.median}};
        table = TextTable(5 + std::size(rows), 2);
        const double first = xExact[0], last = xExact[n - 1];
        table.SetCell(0, 0, "   From:");
        table.SetCell(0, 1, FormatLocalTime(first, "%m/%d/%y"));
        table.SetCell(1, 1, FormatLocalTime(first, "%H:%M:%S"));
        table.SetCell(2, 0, "     To:");
        table.SetCell(2, 1, FormatLocalTime(last, "%m/%d/%y"));
        table.SetCell(3, 1, FormatLocalTime(last, "%H:%M:%S"));
        table.SetCell(4, 0, "Samples:");
        table.SetCell(4, 1, samples);
        for (std::size_t r = 0; r < std::size(rows); ++r) {
            table.SetCell(r + 5, 0, rows[r].first);
            table.SetCell(r + 5, 1, Format(" %lg", rows[r].second));
        }
    }
    SetSummary(std::move(summary));
}

}  // namespace kov
