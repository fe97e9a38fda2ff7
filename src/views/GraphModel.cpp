#include "views/GraphModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/UnitEditing.h"
#include "platform/Profile.h"
#include "stack/Stack.h"

namespace kov {

namespace {

constexpr double kRadiansToDegrees = 57.29577951;

long Int(const Profile& p, const char* key, long fallback) {
    return p.GetInt(kPreferencesSection, key, fallback);
}
double Dbl(const Profile& p, const char* key, double fallback) {
    return p.GetDouble(kPreferencesSection, key, fallback);
}
bool Flag(const Profile& p, const char* key, bool fallback) {
    return Int(p, key, fallback ? 1 : 0) != 0;
}

}  // namespace

// ---------------------------------------------------------------- preferences

void GraphPreferences::Load(const Profile& p) {
    initialDB = static_cast<int>(Int(p, "InitialDB", initialDB));
    initialCB = static_cast<int>(Int(p, "InitialCB", initialCB));
    legendActive = static_cast<int>(Int(p, "LegendActive", legendActive));
    lineStyles = static_cast<int>(Int(p, "LineStyles", lineStyles));
    filterPoints = static_cast<int>(Int(p, "FilterPoints", filterPoints));
    pngX = static_cast<int>(Int(p, "PngX", pngX));
    pngY = static_cast<int>(Int(p, "PngY", pngY));
    wmfX = Dbl(p, "WmfX", wmfX);
    wmfY = Dbl(p, "WmfY", wmfY);
    wmfInches = static_cast<int>(Int(p, "WmfInches", wmfInches));
    baseFrequency = Dbl(p, "BaseFrequency", baseFrequency);
    auto color = [&](const char* key, ColorRef& c) {
        c = static_cast<ColorRef>(Int(p, key, static_cast<long>(c))) & 0xFFFFFFu;
    };
    color("color_background", colorBackground);
    color("color_desktop", colorDesktop);
    color("color_foreground", colorForeground);
    color("color_text", colorText);
    color("color_xaxis", colorXAxis);
    color("color_yaxis", colorYAxis);
    for (int i = 0; i < kCurveColorCount; ++i) {
        const std::string key = "color_curve" + std::to_string(i + 1);
        color(key.c_str(), curveColors[static_cast<std::size_t>(i)]);
    }
    grid.style = static_cast<int>(Int(p, "eGrid", grid.style));
    grid.front = Flag(p, "bGridFront", grid.front);
    grid.majorX = Flag(p, "bMajorX", grid.majorX);
    grid.minorX = Flag(p, "bMinorX", grid.minorX);
    grid.majorY = Flag(p, "bMajorY", grid.majorY);
    grid.minorY = Flag(p, "bMinorY", grid.minorY);
    scale.y.zero = Flag(p, "bZeroY", scale.y.zero);
    scale.x.zero = Flag(p, "bZeroX", scale.x.zero);
    scale.y.symmetric = Flag(p, "bSymmetricY", scale.y.symmetric);
    scale.x.symmetric = Flag(p, "bSymmetricX", scale.x.symmetric);
    scale.x.autoRange = Flag(p, "bAutoX", scale.x.autoRange);
    scale.y.autoRange = Flag(p, "bAutoY", scale.y.autoRange);
    scale.x.grid = Dbl(p, "fGridX", scale.x.grid);
    scale.y.grid = Dbl(p, "fGridY", scale.y.grid);
    scale.x.max = Dbl(p, "fMaxX", scale.x.max);
    scale.x.min = Dbl(p, "fMinX", scale.x.min);
    scale.y.max = Dbl(p, "fMaxY", scale.y.max);
    scale.y.min = Dbl(p, "fMinY", scale.y.min);
    scale.x.tics = static_cast<int>(Int(p, "uTicX", scale.x.tics));
    scale.y.tics = static_cast<int>(Int(p, "uTicY", scale.y.tics));
    scale.polar = Flag(p, "bPolar", scale.polar);
    scale.logX = Flag(p, "bLogX", scale.logX);
    scale.probX = Flag(p, "bProbX", scale.probX);
    scale.logY = Flag(p, "bLogY", scale.logY);
    dateExport = static_cast<int>(Int(p, "DateExport", dateExport));
    nullGap = static_cast<int>(Int(p, "NullGap", nullGap));
    magDur = static_cast<int>(Int(p, "MagDur", magDur));
    evenHarmonics = static_cast<int>(Int(p, "EvenHarmonics", evenHarmonics));
    highestHarmonic = static_cast<int>(Int(p, "HighestHarmonic", highestHarmonic));
}

void GraphPreferences::Save(Profile& p) const {
    const std::string s = kPreferencesSection;
    auto i = [&](const char* key, long v) { p.SetInt(s, key, v); };
    auto d = [&](const char* key, double v) { p.SetDouble(s, key, v); };
    i("InitialDB", initialDB);
    i("InitialCB", initialCB);
    i("LegendActive", legendActive);
    i("LineStyles", lineStyles);
    i("FilterPoints", filterPoints);
    i("PngX", pngX);
    i("PngY", pngY);
    d("WmfX", wmfX);
    d("WmfY", wmfY);
    i("WmfInches", wmfInches);
    d("BaseFrequency", baseFrequency);
    i("color_background", static_cast<long>(colorBackground));
    i("color_desktop", static_cast<long>(colorDesktop));
    i("color_foreground", static_cast<long>(colorForeground));
    i("color_text", static_cast<long>(colorText));
    i("color_xaxis", static_cast<long>(colorXAxis));
    i("color_yaxis", static_cast<long>(colorYAxis));
    for (int c = 0; c < kCurveColorCount; ++c) {
        const std::string key = "color_curve" + std::to_string(c + 1);
        i(key.c_str(), static_cast<long>(curveColors[static_cast<std::size_t>(c)]));
    }
    i("eGrid", grid.style);
    i("bGridFront", grid.front);
    i("bMajorX", grid.majorX);
    i("bMinorX", grid.minorX);
    i("bMajorY", grid.majorY);
    i("bMinorY", grid.minorY);
    i("bZeroY", scale.y.zero);
    i("bZeroX", scale.x.zero);
    i("bSymmetricY", scale.y.symmetric);
    i("bSymmetricX", scale.x.symmetric);
    i("bAutoX", scale.x.autoRange);
    i("bAutoY", scale.y.autoRange);
    d("fGridX", scale.x.grid);
    d("fGridY", scale.y.grid);
    d("fMaxX", scale.x.max);
    d("fMinX", scale.x.min);
    d("fMaxY", scale.y.max);
    d("fMinY", scale.y.min);
    i("uTicX", scale.x.tics);
    i("uTicY", scale.y.tics);
    i("bPolar", scale.polar);
    i("bLogX", scale.logX);
    i("bProbX", scale.probX);
    i("bLogY", scale.logY);
    i("DateExport", dateExport);
    i("NullGap", nullGap);
    i("MagDur", magDur);
    i("EvenHarmonics", evenHarmonics);
    i("HighestHarmonic", highestHarmonic);
}

int GraphPreferences::ExportWidthHundredths() const {
    const double inches = wmfInches == 1 ? wmfX : wmfX / 25.4;
    return static_cast<int>(inches * 100.0);
}

int GraphPreferences::ExportHeightHundredths() const {
    const double inches = wmfInches == 1 ? wmfY : wmfY / 25.4;
    return static_cast<int>(inches * 100.0);
}

void GraphPreferences::ResetColors() {
    const GraphPreferences defaults;
    colorBackground = defaults.colorBackground;
    colorDesktop = defaults.colorDesktop;
    colorForeground = defaults.colorForeground;
    colorText = defaults.colorText;
    colorXAxis = defaults.colorXAxis;
    colorYAxis = defaults.colorYAxis;
    curveColors = defaults.curveColors;
}

// ------------------------------------------------------------ graph selection

const char* QuantityName(int quantity) {
    static constexpr const char* kNames[] = {"Baseline", "Magnitude", "Phase", "Real", "Imaginary"};
    return quantity >= 0 && quantity <= 4 ? kNames[quantity] : "";
}

int QuantityFromText(std::string_view text) {
    static constexpr std::pair<const char*, int> kWords[] = {
        {"Magnitude", 1}, {"Phase", 2}, {"Real", 3}, {"Imaginary", 4}, {"Baseline", 0}};
    for (const auto& [word, value] : kWords)
        if (text.find(word) != std::string_view::npos) return value;
    return 0;
}

void PolarTicked(GraphSelection& s, bool ticked) {
    s.polar = ticked;
    if (!ticked) return;
    if (s.mode >= kModeStackedGraphs && s.mode <= kModeLeftRightAxes) s.mode = kModeSuperimpose;
    s.xScale = kXLinear;
}

void ModeChosen(GraphSelection& s, int mode) {
    s.mode = mode;
    if (mode >= kModeStackedGraphs && mode <= kModeLeftRightAxes) s.polar = false;
}

SelectionEnables EnablesFor(const GraphSelection& s) {
    SelectionEnables e;
    if (s.polar) {
        e.modes[1] = e.modes[2] = e.modes[3] = false;
        e.xLog = e.xProb = false;
    }
    if (s.mode >= kModeStackedGraphs && s.mode <= kModeLeftRightAxes) e.polar = false;
    return e;
}

GraphSelection InitialSelection(const GraphPreferences& prefs) {
    GraphSelection s;
    s.xScale = prefs.scale.probX ? kXProb : prefs.scale.logX ? kXLog : kXLinear;
    s.logY = prefs.scale.logY;
    s.polar = false;
    PolarTicked(s, prefs.scale.polar);
    return s;
}

bool SelectionCountAllowed(int mode, std::size_t count) {
    return mode != kModeStackedGraphs || count <= static_cast<std::size_t>(kMaxStackedGraphs);
}

std::vector<StackObject*> GraphableItems(const Stack& stack) {
    static constexpr std::uint32_t kOrder[] = {kKindWave,  kKindSpectrum,  kKindScan,
                                               kKindTrend, kKindHistogram, kKindProbability,
                                               kKindXY,    kKindMagDur,    kKindHist3D};
    std::vector<StackObject*> out;
    const std::vector<StackObject*> all = stack.GetAll();
    for (std::uint32_t kind : kOrder)
        for (StackObject* item : all)
            if (item->kind() == kind && dynamic_cast<PlotableStackObject*>(item))
                out.push_back(item);
    return out;
}

// ----------------------------------------------------------- titles and texts

KindFlags FlagsFor(const StackObject& first, int xQuantity, int yQuantity) {
    KindFlags f;
    const std::uint32_t k = first.kind();
    f.discrete = k == kKindHistogram || k == kKindSpectrum;
    f.hist3d = k == kKindHist3D;
    f.magDur = k == kKindMagDur;
    if (const auto* p = dynamic_cast<const PlotableStackObject*>(&first))
        f.exactX = p->xExact.present();
    if (k == kKindSpectrum || k == kKindScan) {
        f.xBaselineFlag = xQuantity == 0;
        f.yBaselineFlag = yQuantity == 0;
    }
    return f;
}

std::string AxisTitle(const StackObject& item, int quantity, bool xAxis) {
    const std::size_t axis = quantity == 0 ? kAxisX : quantity == 2 ? kAxisAngle : kAxisY;
    std::string title = AxisLabel(item.axisUnits[axis], item.perUnitBase[axis]);
    if (title.empty()) title = xAxis ? "X Axis" : "Y Axis";
    return title;
}

std::string LegendText(const StackObject& item) {
    std::string text = item.shortLabel().substr(0, 35);
    const std::string label = AxisLabel(item.axisUnits[kAxisY], item.perUnitBase[kAxisY]);
    const std::size_t open = label.find(" (");
    if (open != std::string::npos) text += label.substr(open);
    return text;
}

std::string CommentText(const std::vector<std::string>& notes) {
    std::string joined;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        if (i) joined += "\r\n";
        joined += notes[i].substr(0, 126);
    }
    return joined;
}

