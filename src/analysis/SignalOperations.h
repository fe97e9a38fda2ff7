#pragma once
// Numerics of the waveform-only calculator operations: correlations, the
// zero-phase filters and the cross spectra of the transfer and coherence
// functions. All sums are accumulated in double precision.

#include <complex>
#include <span>
#include <vector>

namespace kov {

// Filter types of the "Filter" operation.
enum FilterType : int {
    kFilterHighPass = 0,
    kFilterLowPass = 1,
    kFilterBandPass = 2,
    kFilterBandReject = 3
};

// Trapezoid integral with step h of p[i] = y1[i] y2[i + k] over i = 0..n-1
// (n = y1's length; p is 0 where i + k is outside 0..n-1 or past y2's end):
// h ((p[0] + p[n-1]) / 2 + sum p[1..n-2]). A second signal shorter than the
// first reads as 0 past its end.
double CorrelationAtLag(std::span<const float> y1, std::span<const float> y2, long k, double h);

// R[k], k = 0..n-1, of a signal with itself. Up to 2048 samples the lag sums
// are taken directly; longer signals get them from a double-precision FFT
// (n log n instead of n^2), which agrees to about 1e-12 of the largest sum.
std::vector<double> AutoCorrelationValues(std::span<const float> y, double h);

// R at lags 1-n..n-1 (2n - 1 values, lag 1-n first).
std::vector<double> CrossCorrelationValues(std::span<const float> y1, std::span<const float> y2,
                                           double h);

// Zero-phase Butterworth filtering in place (each pass forward and backward):
//   high pass at f1; low pass at f1;
//   band pass: d = y - highpass(y, f2), then highpass(d, f1): passes f1..f2;
//   band reject: y - bandpass(y): the exact complement of the band pass, so
//   the band f1..f2 is removed and both sides kept with zero phase.
// For the band types f1 and f2 are taken in ascending order.
void FilterSignal(std::span<float> y, int type, double f1, double f2, double dt, int sections);

// The cross spectra of the transfer and coherence functions: both signals
// high-passed at 120 Hz (3 sections, zero phase); R11, R22 (n points) and R12
// (2n - 1 points) with step h; each transformed with DFTLines at `lines` lines
// spaced 10 Hz apart (omega = 2 pi 10 held in single precision).
struct CrossSpectra {
    std::vector<std::complex<double>> s11, s22, s12;
};
// The number of lines: trunc(2 pi 1200 / omega) + 1 with omega = 2 pi 10 in
// single precision, i.e. 121 (0 to 1200 Hz).
std::size_t CrossSpectrumLines();
CrossSpectra ComputeCrossSpectra(std::span<const float> y1, std::span<const float> y2, double dt,
                                 double h);

}  // namespace kov
