// The calculator operations of the analysis item kinds: each forwards to the
// generic workers of Arithmetic.h, which pick the real or line-by-line rules
// from the item's arrays.

#include "analysis/Arithmetic.h"
#include "analysis/ScanStackObject.h"
#include "analysis/SpectrumStackObject.h"
#include "analysis/StatisticItems.h"
#include "analysis/Transforms.h"
#include "analysis/TrendStackObject.h"
#include "analysis/XYStackObject.h"

namespace kov {

using Result = StackObject::Result;

#define KOV_BINARY(Class, Name)                                                         \
    Result Class::Name(Ui& ui, const StackObject* second, OperandMode mode, double c) { \
        return Arithmetic(ui, *this, ArithmeticOp::Name, second, mode, c);              \
    }
#define KOV_UNARY(Class, Name)                                                                 \
    Result Class::Name(Ui& ui) {                                                               \
        return Arithmetic(ui, *this, ArithmeticOp::Name, nullptr, OperandMode::Constant, 0.0); \
    }
#define KOV_DB(Class, Name)                                                                      \
    Result Class::Name(Ui& ui, const StackObject* second, double reference) {                    \
        return Arithmetic(ui, *this, ArithmeticOp::Name, second, OperandMode::Curve, reference); \
    }
#define KOV_SAMPLING(Class)                                                             \
    Result Class::SampleIndexesByStep(Ui& ui, long first, long last, double step) {     \
        return SampleItem(ui, *this, {true, first, last, 0.0, 0.0, true, step, 0});     \
    }                                                                                   \
    Result Class::SampleIndexesByCount(Ui& ui, long first, long last, long count) {     \
        return SampleItem(ui, *this, {true, first, last, 0.0, 0.0, false, 0.0, count}); \
    }                                                                                   \
    Result Class::SampleValuesByStep(Ui& ui, double first, double last, double step) {  \
        return SampleItem(ui, *this, {false, 0, 0, first, last, true, step, 0});        \
    }                                                                                   \
    Result Class::SampleValuesByCount(Ui& ui, double first, double last, long count) {  \
        return SampleItem(ui, *this, {false, 0, 0, first, last, false, 0.0, count});    \
    }
#define KOV_ARITHMETIC(Class)    \
    KOV_BINARY(Class, Add)       \
    KOV_BINARY(Class, Subtract)  \
    KOV_BINARY(Class, Multiply)  \
    KOV_BINARY(Class, Divide)    \
    KOV_UNARY(Class, Negate)     \
    KOV_UNARY(Class, Invert)     \
    KOV_UNARY(Class, Square)     \
    KOV_UNARY(Class, SquareRoot) \
    KOV_UNARY(Class, AbsValue)   \
    KOV_DB(Class, VIDbRatio)     \
    KOV_DB(Class, PowerDbRatio)

KOV_ARITHMETIC(SpectrumStackObject)
KOV_SAMPLING(SpectrumStackObject)
Result SpectrumStackObject::Idft(Ui& ui, IDFTParameters& parameters) {
    return IdftOfSpectrum(ui, *this, parameters);
}

KOV_ARITHMETIC(ScanStackObject)
KOV_SAMPLING(ScanStackObject)

KOV_ARITHMETIC(TrendStackObject)

KOV_ARITHMETIC(XYStackObject)
KOV_SAMPLING(XYStackObject)
Result XYStackObject::XYCombine(Ui& ui, const StackObject* second) {
    return XYCombineItems(ui, *this, second);
}
Result XYStackObject::Integrate(Ui& ui) {
    return IntegrateItem(ui, *this);
}

#define KOV_STATISTIC_KIND(Class)                                \
    KOV_BINARY(Class, Multiply)                                  \
    KOV_BINARY(Class, Divide)                                    \
    KOV_UNARY(Class, Negate)                                     \
    KOV_UNARY(Class, Invert)                                     \
    Result Class::XYCombine(Ui& ui, const StackObject* second) { \
        return XYCombineItems(ui, *this, second);                \
    }

KOV_STATISTIC_KIND(ProbabilityStackObject)
KOV_STATISTIC_KIND(HistogramStackObject)

}  // namespace kov
