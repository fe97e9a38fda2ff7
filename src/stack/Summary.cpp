#include "stack/Summary.h"

namespace kov {

TextTable::TextTable(std::size_t rows, std::size_t columns)
    : rows_(rows), columns_(columns), cells_(rows * columns) {}

const std::string& TextTable::Cell(std::size_t row, std::size_t column) const {
    return cells_.at(row * columns_ + column);
}

void TextTable::SetCell(std::size_t row, std::size_t column, std::string text) {
    if (text.size() > kCellLimit) text.resize(kCellLimit);
    cells_.at(row * columns_ + column) = std::move(text);
}

}  // namespace kov
