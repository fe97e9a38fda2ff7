#pragma once
// Fourier transform records and numeric routines.
//
// Spectrum lines made here hold, for line 0, the mean value of the window
// (|X0| / N) and, for every other line h, the RMS value of that component
// (|Xh| / (N/2) / sqrt 2). Magnitudes are divided by the window's energy gain
// sqrt(sum w^2 / n), which corrects for the energy a window removes (not its
// coherent gain). Phases are those of the forward transform with the negative
// exponent: A cos(2 pi f t + phi) starting at the window start shows phi.

#include <cstdint>
#include <span>
#include <vector>

namespace kov {

enum WindowType : int {
    kWindowRectangular = 0,
    kWindowHanning = 1,
    kWindowWelsh = 2,
    kWindowBartlett = 3
};

// Sliding output items of the FFT besides harmonic numbers.
enum SlidingItem : int {
    kItemRms = -1,
    kItemPeak = -2,
    kItemCrestFactor = -3,
    kItemFormFactor = -4
};

struct FFTParameters {
    std::uint16_t sliding = 0;  // 0 single, 1 sliding
    float fundamental = 60.0f;  // Hz
    std::int16_t cycles = 1;    // negative: from the waveform's length (written back)
    float startTime = 0.0f;     // s
    int window = kWindowRectangular;
    float step = 0.001666667f;  // sliding step, s
    int item = 5;               // harmonic number, or a SlidingItem
};

struct DFTParameters {
    std::uint16_t sliding = 0;
    bool autoFundamental = false;
    float fundamental = 60.0f;
    std::int16_t cycles = 1;
    float startTime = 0.0f;
    std::uint32_t lastHarmonic = 50;
    int window = kWindowRectangular;
    float step = 0.001666667f;
    std::uint32_t item = 5;
};

struct IDFTParameters {
    int cycles = 2;
    bool sine = true;  // sine series; false: cosine series
};

// Multiplies x by the window and returns its gain sqrt(sum w[i]^2 / n).
double ApplyWindow(std::span<float> x, int windowType);

// In-place radix-2 transform of n = 2^log2n complex values, unscaled:
// X_h = sum x_i e^(-j 2 pi h i / n).
void FFTInPlace(std::span<float> re, std::span<float> im, unsigned log2n);

// Direct transform at lines 0..lineCount-1 spaced omega rad/s apart:
// Re_h = (1/m) sum x_i cos(i dt h omega), Im_h = -(1/m) sum x_i sin(...).
void DFTLines(std::span<const float> x, double dt, std::size_t lineCount, float omega,
              std::vector<double>& re, std::vector<double>& im);

double RootMeanSquare(std::span<const float> x);  // sqrt(sum x^2 / n), 0 when empty
// The larger of |largest| and |smallest| value (starting from -1e30 and 1e30).
double PeakMagnitude(std::span<const float> x);

// Magnitude and phase of line h of an unscaled n-point transform, divided by
// the window gain: the mean for line 0, the component's RMS value otherwise.
void SpectrumLine(double re, double im, std::size_t h, std::size_t n, double gain, float& magnitude,
                  float& phase);
double MeanAbsolute(std::span<const float> x);  // sum |x| / n, 0 when empty

// One transform window: the waveform (t, y) resampled at start + i * dtPrime
// for i < n (n a power of two), linear inside the data and extrapolated from
// the two nearest samples outside it.
struct FftWindow {
    std::vector<float> frequency, magnitude, phase;  // n/2 lines
    double peak = 0.0;  // largest |value| of the resampled window, before the window function
    double rms = 0.0;   // RMS of the resampled window, before the window function
    double meanAbs = 0.0;
};
FftWindow TransformWindow(std::span<const double> t, std::span<const float> y, double start,
                          double dtPrime, unsigned log2n, double lineSpacing, int windowType);

// Resamples (t, y) at start + i * step, i < count, walking forward: an equal
// time takes the sample, an instant between two samples the line through
// them; before the data the line through the first two samples continues,
// past it the line through the last two.
void ResampleWindow(std::span<const double> t, std::span<const float> y, double start, double step,
                    std::span<float> out);

}  // namespace kov
