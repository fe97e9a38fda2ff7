#include "analysis/Arithmetic.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "analysis/ItemKinds.h"
#include "analysis/OperationSupport.h"
#include "analysis/XYStackObject.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "stack/Alignment.h"

namespace kov {

// ---- OperationSupport ----

void Refuse(Ui& ui, const std::string& text, const char* caption) {
    ui.Beep();
    ui.MessageBox(text, caption, Icon::Warning);
}

TimeBase::TimeBase(const PlotableStackObject& item) {
    const std::size_t n = item.pointCount();
    if (item.xExact && item.xExact.size() >= n) {
        values_ = item.xExact.values().first(n);
        return;
    }
    const std::size_t m = std::min<std::size_t>(n, item.xValues.size());
    widened_.resize(m);
    for (std::size_t i = 0; i < m; ++i) widened_[i] = item.xValues[i];
    values_ = widened_;
}

double IntegrationStep(std::span<const double> x) {
    double h = 1.0;
    if (x.size() > 2)
        h = (x[2] - x[0]) / 2.0;
    else if (x.size() == 2)
        h = x[1] - x[0];
    return std::isfinite(h) && h > 0.0 ? h : 1.0;
}

// ---- Arithmetic ----

namespace {

constexpr double kPi = std::numbers::pi;

bool IsBinary(ArithmeticOp op) {
    switch (op) {
        case ArithmeticOp::Add:
        case ArithmeticOp::Subtract:
        case ArithmeticOp::Multiply:
        case ArithmeticOp::Divide:
        case ArithmeticOp::VIDbRatio:
        case ArithmeticOp::PowerDbRatio:
            return true;
        default:
            return false;
    }
}

double Decibels(double a, double b, double factor) {
    if (b == 0.0) return 30.0;
    if (a == 0.0) return -30.0;
    return factor * std::log10(std::fabs(a / b));
}

double Phase(double re, double im) {
    return re == 0.0 && im == 0.0 ? 0.0 : std::atan2(im, re);
}

// Real family: out[i] = f(a[i], b[i]). b is empty in constant and unary modes.
template <class F>
void MapReal(std::span<const float> a, std::span<const float> b, std::span<float> out, F f) {
    const std::size_t n = out.size();
    if (b.empty()) {
        for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<float>(f(double(a[i]), 0.0));
    } else {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = static_cast<float>(f(double(a[i]), double(b[i])));
    }
}

void RealValues(ArithmeticOp op, std::span<const float> a, std::span<const float> b, bool constant,
                double c, std::span<float> out) {
    switch (op) {
        case ArithmeticOp::Add:
            if (constant) return MapReal(a, {}, out, [c](double x, double) { return x + c; });
            return MapReal(a, b, out, [](double x, double y) { return x + y; });
        case ArithmeticOp::Subtract:
            if (constant) return MapReal(a, {}, out, [c](double x, double) { return x - c; });
            return MapReal(a, b, out, [](double x, double y) { return x - y; });
        case ArithmeticOp::Multiply:
            if (constant) return MapReal(a, {}, out, [c](double x, double) { return x * c; });
            return MapReal(a, b, out, [](double x, double y) { return x * y; });
        case ArithmeticOp::Divide:
            if (constant)
                return MapReal(a, {}, out,
                               [c](double x, double) { return c == 0.0 ? 0.0 : x / c; });
            return MapReal(a, b, out, [](double x, double y) { return y == 0.0 ? 0.0 : x / y; });
        case ArithmeticOp::Negate:
            return MapReal(a, {}, out, [](double x, double) { return -x; });
        case ArithmeticOp::Invert:
            return MapReal(a, {}, out, [](double x, double) { return x == 0.0 ? 0.0 : 1.0 / x; });
        case ArithmeticOp::Square:
            return MapReal(a, {}, out, [](double x, double) { return x * x; });
        case ArithmeticOp::SquareRoot:
            return MapReal(a, {}, out,
                           [](double x, double) { return x < 0.0 ? 0.0 : std::sqrt(x); });
        case ArithmeticOp::AbsValue:
            return MapReal(a, {}, out, [](double x, double) { return std::fabs(x); });
        case ArithmeticOp::VIDbRatio:
        case ArithmeticOp::PowerDbRatio: {
            const double factor = op == ArithmeticOp::VIDbRatio ? 20.0 : 10.0;
            if (constant)
                return MapReal(a, {}, out,
                               [c, factor](double x, double) { return Decibels(x, c, factor); });
            return MapReal(a, b, out,
                           [factor](double x, double y) { return Decibels(x, y, factor); });
        }
    }
}

// Line-by-line family over magnitudes m and phases p.
struct Phasors {
    std::span<const float> m1, p1, m2, p2;
};

void LineValues(ArithmeticOp op, const Phasors& in, bool constant, double c, std::span<float> m,
                std::span<float> p) {
    const std::size_t n = m.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double a = in.m1[i], pa = in.p1[i];
        const double b = constant ? c : (in.m2.empty() ? 0.0 : double(in.m2[i]));
        const double pb = constant || in.p2.empty() ? 0.0 : double(in.p2[i]);
        double mo = 0.0, po = pa;
        switch (op) {
            case ArithmeticOp::Add:
            case ArithmeticOp::Subtract: {
                const double sign = op == ArithmeticOp::Add ? 1.0 : -1.0;
                const double re = a * std::cos(pa) + sign * (constant ? c : b * std::cos(pb));
                const double im = a * std::sin(pa) + sign * (constant ? 0.0 : b * std::sin(pb));
                mo = std::hypot(re, im);
                po = Phase(re, im);
                break;
            }
            case ArithmeticOp::Multiply:
                mo = a * b;
                po = constant ? pa : pa + pb;
                break;
            case ArithmeticOp::Divide:
                mo = b == 0.0 ? 0.0 : a / b;
                po = constant ? pa : pa - pb;
                break;
            case ArithmeticOp::Negate:
                mo = a;
                po = pa + kPi;
                break;
            case ArithmeticOp::Invert:
                mo = a == 0.0 ? 0.0 : 1.0 / a;
                po = a == 0.0 ? pa : -pa;
                break;
            case ArithmeticOp::Square:
                mo = a * a;
                po = 2.0 * pa;
                break;
            case ArithmeticOp::SquareRoot:
                mo = a < 0.0 ? 0.0 : std::sqrt(a);
                po = pa / 2.0;
                break;
            case ArithmeticOp::AbsValue:
                mo = std::fabs(a);
                break;
            case ArithmeticOp::VIDbRatio:
                mo = Decibels(a, b, 10.0);
                break;
            case ArithmeticOp::PowerDbRatio:
                mo = Decibels(a, b, 20.0);
                break;
        }
        m[i] = static_cast<float>(mo);
        p[i] = static_cast<float>(po);
    }
}

const PlotableStackObject* SampledSecond(Ui& ui, const StackObject* second) {
    const auto* p = dynamic_cast<const PlotableStackObject*>(second);
    if (!p) ui.MessageBox(str::kNeedsSamples, str::kShortProductName, Icon::Warning);
    return p;
}

}  // namespace

