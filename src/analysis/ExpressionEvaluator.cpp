#include "analysis/ExpressionEvaluator.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "analysis/ExpressionLibrary.h"
#include "analysis/ItemKinds.h"
#include "analysis/OperationSupport.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "stack/Stack.h"

namespace kov {

namespace {

constexpr std::size_t kNameLimit = 64;
constexpr double kDegreesPerRadian = 57.29578;

std::uint32_t KindCode(ExpressionKind kind) {
    switch (kind) {
        case ExpressionKind::Wave:
            return kKindWave;
        case ExpressionKind::Spectrum:
            return kKindSpectrum;
        case ExpressionKind::Scan:
            return kKindScan;
        case ExpressionKind::XY:
            return kKindXY;
        case ExpressionKind::Probability:
            return kKindProbability;
        case ExpressionKind::Histogram:
            return kKindHistogram;
    }
    return kKindWave;
}

void Stop(Ui& ui, const std::string& text) {
    ui.MessageBox(text, str::kErrorCaption, Icon::Error);
}

// A decimal as a plain conversion reads it: the leading number, 0 when none.
double ReadDecimal(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

std::string Blanked(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    return text;
}

// Resets the library however the command ends.
struct ResetOnExit {
    ExpressionLibrary& library;
    ~ResetOnExit() { library.Reset(); }
};

}  // namespace

const char* ExpressionKindTag(ExpressionKind kind) {
    return KindTag(KindCode(kind));
}

bool UsesSecondExpression(ExpressionKind kind) {
    return kind == ExpressionKind::Spectrum || kind == ExpressionKind::Scan ||
           kind == ExpressionKind::XY;
}

ExpressionSettings& RunExpressionSettings() {
    static ExpressionSettings settings;
    return settings;
}

StackObject* DoExpression(Stack& stack, Ui& ui, ExpressionSettings& s, ExpressionLibrary& library) {
    ResetOnExit reset{library};
    // 1: the texts, trimmed.
    for (std::string* text : {&s.name, &s.first, &s.second, &s.xmin, &s.xmax, &s.step, &s.points})
        *text = Trim(*text);
    const char* tag = ExpressionKindTag(s.kind);

    // 2: the name.
    if (s.name.empty()) {
        Stop(ui, str::kNameBlank);
        return nullptr;
    }
    if (s.name.size() > kNameLimit) {
        Stop(ui, Format(str::kNameTooLong, static_cast<int>(kNameLimit)));
        return nullptr;
    }
    if (stack.FindByKey(Stack::MakeKey("EXPRESSION", s.name, "", "", "", tag))) {
        Stop(ui, str::kNameInUse);
        return nullptr;
    }

    // 3: the range.
    const double xmin = ReadDecimal(s.xmin), xmax = ReadDecimal(s.xmax);
    double step = ReadDecimal(s.step);
    long points = std::strtol(s.points.c_str(), nullptr, 10);
    if (!(xmax > xmin)) {
        Stop(ui, str::kXmaxNotAboveXmin);
        return nullptr;
    }
    if (s.byStep) {
        if (!(step > 0.0)) {
            Stop(ui, str::kXStepNotPositive);
            return nullptr;
        }
        // Within 1e-9 of a whole count of steps counts that step: 0.3 / 0.1 is 3 steps.
        const double steps = (xmax - xmin) / step;
        const double count = std::floor(steps + 1e-9 * std::max(1.0, steps)) + 1.0;
        points =
            count > static_cast<double>(kMaxPoints) ? kMaxPoints + 1 : static_cast<long>(count);
    } else {
        if (points < 2) {
            Stop(ui, str::kTooFewExpressionPoints);
            return nullptr;
        }
        step = (xmax - xmin) / static_cast<double>(points - 1);
    }
    s.xmin = Format("%G", xmin);
    s.xmax = Format("%G", xmax);
    s.step = Format("%G", step);
    s.points = Format("%ld", points);
    if (points > kMaxPoints) {
        Stop(ui, Format(str::kTooManyPoints, kMaxPoints));
        return nullptr;
    }

    // 4: x, pi and step(x,val).
    bool ok = true;
    const ExpressionLibrary::Handle x = library.DefineVariable("x");
    if (library.GetError() != 0) {
        Stop(ui, library.ErrorMessage());
        return nullptr;
    }
    library.DefineVariable("pi = atn(1) * 4");
    if (library.GetError() != 0) {
        Stop(ui, library.ErrorMessage());
        ok = false;
    }
    library.DefineFunction("step(x,val)=iif(x>=val,1,0)");
    if (library.GetError() != 0) {
        Stop(ui, library.ErrorMessage());
        ok = false;
    }

    // 5: the expressions.
    const bool two = UsesSecondExpression(s.kind);
    const ExpressionLibrary::Handle e1 = library.Parse(Blanked(s.first));
    if (library.GetError() != 0) {
        Stop(ui, library.ErrorMessage());
        ok = false;
    }
    ExpressionLibrary::Handle e2 = 0;
    if (two) {
        e2 = library.Parse(Blanked(s.second));
        if (library.GetError() != 0) {
            Stop(ui, library.ErrorMessage());
            ok = false;
        }
    }
    if (!ok) return nullptr;

    // 6-7: the values.
    std::unique_ptr<PlotableStackObject> item = MakePlotableOfKind(KindCode(s.kind));
    if (!item) {
        Stop(ui, str::kCouldNotCreate);
        return nullptr;
    }
    const auto n = static_cast<std::size_t>(points);
    std::vector<float> xs(n), ys(n), y2s(two ? n : 0);
    bool warned = false;
    auto evaluate = [&](ExpressionLibrary::Handle e) {
        const double v = library.Evaluate(e);
        if (library.GetError() != 0 && !warned) {
            ui.MessageBox(library.ErrorMessage(), str::kWarningTitle, Icon::None);
            warned = true;
        }
        return v;
    };
    float xi = static_cast<float>(xmin);
    const float fstep = static_cast<float>(step);
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = xi;
        library.SetVariableValue(x, xi);
        double a = evaluate(e1);
        if (two) {
            double b = evaluate(e2);
            if (s.realImag) {
                const double re = a, im = b;
                a = std::sqrt(re * re + im * im);
                b = re == 0.0 && im == 0.0 ? 0.0 : std::atan2(im, re);
            } else if (s.degrees) {
                b /= kDegreesPerRadian;
            }
            y2s[i] = static_cast<float>(b);
        }
        ys[i] = static_cast<float>(a);
        xi += fstep;
    }

    // 8: the item.
    item->Resize(static_cast<std::uint32_t>(n));
    item->xValues = FloatArray(std::move(xs));
    item->yValues = FloatArray(std::move(ys));
    if (two) item->y2Values = FloatArray(std::move(y2s));
    item->Finish();
    item->Init("", "EXPRESSION", s.name, "", "", "", tag);
    StackObject* pushed = item.get();
    if (!stack.Add(std::move(item), true)) {
        Stop(ui, str::kCouldNotCreate);
        return nullptr;
    }
    return pushed;
}

}  // namespace kov
