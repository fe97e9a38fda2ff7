// The calculator operations and transforms of WaveStackObject. The class is
// declared with the stack model; its operations live here, with the numerics
// they use.

#include <algorithm>
#include <cmath>

#include "analysis/Arithmetic.h"
#include "analysis/OperationSupport.h"
#include "analysis/ScanStackObject.h"
#include "analysis/SignalOperations.h"
#include "analysis/Transforms.h"
#include "analysis/TrendStackObject.h"
#include "platform/Strings.h"
#include "platform/Ui.h"
#include "stack/WaveStackObject.h"

namespace kov {

namespace {

using Result = StackObject::Result;

// A copy of the waveform with the same X (shared) and its Y values copied,
// for the operations that transform Y in place.
std::unique_ptr<WaveStackObject> CopyOf(const WaveStackObject& wave) {
    auto result = std::make_unique<WaveStackObject>();
    result->CloneShape(wave);
    const std::size_t n = std::min<std::size_t>(result->pointCount(), wave.yValues.size());
    std::copy_n(wave.yValues.data(), n, result->yValues.MutableData());
    if (wave.y2Values) result->y2Values = wave.y2Values;
    return result;
}

WaveStackObject& AsWave(Result& item) {
    return static_cast<WaveStackObject&>(*item);
}

// The time step of the first two samples; 0 when there are fewer than two.
double FirstStep(const WaveStackObject& wave) {
    return wave.pointCount() >= 2 ? wave.XAt(1) - wave.XAt(0) : 0.0;
}

// The Y values of a second waveform, read by the first item's indexes.
const WaveStackObject* SecondWave(Ui& ui, const StackObject* second) {
    if (second == nullptr) {
        Refuse(ui, str::kTwoCurvesRequired, str::kShortProductName);
        return nullptr;
    }
    const auto* wave = dynamic_cast<const WaveStackObject*>(second);
    if (!wave) ui.MessageBox(str::kUnsupportedOperation, str::kShortProductName, Icon::Exclamation);
    return wave;
}

std::span<const float> YOf(const WaveStackObject& wave) {
    return wave.yValues.values().first(
        std::min<std::size_t>(wave.pointCount(), wave.yValues.size()));
}

// Product of two waveforms on their common grid, then (optionally) its running integral.
Result ProductOf(Ui& ui, const WaveStackObject& first, const StackObject* second, bool integrate,
                 std::uint16_t unit) {
    if (second == nullptr) {
        Refuse(ui, str::kTwoCurvesRequired, str::kShortProductName);
        return nullptr;
    }
    Result result = Arithmetic(ui, first, ArithmeticOp::Multiply, second, OperandMode::Curve, 0.0);
    if (!result) return nullptr;
    WaveStackObject& wave = AsWave(result);
    if (integrate) {
        const TimeBase x(wave);
        RunningIntegral(x.values(), wave.yValues.MutableValues());
    }
    wave.axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, unit};
    wave.Finish();
    return result;
}

}  // namespace

