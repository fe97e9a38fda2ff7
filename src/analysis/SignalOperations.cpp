#include "analysis/SignalOperations.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/Butterworth.h"
#include "analysis/Fourier.h"

namespace kov {

double CorrelationAtLag(std::span<const float> y1, std::span<const float> y2, long k, double h) {
    const long n = static_cast<long>(y1.size());
    if (n == 0) return 0.0;
    const long m = static_cast<long>(y2.size());
    // i runs where both i and i + k are valid indexes.
    const long from = std::max(0L, -k);
    const long to = std::min(n, m - k);  // exclusive
    double sum = 0.0;
    for (long i = from; i < to; ++i)
        sum += static_cast<double>(y1[static_cast<std::size_t>(i)]) *
               y2[static_cast<std::size_t>(i + k)];
    auto p = [&](long i) {
        const long j = i + k;
        return j >= 0 && j < m ? static_cast<double>(y1[static_cast<std::size_t>(i)]) *
                                     y2[static_cast<std::size_t>(j)]
                               : 0.0;
    };
    if (n == 1) return h * p(0);
    return h * (sum - (p(0) + p(n - 1)) / 2.0);
}

namespace {

// Up to this length the lag sums are taken directly (n^2 products); longer
// signals go through a double-precision FFT (n log n).
constexpr std::size_t kDirectLimit = 2048;

// In-place radix-2 transform of n = a.size() (a power of two) complex doubles;
// the inverse without the 1/n scaling.
void FftDouble(std::vector<std::complex<double>>& a, bool inverse) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j |= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    std::vector<std::complex<double>> w(n / 2);
    for (std::size_t half = 1; half < n; half <<= 1) {
        const double angle = (inverse ? 1.0 : -1.0) * std::numbers::pi / static_cast<double>(half);
        for (std::size_t k = 0; k < half; ++k)
            w[k] = std::polar(1.0, angle * static_cast<double>(k));
        for (std::size_t block = 0; block < n; block += 2 * half)
            for (std::size_t k = 0; k < half; ++k) {
                const std::complex<double> t = w[k] * a[block + k + half];
                a[block + k + half] = a[block + k] - t;
                a[block + k] += t;
            }
    }
}

// S[k + n - 1] = sum over i of y1[i] y2[i + k] for k = 1-n..n-1, n = y1's
// length (y2 no longer than y1).
std::vector<double> LagSums(std::span<const float> y1, std::span<const float> y2) {
    const std::size_t n = y1.size();
    std::size_t size = 1;
    while (size < 2 * n) size <<= 1;
    std::vector<std::complex<double>> a(size), b(size);
    for (std::size_t i = 0; i < n; ++i) a[i] = y1[i];
    for (std::size_t i = 0; i < y2.size(); ++i) b[i] = y2[i];
    FftDouble(a, false);
    FftDouble(b, false);
    // conj(A) B transformed back holds sum_i y1[i] y2[i + k] at index k mod size.
    for (std::size_t i = 0; i < size; ++i) a[i] = std::conj(a[i]) * b[i];
    FftDouble(a, true);
    std::vector<double> sums(2 * n - 1);
    const double scale = 1.0 / static_cast<double>(size);
    const long ln = static_cast<long>(n);
    for (long k = 1 - ln; k < ln; ++k) {
        const std::size_t index =
            k >= 0 ? static_cast<std::size_t>(k) : size - static_cast<std::size_t>(-k);
        sums[static_cast<std::size_t>(k + ln - 1)] = a[index].real() * scale;
    }
    return sums;
}

// The trapezoid of lag k from the plain sum of its products: the first and
// last products count half.
double TrapezoidFromSum(std::span<const float> y1, std::span<const float> y2, long k, double sum,
                        double h) {
    const long n = static_cast<long>(y1.size());
    const long m = static_cast<long>(y2.size());
    // A lag without any product is exactly 0, not the transform's rounding noise.
    if (std::min(n, m - k) <= std::max(0L, -k)) return 0.0;
    auto p = [&](long i) {
        const long j = i + k;
        return j >= 0 && j < m ? static_cast<double>(y1[static_cast<std::size_t>(i)]) *
                                     y2[static_cast<std::size_t>(j)]
                               : 0.0;
    };
    if (n == 1) return h * p(0);
    return h * (sum - (p(0) + p(n - 1)) / 2.0);
}

}  // namespace