std::vector<std::string> CommentLines(const std::vector<std::string>& notes) {
    return SplitComments(CommentText(notes));
}

std::vector<std::string> SplitComments(std::string_view joined) {
    std::vector<std::string> lines;
    std::string current;
    auto flush = [&] {
        if (!current.empty() && current.size() < 255 && lines.size() < kMaxCommentLines)
            lines.push_back(current);
        current.clear();
    };
    for (char c : joined) {
        if (c == '\n' || c == '\r' || c == '\t' || c == '|')
            flush();
        else
            current += c;
    }
    flush();
    return lines;
}

std::vector<std::string> DataBlockLines(const StackObject& item) {
    std::vector<std::string> lines;
    const SummaryData* summary = item.summary();
    if (!summary) return lines;
    const TextTable& t = summary->table;
    for (std::size_t r = 0; r < t.rows(); ++r) {
        std::string line;
        for (std::size_t c = 0; c < t.columns(); ++c) {
            if (c) line += '\t';
            line += t.Cell(r, c);
        }
        lines.push_back(line);
    }
    return lines;
}

// ------------------------------------------------------------ plotted values

double PlottedValue(const PlotableStackObject& item, int quantity, std::size_t i) {
    switch (quantity) {
        case kQuantityBaseline:
            return item.XAt(i) * item.scale(kAxisX);
        case kQuantityMagnitude:
            return item.yValues ? item.yValues[i] * item.scale(kAxisY) : 0.0;
        case kQuantityPhase:
            return item.y2Values ? item.y2Values[i] * item.scale(kAxisAngle) * kRadiansToDegrees
                                 : 0.0;
        case kQuantityReal:
        case kQuantityImaginary: {
            const double m = item.yValues ? item.yValues[i] * item.scale(kAxisY) : 0.0;
            const double a = item.y2Values ? item.y2Values[i] * item.scale(kAxisAngle) : 0.0;
            return quantity == kQuantityReal ? m * std::cos(a) : m * std::sin(a);
        }
        default:
            return 0.0;
    }
}

