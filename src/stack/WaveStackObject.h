#pragma once
// WaveStackObject: a sampled time-domain signal (voltage, current, power...).

#include "stack/PlotableStackObject.h"

namespace kov {

class WaveSummaryData : public SummaryData {
public:
    // Display values of the Y samples: extremes, largest magnitude, mean of
    // |y|, RMS, crest factor (Abs / RMS) and form factor (RMS / Avg).
    double min = 0, max = 0, abs = 0, avg = 0, rms = 0, cf = 0, ff = 0;
};

class WaveStackObject : public PlotableStackObject {
public:
    // No arrays; time shown in milliseconds, Y a plain magnitude.
    WaveStackObject();
    // count points with X, Y and Y2 arrays, and the given Y unit.
    WaveStackObject(std::uint32_t count, std::uint16_t yUnitId);

    double primaryRatio = 1.0;
    double secondaryRatio = 1.0;
    char valueSide = 'P';  // 'P' primary values, 'S' secondary

    void Resize(std::uint32_t count) override;
    void CloneShape(const PlotableStackObject& source) override;
    void ComputeSummary() override;

    // Fills X and Y (no Y2) from a uniform time base, for readers and tests.
    void SetSamples(FloatArray x, FloatArray y);

    // Calculator operations and transforms of waveforms (defined with the
    // analysis code, which owns their numerics).
    Result Add(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Subtract(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Multiply(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Divide(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Negate(Ui& ui) override;
    Result Invert(Ui& ui) override;
    Result Fft(Ui& ui, FFTParameters& parameters) override;
    Result Dft(Ui& ui, DFTParameters& parameters) override;
    Result Power(Ui& ui, const StackObject* second) override;
    Result Energy(Ui& ui, const StackObject* second) override;
    Result ISquaredT(Ui& ui) override;
    Result XYCombine(Ui& ui, const StackObject* second) override;
    Result Square(Ui& ui) override;
    Result SquareRoot(Ui& ui) override;
    Result AbsValue(Ui& ui) override;
    Result VIDbRatio(Ui& ui, const StackObject* second, double reference) override;
    Result PowerDbRatio(Ui& ui, const StackObject* second, double reference) override;
    Result Integrate(Ui& ui) override;
    Result Filter(Ui& ui, int type, float f1, float f2, int order) override;
    Result WindowFunction(Ui& ui, int windowType) override;
    Result AutoCorrelation(Ui& ui) override;
    Result CrossCorrelation(Ui& ui, const StackObject* second) override;
    Result TransferFunction(Ui& ui, const StackObject* second) override;
    Result CoherenceFunction(Ui& ui, const StackObject* second) override;
    Result TimeShift(Ui& ui, double shift) override;
    Result SampleIndexesByStep(Ui& ui, long first, long last, double step) override;
    Result SampleIndexesByCount(Ui& ui, long first, long last, long count) override;
    Result SampleValuesByStep(Ui& ui, double first, double last, double step) override;
    Result SampleValuesByCount(Ui& ui, double first, double last, long count) override;
};

}  // namespace kov
