#pragma once
// ScanStackObject: a frequency response such as a driving-point impedance:
// x = frequency in Hz, y = magnitude, y2 = phase in radians, n points each.

#include <cstdint>

#include "stack/PlotableStackObject.h"

namespace kov {

// "Min:" and "Max:", the smallest and largest magnitude as stored.
class ScanSummaryData : public SummaryData {
public:
    double min = 0, max = 0;
};

class ScanStackObject : public PlotableStackObject {
public:
    // No arrays; x "Frequency,Hertz,Hz", magnitude "Magnitude,Mag,Mag",
    // phase "Phase,Degrees".
    ScanStackObject();
    // count points with new frequency, magnitude and phase arrays.
    ScanStackObject(std::uint32_t count, std::uint16_t magnitudeUnitId);

    void ComputeSummary() override;
};

}  // namespace kov
