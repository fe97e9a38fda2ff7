#pragma once
// Column statistics and the two probability constructions of switching
// statistics: the cumulative probability curve and the probability
// distribution (histogram) of per-operation peaks.

#include <cstddef>
#include <span>
#include <vector>

namespace kov {

// Statistics of one column of n values, accumulated in double precision:
//   min, max   by a scan from the first value; range = max - min
//   sum, mean  mean = sum / n
//   variance   sample variance, sum of (x - mean)^2 / (n - 1); 0 for n < 2
//   stdDev     sqrt(|variance|); stdErr = stdDev / sqrt(n)
//   median     the middle value of the sorted values (odd n), the mean of
//              the two middle values (even n)
// Every value is 0 for an empty column.
struct ColumnStats {
    std::size_t count = 0;
    double min = 0, max = 0, range = 0, sum = 0, mean = 0, variance = 0, stdDev = 0, stdErr = 0,
           median = 0;
};

ColumnStats ColumnStatistics(std::span<const double> column);
// Per column of a row-major table of rows x columns values.
std::vector<ColumnStats> ColumnStatistics(std::span<const double> values, std::size_t rows,
                                          std::size_t columns);

// The settings of "Prob Dist", kept for the whole run.
struct BinParameters {
    static constexpr double kDefaultIncrement = 0.1;
    // Bin width in per-unit terms; always greater than 0.
    double increment = kDefaultIncrement;

    // Takes a new increment when it is a finite number above 0 (a bin of no
    // width holds nothing); returns false and keeps the old one otherwise.
    bool SetIncrement(double value);
};

// The run-wide bin settings that the "Prob Dist" options edit.
BinParameters& RunBinParameters();

// Cumulative probability of per-unit values v (n of them):
//   sorted = v ascending; x_i = sorted_i, y_i = 100 x i / (n - 1) percent,
//   0 % for the smallest value and 100 % for the largest in equal steps.
// A single value is the largest of its set: y = 100 %.
struct CumulativeCurve {
    std::vector<double> sorted;
    std::vector<double> percent;
};
CumulativeCurve CumulativeDistribution(std::span<const double> values);

// Probability distribution of per-unit values v (n of them) with bin width w:
//   m = the largest v; k = m / w; when k > 300 the width becomes 0.005 x m
//   and k = 200; bins = floor(k) + 1; bin j covers [j w, (j + 1) w), its
//   centre is (j + 0.5) w; every value adds 100 / n percent to its bin, so the
//   bins add up to 100. Values that are not finite are left out of m.
struct Distribution {
    double width = 0;
    std::vector<double> centres;  // per-unit
    std::vector<double> percent;
};
// w must be above 0 (BinParameters guarantees it).
Distribution ProbabilityBins(std::span<const double> values, double width);

}  // namespace kov
