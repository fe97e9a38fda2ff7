#include "analysis/ToleranceCurves.h"

#include <algorithm>
#include <iterator>

namespace kov {

namespace {

// Durations 1e-10 ... 1e-5 s by decade, 2 ... 9e-5, every mantissa 1 ... 9 of
// the decades 1e-4 ... 1e4, 1e5, then 1e6 ... 1e11 by decade.
constexpr double kCbemaDurations[] = {
    1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 2e-5, 3e-5, 4e-5, 5e-5, 6e-5, 7e-5, 8e-5, 9e-5, 1e-4,
    2e-4,  3e-4, 4e-4, 5e-4, 6e-4, 7e-4, 8e-4, 9e-4, 1e-3, 2e-3, 3e-3, 4e-3, 5e-3, 6e-3, 7e-3,
    8e-3,  9e-3, 1e-2, 2e-2, 3e-2, 4e-2, 5e-2, 6e-2, 7e-2, 8e-2, 9e-2, 1e-1, 2e-1, 3e-1, 4e-1,
    5e-1,  6e-1, 7e-1, 8e-1, 9e-1, 1e0,  2e0,  3e0,  4e0,  5e0,  6e0,  7e0,  8e0,  9e0,  1e1,
    2e1,   3e1,  4e1,  5e1,  6e1,  7e1,  8e1,  9e1,  1e2,  2e2,  3e2,  4e2,  5e2,  6e2,  7e2,
    8e2,   9e2,  1e3,  2e3,  3e3,  4e3,  5e3,  6e3,  7e3,  8e3,  9e3,  1e4,  2e4,  3e4,  4e4,
    5e4,   6e4,  7e4,  8e4,  9e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
};
constexpr double kCbemaLower[] = {
    0,        0,        0,        0,        0,        0,        0,        0,        0,
    0,        0,        0,        0,        0,        0,        0,        0,        0,
    0,        0,        0,        0,        0,        0,        0,        0,        0,
    0,        0,        0,        0,        10.96234, 23.91921, 65.28183, 71.61028, 74.35223,
    75.67118, 76.73113, 77.63351, 78.16184, 78.49424, 78.82664, 81.25162, 82.87413, 83.12985,
    83.49933, 84.05446, 84.6096,  85.01489, 85.22805, 85.4412,  86.67439, 87,       87,
    87,       87,       87,       87,       87,       87,       87,       87,       87,
    87,       87,       87,       87,       87,       87,       87,       87,       87,
    87,       87,       87,       87,       87,       87,       87,       87,       87,
    87,       87,       87,       87,       87,       87,       87,       87,       87,
    87,       87,       87,       87,       87,       87,       87,       87,       87,
    87,       87,       87,
};
constexpr double kCbemaUpper[] = {
    602.4176, 602.4045, 602.2739, 600.9676, 587.9046, 457.2752, 353.3482, 332.7318, 318.4447,
    306.359,  297.0003, 287.7934, 282.2311, 276.6689, 271.1066, 235.6326, 216.5396, 204.95,
    194.4536, 187.4453, 181.417,  175.3888, 170.9724, 167.7162, 143.0723, 132.2399, 125.8677,
    122.8116, 120.5194, 118.933,  117.3466, 115.7601, 114.5662, 110.6984, 109.1977, 108.5994,
    108.1986, 107.822,  107.4831, 107.2441, 107.0051, 106.7661, 106,      106,      106,
    106,      106,      106,      106,      106,      106,      106,      106,      106,
    106,      106,      106,      106,      106,      106,      106,      106,      106,
    106,      106,      106,      106,      106,      106,      106,      106,      106,
    106,      106,      106,      106,      106,      106,      106,      106,      106,
    106,      106,      106,      106,      106,      106,      106,      106,      106,
    106,      106,      106,      106,      106,      106,      106,      106,      106,
    106,      106,      106,
};

constexpr double kIticDurations[] = {1e-6,     1.67e-5, 0.000167, 0.001, 0.003, 0.003001, 0.02,
                                     0.020001, 0.5,     0.500001, 10,    10,    1e2,      1e3,
                                     1e4,      1e5,     1e6,      1e7,   1e8,   1e9,      1e10};
constexpr double kIticLower[] = {0,  0,  0,  0,  0,  0,  0,  70, 70, 80, 80,
                                 90, 90, 90, 90, 90, 90, 90, 90, 90, 90};
constexpr double kIticUpper[] = {500, 500, 500, 200, 140, 120, 120, 120, 120, 110, 110,
                                 110, 110, 110, 110, 110, 110, 110, 110, 110, 110};

constexpr double kSemiDurations[] = {
    1e-10, 1e-9,      1e-8, 1e-7, 1e-6,     1e-5, 1e-4, 1e-3, 1e-2, 0.0199999, 0.02, 0.1, 0.1999999,
    0.2,   0.4999999, 0.5,  1.0,  9.999999, 10,   1e2,  1e3,  1e4,  1e5,       1e6,  1e7, 1e8};
constexpr double kSemiMagnitudes[] = {0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  50, 50, 50,
                                      70, 70, 80, 80, 80, 90, 90, 90, 90, 90, 90, 90, 90};

constexpr double kDpdtDurations[] = {1e-10, 1e-9,     1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3,
                                     1e-2,  0.029999, 0.03, 1e-1, 1e0,  1e1,  1e2,  1e3,
                                     1e4,   1e5,      1e6,  1e7,  1e8,  1e9,  1e10};
constexpr double kDpdtMagnitudes[] = {0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  75, 75,
                                      75, 75, 75, 75, 75, 75, 75, 75, 75, 75, 75};

constexpr double kPowerSupplyDurations[] = {1e-10, 1e-9, 1e-8,      1e-7, 1e-6, 1e-5, 1e-4, 1e-3,
                                            1e-2,  1e-1, 0.1499999, 0.15, 1e0,  1e1,  1e2,  1e3,
                                            1e4,   1e5,  1e6,       1e7,  1e8,  1e9,  1e10};
constexpr double kPowerSupplyMagnitudes[] = {0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0, 70,
                                             70, 70, 70, 70, 70, 70, 70, 70, 70, 70, 70};

constexpr double kPlcDurations[] = {1e-10, 1e-9, 1e-8,     1e-7, 1e-6, 1e-5, 1e-4, 1e-3,
                                    1e-2,  1e-1, 0.599999, 0.6,  1e0,  1e1,  1e2,  1e3,
                                    1e4,   1e5,  1e6,      1e7,  1e8,  1e9,  1e10};
constexpr double kPlcMagnitudes[] = {0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0, 47,
                                     47, 47, 47, 47, 47, 47, 47, 47, 47, 47, 47};

static_assert(std::size(kCbemaDurations) == 102);
static_assert(std::size(kIticDurations) == 21);
static_assert(std::size(kSemiDurations) == 26);
static_assert(std::size(kDpdtDurations) == 23 && std::size(kPowerSupplyDurations) == 23 &&
              std::size(kPlcDurations) == 23);

struct Curve {
    const char* name;
    std::span<const double> durations;
    std::span<const double> magnitudes;
};

// Each pair of tables must agree in length.
template <std::size_t N>
constexpr Curve MakeCurve(const char* name, const double (&d)[N], const double (&m)[N]) {
    return Curve{name, d, m};
}

const Curve* FindCurve(int family, int curve) {
    static const Curve kCurves[][2] = {
        {MakeCurve("CBEMA Lower", kCbemaDurations, kCbemaLower),
         MakeCurve("CBEMA Upper", kCbemaDurations, kCbemaUpper)},
        {MakeCurve("ITIC Lower", kIticDurations, kIticLower),
         MakeCurve("ITIC Upper", kIticDurations, kIticUpper)},
        {MakeCurve("SEMI", kSemiDurations, kSemiMagnitudes), {}},
        {MakeCurve("DPDT Relay", kDpdtDurations, kDpdtMagnitudes), {}},
        {MakeCurve("24 VDC Pwr Sup", kPowerSupplyDurations, kPowerSupplyMagnitudes), {}},
        {MakeCurve("PLC Controller", kPlcDurations, kPlcMagnitudes), {}},
    };
    if (family < 0 || family >= kToleranceFamilyCount || curve < 0 || curve >= CurveCount(family))
        return nullptr;
    return &kCurves[family][curve];
}

// A plain plot item: the background curves have no kind of their own.
class BackgroundCurve : public PlotableStackObject {
public:
    explicit BackgroundCurve(std::uint32_t count) : PlotableStackObject(0, 2) {
        axisUnits[kAxisX] = UnitRecord{kPrefixNone, "", 1.0, kUnitDuration};
        axisUnits[kAxisY] = UnitRecord{kPrefixNone, "", 1.0, kUnitPercentMagnitude};
        perUnitBase[kAxisX] = PerUnitBase{false, 1.0, 0, kLabelXAxis};
        perUnitBase[kAxisY] = PerUnitBase{false, 1.0, 0, kLabelYMag};
        Allocate(count, false);
    }
};

}  // namespace

int CurveCount(int family) {
    if (family == 0 || family == 1) return 2;
    if (family >= 2 && family < kToleranceFamilyCount) return 1;
    return 0;
}

int CurvePointCount(int family, int curve) {
    const Curve* c = FindCurve(family, curve);
    return c ? static_cast<int>(c->durations.size()) : 0;
}

const char* CurveName(int family, int curve) {
    const Curve* c = FindCurve(family, curve);
    return c ? c->name : nullptr;
}

const char* CurveFamilyName(int family) {
    static constexpr const char* kNames[] = {"CBEMA (1987)",        "ITIC (1996)",
                                             "SEMI Std. 2844A",     "DPDT Relay",
                                             "24 vdc Power Supply", "PLC"};
    return family >= 0 && family < kToleranceFamilyCount ? kNames[family] : nullptr;
}

bool CurvePoints(int family, int curve, double durationScale, std::span<double> durations,
                 std::span<double> magnitudes) {
    const Curve* c = FindCurve(family, curve);
    const std::size_t count = std::min(durations.size(), magnitudes.size());
    if (c == nullptr || count < 1) return false;
    const std::size_t n = std::min(count, c->durations.size());
    for (std::size_t i = 0; i < n; ++i) {
        durations[i] = c->durations[i] * durationScale;
        magnitudes[i] = c->magnitudes[i];
    }
    return true;
}

std::vector<std::unique_ptr<PlotableStackObject>> MakeBackgroundCurves(int family) {
    std::vector<std::unique_ptr<PlotableStackObject>> curves;
    for (int k = 0; k < CurveCount(family); ++k) {
        const auto n = static_cast<std::uint32_t>(CurvePointCount(family, k));
        std::vector<double> d(n), m(n);
        CurvePoints(family, k, 1.0, d, m);
        auto item = std::make_unique<BackgroundCurve>(n);
        auto x = item->xValues.MutableValues();
        auto y = item->yValues.MutableValues();
        for (std::size_t i = 0; i < n; ++i) {
            x[i] = static_cast<float>(d[i]);
            y[i] = static_cast<float>(m[i]);
        }
        item->Init("", "BACKGROUND", CurveName(family, k), "", "", "", "");
        item->Finish();
        curves.push_back(std::move(item));
    }
    return curves;
}

}  // namespace kov