bool IsLineByLine(const PlotableStackObject& item) {
    return item.y2Values.present();
}

StackObject::Result Arithmetic(Ui& ui, const PlotableStackObject& first, ArithmeticOp op,
                               const StackObject* second, OperandMode mode, double constant) {
    std::unique_ptr<PlotableStackObject> result = MakePlotableOfKind(first.kind());
    if (!result) {
        ui.MessageBox(str::kUnsupportedOperation, str::kShortProductName, Icon::Exclamation);
        return nullptr;
    }
    const bool dB = op == ArithmeticOp::VIDbRatio || op == ArithmeticOp::PowerDbRatio;
    const bool binary = IsBinary(op);
    // dB ratios take the constant as their reference when no second item is given.
    const bool useConstant = binary && (dB ? second == nullptr : mode == OperandMode::Constant);
    const bool lineByLine = IsLineByLine(first);

    AlignedOperands aligned;
    if (binary && !useConstant) {
        if (second == nullptr) {
            Refuse(ui, str::kTwoCurvesRequired, str::kShortProductName);
            return nullptr;
        }
        const PlotableStackObject* other = SampledSecond(ui, second);
        if (!other) return nullptr;
        aligned = AlignOperands(first, *other, *result, lineByLine);
    } else {
        result->CloneShape(first);
        aligned.firstY = first.yValues.values();
        aligned.firstY2 = first.y2Values.values();
    }
    const std::size_t n = result->pointCount();
    std::span<float> y = result->yValues.MutableValues().first(n);
    if (lineByLine) {
        const Phasors in{aligned.firstY, aligned.firstY2, aligned.secondY, aligned.secondY2};
        LineValues(op, in, useConstant, constant, y, result->y2Values.MutableValues().first(n));
    } else {
        RealValues(op, aligned.firstY, aligned.secondY, useConstant, constant, y);
        result->y2Values = FloatArray();
    }
    if (dB) result->axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitDecibels};
    result->Finish();
    return result;
}

void RunningIntegral(std::span<const double> x, std::span<float> y) {
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0) return;
    double sum = 0.0;
    double previous = y[0];
    y[0] = 0.0f;
    for (std::size_t i = 1; i < n; ++i) {
        const double current = y[i];
        sum += (x[i] - x[i - 1]) * (previous + current) / 2.0;
        previous = current;
        y[i] = static_cast<float>(sum);
    }
}

StackObject::Result IntegrateItem(Ui& ui, const PlotableStackObject& first) {
    std::unique_ptr<PlotableStackObject> result = MakePlotableOfKind(first.kind());
    if (!result) {
        ui.MessageBox(str::kUnsupportedOperation, str::kShortProductName, Icon::Exclamation);
        return nullptr;
    }
    result->CloneShape(first);
    const TimeBase x(first);
    const std::size_t n =
        std::min(result->pointCount(), static_cast<std::uint32_t>(x.values().size()));
    for (auto [from, to] : {std::pair{&first.yValues, &result->yValues},
                            std::pair{&first.y2Values, &result->y2Values}}) {
        if (!from->present()) continue;
        auto out = to->MutableValues().first(n);
        std::copy_n(from->data(), n, out.begin());
        RunningIntegral(x.values().first(n), out);
    }
    result->Finish();
    return result;
}

