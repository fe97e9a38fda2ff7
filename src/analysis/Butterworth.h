#pragma once
// Zero-phase Butterworth filters: a cascade of second-order sections designed
// by the bilinear transform with prewarping, applied forward and then
// backward, so the phase shift cancels and the attenuation is that of one
// pass squared.

#include <span>

namespace kov {

enum class FilterKind { HighPass, LowPass };

// One pass of `sections` second-order sections at corner f (Hz), sample step dt (s).
void ButterworthPass(std::span<float> y, FilterKind kind, double f, double dt, int sections);

// Forward, reverse, forward again, reverse back: zero phase.
void ButterworthZeroPhase(std::span<float> y, FilterKind kind, double f, double dt, int sections);

}  // namespace kov
