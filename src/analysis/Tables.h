#pragma once
// The numbers of table windows: minima and maxima, waveform summaries, data
// points, harmonic summaries, switching statistics and the IEEE 519 current
// limit check, computed from stack items without any window. A table window
// shows a Table's grids; kov-cli prints its text export.
//
// A Table is computed once from its items (and rebuilt when they change).
// Data-point tables can have millions of rows: their cells are made on demand
// from the items' shared sample arrays, never stored as text.

#include <cstddef>
#include <memory>
#include <span>
#include <string>
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
    bool operator==(const Ieee519Settings&) const = default;
};

// What a table needs beyond its items.
struct TableOptions {
    int highestHarmonic = 25;    // preference "HighestHarmonic"
    bool evenHarmonics = false;  // preference "EvenHarmonics"
    Ieee519Settings pcc;
};

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

protected:
    explicit Table(TableType type) : type_(type) {}

private:
    TableType type_;
};

// Computes the table of a type for the items in selection order. Items a
// type cannot use (a waveform in a harmonic table, ...) give empty rows or
// are skipped as the type describes; never null.
std::unique_ptr<Table> BuildTable(TableType type, std::span<const StackObject* const> items,
                                  const TableOptions& options);

}  // namespace kov