void Extent::Include(double v) {
    if (!std::isfinite(v)) return;
    if (!valid) {
        min = max = v;
        valid = true;
        return;
    }
    min = std::min(min, v);
    max = std::max(max, v);
}

void Extent::Include(const Extent& e) {
    if (!e.valid) return;
    Include(e.min);
    Include(e.max);
}

Extent QuantityExtent(const PlotableStackObject& item, int quantity) {
    Extent e;
    const std::size_t n = item.pointCount();
    if (n == 0) return e;
    auto scaled = [&](double lo, double hi, double f) {
        e.Include(lo * f);
        e.Include(hi * f);
    };
    switch (quantity) {
        case kQuantityBaseline:
            if (item.xExact)
                scaled(item.xExact.front(), item.xExact.back(), item.scale(kAxisX));
            else if (item.xValues)
                scaled(item.xValues.min(), item.xValues.max(), item.scale(kAxisX));
            break;
        case kQuantityMagnitude:
            if (item.yValues) scaled(item.yValues.min(), item.yValues.max(), item.scale(kAxisY));
            break;
        case kQuantityPhase:
            if (item.y2Values)
                scaled(item.y2Values.min(), item.y2Values.max(),
                       item.scale(kAxisAngle) * kRadiansToDegrees);
            else
                e.Include(0.0);
            break;
        default:
            for (std::size_t i = 0; i < n; ++i) e.Include(PlottedValue(item, quantity, i));
            break;
    }
    return e;
}

