#include "stack/Alignment.h"

#include <cmath>

namespace kov {

bool SameGrid(const PlotableStackObject& a, const PlotableStackObject& b) {
    const std::size_t n = a.pointCount();
    if (n == 0 || n != b.pointCount()) return false;
    if (!a.xExact) {
        if (!b.xValues || a.xValues.size() < n || b.xValues.size() < n) return false;
        const double s1 = a.scale(kAxisX), s2 = b.scale(kAxisX);
        double tolerance =
            1e-8 * s1 * std::fabs(static_cast<double>(a.xValues[n - 1]) - a.xValues[0]);
        if (tolerance == 0.0) tolerance = 1e-8;
        tolerance = std::fabs(tolerance);
        for (std::size_t i = 0; i < n; ++i)
            if (std::fabs(s1 * a.xValues[i] - s2 * b.xValues[i]) > tolerance) return false;
        return true;
    }
    if (!b.xExact || a.xExact.size() < n || b.xExact.size() < n) return false;
    if (a.xExact[0] != b.xExact[0] || a.xExact[n - 1] != b.xExact[n - 1]) return false;
    double tolerance = 1e-8 * std::fabs(a.xExact[n - 1] - a.xExact[0]);
    if (tolerance == 0.0) tolerance = 1e-8;
    for (std::size_t i = 0; i < n; ++i)
        if (std::fabs(a.xExact[i] - b.xExact[i]) > tolerance) return false;
    return true;
}

std::vector<double> MergeGrids(std::span<const double> a, std::span<const double> b) {
    std::vector<double> merged;
    merged.reserve(a.size() + b.size());
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const double v = std::min(a[i], b[j]);
        merged.push_back(v);
        while (i < a.size() && a[i] == v) ++i;
        while (j < b.size() && b[j] == v) ++j;
    }
    merged.insert(merged.end(), a.begin() + static_cast<std::ptrdiff_t>(i), a.end());
    merged.insert(merged.end(), b.begin() + static_cast<std::ptrdiff_t>(j), b.end());
    return merged;
}

std::vector<float> ResampleOnto(std::span<const double> x, std::span<const float> y,
                                std::span<const double> grid) {
    std::vector<float> out(grid.size(), 0.0f);
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0) return out;
    std::size_t k = 0;  // x[k] is the first operand X not below the grid point
    for (std::size_t g = 0; g < grid.size(); ++g) {
        const double t = grid[g];
        if (t < x[0] || t > x[n - 1]) continue;
        while (k < n && x[k] < t) ++k;
        if (k < n && x[k] == t) {
            out[g] = y[k];
        } else if (k > 0 && k < n) {
            const double x0 = x[k - 1], x1 = x[k];
            const double f = (t - x0) / (x1 - x0);
            out[g] = static_cast<float>(y[k - 1] + f * (static_cast<double>(y[k]) - y[k - 1]));
        }
    }
    return out;
}

namespace {
std::vector<double> TrueX(const PlotableStackObject& item) {
    std::vector<double> x(item.pointCount());
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = item.XAt(i);
    return x;
}
}  // namespace

AlignedOperands AlignOperands(const PlotableStackObject& first, const PlotableStackObject& second,
                              PlotableStackObject& result, bool withY2) {
    AlignedOperands aligned;
    if (SameGrid(first, second)) {
        result.CloneShape(first);
        aligned.firstY = first.yValues.values();
        aligned.secondY = second.yValues.values();
        if (withY2) {
            // A missing Y2 reads as zeros.
            const std::size_t n = first.pointCount();
            aligned.storage_[1].assign(n, 0.0f);
            aligned.storage_[3].assign(n, 0.0f);
            aligned.firstY2 = first.y2Values ? first.y2Values.values()
                                             : std::span<const float>(aligned.storage_[1]);
            aligned.secondY2 = second.y2Values ? second.y2Values.values()
                                               : std::span<const float>(aligned.storage_[3]);
        }
        return aligned;
    }

    const std::vector<double> xa = TrueX(first), xb = TrueX(second);
    const std::vector<double> grid = MergeGrids(xa, xb);
    const bool exact = first.xExact && second.xExact;
    result.Resize(static_cast<std::uint32_t>(grid.size()));
    result.PrepareLike(first);
    auto x = result.xValues.MutableValues();
    if (exact) {
        auto xe = result.xExact.MutableValues();  // PrepareLike made it: first has exact X
        for (std::size_t i = 0; i < grid.size(); ++i) {
            x[i] = static_cast<float>(i);
            xe[i] = grid[i];
        }
    } else {
        result.xExact = DoubleArray();
        for (std::size_t i = 0; i < grid.size(); ++i) x[i] = static_cast<float>(grid[i]);
    }

    auto resample = [&](const std::vector<double>& itemX, const FloatArray& values,
                        std::vector<float>& into) {
        into = values ? ResampleOnto(itemX, values.values(), grid)
                      : std::vector<float>(grid.size(), 0.0f);
    };
    resample(xa, first.yValues, aligned.storage_[0]);
    resample(xb, second.yValues, aligned.storage_[2]);
    aligned.firstY = aligned.storage_[0];
    aligned.secondY = aligned.storage_[2];
    if (withY2) {
        resample(xa, first.y2Values, aligned.storage_[1]);
        resample(xb, second.y2Values, aligned.storage_[3]);
        aligned.firstY2 = aligned.storage_[1];
        aligned.secondY2 = aligned.storage_[3];
    }
    return aligned;
}

}  // namespace kov
