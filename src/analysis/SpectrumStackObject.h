#pragma once
// SpectrumStackObject: a set of frequency lines, each with a magnitude and a
// phase, read from a harmonic study or a monitor, or made by the FFT or DFT.
//
// Arrays (n lines each, single precision): x = frequency in Hz, y = magnitude
// (in the unit its maker gives, e.g. volts: what each line holds is decided by
// the maker; the Fourier transforms store the mean for the DC line and the RMS
// value for every other line, with the window's gain divided out), y2 = phase
// in radians.

#include <cstdint>

#include "stack/PlotableStackObject.h"

namespace kov {

// The twelve harmonic indices of a spectrum, computed over the displayed
// magnitudes M = m x (magnitude scale), with k the fundamental line:
//   freq   F = f[k] x (frequency scale), the fundamental frequency shown
//   fund   A = M[k], the fundamental value
//   thd    HarmonicDistortion, percent       td     TotalDistortion, percent
//   tid    InterharmonicDistortion, percent
//   rmsfh  HarmonicRms: fundamental and harmonics, DC included
//   rmsh   HarmonicOnlyRms: harmonics without the fundamental, DC included
//   rmsi   InterharmonicRms                  rms    TotalRms
//   asum   LineSum, the signed sum of the lines
//   tif    TifRatio (unitless)               it     WeightedRms, the I-T product
// The harmonic test and the weights use the stored frequencies in Hz.
class SpectrumSummaryData : public SummaryData {
public:
    double freq = 0, fund = 0, thd = 0, td = 0, tid = 0, rmsfh = 0, rmsh = 0, rmsi = 0, rms = 0,
           asum = 0, tif = 0, it = 0;
};

class SpectrumStackObject : public PlotableStackObject {
public:
    // No arrays; x in Hz, magnitude "Magnitude,Mag,Mag", phase in degrees.
    SpectrumStackObject();
    // count lines with new, zeroed frequency, magnitude and phase arrays.
    SpectrumStackObject(std::uint32_t count, std::uint16_t magnitudeUnitId);
    // Takes the three arrays (count lines each).
    SpectrumStackObject(std::uint32_t count, std::uint16_t magnitudeUnitId, FloatArray frequencies,
                        FloatArray magnitudes, FloatArray phases);

    // Index of the line at the fundamental; -1 until determined. The summary
    // determines it when it is -1 (or outside the lines) and keeps it.
    std::int32_t FundamentalIndex = -1;

    void Resize(std::uint32_t count) override;
    void CloneShape(const PlotableStackObject& source) override;
    void ComputeSummary() override;
    // Calculator operations (Arithmetic.h gives the rules).
    Result Add(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Subtract(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Multiply(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Divide(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Negate(Ui& ui) override;
    Result Invert(Ui& ui) override;
    Result Square(Ui& ui) override;
    Result SquareRoot(Ui& ui) override;
    Result AbsValue(Ui& ui) override;
    Result VIDbRatio(Ui& ui, const StackObject* second, double reference) override;
    Result PowerDbRatio(Ui& ui, const StackObject* second, double reference) override;
    Result Idft(Ui& ui, IDFTParameters& parameters) override;
    Result SampleIndexesByStep(Ui& ui, long first, long last, double step) override;
    Result SampleIndexesByCount(Ui& ui, long first, long last, long count) override;
    Result SampleValuesByStep(Ui& ui, double first, double last, double step) override;
    Result SampleValuesByCount(Ui& ui, double first, double last, long count) override;

    // The fundamental line: the first line within 0.1 Hz of the x-axis
    // per-unit base value (taken in single precision), else the line of the
    // largest magnitude (the first of equal maxima; line 0 when none is above 0).
    std::int32_t FindFundamentalLine() const;
};

}  // namespace kov