Result WaveStackObject::Add(Ui& ui, const StackObject* second, OperandMode mode, double c) {
    return Arithmetic(ui, *this, ArithmeticOp::Add, second, mode, c);
}
Result WaveStackObject::Subtract(Ui& ui, const StackObject* second, OperandMode mode, double c) {
    return Arithmetic(ui, *this, ArithmeticOp::Subtract, second, mode, c);
}
Result WaveStackObject::Multiply(Ui& ui, const StackObject* second, OperandMode mode, double c) {
    return Arithmetic(ui, *this, ArithmeticOp::Multiply, second, mode, c);
}
Result WaveStackObject::Divide(Ui& ui, const StackObject* second, OperandMode mode, double c) {
    return Arithmetic(ui, *this, ArithmeticOp::Divide, second, mode, c);
}
Result WaveStackObject::Negate(Ui& ui) {
    return Arithmetic(ui, *this, ArithmeticOp::Negate, nullptr, OperandMode::Constant, 0.0);
}
Result WaveStackObject::Invert(Ui& ui) {
    return Arithmetic(ui, *this, ArithmeticOp::Invert, nullptr, OperandMode::Constant, 0.0);
}
Result WaveStackObject::Square(Ui& ui) {
    return Arithmetic(ui, *this, ArithmeticOp::Square, nullptr, OperandMode::Constant, 0.0);
}
Result WaveStackObject::SquareRoot(Ui& ui) {
    return Arithmetic(ui, *this, ArithmeticOp::SquareRoot, nullptr, OperandMode::Constant, 0.0);
}
Result WaveStackObject::AbsValue(Ui& ui) {
    return Arithmetic(ui, *this, ArithmeticOp::AbsValue, nullptr, OperandMode::Constant, 0.0);
}
Result WaveStackObject::VIDbRatio(Ui& ui, const StackObject* second, double reference) {
    return Arithmetic(ui, *this, ArithmeticOp::VIDbRatio, second, OperandMode::Curve, reference);
}
Result WaveStackObject::PowerDbRatio(Ui& ui, const StackObject* second, double reference) {
    return Arithmetic(ui, *this, ArithmeticOp::PowerDbRatio, second, OperandMode::Curve, reference);
}
Result WaveStackObject::Fft(Ui& ui, FFTParameters& parameters) {
    return FftOfWave(ui, *this, parameters);
}
Result WaveStackObject::Dft(Ui& ui, DFTParameters& parameters) {
    return DftOfWave(ui, *this, parameters);
}
Result WaveStackObject::Power(Ui& ui, const StackObject* second) {
    return ProductOf(ui, *this, second, false, kUnitInstantaneousPower);
}
Result WaveStackObject::Energy(Ui& ui, const StackObject* second) {
    return ProductOf(ui, *this, second, true, kUnitEnergy);
}
Result WaveStackObject::ISquaredT(Ui& ui) {
    Result result = Square(ui);
    if (!result) return nullptr;
    WaveStackObject& wave = AsWave(result);
    const TimeBase x(wave);
    RunningIntegral(x.values(), wave.yValues.MutableValues());
    wave.axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitMagnitude};
    wave.Finish();
    return result;
}
Result WaveStackObject::XYCombine(Ui& ui, const StackObject* second) {
    return XYCombineItems(ui, *this, second);
}
Result WaveStackObject::Integrate(Ui& ui) {
    return IntegrateItem(ui, *this);
}

Result WaveStackObject::Filter(Ui& ui, int type, float f1, float f2, int order) {
    const double dt = FirstStep(*this);
    if (!(dt > 0.0)) {
        Refuse(ui, str::kNoPositiveStep, str::kShortProductName);
        return nullptr;
    }
    if (order < 1) {
        Refuse(ui, str::kFilterSections, str::kShortProductName);
        return nullptr;
    }
    // tan(pi f dt) has no digital filter at or beyond half the sampling rate.
    const double nyquist = 0.5 / dt;
    auto valid = [nyquist](double f) { return f > 0.0 && f < nyquist; };
    const bool band = type == kFilterBandPass || type == kFilterBandReject;
    if (type < kFilterHighPass || type > kFilterBandReject || !valid(f1) || (band && !valid(f2))) {
        Refuse(ui, str::kFilterFrequencyRange, str::kShortProductName);
        return nullptr;
    }
    auto result = CopyOf(*this);
    FilterSignal(result->yValues.MutableValues(), type, f1, f2, dt, order);
    result->Finish();
    return result;
}

Result WaveStackObject::WindowFunction(Ui&, int windowType) {
    auto result = CopyOf(*this);
    ApplyWindow(result->yValues.MutableValues(), windowType);
    result->Finish();
    return result;
}

Result WaveStackObject::AutoCorrelation(Ui&) {
    auto result = std::make_unique<WaveStackObject>();
    result->CloneShape(*this);
    const TimeBase x(*this);
    const std::vector<double> r = AutoCorrelationValues(YOf(*this), IntegrationStep(x.values()));
    std::copy(r.begin(), r.end(), result->yValues.MutableData());
    result->y2Values = FloatArray();
    result->Finish();
    return result;
}

Result WaveStackObject::CrossCorrelation(Ui& ui, const StackObject* second) {
    const WaveStackObject* other = SecondWave(ui, second);
    if (!other) return nullptr;
    const TimeBase x(*this);
    const std::size_t n = std::min(x.values().size(), YOf(*this).size());
    const std::vector<double> r =
        CrossCorrelationValues(YOf(*this).first(n), YOf(*other), IntegrationStep(x.values()));
    auto result = std::make_unique<WaveStackObject>();
    result->CopyUnitsLike(*this);
    result->primaryRatio = primaryRatio;
    result->secondaryRatio = secondaryRatio;
    result->valueSide = valueSide;
    const auto count = static_cast<std::uint32_t>(r.size());
    result->SetPointCount(count);
    std::vector<float> lags(count), values(r.begin(), r.end());
    // Lags -x[n-1] .. -x[1], then -x[0] at the centre, then x[1] .. x[n-1].
    for (std::size_t i = 0; i < n; ++i) lags[i] = static_cast<float>(-x.values()[n - 1 - i]);
    for (std::size_t i = 1; i < n; ++i) lags[n - 1 + i] = static_cast<float>(x.values()[i]);
    result->xValues = FloatArray(std::move(lags));
    result->yValues = FloatArray(std::move(values));
    result->Finish();
    return result;
}

