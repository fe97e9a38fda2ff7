#pragma once
// The Fourier transforms of stack items: FFT (single window → spectrum,
// sliding windows → trend), DFT at the harmonic lines of a fundamental, and
// the inverse DFT of a spectrum as a sine or cosine series. Line contents
// follow Fourier.h: line 0 holds the mean, every other line the RMS value of
// its component, with the window's energy gain divided out; phases in radians.
//
// The records are read and, where a value is found automatically, written
// back: a negative cycles count becomes the count taken from the waveform's
// length, and the DFT's automatically found fundamental replaces its field.

#include <memory>
#include <span>

#include "analysis/Fourier.h"
#include "stack/StackObject.h"

namespace kov {

class Ui;
class WaveStackObject;
class SpectrumStackObject;

// FFT of a waveform. Single: a spectrum of N/2 lines spaced f0/Nc apart,
// N the power of two nearest (on a log scale) to the window length over the
// sample step, FundamentalIndex = Nc. Sliding: a trend of one quantity per
// window (harmonic magnitude, RMS, peak, crest or form factor) at the window
// centres. Refuses, after a message, a non-increasing first time step, a
// sliding step of 0, a cycles count of 0, a fundamental that is not above 0,
// and a sliding harmonic whose line lies beyond the window's lines.
std::unique_ptr<StackObject> FftOfWave(Ui& ui, const WaveStackObject& wave,
                                       FFTParameters& parameters);

// DFT of a waveform over Nc cycles from the start time: lastHarmonic x Nc + 1
// lines spaced f0/Nc apart. Sliding is refused.
std::unique_ptr<StackObject> DftOfWave(Ui& ui, const WaveStackObject& wave,
                                       DFTParameters& parameters);

// A waveform of trunc(T / dt) samples, T = cycles / f (f the fundamental of
// the spectrum), dt = min(1 / (128 f), 1 / (2 f_last)); each line adds
// A (DC) or sqrt 2 A sin (or cos)(2 pi f_j t + phi_j).
std::unique_ptr<StackObject> IdftOfSpectrum(Ui& ui, const SpectrumStackObject& spectrum,
                                            const IDFTParameters& parameters);

// The fundamental of a signal from its zero crossings after a zero-phase
// 120 Hz low pass (3 sections): the span of the first three crossings is one
// period; f0 is rounded to 0.1 Hz. 60 and false when fewer than three
// crossings are found (or fewer than 2 samples are given).
bool FindFundamental(std::span<const double> times, std::span<const float> values, float& f0);

}  // namespace kov
