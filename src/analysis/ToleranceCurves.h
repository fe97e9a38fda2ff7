#pragma once
// Voltage-tolerance envelopes and equipment-sensitivity curves drawn behind
// magnitude-duration graphs. Each curve is a fixed table of (duration in
// seconds, magnitude in percent of nominal) points in ascending duration; a
// step is two points a hair apart in duration.
//
//   family 0 "CBEMA (1987)":        "CBEMA Lower", "CBEMA Upper" (102 points)
//   family 1 "ITIC (1996)":         "ITIC Lower", "ITIC Upper" (21 points)
//   family 2 "SEMI Std. 2844A":     "SEMI" (26 points)
//   family 3 "DPDT Relay":          "DPDT Relay" (23 points)
//   family 4 "24 vdc Power Supply": "24 VDC Pwr Sup" (23 points)
//   family 5 "PLC":                 "PLC Controller" (23 points)
// Any other family has no curve. Curve 0 of families 0 and 1 is the lower one.

#include <memory>
#include <span>
#include <vector>

#include "stack/PlotableStackObject.h"

namespace kov {

inline constexpr int kToleranceFamilyCount = 6;

// 2 for families 0 and 1, 1 for families 2 to 5, 0 otherwise.
int CurveCount(int family);
// The point count of a curve, 0 for any other pair.
int CurvePointCount(int family, int curve);
// The curve's name, nullptr for any other pair.
const char* CurveName(int family, int curve);
// The preference label of a family ("CBEMA (1987)" ...), nullptr outside 0..5.
const char* CurveFamilyName(int family);
// Fills min(count, point count) points, count being the smaller of the two
// spans: duration x durationScale, magnitude as stored. False for any other
// pair or a count below 1.
bool CurvePoints(int family, int curve, double durationScale, std::span<double> durations,
                 std::span<double> magnitudes);

// The background curves of a magnitude-duration graph: one plot item per
// curve of the family (x duration in seconds, y magnitude in percent, extents
// computed) named with case name "BACKGROUND" and the curve name as first
// name part. They belong to the graph and never go on the stack.
std::vector<std::unique_ptr<PlotableStackObject>> MakeBackgroundCurves(int family);

}  // namespace kov