namespace {

Result SpectralFunction(Ui& ui, const WaveStackObject& first, const StackObject* second,
                        bool transfer) {
    const WaveStackObject* other = SecondWave(ui, second);
    if (!other) return nullptr;
    const double dt = FirstStep(first);
    if (!(dt > 0.0) || 120.0 >= 0.5 / dt) {
        Refuse(ui, !(dt > 0.0) ? str::kNoPositiveStep : str::kFilterFrequencyRange,
               str::kShortProductName);
        return nullptr;
    }
    const TimeBase x(first);
    const std::size_t n = std::min(x.values().size(), YOf(first).size());
    const CrossSpectra s =
        ComputeCrossSpectra(YOf(first).first(n), YOf(*other), dt, IntegrationStep(x.values()));
    const std::size_t lines = s.s11.size();
    const auto count = static_cast<std::uint32_t>(lines);
    if (transfer) {
        auto result = std::make_unique<ScanStackObject>(count, kUnitImpedance);
        auto f = result->xValues.MutableValues();
        auto m = result->yValues.MutableValues();
        auto p = result->y2Values.MutableValues();
        for (std::size_t i = 0; i < lines; ++i) {
            const std::complex<double> h =
                std::abs(s.s12[i]) == 0.0 ? std::complex<double>() : s.s11[i] / s.s12[i];
            f[i] = static_cast<float>(10.0 * static_cast<double>(i));
            m[i] = static_cast<float>(std::abs(h));
            p[i] = h == std::complex<double>() ? 0.0f : static_cast<float>(std::arg(h));
        }
        result->Finish();
        return result;
    }
    auto result = std::make_unique<TrendStackObject>(count, kUnitHertz, kUnitMagnitude);
    auto f = result->xValues.MutableValues();
    auto g = result->yValues.MutableValues();
    for (std::size_t i = 0; i < lines; ++i) {
        const std::complex<double> product = s.s11[i] * s.s22[i];
        const double power = std::norm(s.s12[i]);
        f[i] = static_cast<float>(10.0 * static_cast<double>(i));
        g[i] = std::abs(product) == 0.0 ? 0.0f : static_cast<float>(std::abs(power / product));
    }
    result->Finish();
    return result;
}

}  // namespace

Result WaveStackObject::TransferFunction(Ui& ui, const StackObject* second) {
    return SpectralFunction(ui, *this, second, true);
}
Result WaveStackObject::CoherenceFunction(Ui& ui, const StackObject* second) {
    return SpectralFunction(ui, *this, second, false);
}

Result WaveStackObject::TimeShift(Ui&, double shift) {
    auto result = std::make_unique<WaveStackObject>();
    result->CloneShape(*this);
    std::copy_n(yValues.data(), std::min<std::size_t>(pointCount(), yValues.size()),
                result->yValues.MutableData());
    if (y2Values) result->y2Values = y2Values;
    if (xExact) {
        for (double& t : result->xExact.MutableValues()) t += shift;
    } else {
        for (float& t : result->xValues.MutableValues())
            t = static_cast<float>(static_cast<double>(t) + shift);
    }
    result->Finish();
    return result;
}

Result WaveStackObject::SampleIndexesByStep(Ui& ui, long first, long last, double step) {
    return SampleItem(ui, *this, {true, first, last, 0.0, 0.0, true, step, 0});
}
Result WaveStackObject::SampleIndexesByCount(Ui& ui, long first, long last, long count) {
    return SampleItem(ui, *this, {true, first, last, 0.0, 0.0, false, 0.0, count});
}
Result WaveStackObject::SampleValuesByStep(Ui& ui, double first, double last, double step) {
    return SampleItem(ui, *this, {false, 0, 0, first, last, true, step, 0});
}
Result WaveStackObject::SampleValuesByCount(Ui& ui, double first, double last, long count) {
    return SampleItem(ui, *this, {false, 0, 0, first, last, false, 0.0, count});
}

}  // namespace kov
