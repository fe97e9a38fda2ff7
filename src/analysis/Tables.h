#pragma once
// The numbers of table windows: minima and maxima, waveform summaries, data
// points, harmonic summaries, switching statistics and the IEEE 519 current
// limit check, computed from stack items without any window. A table window
// shows a Table's grids; kov-cli prints its text export.
//
// A Table is computed once from its items (and rebuilt when they change).
// Data-point tables can have millions of rows: their cells are made on demand
// from the items' shared sample arrays, never stored as text.

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kov {

class Profile;
class StackObject;

// The table types in the order of the "Table Types:" list (string ids 2200..2206).
enum class TableType : int {
    MinMax = 0,   // "Curve Minimum and Maximum"
    WaveSummary,  // "Waveform Summary"
    TimePoints,   // "Time Domain Data Points"
    FreqPoints,   // "Frequency Data Points"
    Harmonic,     // "Harmonic Summary Data"
    Switching,    // "Magnitude vs Switch Operation"
    Ieee519,      // "IEEE 519 Current Limits"
};
inline constexpr int kTableTypeCount = 7;

// The list text of a type ("Curve Minimum and Maximum", ...).
const char* TableTypeName(TableType type);

// The point-of-common-coupling settings of the IEEE 519 table, kept in the
// settings file, section "IEEE519Table".
struct Ieee519Settings {
    double pccVolts = 13800.0;    // "PCCVolts", line to line
    double pccMva = 100.0;        // "PCCMVA", short-circuit power
    double maxDemandKva = 100.0;  // "MaxDemandKVA"
    double itLimit = 1500.0;      // "ITLimit"

    void Load(const Profile& profile);
    void Save(Profile& profile) const;
    // Settings a table can be computed with: voltage, short-circuit power and
    // demand finite and above 0, the I*T limit finite and not below 0.
    bool Valid() const;
    bool operator==(const Ieee519Settings&) const = default;
};

// What a table needs beyond its items.
struct TableOptions {
    int highestHarmonic = 25;    // preference "HighestHarmonic"
    bool evenHarmonics = false;  // preference "EvenHarmonics"
    Ieee519Settings pcc;
    // Harmonic Summary Data: the harmonic columns in percent of the
    // fundamental ("%H3", ...) instead of in the item's units ("H3", ...).
    bool harmonicPercent = false;
};

// Highest harmonic order a harmonic table shows, whatever the preference says.
inline constexpr int kMaxTableHarmonic = 128;

// The IEEE 519 figures of a set of PCC settings.
//   Isc = PCCMVA x 1e6 / (sqrt(3) x PCCVolts), the three-phase short-circuit current (A)
//   IL  = MaxDemandKVA x 1e3 / (sqrt(3) x PCCVolts), the maximum demand load current (A)
//   ratio = Isc / IL, computed as PCCMVA x 1000 / MaxDemandKVA so that a ratio meant to
//   be exactly 20 or 50 is exactly that.
// Settings that give no load current (a PCC voltage or demand not above 0, or not
// finite) leave Isc, IL and ratio at 0 and `valid` false; the row is then chosen
// with ratio 0.
struct Ieee519Limits {
    double isc = 0.0;
    double il = 0.0;
    double ratio = 0.0;
    int row = 0;  // 0..11, the row of the current-limit table
    // Limits in percent of IL: bands h<11, 11<=h<17, 17<=h<23, 23<=h<35, h>=35, then TDD.
    std::array<double, 6> limits{};
    bool valid = false;
};
Ieee519Limits ComputeIeee519Limits(const Ieee519Settings& settings);
// The limit-table row for a PCC voltage (V, line to line) and a ratio Isc/IL.
int Ieee519Row(double pccVolts, double ratio);
// The limit column of harmonic h: 5 (TDD) for h = 0, else band 0..4.
int Ieee519Band(int harmonic);
// The limit a harmonic h >= 1 is checked against, percent of IL: its band's
// limit, a quarter of it for even h.
double Ieee519HarmonicLimit(const Ieee519Limits& limits, int harmonic);
// Highest harmonic order the IEEE 519 check looks at.
inline constexpr int kIeee519HighestHarmonic = 128;

// One cell as shown in a grid.
struct TableCell {
    std::string text;
    bool marked = false;  // an IEEE 519 violation (shown highlighted)
    bool date = false;    // a date/time cell (printed centred)
};

// One grid of a table. Columns include the row-label columns; `headers` has
// one or two rows of `columns` texts each.
struct TableGridInfo {
    std::string caption;  // "" for single-grid tables; e.g. "Summary Table"
    std::size_t columns = 0;
    std::size_t rows = 0;  // body rows
    std::vector<std::vector<std::string>> headers;
};

class Table {
public:
    virtual ~Table() = default;

    TableType type() const { return type_; }
    // Grids in display order: one for most types; the IEEE 519 table has the
    // PCC block, the summary table and the detail table.
    virtual std::size_t gridCount() const = 0;
    virtual const TableGridInfo& grid(std::size_t index) const = 0;
    // A body cell; row < grid(g).rows, column < grid(g).columns.
    virtual TableCell Cell(std::size_t grid, std::size_t row, std::size_t column) const = 0;

    // The text export, as written to a file (lines end in "\n").
    virtual std::string Text(char separator) const = 0;
    // Creates the file anew and writes Text; false when it cannot be written.
    bool WriteText(const std::string& path, char separator) const;

    // Hands the text export to sink piece by piece (what Text returns, in
    // order), for writers of tables too large to hold as one string.
    using TextSink = std::function<void(std::string_view)>;
    void StreamText(char separator, const TextSink& sink) const { EmitText(separator, sink); }

    // The IEEE 519 figures the table was computed with; null for other types.
    virtual const Ieee519Limits* ieee519() const { return nullptr; }

protected:
    explicit Table(TableType type) : type_(type) {}
    // Produces the text export piece by piece, so that WriteText can stream
    // a table of millions of rows without holding its whole text. The
    // default hands over Text in one piece.
    virtual void EmitText(char separator, const TextSink& sink) const { sink(Text(separator)); }

private:
    TableType type_;
};

// Layouts (grid columns include the row-label columns):
// - Minimum and maximum, waveform summary, harmonic summary: one row per
//   usable item, labels "Case" (case name) and "Item" (short label), then the
//   value columns; items of kinds the type cannot use are left out. The
//   harmonic columns start at H2 with step 1 when even orders are shown, else
//   at H3 with step 2 (the fundamental has its "Fund" column), up to the
//   highest harmonic (at most kMaxTableHarmonic); an order without a line in
//   the spectrum is an empty cell.
// - Switching: two header rows; labels node name and switch names, then the
//   three largest peak magnitudes in display units (empty when fewer).
// - Data points: the items one after another, every point a row: "Item",
//   "Point" (1-based), then the X and Y columns named after the first item's
//   kind. Statistics items (no arrays) are left out.
// - IEEE 519: grid 0 the PCC block ("Quantity", "Value", "Unit"; 7 rows),
//   grid 1 the summary table and grid 2 the detail table, each with the
//   "IEEE 519 Limits" row first and then one row per spectrum item. Settings
//   without a load current leave the item cells empty, the summary cell "No IL".
// The text export writes two header lines for every single-grid table (the
// second all empty when the grid has one header row).
//
// Cell texts, the same in the grids and in the text export: values of the
// min/max, waveform, harmonic and switching tables as "%G"; IEEE 519 values
// as "%g"; data points as the shortest text that reads back as the same
// single-precision value (double-precision times with the digits they need),
// absolute times as local "MM/DD/YYYY HH:MM:SS" (".mmm" added for fractions).
// Text fields that hold the separator (a harmonic list "3,5" in a
// comma-separated export, a name with a comma) are quoted, quotes doubled.
//
// Computes the table of a type for the items in selection order. Items a
// type cannot use (a waveform in a harmonic table, ...) give empty rows or
// are skipped as the type describes; never null.
std::unique_ptr<Table> BuildTable(TableType type, std::span<const StackObject* const> items,
                                  const TableOptions& options);

}  // namespace kov