std::vector<double> AutoCorrelationValues(std::span<const float> y, double h) {
    const std::size_t n = y.size();
    std::vector<double> r(n);
    if (n <= kDirectLimit) {
        for (std::size_t k = 0; k < n; ++k) r[k] = CorrelationAtLag(y, y, static_cast<long>(k), h);
        return r;
    }
    const std::vector<double> sums = LagSums(y, y);
    for (std::size_t k = 0; k < n; ++k)
        r[k] = TrapezoidFromSum(y, y, static_cast<long>(k), sums[k + n - 1], h);
    return r;
}

std::vector<double> CrossCorrelationValues(std::span<const float> y1, std::span<const float> y2,
                                           double h) {
    const long n = static_cast<long>(y1.size());
    if (n == 0) return {};
    std::vector<double> r(static_cast<std::size_t>(2 * n - 1));
    if (y1.size() <= kDirectLimit) {
        for (long k = 1 - n; k <= n - 1; ++k)
            r[static_cast<std::size_t>(k + n - 1)] = CorrelationAtLag(y1, y2, k, h);
        return r;
    }
    // Only the first n samples of the second signal are ever read.
    const std::span<const float> second = y2.first(std::min(y1.size(), y2.size()));
    const std::vector<double> sums = LagSums(y1, second);
    for (long k = 1 - n; k <= n - 1; ++k) {
        const auto i = static_cast<std::size_t>(k + n - 1);
        r[i] = TrapezoidFromSum(y1, second, k, sums[i], h);
    }
    return r;
}

void FilterSignal(std::span<float> y, int type, double f1, double f2, double dt, int sections) {
    switch (type) {
        case kFilterHighPass:
            ButterworthZeroPhase(y, FilterKind::HighPass, f1, dt, sections);
            return;
        case kFilterLowPass:
            ButterworthZeroPhase(y, FilterKind::LowPass, f1, dt, sections);
            return;
        default:
            break;
    }
    const double lo = std::min(f1, f2), hi = std::max(f1, f2);
    std::vector<float> band(y.begin(), y.end());
    std::vector<float> high(y.begin(), y.end());
    ButterworthZeroPhase(high, FilterKind::HighPass, hi, dt, sections);
    for (std::size_t i = 0; i < band.size(); ++i) band[i] -= high[i];
    ButterworthZeroPhase(band, FilterKind::HighPass, lo, dt, sections);
    if (type == kFilterBandReject) {
        for (std::size_t i = 0; i < band.size(); ++i) y[i] -= band[i];
    } else {
        std::copy(band.begin(), band.end(), y.begin());
    }
}

namespace {
float CrossSpectrumOmega() {
    return static_cast<float>(2.0 * std::numbers::pi * 10.0);
}
}  // namespace

std::size_t CrossSpectrumLines() {
    return static_cast<std::size_t>(std::trunc(2.0 * std::numbers::pi * 1200.0 /
                                               static_cast<double>(CrossSpectrumOmega()))) +
           1;
}

CrossSpectra ComputeCrossSpectra(std::span<const float> y1, std::span<const float> y2, double dt,
                                 double h) {
    const std::size_t n = y1.size();
    std::vector<float> a(y1.begin(), y1.end());
    std::vector<float> b(n, 0.0f);  // read by the first signal's indexes; 0 past its end
    std::copy_n(y2.begin(), std::min(n, y2.size()), b.begin());
    ButterworthZeroPhase(a, FilterKind::HighPass, 120.0, dt, 3);
    ButterworthZeroPhase(b, FilterKind::HighPass, 120.0, dt, 3);
    auto asFloat = [](const std::vector<double>& v) {
        return std::vector<float>(v.begin(), v.end());
    };
    const std::vector<float> r11 = asFloat(AutoCorrelationValues(a, h));
    const std::vector<float> r22 = asFloat(AutoCorrelationValues(b, h));
    const std::vector<float> r12 = asFloat(CrossCorrelationValues(a, b, h));
    const std::size_t lines = CrossSpectrumLines();
    const float omega = CrossSpectrumOmega();
    CrossSpectra s;
    auto transform = [&](const std::vector<float>& r, std::vector<std::complex<double>>& out) {
        std::vector<double> re, im;
        DFTLines(r, dt, lines, omega, re, im);
        out.resize(lines);
        for (std::size_t i = 0; i < lines; ++i) out[i] = {re[i], im[i]};
    };
    transform(r11, s.s11);
    transform(r22, s.s22);
    transform(r12, s.s12);
    return s;
}

}  // namespace kov
