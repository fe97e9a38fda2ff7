#pragma once
// SummaryData: the per-kind summary of an item and the text table that
// table windows and the graph's data block show.

#include <cstddef>
#include <string>
#include <vector>

namespace kov {

// A rows x columns table of text cells, each at most 95 characters.
class TextTable {
public:
    static constexpr std::size_t kCellLimit = 95;

    TextTable() = default;
    TextTable(std::size_t rows, std::size_t columns);

    std::size_t rows() const { return rows_; }
    std::size_t columns() const { return columns_; }
    const std::string& Cell(std::size_t row, std::size_t column) const;
    // Stores text cut to kCellLimit characters.
    void SetCell(std::size_t row, std::size_t column, std::string text);

private:
    std::size_t rows_ = 0;
    std::size_t columns_ = 0;
    std::vector<std::string> cells_;
};

class SummaryData {
public:
    virtual ~SummaryData() = default;
    TextTable table;
};

}  // namespace kov
