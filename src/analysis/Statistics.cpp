#include "analysis/Statistics.h"

#include <algorithm>
#include <cmath>

namespace kov {

namespace {
// Ascending order with NaN after every number: a strict weak order even for
// values read from a damaged file, which std::sort and nth_element need.
bool NanLast(double a, double b) {
    return a < b || (std::isnan(b) && !std::isnan(a));
}
}  // namespace

ColumnStats ColumnStatistics(std::span<const double> column) {
    ColumnStats s;
    const std::size_t n = column.size();
    s.count = n;
    if (n == 0) return s;
    s.min = s.max = column[0];
    for (double v : column) {
        if (v < s.min) s.min = v;
        if (v > s.max) s.max = v;
        s.sum += v;
    }
    s.range = s.max - s.min;
    s.mean = s.sum / static_cast<double>(n);
    if (n > 1) {
        // Deviations from the mean, not sum(x^2) - n mean^2: the latter loses
        // every digit when the spread is small beside the mean.
        double squares = 0.0;
        for (double v : column) squares += (v - s.mean) * (v - s.mean);
        s.variance = squares / static_cast<double>(n - 1);
    }
    s.stdDev = std::sqrt(std::fabs(s.variance));
    s.stdErr = s.stdDev / std::sqrt(static_cast<double>(n));

    std::vector<double> sorted(column.begin(), column.end());
    const std::size_t middle = n / 2;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(middle),
                     sorted.end(), NanLast);
    s.median = sorted[middle];
    if (n % 2 == 0) {
        const double below = *std::max_element(
            sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(middle), NanLast);
        s.median = (below + s.median) / 2.0;
    }
    return s;
}

std::vector<ColumnStats> ColumnStatistics(std::span<const double> values, std::size_t rows,
                                          std::size_t columns) {
    std::vector<ColumnStats> result;
    if (columns == 0 || values.size() < rows * columns) return result;
    result.reserve(columns);
    std::vector<double> column(rows);
    for (std::size_t c = 0; c < columns; ++c) {
        for (std::size_t r = 0; r < rows; ++r) column[r] = values[r * columns + c];
        result.push_back(ColumnStatistics(column));
    }
    return result;
}

bool BinParameters::SetIncrement(double value) {
    if (!(value > 0.0) || !std::isfinite(value)) return false;
    increment = value;
    return true;
}

BinParameters& RunBinParameters() {
    static BinParameters parameters;
    return parameters;
}

CumulativeCurve CumulativeDistribution(std::span<const double> values) {
    CumulativeCurve curve;
    curve.sorted.assign(values.begin(), values.end());
    std::sort(curve.sorted.begin(), curve.sorted.end(), NanLast);
    const std::size_t n = curve.sorted.size();
    curve.percent.resize(n);
    if (n == 1) {
        curve.percent[0] = 100.0;
    } else {
        const double step = 100.0 / static_cast<double>(n - 1);
        for (std::size_t i = 0; i < n; ++i)
            curve.percent[i] = 100.0 - step * static_cast<double>(n - 1 - i);
    }
    return curve;
}

Distribution ProbabilityBins(std::span<const double> values, double width) {
    Distribution d;
    double largest = 0.0;
    for (double v : values)
        if (std::isfinite(v) && v > largest) largest = v;
    double k = largest / width;
    if (k > 300.0) {
        width = 0.005 * largest;
        k = 200.0;
    }
    d.width = width;
    const std::size_t bins = static_cast<std::size_t>(std::floor(k)) + 1;
    d.centres.resize(bins);
    d.percent.assign(bins, 0.0);
    for (std::size_t j = 0; j < bins; ++j) d.centres[j] = (static_cast<double>(j) + 0.5) * width;
    if (values.empty()) return d;
    const double share = 100.0 / static_cast<double>(values.size());
    for (double v : values) {
        if (!std::isfinite(v)) continue;
        // The largest value lands in the last bin; rounding of m / w never
        // takes it past the end.
        const double j = std::floor(std::max(v, 0.0) / width);
        d.percent[std::min(static_cast<std::size_t>(j), bins - 1)] += share;
    }
    return d;
}

}  // namespace kov
