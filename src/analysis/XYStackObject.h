#pragma once
// XYStackObject: any y against any x ("X-Y Combine", readers). With a second
// y array the item is a magnitude (y) and phase in radians (y2) per x. It has
// no summary.

#include <cstdint>

#include "stack/PlotableStackObject.h"

namespace kov {

class XYStackObject : public PlotableStackObject {
public:
    // No arrays; both units "Magnitude,Mag,Mag".
    XYStackObject();
    // count points with new x and y arrays, and y2 when withSecondY.
    XYStackObject(std::uint32_t count, bool withSecondY);

    // Calculator operations (Arithmetic.h gives the rules).
    Result Add(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Subtract(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Multiply(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Divide(Ui& ui, const StackObject* second, OperandMode mode, double constant) override;
    Result Negate(Ui& ui) override;
    Result Invert(Ui& ui) override;
    Result XYCombine(Ui& ui, const StackObject* second) override;
    Result Square(Ui& ui) override;
    Result SquareRoot(Ui& ui) override;
    Result AbsValue(Ui& ui) override;
    Result VIDbRatio(Ui& ui, const StackObject* second, double reference) override;
    Result PowerDbRatio(Ui& ui, const StackObject* second, double reference) override;
    Result Integrate(Ui& ui) override;
    Result SampleIndexesByStep(Ui& ui, long first, long last, double step) override;
    Result SampleIndexesByCount(Ui& ui, long first, long last, long count) override;
    Result SampleValuesByStep(Ui& ui, double first, double last, double step) override;
    Result SampleValuesByCount(Ui& ui, double first, double last, long count) override;
};

}  // namespace kov
