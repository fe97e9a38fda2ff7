#pragma once
// The unit and per-unit base records every item carries for each of its
// axes (X, Y magnitude, Y angle), and the names of the units.

#include <cstdint>
#include <string>

namespace kov {

// Unit name ids (string table 2121..2145).
enum UnitId : std::uint16_t {
    kUnitNone = 0,
    kUnitMagnitude = 2121,
    kUnitVoltage = 2122,
    kUnitCurrent = 2123,
    kUnitApparentPower = 2124,
    kUnitRealPower = 2125,
    kUnitReactivePower = 2126,
    kUnitInstantaneousPower = 2127,
    kUnitImpedance = 2128,
    kUnitEnergy = 2129,
    kUnitSeconds = 2130,
    kUnitMinutes = 2131,
    kUnitHours = 2132,
    kUnitDays = 2133,
    kUnitDate = 2134,
    kUnitTime = 2135,
    kUnitHertz = 2136,
    kUnitHarmonic = 2137,
    kUnitDegrees = 2138,
    kUnitDecibels = 2139,
    kUnitProbability = 2140,
    kUnitEfficiency = 2141,
    kUnitPowerFactor = 2142,
    kUnitOccurrences = 2143,
    kUnitPercentMagnitude = 2144,
    kUnitDuration = 2145,
};
inline constexpr std::uint16_t kFirstUnitId = 2121;
inline constexpr std::uint16_t kLastUnitId = 2145;

// "Voltage,Volts,V" for 2122; "" for ids outside 2121..2145.
const char* UnitText(std::uint16_t unitId);

// Prefix codes.
enum PrefixCode : std::uint16_t {
    kPrefixPico = 2,
    kPrefixNano = 3,
    kPrefixMicro = 4,
    kPrefixMilli = 5,
    kPrefixNone = 6,
    kPrefixKilo = 7,
    kPrefixMega = 8,
    kPrefixGiga = 9,
};

struct UnitRecord {
    std::uint16_t code = kPrefixNone;
    std::string prefix;       // at most one character; "" on a new record
    double multiplier = 1.0;  // what one displayed unit is in stored units
    std::uint16_t unitId = kUnitNone;
};

// Per-unit base label ids.
enum AxisLabelId : std::uint16_t { kLabelXAxis = 2300, kLabelYMag = 2301, kLabelYAngle = 2302 };

struct PerUnitBase {
    bool set = false;          // the axis is shown per unit
    double value = 1.0;        // the base, in stored units
    std::uint16_t factor = 0;  // 0: 1.0, 1: sqrt(2), 2: sqrt(2)/sqrt(3)
    std::uint16_t labelId = 0;
};

// The form factor of a per-unit base: 1.0, 1.41421356237 or 0.816496580925.
double PerUnitFactor(std::uint16_t factor);

// The divisor a per-unit base applies to displayed values: factor x value when
// set, otherwise 1.0; a product of 0 counts as 1.0.
double PerUnitDivisor(const PerUnitBase& base);

}  // namespace kov
