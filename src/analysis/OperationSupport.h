#pragma once
// Small helpers shared by the transforms and the calculator operations.

#include <span>
#include <string>
#include <vector>

#include "stack/PlotableStackObject.h"

namespace kov {

class Ui;

// Most points an operation makes in one item (400 MB of single-precision
// values per array): larger requests are refused instead of exhausting memory.
inline constexpr long kMaxPoints = 100'000'000;

// Beep, then a modal message with the warning icon.
void Refuse(Ui& ui, const std::string& text, const char* caption);

// The true X values of an item in double precision: its exact X array when it
// has one (shared, not copied), otherwise its single-precision X widened.
class TimeBase {
public:
    explicit TimeBase(const PlotableStackObject& item);
    std::span<const double> values() const { return values_; }

private:
    std::vector<double> widened_;
    std::span<const double> values_;
};

// The integration step of the fixed-step rules: (x[2] - x[0]) / 2 with more
// than two samples, x[1] - x[0] with two, 1.0 otherwise (or when that is not
// a positive number).
double IntegrationStep(std::span<const double> x);

}  // namespace kov
