#include "analysis/HarmonicIndices.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kov {

namespace {

constexpr std::array<TifPoint, 40> kTifPoints{{
    {60, 0.5},    {180, 30},    {300, 225},   {360, 400},    {420, 650},    {540, 1320},
    {660, 2260},  {720, 2760},  {780, 3360},  {900, 4350},   {1000, 5000},  {1020, 5100},
    {1080, 5400}, {1140, 5630}, {1260, 6050}, {1380, 6370},  {1440, 6650},  {1500, 6680},
    {1620, 6790}, {1740, 7320}, {1800, 7570}, {1860, 7820},  {1980, 8330},  {2100, 8830},
    {2160, 9080}, {2220, 9330}, {2340, 9840}, {2460, 10340}, {2580, 10600}, {2820, 10210},
    {2940, 9820}, {3000, 9670}, {3180, 8740}, {3300, 8090},  {3540, 6730},  {3660, 6130},
    {3900, 4400}, {4020, 3700}, {4260, 2750}, {4380, 2190},
}};

std::size_t Lines(std::span<const double> f, std::span<const double> m) {
    return std::min(f.size(), m.size());
}

double SumSquares(std::span<const double> m) {
    double sum = 0.0;
    for (double v : m) sum += v * v;
    return sum;
}

double HarmonicSumSquares(std::span<const double> f, std::span<const double> m, double F) {
    double sum = 0.0;
    for (std::size_t i = 0, n = Lines(f, m); i < n; ++i)
        if (IsHarmonicLine(f[i], F)) sum += m[i] * m[i];
    return sum;
}

// sqrt(a^2 - b^2) when the difference is positive, else 0. Magnitudes are
// signed, so the squares are compared rather than the values.
double RootOfDifference(double a, double b) {
    const double d = a * a - b * b;
    return d > 0.0 ? std::sqrt(d) : 0.0;
}

double WeightedSumSquares(std::span<const double> f, std::span<const double> m) {
    double sum = 0.0;
    for (std::size_t i = 0, n = Lines(f, m); i < n; ++i) {
        const double w = m[i] * TifWeight(f[i]);
        sum += w * w;
    }
    return sum;
}

}  // namespace

const std::span<const TifPoint> kTifTable(kTifPoints);

bool IsHarmonicLine(double f, double fundamental) {
    if (fundamental == 0.0) return false;
    return std::fmod(f, fundamental) < 0.1;
}

double LineSum(std::span<const double> f, std::span<const double> m, double fundamental) {
    if (fundamental == 0.0) return 0.0;
    double sum = 0.0;
    for (std::size_t i = 0, n = Lines(f, m); i < n; ++i) sum += m[i];
    return sum;
}

double HarmonicRms(std::span<const double> f, std::span<const double> m, double fundamental) {
    if (fundamental == 0.0) return 0.0;
    return std::sqrt(HarmonicSumSquares(f, m, fundamental));
}

double TotalRms(std::span<const double> m) {
    return std::sqrt(SumSquares(m));
}

double HarmonicOnlyRms(std::span<const double> f, std::span<const double> m, double fundamental,
                       double fundamentalValue) {
    return RootOfDifference(HarmonicRms(f, m, fundamental), fundamentalValue);
}

double InterharmonicRms(std::span<const double> f, std::span<const double> m, double fundamental) {
    if (fundamental == 0.0) return 0.0;
    return RootOfDifference(TotalRms(m.first(Lines(f, m))), HarmonicRms(f, m, fundamental));
}

double TotalDistortion(std::span<const double> m, double fundamentalValue) {
    if (fundamentalValue == 0.0) return 0.0;
    return RootOfDifference(TotalRms(m), fundamentalValue) / fundamentalValue * 100.0;
}

double HarmonicDistortion(std::span<const double> f, std::span<const double> m, double fundamental,
                          double fundamentalValue) {
    if (fundamentalValue == 0.0) return 0.0;
    return RootOfDifference(HarmonicRms(f, m, fundamental), fundamentalValue) / fundamentalValue *
           100.0;
}

double InterharmonicDistortion(std::span<const double> f, std::span<const double> m,
                               double fundamental, double fundamentalValue) {
    if (fundamental == 0.0) return 0.0;
    const double td = TotalDistortion(m.first(Lines(f, m)), fundamentalValue);
    const double thd = HarmonicDistortion(f, m, fundamental, fundamentalValue);
    return RootOfDifference(td, thd);
}

double WeightedRms(std::span<const double> f, std::span<const double> m, double fundamental) {
    if (fundamental == 0.0) return 0.0;
    return std::sqrt(WeightedSumSquares(f, m));
}

double TifRatio(std::span<const double> f, std::span<const double> m, double fundamental) {
    const std::size_t n = Lines(f, m);
    if (fundamental == 0.0 || n < 1) return 0.0;
    const double total = SumSquares(m.first(n));
    if (total == 0.0) return 0.0;
    return std::sqrt(WeightedSumSquares(f, m)) / std::sqrt(total);
}

double TifWeight(double f) {
    constexpr double kLow = 180.0, kHigh = 4380.0;
    if (std::isnan(f)) return 0.0;
    if (f < kLow) return std::max(0.0, 30.0 - (kLow - f) * 0.2125);
    if (f > kHigh) return std::max(0.0, 2190.0 - (f - kHigh) * 2.1774193548387095);
    // First point at or above f; f >= 180 so it is never the 60 Hz point.
    const auto hi = std::lower_bound(kTifPoints.begin(), kTifPoints.end(), f,
                                     [](const TifPoint& p, double v) { return p.hz < v; });
    const auto lo = hi - 1;
    return lo->weight + (f - lo->hz) * (hi->weight - lo->weight) / (hi->hz - lo->hz);
}

}  // namespace kov
