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
    Result SampleIndexesByStep(Ui& ui, long first, long last, double step) override;
    Result SampleIndexesByCount(Ui& ui, long first, long last, long count) override;
    Result SampleValuesByStep(Ui& ui, double first, double last, double step) override;
    Result SampleValuesByCount(Ui& ui, double first, double last, long count) override;
};

}  // namespace kov
