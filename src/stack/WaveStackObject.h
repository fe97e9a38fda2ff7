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
};

}  // namespace kov
