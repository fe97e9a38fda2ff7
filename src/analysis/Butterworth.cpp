#include "analysis/Butterworth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kov {

void ButterworthPass(std::span<float> y, FilterKind kind, double f, double dt, int sections) {
    const float wa = static_cast<float>(std::tan(std::numbers::pi * f * dt));
    const double wa2 = static_cast<double>(wa) * wa;
    for (int k = 1; k <= sections; ++k) {
        const double theta = (2.0 * sections + 2.0 * k - 1.0) * std::numbers::pi / (4.0 * sections);
        const double c = std::cos(theta);
        const double d = 1.0 / (wa2 + 1.0 - 2.0 * wa * c);
        const double a1 = 2.0 * (wa2 - 1.0) * d;
        const double a2 = (wa2 + 2.0 * c * wa + 1.0) * d;
        const double gain = kind == FilterKind::LowPass ? d * wa2 : d;
        const double b1 = kind == FilterKind::LowPass ? 2.0 : -2.0;
        double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
        for (float& v : y) {
            const double x0 = v;
            const double out = gain * (x0 + b1 * x1 + x2) - a1 * y1 - a2 * y2;
            x2 = x1;
            x1 = x0;
            y2 = y1;
            y1 = out;
            v = static_cast<float>(out);
        }
    }
}

void ButterworthZeroPhase(std::span<float> y, FilterKind kind, double f, double dt, int sections) {
    std::reverse(y.begin(), y.end());
    ButterworthPass(y, kind, f, dt, sections);
    std::reverse(y.begin(), y.end());
    ButterworthPass(y, kind, f, dt, sections);
}

}  // namespace kov