StackObject::Result XYCombineItems(Ui& ui, const PlotableStackObject& first,
                                   const StackObject* second) {
    if (second == nullptr) {
        Refuse(ui, str::kTwoCurvesRequired, str::kShortProductName);
        return nullptr;
    }
    const PlotableStackObject* other = SampledSecond(ui, second);
    if (!other) return nullptr;
    auto result = std::make_unique<XYStackObject>();
    const AlignedOperands aligned = AlignOperands(first, *other, *result, false);
    const std::size_t n = result->pointCount();
    std::vector<float> x(aligned.firstY.begin(),
                         aligned.firstY.begin() + static_cast<std::ptrdiff_t>(n));
    std::vector<float> y(aligned.secondY.begin(),
                         aligned.secondY.begin() + static_cast<std::ptrdiff_t>(n));
    result->xValues = FloatArray(std::move(x));
    result->yValues = FloatArray(std::move(y));
    result->y2Values = FloatArray();
    result->xExact = DoubleArray();
    result->axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, first.axisUnits[kAxisY].unitId};
    result->axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, other->axisUnits[kAxisY].unitId};
    result->perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
    result->Finish();
    return result;
}

StackObject::Result SampleItem(Ui& ui, const PlotableStackObject& first,
                               const SamplingRequest& request) {
    const TimeBase tb(first);
    const std::span<const double> x = tb.values();
    const std::size_t n = std::min<std::size_t>(x.size(), first.yValues.size());
    if (n == 0) {
        ui.MessageBox(str::kUnsupportedOperation, str::kShortProductName, Icon::Exclamation);
        return nullptr;
    }
    double x0 = request.startValue, x1 = request.stopValue;
    if (request.byIndex) {
        if (request.startIndex < 0 || request.stopIndex < 0) {
            Refuse(ui, str::kIndicesNegative, str::kErrorCaption);
            return nullptr;
        }
        const long last = static_cast<long>(n) - 1;
        const long stop = request.stopIndex < static_cast<long>(n) ? request.stopIndex : last;
        long start = request.startIndex < stop ? request.startIndex : stop - 1;
        if (start < 0) start = 0;
        x0 = x[static_cast<std::size_t>(start)];
        x1 = x[static_cast<std::size_t>(stop)];
    }
    double count = 0.0, spacing = 0.0;
    if (request.byStep) {
        if (!(request.step > 0.0)) {
            Refuse(ui, str::kStepNotPositive, str::kErrorCaption);
            return nullptr;
        }
        const double steps = (x1 - x0) / request.step;
        count = std::floor(steps + 1e-9 * std::max(1.0, std::fabs(steps))) + 1.0;
        spacing = request.step;
    } else {
        if (request.points < 2) {
            Refuse(ui, str::kTooFewSamplingPoints, str::kErrorCaption);
            return nullptr;
        }
        count = static_cast<double>(request.points);
        spacing = (x1 - x0) / static_cast<double>(request.points - 1);
    }
    if (!(count >= 1.0)) count = 1.0;
    if (!(count <= static_cast<double>(kMaxPoints))) {
        Refuse(ui, Format(str::kTooManyPoints, kMaxPoints), str::kShortProductName);
        return nullptr;
    }
    std::unique_ptr<PlotableStackObject> result = MakePlotableOfKind(first.kind());
    if (!result) {
        ui.MessageBox(str::kUnsupportedOperation, str::kShortProductName, Icon::Exclamation);
        return nullptr;
    }
    const auto m = static_cast<std::uint32_t>(count);
    std::vector<double> grid(m);
    for (std::size_t i = 0; i < m; ++i) grid[i] = x0 + static_cast<double>(i) * spacing;
    result->Resize(m);
    result->PrepareLike(first);
    auto rx = result->xValues.MutableValues();
    if (result->xExact) {
        auto exact = result->xExact.MutableValues();
        for (std::size_t i = 0; i < m; ++i) {
            rx[i] = static_cast<float>(i);
            exact[i] = grid[i];
        }
    } else {
        for (std::size_t i = 0; i < m; ++i) rx[i] = static_cast<float>(grid[i]);
    }
    std::vector<float> y = ResampleOnto(x.first(n), first.yValues.values().first(n), grid);
    result->yValues = FloatArray(std::move(y));
    if (first.y2Values && first.y2Values.size() >= n) {
        std::vector<float> y2 = ResampleOnto(x.first(n), first.y2Values.values().first(n), grid);
        result->y2Values = FloatArray(std::move(y2));
    }
    result->Finish();
    return result;
}

}  // namespace kov
