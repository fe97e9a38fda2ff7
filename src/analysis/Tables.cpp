#include "analysis/Tables.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "analysis/HarmonicIndices.h"
#include "analysis/SpectrumStackObject.h"
#include "analysis/StatisticItems.h"
#include "analysis/TrendStackObject.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "stack/WaveStackObject.h"

namespace kov {

namespace {

constexpr const char* kSection = "IEEE519Table";

// Value cells of the simple and statistics tables, in the grid and in the text export.
std::string FormatValue(double value) {
    return Format("%G", value);
}
// Values of the IEEE 519 table, in the grid and in the text export.
std::string FormatIeee(double value) {
    return Format("%g", value);
}

// A field of the text export: quoted, with inner quotes doubled, when it holds
// the separator, a quote or a line break, so that a name or a harmonic list
// such as "3,5,7" stays one field of a comma-separated file.
std::string Field(const std::string& text, char separator) {
    if (text.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string ShortestDouble(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The significant digits of a number's text ("0.0001" has 1, "12.000001" 8).
int SignificantDigits(std::string_view text) {
    int digits = 0;
    bool leading = true;
    for (const char c : text) {
        if (c == 'e' || c == 'E') break;
        if (c < '0' || c > '9' || (leading && c == '0')) continue;
        leading = false;
        ++digits;
    }
    return digits;
}

// The text of a data point: the stored sample (single precision, or double
// for exact times) times the axis's display scale, with as many significant
// digits as the shortest text of the stored sample holds, and at least six.
// A time of 12.000001 s stays distinct from the next sample at 1 MHz, while
// 0.0001 s shown in milliseconds reads 0.1 rather than the 0.099999994 that
// the float's binary value times 1000 gives.
std::string PointText(double stored, double scale, bool single) {
    std::string text;
    if (single && std::isfinite(stored) && std::fabs(stored) <= FLT_MAX) {
        char buffer[64];
        const auto result =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(stored));
        text.assign(buffer, result.ptr);
    } else {
        text = ShortestDouble(stored);
    }
    if (scale == 1.0) return text;
    const double shown = stored * scale;
    if (!std::isfinite(shown)) return ShortestDouble(shown);
    const int precision = std::clamp(SignificantDigits(text), 6, single ? 9 : 17);
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, shown, std::chars_format::general, precision);
    return std::string(buffer, result.ptr);
}

double NonZero(double value) {
    return value == 0.0 || !std::isfinite(value) ? 1.0 : value;
}

// ---------------------------------------------------------------------------
// Tables whose Text is what EmitText streams.

class StreamedTable : public Table {
public:
    using Table::Table;
    std::string Text(char separator) const override {
        std::string text;
        EmitText(separator, [&text](std::string_view piece) { text.append(piece); });
        return text;
    }
};

// Tables whose cells are all computed when the table is built.
class StoredTable : public StreamedTable {
public:
    explicit StoredTable(TableType type) : StreamedTable(type) {}

    std::size_t gridCount() const override { return grids_.size(); }
    const TableGridInfo& grid(std::size_t index) const override { return grids_.at(index).info; }
    TableCell Cell(std::size_t grid, std::size_t row, std::size_t column) const override {
        if (grid >= grids_.size()) return {};
        const auto& g = grids_[grid];
        if (row >= g.cells.size() || column >= g.cells[row].size()) return {};
        return g.cells[row][column];
    }

protected:
    struct Grid {
        TableGridInfo info;
        std::vector<std::vector<TableCell>> cells;
    };

    Grid& AddGrid(std::string caption, std::vector<std::vector<std::string>> headers) {
        Grid& g = grids_.emplace_back();
        g.info.caption = std::move(caption);
        g.info.columns = headers.empty() ? 0 : headers.front().size();
        g.info.headers = std::move(headers);
        return g;
    }
    static void AddRow(Grid& g, std::vector<TableCell> cells) {
        cells.resize(g.info.columns);
        g.cells.push_back(std::move(cells));
        g.info.rows = g.cells.size();
    }
    // The cells of a row joined by the separator, ending in "\n".
    static std::string JoinRow(const std::vector<TableCell>& cells, char separator,
                               std::size_t count) {
        std::string line;
        for (std::size_t c = 0; c < count && c < cells.size(); ++c) {
            if (c > 0) line += separator;
            line += Field(cells[c].text, separator);
        }
        line += '\n';
        return line;
    }
    static std::string JoinHeader(const std::vector<std::string>& texts, char separator) {
        std::string line;
        for (std::size_t c = 0; c < texts.size(); ++c) {
            if (c > 0) line += separator;
            line += Field(texts[c], separator);
        }
        line += '\n';
        return line;
    }

    std::vector<Grid> grids_;
};

// Minima and maxima, waveform summaries, harmonic summaries and switching
// statistics: one grid, two row-label columns, then the value columns.
// The text export writes two header lines (the second is all empty texts
// when the grid has one header row) and one line per row.
class ValueTable : public StoredTable {
public:
    ValueTable(TableType type, std::vector<std::vector<std::string>> headers) : StoredTable(type) {
        AddGrid("", std::move(headers));
    }

    // A row: two labels, then each value as "%G" (an absent value as an empty cell).
    void AddValues(std::string label1, std::string label2,
                   const std::vector<std::optional<double>>& values) {
        std::vector<TableCell> cells;
        cells.push_back({std::move(label1)});
        cells.push_back({std::move(label2)});
        for (const auto& v : values) cells.push_back({v ? FormatValue(*v) : std::string{}});
        AddRow(grids_.front(), std::move(cells));
    }

protected:
    void EmitText(char separator, const TextSink& sink) const override {
        const Grid& g = grids_.front();
        for (std::size_t h = 0; h < 2; ++h) {
            sink(JoinHeader(h < g.info.headers.size() ? g.info.headers[h]
                                                      : std::vector<std::string>(g.info.columns),
                            separator));
        }
        for (const auto& row : g.cells) sink(JoinRow(row, separator, row.size()));
    }
};

std::vector<std::string> WithLabels(const char* label1, const char* label2,
                                    std::initializer_list<const char*> values) {
    std::vector<std::string> row{label1, label2};
    for (const char* v : values) row.emplace_back(v);
    return row;
}

// ---------------------------------------------------------------------------
// Curve Minimum and Maximum.

struct MinMaxValues {
    double min = 0, max = 0, avg = 0;
    bool any = false;
};

// Extremes over the finite values, the mean over all of them (a NaN sample
// shows as a NaN mean rather than vanishing).
template <class Values>
MinMaxValues ScanValues(const Values& values, double scale) {
    MinMaxValues r;
    double sum = 0.0;
    std::size_t count = 0;
    for (const auto raw : values) {
        const double v = static_cast<double>(raw) * scale;
        sum += v;
        ++count;
        if (!std::isfinite(v)) continue;
        if (!r.any) {
            r.min = r.max = v;
            r.any = true;
        } else {
            r.min = std::min(r.min, v);
            r.max = std::max(r.max, v);
        }
    }
    if (count > 0) r.avg = sum / static_cast<double>(count);
    if (!r.any && count > 0) r.min = r.max = r.avg;  // every value non-finite
    r.any = count > 0;
    return r;
}

std::unique_ptr<Table> BuildMinMax(std::span<const StackObject* const> items) {
    auto table = std::make_unique<ValueTable>(
        TableType::MinMax, std::vector<std::vector<std::string>>{WithLabels(
                               str::kColCase, str::kColItem,
                               {str::kColMin, str::kColMax, str::kColAbsMax, str::kColAvg})});
    for (const StackObject* item : items) {
        if (item == nullptr) continue;
        MinMaxValues r;
        if (const auto* p = dynamic_cast<const PlotableStackObject*>(item)) {
            r = ScanValues(p->yValues.values(), p->scale(kAxisY));
        } else if (const auto* s = dynamic_cast<const StatisticStackObject*>(item)) {
            r = ScanValues(s->peaks, s->DisplayScale());
        } else {
            continue;
        }
        std::vector<std::optional<double>> values(4);
        if (r.any) {
            values = {r.min, r.max, std::max(std::fabs(r.min), std::fabs(r.max)), r.avg};
        }
        table->AddValues(item->caseName(), item->shortLabel(), values);
    }
    return table;
}

// ---------------------------------------------------------------------------
// Waveform Summary.

std::unique_ptr<Table> BuildWaveSummary(std::span<const StackObject* const> items) {
    auto table = std::make_unique<ValueTable>(
        TableType::WaveSummary, std::vector<std::vector<std::string>>{WithLabels(
                                    str::kColCase, str::kColItem,
                                    {str::kColMin, str::kColMax, str::kColAbsMax, str::kColAvg,
                                     str::kColRms, str::kColCf, str::kColFf})});
    for (const StackObject* item : items) {
        if (item == nullptr || item->kind() != kKindWave) continue;
        const auto* s = dynamic_cast<const WaveSummaryData*>(item->summary());
        if (s == nullptr) continue;
        table->AddValues(item->caseName(), item->shortLabel(),
                         {s->min, s->max, s->abs, s->avg, s->rms, s->cf, s->ff});
    }
    return table;
}

// ---------------------------------------------------------------------------
// Harmonic orders of a spectrum.

// The line index of the fundamental: the item's own when valid, else the
// line the summary would choose.
std::size_t FundamentalLine(const SpectrumStackObject& s) {
    const std::int32_t k =
        s.FundamentalIndex >= 0 && static_cast<std::uint32_t>(s.FundamentalIndex) < s.pointCount()
            ? s.FundamentalIndex
            : s.FindFundamentalLine();
    return k < 0 ? 0 : static_cast<std::size_t>(k);
}

// Stored magnitude of each harmonic order 1..highest (index = order): the
// first harmonic line (IsHarmonicLine) of that order; absent when the
// spectrum has no line there. Empty without a usable fundamental frequency.
std::vector<std::optional<double>> HarmonicMagnitudes(const SpectrumStackObject& s, int highest) {
    std::vector<std::optional<double>> orders(static_cast<std::size_t>(std::max(highest, 0)) + 1);
    const std::size_t n =
        std::min({static_cast<std::size_t>(s.pointCount()), s.xValues.size(), s.yValues.size()});
    if (n == 0) return orders;
    const std::size_t k = FundamentalLine(s);
    if (k >= n) return orders;
    const double fundamental = s.XAt(k);
    if (!(fundamental > 0.0) || !std::isfinite(fundamental)) return orders;
    for (std::size_t i = 0; i < n; ++i) {
        const double f = s.XAt(i);
        if (!(f > 0.0) || !std::isfinite(f) || !IsHarmonicLine(f, fundamental)) continue;
        const double order = std::round((f - std::fmod(f, fundamental)) / fundamental);
        if (order < 1.0 || order > static_cast<double>(highest)) continue;
        auto& slot = orders[static_cast<std::size_t>(order)];
        if (!slot) slot = static_cast<double>(s.yValues[i]);
    }
    return orders;
}

// ---------------------------------------------------------------------------
// Harmonic Summary Data.
//
// The harmonic columns start at the 2nd harmonic with step 1 when even
// orders are shown, else at the 3rd with step 2 (the fundamental has its own
// "Fund" column), and end at the highest harmonic of the preferences (at most
// kMaxTableHarmonic).

std::unique_ptr<Table> BuildHarmonic(std::span<const StackObject* const> items,
                                     const TableOptions& options) {
    const int first = options.evenHarmonics ? 2 : 3;
    const int step = options.evenHarmonics ? 1 : 2;
    const int highest = std::clamp(options.highestHarmonic, 0, kMaxTableHarmonic);
    std::vector<int> shown;
    for (int h = first; h <= highest; h += step) shown.push_back(h);

    std::vector<std::string> header =
        WithLabels(str::kColCase, str::kColItem,
                   {str::kColFreq, str::kColFund, str::kColThdPercent, str::kColRmsPercent,
                    str::kColAsumPercent, str::kColRmsh, str::kColRms, str::kColAsum, str::kColTif,
                    str::kColIt});
    for (const int h : shown) {
        header.push_back(options.harmonicPercent ? Format(str::kColHarmonicPercent, h)
                                                 : Format(str::kColHarmonic, h));
    }
    auto table = std::make_unique<ValueTable>(TableType::Harmonic,
                                              std::vector<std::vector<std::string>>{header});
    for (const StackObject* item : items) {
        const auto* s = dynamic_cast<const SpectrumStackObject*>(item);
        if (s == nullptr) continue;
        const auto* sum = dynamic_cast<const SpectrumSummaryData*>(s->summary());
        if (sum == nullptr) continue;
        const double freq = sum->freq >= 1.01 ? sum->freq : sum->freq / NonZero(s->scale(kAxisX));
        const double fund = sum->fund <= 0.0 ? 1.0 : sum->fund;
        std::vector<std::optional<double>> values{freq,
                                                  sum->fund,
                                                  sum->thd,
                                                  sum->rms / fund * 100.0,
                                                  sum->asum / fund * 100.0,
                                                  sum->rmsh,
                                                  sum->rms,
                                                  sum->asum,
                                                  sum->tif,
                                                  sum->it};
        const auto orders = HarmonicMagnitudes(*s, highest);
        const double scale = s->scale(kAxisY);
        for (const int h : shown) {
            const auto& m = orders[static_cast<std::size_t>(h)];
            if (!m) {
                values.emplace_back();
            } else if (options.harmonicPercent) {
                values.emplace_back(*m * scale / fund * 100.0);
            } else {
                values.emplace_back(*m * scale);
            }
        }
        table->AddValues(item->caseName(), item->shortLabel(), values);
    }
    return table;
}

// ---------------------------------------------------------------------------
// Magnitude vs Switch Operation.
//
// Per statistics item: the node name (the item's label), the switch names
// the reader kept, and the magnitudes of its three largest peaks in display
// units (|peak| / per-unit base / unit multiplier); fewer operations leave
// empty cells.

std::unique_ptr<Table> BuildSwitching(std::span<const StackObject* const> items) {
    auto table = std::make_unique<ValueTable>(
        TableType::Switching,
        std::vector<std::vector<std::string>>{{str::kColNodeName, "", str::kColHighest,
                                               str::kColSecondHighest, str::kColThirdHighest},
                                              {"", str::kColSwitch, str::kColTimeClosed1,
                                               str::kColTimeClosed2, str::kColTimeClosed3}});
    for (const StackObject* item : items) {
        const auto* s = dynamic_cast<const StatisticStackObject*>(item);
        if (s == nullptr) continue;
        std::string switches;
        for (const auto& name : s->detailNames) {
            if (!switches.empty()) switches += ", ";
            switches += name;
        }
        const double scale = s->DisplayScale();
        std::vector<std::optional<double>> values(3);
        const auto highest = s->HighestPeaks(3);
        for (std::size_t i = 0; i < highest.size() && i < values.size(); ++i) {
            values[i] = std::fabs(s->peaks[highest[i]]) * scale;
        }
        table->AddValues(s->shortLabel(), switches, values);
    }
    return table;
}

// ---------------------------------------------------------------------------
// Data points.
//
// Items follow one another, each with all its points in order: the columns
// are the item's label, the point number (1-based), X and Y. Cells are made
// when asked for from the items' shared arrays. X and Y show the displayed
// values (stored value x the axis's display scale) with the digits their
// stored samples hold (PointText); an item with absolute times shows its X as local date and
// time "MM/DD/YYYY HH:MM:SS" with milliseconds when the time has a fraction.

std::string FormatDateTime(double seconds) {
    if (!std::isfinite(seconds)) return ShortestDouble(seconds);
    double whole = std::floor(seconds);
    double millis = std::round((seconds - whole) * 1000.0);
    if (millis >= 1000.0) {
        whole += 1.0;
        millis = 0.0;
    }
    std::string text = FormatLocalTime(whole, "%m/%d/%Y %H:%M:%S");
    if (text.empty()) return ShortestDouble(seconds);  // no calendar date
    if (millis > 0.0) text += Format(".%03d", static_cast<int>(millis));
    return text;
}

class PointsTable : public StreamedTable {
public:
    PointsTable(TableType type, std::span<const StackObject* const> items) : StreamedTable(type) {
        for (const StackObject* item : items) {
            const auto* p = dynamic_cast<const PlotableStackObject*>(item);
            if (p == nullptr) continue;
            Series s;
            s.label = p->shortLabel();
            s.x = p->xValues;
            s.xExact = p->xExact;
            s.y = p->yValues;
            s.xScale = p->scale(kAxisX);
            s.yScale = p->scale(kAxisY);
            s.date = p->kind() == kKindTrend && p->xExact.present();
            s.count = std::min<std::size_t>(p->pointCount(), s.y.size());
            s.count = std::min(s.count, s.xExact ? s.xExact.size() : s.x.size());
            if (s.count == 0) continue;
            s.start = rows_;
            rows_ += s.count;
            series_.push_back(std::move(s));
        }
        std::string xHeader = str::kColTime;
        std::string yHeader = str::kColValue;
        const StackObject* first = nullptr;
        for (const StackObject* item : items) {
            if (dynamic_cast<const PlotableStackObject*>(item) != nullptr) {
                first = item;
                break;
            }
        }
        if (first != nullptr) {
            switch (first->kind()) {
                case kKindXY:
                    xHeader = str::kColX;
                    yHeader = str::kColY;
                    break;
                case kKindHistogram:
                    xHeader = str::kColBinMidpoint;
                    yHeader = str::kColProbability;
                    break;
                case kKindProbability:
                    xHeader = str::kColValue;
                    yHeader = str::kColProbability;
                    break;
                case kKindMagDur:
                    xHeader = str::kColDuration;
                    yHeader = str::kColMagnitudePercent;
                    break;
                default:
                    break;
            }
            if (first->kind() == kKindTrend &&
                dynamic_cast<const PlotableStackObject*>(first)->xExact.present()) {
                xHeader = str::kColDateTime;
            }
        }
        info_.columns = 4;
        info_.rows = rows_;
        info_.headers = {{str::kColItem, str::kColPoint, xHeader, yHeader}};
    }

    std::size_t gridCount() const override { return 1; }
    const TableGridInfo& grid(std::size_t index) const override {
        if (index != 0) throw std::out_of_range("table grid");
        return info_;
    }
    TableCell Cell(std::size_t grid, std::size_t row, std::size_t column) const override {
        if (grid != 0 || row >= rows_ || column >= info_.columns) return {};
        const auto it =
            std::upper_bound(series_.begin(), series_.end(), row,
                             [](std::size_t r, const Series& s) { return r < s.start; });
        // row < rows_, so some series holds it and the first starts at 0:
        // `it` is past the first series.
        const Series& s = *std::prev(it);
        const std::size_t i = row - s.start;
        switch (column) {
            case 0:
                return {s.label};
            case 1:
                return {std::to_string(i + 1)};
            case 2:
                if (s.date) return {FormatDateTime(s.xExact[i]), false, true};
                if (s.xExact) return {PointText(s.xExact[i], s.xScale, false)};
                return {PointText(s.x[i], s.xScale, true)};
            default:
                return {PointText(s.y[i], s.yScale, true)};
        }
    }

protected:
    // Two header lines (the second empty), then one line per point.
    void EmitText(char separator, const TextSink& sink) const override {
        std::string line;
        for (std::size_t c = 0; c < info_.columns; ++c) {
            if (c > 0) line += separator;
            line += Field(info_.headers.front()[c], separator);
        }
        line += '\n';
        line.append(info_.columns - 1, separator);
        line += '\n';
        sink(line);
        std::string chunk;
        for (std::size_t r = 0; r < rows_; ++r) {
            for (std::size_t c = 0; c < info_.columns; ++c) {
                if (c > 0) chunk += separator;
                chunk += Field(Cell(0, r, c).text, separator);
            }
            chunk += '\n';
            if (chunk.size() > (1u << 16)) {
                sink(chunk);
                chunk.clear();
            }
        }
        if (!chunk.empty()) sink(chunk);
    }

private:
    struct Series {
        std::string label;
        FloatArray x;
        DoubleArray xExact;
        FloatArray y;
        double xScale = 1.0;
        double yScale = 1.0;
        bool date = false;
        std::size_t count = 0;
        std::size_t start = 0;
    };
    std::vector<Series> series_;
    std::size_t rows_ = 0;
    TableGridInfo info_;
};

// ---------------------------------------------------------------------------
// IEEE 519 Current Limits.

constexpr std::array<std::array<double, 6>, 12> kIeee519Table{{
    {4.0, 2.0, 1.5, 0.6, 0.3, 5.0},
    {7.0, 3.5, 2.5, 1.0, 0.5, 8.0},
    {10.0, 4.5, 4.0, 1.5, 0.7, 12.0},
    {12.0, 5.5, 5.0, 2.0, 1.0, 15.0},
    {15.0, 7.0, 6.0, 2.5, 1.4, 20.0},
    {2.0, 1.0, 0.75, 0.3, 0.15, 2.5},
    {3.5, 1.75, 1.25, 0.5, 0.25, 4.0},
    {5.0, 2.25, 2.0, 0.75, 0.35, 6.0},
    {6.0, 2.75, 2.5, 1.0, 0.5, 7.5},
    {7.5, 3.5, 3.0, 1.25, 0.7, 10.0},
    {2.0, 1.0, 0.75, 0.3, 0.15, 2.5},
    {3.0, 1.5, 1.15, 0.45, 0.22, 3.75},
}};

// The odd harmonics of the detail table: 3 to 31 without the triplens 15, 21 and 27.
constexpr std::array<int, 12> kDetailHarmonics{3, 5, 7, 9, 11, 13, 17, 19, 23, 25, 29, 31};
// The first and last harmonic of each summary band.
constexpr std::array<std::array<int, 2>, 5> kBands{
    {{2, 10}, {11, 16}, {17, 22}, {23, 34}, {35, kIeee519HighestHarmonic}}};
// A band cell's harmonic list stays shorter than this.
constexpr std::size_t kListLimit = 128;

class Ieee519Table : public StoredTable {
public:
    Ieee519Table(std::span<const StackObject* const> items, const Ieee519Settings& pcc)
        : StoredTable(TableType::Ieee519), pcc_(pcc), limits_(ComputeIeee519Limits(pcc)) {
        BuildPcc();
        BuildSummaryAndDetail(items);
    }

    const Ieee519Limits* ieee519() const override { return &limits_; }

protected:
    void EmitText(char separator, const TextSink& sink) const override {
        const std::string sep(1, separator);
        for (const auto& row : grids_[0].cells) {
            sink(Format("%s%s%s%s%s\n", Field(row[0].text, separator).c_str(), sep.c_str(),
                        row[1].text.c_str(), sep.c_str(), row[2].text.c_str()));
        }
        for (std::size_t g = 1; g < grids_.size(); ++g) {
            const Grid& grid = grids_[g];
            sink(grid.info.caption + "\n");
            sink(JoinHeader(grid.info.headers.front(), separator));
            // The limits line holds the limits only: the summary table's
            // "Summary" column has none.
            const std::size_t limitColumns = g == 1 ? grid.info.columns - 1 : grid.info.columns;
            sink(JoinRow(grid.cells.front(), separator, limitColumns));
            for (std::size_t r = 1; r < grid.cells.size(); ++r) {
                sink(JoinRow(grid.cells[r], separator, grid.info.columns));
            }
        }
    }

private:
    void BuildPcc() {
        Grid& g =
            AddGrid(str::kIeeePccCaption, {{str::kColQuantity, str::kColValue, str::kColUnit}});
        const auto add = [&g](const char* label, double value, const char* unit) {
            AddRow(g, {{label}, {FormatIeee(value)}, {unit}});
        };
        add(str::kIeeePccVolts, pcc_.pccVolts, str::kIeeeUnitVolts);
        add(str::kIeeePccMva, pcc_.pccMva, str::kIeeeUnitMva);
        add(str::kIeeeDemandKva, pcc_.maxDemandKva, str::kIeeeUnitKva);
        add(str::kIeeeItLimit, pcc_.itLimit, "");
        add(str::kIeeeIsc, limits_.isc, str::kIeeeUnitAmps);
        add(str::kIeeeIl, limits_.il, str::kIeeeUnitAmps);
        add(str::kIeeeRatio, limits_.ratio, "");
    }

    void BuildSummaryAndDetail(std::span<const StackObject* const> items) {
        AddGrid(str::kIeeeSummaryTable,
                {{str::kColName, str::kColBand0, str::kColBand1, str::kColBand2, str::kColBand3,
                  str::kColBand4, str::kColTdd, str::kColSummary}});
        std::vector<std::string> detailHeader{str::kColName, str::kColIStarT, str::kColTdd};
        for (const int h : kDetailHarmonics) detailHeader.push_back(Format("H%d", h));
        // AddGrid may move the first grid: take the references afterwards.
        AddGrid(str::kIeeeDetailTable, {detailHeader});
        Grid& s = grids_[1];
        Grid& d = grids_[2];

        std::vector<TableCell> limitRow{{str::kIeeeLimits}};
        for (const double l : limits_.limits) limitRow.push_back({FormatIeee(l)});
        AddRow(s, limitRow);
        std::vector<TableCell> detailLimits{
            {str::kIeeeLimits}, {FormatIeee(pcc_.itLimit)}, {FormatIeee(limits_.limits[5])}};
        for (const int h : kDetailHarmonics) {
            detailLimits.push_back({FormatIeee(Ieee519HarmonicLimit(limits_, h))});
        }
        AddRow(d, detailLimits);

        for (const StackObject* item : items) {
            const auto* spectrum = dynamic_cast<const SpectrumStackObject*>(item);
            if (spectrum == nullptr) continue;
            AddItem(*spectrum, s, d);
        }
    }

    // Harmonic RMS without the fundamental and the I-T product, both over the
    // stored magnitudes: the limits are in amperes, so a display prefix or a
    // per-unit base must not change the verdict.
    struct StoredIndices {
        double rmsh = 0.0;
        double it = 0.0;
    };
    static StoredIndices Indices(const SpectrumStackObject& s) {
        const std::size_t n = std::min(
            {static_cast<std::size_t>(s.pointCount()), s.xValues.size(), s.yValues.size()});
        if (n == 0) return {};
        std::vector<double> f(n), m(n);
        for (std::size_t i = 0; i < n; ++i) {
            f[i] = s.XAt(i);
            m[i] = s.yValues[i];
        }
        const std::size_t k = FundamentalLine(s);
        if (k >= n) return {};
        return {HarmonicOnlyRms(f, m, f[k], m[k]), WeightedRms(f, m, f[k])};
    }

    void AddItem(const SpectrumStackObject& spectrum, Grid& s, Grid& d) const {
        const std::string name = spectrum.GetTitle();
        std::vector<TableCell> summaryRow(s.info.columns);
        std::vector<TableCell> detailRow(d.info.columns);
        summaryRow[0].text = name;
        detailRow[0].text = name;
        const StoredIndices indices = Indices(spectrum);
        detailRow[1] = {FormatIeee(indices.it), indices.it >= pcc_.itLimit};
        if (!limits_.valid) {
            summaryRow[7].text = str::kIeeeNoLoadCurrent;
            AddRow(s, std::move(summaryRow));
            AddRow(d, std::move(detailRow));
            return;
        }
        const auto magnitudes = HarmonicMagnitudes(spectrum, kIeee519HighestHarmonic);
        const auto percent = [&](int h) -> std::optional<double> {
            const auto& m = magnitudes[static_cast<std::size_t>(h)];
            if (!m) return std::nullopt;
            return *m / limits_.il * 100.0;
        };
        const auto violates = [&](int h) {
            const auto p = percent(h);
            return p && *p >= Ieee519HarmonicLimit(limits_, h);
        };

        bool any = false;
        for (std::size_t b = 0; b < kBands.size(); ++b) {
            std::string list;
            bool bandViolates = false;
            bool full = false;
            for (int h = kBands[b][0]; h <= kBands[b][1]; ++h) {
                if (!violates(h)) continue;
                bandViolates = true;
                const std::string number = std::to_string(h);
                const std::size_t length = list.size() + (list.empty() ? 0 : 1) + number.size();
                if (full || length >= kListLimit) {
                    full = true;
                    continue;
                }
                if (!list.empty()) list += ',';
                list += number;
            }
            summaryRow[1 + b] = {bandViolates ? list : str::kIeeeOk, bandViolates};
            any = any || bandViolates;
        }
        const double tdd = indices.rmsh / limits_.il * 100.0;
        const bool tddViolates = tdd >= limits_.limits[5];
        summaryRow[6] = {tddViolates ? str::kIeeeExceeds : str::kIeeeOk, tddViolates};
        any = any || tddViolates;
        summaryRow[7] = {any ? str::kIeeeExceeds : str::kIeeeOk, any};

        detailRow[2] = {FormatIeee(tdd), tddViolates};
        for (std::size_t i = 0; i < kDetailHarmonics.size(); ++i) {
            const int h = kDetailHarmonics[i];
            const auto p = percent(h);
            detailRow[3 + i] = {p ? FormatIeee(*p) : std::string{}, violates(h)};
        }
        AddRow(s, std::move(summaryRow));
        AddRow(d, std::move(detailRow));
    }

    Ieee519Settings pcc_;
    Ieee519Limits limits_;
};

}  // namespace

const char* TableTypeName(TableType type) {
    switch (type) {
        case TableType::MinMax:
            return str::kTableMinMax;
        case TableType::WaveSummary:
            return str::kTableWaveSummary;
        case TableType::TimePoints:
            return str::kTableTimePoints;
        case TableType::FreqPoints:
            return str::kTableFreqPoints;
        case TableType::Harmonic:
            return str::kTableHarmonic;
        case TableType::Switching:
            return str::kTableSwitching;
        case TableType::Ieee519:
            return str::kTableIeee519;
    }
    return "";
}

void Ieee519Settings::Load(const Profile& profile) {
    const Ieee519Settings defaults;
    pccVolts = profile.GetDouble(kSection, "PCCVolts", defaults.pccVolts);
    pccMva = profile.GetDouble(kSection, "PCCMVA", defaults.pccMva);
    maxDemandKva = profile.GetDouble(kSection, "MaxDemandKVA", defaults.maxDemandKva);
    itLimit = profile.GetDouble(kSection, "ITLimit", defaults.itLimit);
}

bool Ieee519Settings::Valid() const {
    const auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
    return positive(pccVolts) && positive(pccMva) && positive(maxDemandKva) &&
           std::isfinite(itLimit) && itLimit >= 0.0;
}

void Ieee519Settings::Save(Profile& profile) const {
    profile.SetDouble(kSection, "PCCVolts", pccVolts);
    profile.SetDouble(kSection, "PCCMVA", pccMva);
    profile.SetDouble(kSection, "MaxDemandKVA", maxDemandKva);
    profile.SetDouble(kSection, "ITLimit", itLimit);
}

int Ieee519Row(double pccVolts, double ratio) {
    const auto byRatio = [ratio](int base) {
        if (ratio > 1000.0) return base + 4;
        if (ratio > 100.0) return base + 3;
        if (ratio > 50.0) return base + 2;
        if (ratio > 20.0) return base + 1;
        return base;
    };
    if (pccVolts <= 69000.0) return byRatio(0);
    if (pccVolts <= 161000.0) return byRatio(5);
    return ratio >= 50.0 ? 11 : 10;
}

int Ieee519Band(int harmonic) {
    if (harmonic == 0) return 5;
    if (harmonic < 11) return 0;
    if (harmonic < 17) return 1;
    if (harmonic < 23) return 2;
    if (harmonic < 35) return 3;
    return 4;
}

double Ieee519HarmonicLimit(const Ieee519Limits& limits, int harmonic) {
    const double limit = limits.limits[static_cast<std::size_t>(Ieee519Band(harmonic))];
    return harmonic != 0 && harmonic % 2 == 0 ? limit / 4.0 : limit;
}

Ieee519Limits ComputeIeee519Limits(const Ieee519Settings& settings) {
    Ieee519Limits r;
    const double volts = settings.pccVolts;
    const double kva = settings.maxDemandKva;
    const double mva = settings.pccMva;
    r.valid = std::isfinite(volts) && volts > 0.0 && std::isfinite(kva) && kva > 0.0 &&
              std::isfinite(mva);
    if (r.valid) {
        const double lineToPhase = std::sqrt(3.0) * volts;
        r.isc = mva * 1e6 / lineToPhase;
        r.il = kva * 1e3 / lineToPhase;
        r.ratio = mva * 1000.0 / kva;
    }
    r.row = Ieee519Row(std::isnan(volts) ? 0.0 : volts, r.ratio);
    r.limits = kIeee519Table[static_cast<std::size_t>(r.row)];
    return r;
}

bool Table::WriteText(const std::string& path, char separator) const {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return false;
    bool ok = true;
    EmitText(separator, [&](std::string_view piece) {
        if (ok && std::fwrite(piece.data(), 1, piece.size(), file) != piece.size()) ok = false;
    });
    if (std::fclose(file) != 0) ok = false;
    // A table that could not be written whole (a full disk) leaves no
    // truncated file that could pass for the export.
    if (!ok) RemovePartialFile(path);
    return ok;
}

std::unique_ptr<Table> BuildTable(TableType type, std::span<const StackObject* const> items,
                                  const TableOptions& options) {
    switch (type) {
        case TableType::MinMax:
            return BuildMinMax(items);
        case TableType::WaveSummary:
            return BuildWaveSummary(items);
        case TableType::TimePoints:
        case TableType::FreqPoints:
            return std::make_unique<PointsTable>(type, items);
        case TableType::Harmonic:
            return BuildHarmonic(items, options);
        case TableType::Switching:
            return BuildSwitching(items);
        case TableType::Ieee519:
            return std::make_unique<Ieee519Table>(items, options.pcc);
    }
    return BuildMinMax(items);
}

}  // namespace kov