bool AscendingX(const PlotableStackObject& item, int xQuantity) {
    if (xQuantity != kQuantityBaseline) return false;
    const std::uint32_t k = item.kind();
    if (k == kKindXY || k == kKindMagDur || k == kKindHist3D) return false;
    if (!item.xValues && !item.xExact) return false;
    if (item.scale(kAxisX) <= 0.0) return false;
    const std::size_t n = item.pointCount();
    return n < 2 || item.XAt(0) <= item.XAt(n - 1);
}

double InverseNormal(double p) {
    // Acklam's rational approximation (relative error below 1.2e-9).
    static constexpr double a[] = {-3.969683028665376e+01, 2.209460984245205e+02,
                                   -2.759285104469687e+02, 1.383577518672690e+02,
                                   -3.066479806614716e+01, 2.506628277459239e+00};
    static constexpr double b[] = {-5.447609879822406e+01, 1.615858368580409e+02,
                                   -1.556989798598866e+02, 6.680131188771972e+01,
                                   -1.328068155288572e+01};
    static constexpr double c[] = {-7.784894002430293e-03, -3.223964580411365e-01,
                                   -2.400758277161838e+00, -2.549732539343734e+00,
                                   4.374664141464968e+00,  2.938163982698783e+00};
    static constexpr double d[] = {7.784695709041462e-03, 3.224671290700398e-01,
                                   2.445134137142996e+00, 3.754408661907416e+00};
    if (!(p > 0.0 && p < 1.0)) return std::numeric_limits<double>::quiet_NaN();
    constexpr double low = 0.02425;
    if (p < low) {
        const double q = std::sqrt(-2 * std::log(p));
        return (((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    }
    if (p > 1 - low) {
        const double q = std::sqrt(-2 * std::log(1 - p));
        return -(((((c[0] * q + c[1]) * q + c[2]) * q + c[3]) * q + c[4]) * q + c[5]) /
               ((((d[0] * q + d[1]) * q + d[2]) * q + d[3]) * q + 1);
    }
    const double q = p - 0.5;
    const double r = q * q;
    return (((((a[0] * r + a[1]) * r + a[2]) * r + a[3]) * r + a[4]) * r + a[5]) * q /
           (((((b[0] * r + b[1]) * r + b[2]) * r + b[3]) * r + b[4]) * r + 1);
}

double ProbabilityCoordinate(double percent) {
    return InverseNormal(percent / 100.0);
}

// ---------------------------------------------------------------- decimation

namespace {

// First index in [lo, hi) whose plotted X is not below v (X ascending).
std::size_t LowerIndex(const PlotableStackObject& item, std::size_t lo, std::size_t hi, double v) {
    const double scale = item.scale(kAxisX);
    if (item.xExact) {
        const double* x = item.xExact.data();
        return static_cast<std::size_t>(
            std::lower_bound(x + lo, x + hi, v, [&](double a, double b) { return a * scale < b; }) -
            x);
    }
    const float* x = item.xValues.data();
    return static_cast<std::size_t>(
        std::lower_bound(x + lo, x + hi, v,
                         [&](float a, double b) { return static_cast<double>(a) * scale < b; }) -
        x);
}

// Index of the minimum and maximum of y over [a, b) (a < b).
template <class Value>
void MinMaxIndex(std::size_t a, std::size_t b, Value value, std::size_t& iMin, std::size_t& iMax) {
    iMin = iMax = a;
    double lo = value(a);
    double hi = lo;
    for (std::size_t i = a + 1; i < b; ++i) {
        const double v = value(i);
        if (v < lo) {
            lo = v;
            iMin = i;
        } else if (v > hi) {
            hi = v;
            iMax = i;
        }
    }
}

void RawMinMaxIndex(const float* y, std::size_t a, std::size_t b, std::size_t& iMin,
                    std::size_t& iMax) {
    // The plain loop over contiguous floats vectorises; the indexes follow.
    float lo = y[a];
    float hi = y[a];
    for (std::size_t i = a + 1; i < b; ++i) {
        lo = std::min(lo, y[i]);
        hi = std::max(hi, y[i]);
    }
    iMin = iMax = a;
    bool haveMin = false;
    bool haveMax = false;
    for (std::size_t i = a; i < b && !(haveMin && haveMax); ++i) {
        if (!haveMin && y[i] == lo) {
            iMin = i;
            haveMin = true;
        }
        if (!haveMax && y[i] == hi) {
            iMax = i;
            haveMax = true;
        }
    }
}

const float* RawValues(const PlotableStackObject& item, int yQuantity) {
    if (yQuantity == kQuantityMagnitude && item.yValues) return item.yValues.data();
    if (yQuantity == kQuantityPhase && item.y2Values) return item.y2Values.data();
    return nullptr;
}

}  // namespace

bool BlockExtremes::Build(const PlotableStackObject& item, int yQuantity) {
    values_ = RawValues(item, yQuantity);
    count_ = values_ ? std::min<std::size_t>(item.pointCount(), yQuantity == kQuantityPhase
                                                                    ? item.y2Values.size()
                                                                    : item.yValues.size())
                     : 0;
    minIndex_.clear();
    maxIndex_.clear();
    if (!values_ || count_ > std::numeric_limits<std::uint32_t>::max()) {
        values_ = nullptr;
        return false;
    }
    const std::size_t blocks = (count_ + kBlock - 1) / kBlock;
    minIndex_.resize(blocks);
    maxIndex_.resize(blocks);
    for (std::size_t k = 0; k < blocks; ++k) {
        std::size_t iMin = 0;
        std::size_t iMax = 0;
        RawMinMaxIndex(values_, k * kBlock, std::min(count_, (k + 1) * kBlock), iMin, iMax);
        minIndex_[k] = static_cast<std::uint32_t>(iMin);
        maxIndex_[k] = static_cast<std::uint32_t>(iMax);
    }
    return true;
}

void BlockExtremes::Find(std::size_t a, std::size_t b, std::size_t& iMin, std::size_t& iMax) const {
    b = std::min(b, count_);
    const std::size_t firstFull = (a + kBlock - 1) / kBlock;
    const std::size_t endFull = b / kBlock;
    if (firstFull >= endFull) {
        RawMinMaxIndex(values_, a, b, iMin, iMax);
        return;
    }
    iMin = iMax = firstFull * kBlock;
    auto consider = [&](std::size_t lo, std::size_t hi) {
        if (lo >= hi) return;
        std::size_t m = 0;
        std::size_t n = 0;
        RawMinMaxIndex(values_, lo, hi, m, n);
        if (values_[m] < values_[iMin] || (values_[m] == values_[iMin] && m < iMin)) iMin = m;
        if (values_[n] > values_[iMax] || (values_[n] == values_[iMax] && n < iMax)) iMax = n;
    };
    for (std::size_t k = firstFull; k < endFull; ++k) {
        if (values_[minIndex_[k]] < values_[iMin]) iMin = minIndex_[k];
        if (values_[maxIndex_[k]] > values_[iMax]) iMax = maxIndex_[k];
    }
    consider(a, firstFull * kBlock);
    consider(endFull * kBlock, b);
}

PlotPoints DecimateRange(const PlotableStackObject& item, int xQuantity, int yQuantity, double xMin,
                         double xMax, int columns, bool exactJoins, const BlockExtremes* blocks) {
    PlotPoints out;
    const std::size_t n = item.pointCount();
    if (n == 0) return out;
    auto push = [&](std::size_t i) {
        out.x.push_back(PlottedValue(item, xQuantity, i));
        out.y.push_back(PlottedValue(item, yQuantity, i));
    };
    if (!AscendingX(item, xQuantity)) {
        out.x.reserve(n);
        out.y.reserve(n);
        for (std::size_t i = 0; i < n; ++i) push(i);
        return out;
    }
    if (!(xMax > xMin)) {
        xMin = QuantityExtent(item, kQuantityBaseline).min;
        xMax = QuantityExtent(item, kQuantityBaseline).max;
    }
    std::size_t first = LowerIndex(item, 0, n, xMin);
    std::size_t last = LowerIndex(item, first, n, xMax);
    // One sample beyond each end, so the curve reaches the edges.
    if (first > 0) --first;
    last = std::min(n, last + 1);
    const std::size_t count = last - first;
    columns = std::max(columns, 1);
    const std::size_t perColumn = exactJoins ? 4 : 2;
    if (count <= perColumn * static_cast<std::size_t>(columns)) {
        out.x.reserve(count);
        out.y.reserve(count);
        for (std::size_t i = first; i < last; ++i) push(i);
        return out;
    }
    out.x.reserve(perColumn * static_cast<std::size_t>(columns) + 2);
    out.y.reserve(perColumn * static_cast<std::size_t>(columns) + 2);
    const double width = (xMax - xMin) / columns;
    const float* rawY = RawValues(item, yQuantity);
    if (blocks && !blocks->built()) blocks = nullptr;
    std::size_t a = first;
    for (int c = 0; c < columns && a < last; ++c) {
        std::size_t b = c + 1 == columns ? last : LowerIndex(item, a, last, xMin + (c + 1) * width);
        if (b <= a) continue;
        std::size_t iMin = a;
        std::size_t iMax = a;
        if (rawY && blocks)
            blocks->Find(a, b, iMin, iMax);
        else if (rawY)
            RawMinMaxIndex(rawY, a, b, iMin, iMax);
        else
            MinMaxIndex(
                a, b, [&](std::size_t i) { return PlottedValue(item, yQuantity, i); }, iMin, iMax);
        std::array<std::size_t, 4> keep{a, std::min(iMin, iMax), std::max(iMin, iMax), b - 1};
        std::size_t previous = std::numeric_limits<std::size_t>::max();
        for (std::size_t k = 0; k < keep.size(); ++k) {
            if (!exactJoins && (k == 0 || k == 3)) continue;
            if (keep[k] == previous) continue;
            push(keep[k]);
            previous = keep[k];
        }
        a = b;
    }
    return out;
}

}  // namespace kov
