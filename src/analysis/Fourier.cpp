#include "analysis/Fourier.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace kov {

double ApplyWindow(std::span<float> x, int windowType) {
    const std::size_t n = x.size();
    if (n == 0) return 1.0;
    if (windowType < kWindowHanning || windowType > kWindowBartlett) return 1.0;
    const double c = static_cast<double>(n) / 2.0;
    double sumSquares = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double di = static_cast<double>(i);
        double w = 1.0;
        switch (windowType) {
            case kWindowHanning:
                w = 0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * di / static_cast<double>(n)));
                break;
            case kWindowWelsh: {
                const double r = (di - c) / c;
                w = 1.0 - r * r;
                break;
            }
            case kWindowBartlett:
                w = 1.0 - std::fabs((di - c) / c);
                break;
        }
        x[i] = static_cast<float>(x[i] * w);
        sumSquares += w * w;
    }
    return std::sqrt(sumSquares / static_cast<double>(n));
}

void FFTInPlace(std::span<float> re, std::span<float> im, unsigned log2n) {
    const std::size_t n = std::size_t{1} << log2n;
    if (re.size() < n || im.size() < n) return;
    // Bit-reversal reordering.
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j |= bit;
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    // Butterflies. Within a stage of half-size `half` the twiddle factor
    // advances by e^(-j pi / half) (recurrence in double precision); the
    // factors of a stage are made first so that the butterflies then walk the
    // arrays block by block, in order, instead of striding across them.
    std::vector<double> twiddleRe(n / 2), twiddleIm(n / 2);
    for (std::size_t half = 1; half < n; half <<= 1) {
        const double angle = -std::numbers::pi / static_cast<double>(half);
        const double stepRe = std::cos(angle), stepIm = std::sin(angle);
        double wRe = 1.0, wIm = 0.0;
        for (std::size_t k = 0; k < half; ++k) {
            twiddleRe[k] = wRe;
            twiddleIm[k] = wIm;
            const double next = wRe * stepRe - wIm * stepIm;
            wIm = wRe * stepIm + wIm * stepRe;
            wRe = next;
        }
        for (std::size_t block = 0; block < n; block += 2 * half) {
            for (std::size_t k = 0; k < half; ++k) {
                const std::size_t i = block + k, j = i + half;
                const double tRe = twiddleRe[k] * re[j] - twiddleIm[k] * im[j];
                const double tIm = twiddleRe[k] * im[j] + twiddleIm[k] * re[j];
                re[j] = static_cast<float>(re[i] - tRe);
                im[j] = static_cast<float>(im[i] - tIm);
                re[i] = static_cast<float>(re[i] + tRe);
                im[i] = static_cast<float>(im[i] + tIm);
            }
        }
    }
}

void DFTLines(std::span<const float> x, double dt, std::size_t lineCount, float omega,
              std::vector<double>& re, std::vector<double>& im) {
    re.assign(lineCount, 0.0);
    im.assign(lineCount, 0.0);
    const std::size_t m = x.size();
    if (m == 0) return;
    for (std::size_t h = 0; h < lineCount; ++h) {
        const double rate = dt * static_cast<double>(h) * omega;
        double sumCos = 0.0, sumSin = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            const double theta = static_cast<double>(i) * rate;
            sumCos += x[i] * std::cos(theta);
            sumSin += x[i] * std::sin(theta);
        }
        re[h] = sumCos / static_cast<double>(m);
        im[h] = -sumSin / static_cast<double>(m);
    }
}

double RootMeanSquare(std::span<const float> x) {
    if (x.empty()) return 0.0;
    double sum = 0.0;
    for (float v : x) sum += static_cast<double>(v) * v;
    return std::sqrt(sum / static_cast<double>(x.size()));
}

double PeakMagnitude(std::span<const float> x) {
    double largest = -1e30, smallest = 1e30;
    for (float v : x) {
        largest = std::max(largest, static_cast<double>(v));
        smallest = std::min(smallest, static_cast<double>(v));
    }
    return std::max(std::fabs(largest), std::fabs(smallest));
}

void SpectrumLine(double re, double im, std::size_t h, std::size_t n, double gain, float& magnitude,
                  float& phase) {
    const double modulus = std::sqrt(re * re + im * im);
    const double m = static_cast<double>(n / 2);
    magnitude = static_cast<float>(h == 0 ? modulus / static_cast<double>(n) / gain
                                          : modulus / m / std::numbers::sqrt2 / gain);
    phase = (re == 0.0 && im == 0.0) ? 0.0f : static_cast<float>(std::atan2(im, re));
}

double MeanAbsolute(std::span<const float> x) {
    if (x.empty()) return 0.0;
    double sum = 0.0;
    for (float v : x) sum += std::fabs(static_cast<double>(v));
    return sum / static_cast<double>(x.size());
}

void ResampleWindow(std::span<const double> t, std::span<const float> y, double start, double step,
                    std::span<float> out) {
    const std::size_t n = std::min(t.size(), y.size());
    if (n == 0) {
        std::fill(out.begin(), out.end(), 0.0f);
        return;
    }
    if (n == 1) {
        std::fill(out.begin(), out.end(), y[0]);
        return;
    }
    std::size_t k = 0;  // first sample not earlier than the instant; never moves back
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double instant = start + static_cast<double>(i) * step;
        while (k < n && t[k] < instant) ++k;
        if (k < n && t[k] == instant) {
            out[i] = y[k];
            continue;
        }
        // Between two samples the line through them; before the data the
        // first two samples, past it the last two.
        std::size_t a;  // the line through samples a and a + 1
        if (k >= n)
            a = n - 2;
        else if (k == 0)
            a = 0;
        else
            a = k - 1;
        const double t0 = t[a], t1 = t[a + 1];
        const double slope = t1 != t0 ? (static_cast<double>(y[a + 1]) - y[a]) / (t1 - t0) : 0.0;
        out[i] = static_cast<float>(y[a] + slope * (instant - t0));
    }
}

FftWindow TransformWindow(std::span<const double> t, std::span<const float> y, double start,
                          double dtPrime, unsigned log2n, double lineSpacing, int windowType) {
    const std::size_t n = std::size_t{1} << log2n;
    const std::size_t m = n / 2;
    std::vector<float> re(n), im(n, 0.0f);
    ResampleWindow(t, y, start, dtPrime, re);

    FftWindow w;
    w.peak = PeakMagnitude(re);
    w.rms = RootMeanSquare(re);
    w.meanAbs = MeanAbsolute(re);

    const double gain = ApplyWindow(re, windowType);
    FFTInPlace(re, im, log2n);

    w.frequency.resize(m);
    w.magnitude.resize(m);
    w.phase.resize(m);
    for (std::size_t h = 0; h < m; ++h) {
        w.frequency[h] = static_cast<float>(static_cast<double>(h) * lineSpacing);
        SpectrumLine(re[h], im[h], h, n, gain, w.magnitude[h], w.phase[h]);
    }
    return w;
}

}  // namespace kov
