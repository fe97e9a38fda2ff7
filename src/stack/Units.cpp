#include "stack/Units.h"

namespace kov {

namespace {
constexpr const char* kUnitTexts[] = {
    "Magnitude,Mag,Mag",
    "Voltage,Volts,V",
    "Current,Amps,A",
    "Apparent Power,Volt Amperes,VA",
    "Real Power,Watts,W",
    "Reactive Power,Vars,VAr",
    "Instantaneous Power,Watts,W",
    "Impedance,Ohms,Z",
    "Energy,Joules,J",
    "Time,Seconds,s",
    "Time,Minutes,Min",
    "Time,Hours,Hr",
    "Time,Days,Day",
    "Date,Date,Date",
    "Time,Time,Time",
    "Frequency,Hertz,Hz",
    "Frequency,Harmonic,H",
    "Phase,Degrees",
    "dB Relative,Decibels,dB",
    "Probability,Percent,%",
    "Efficiency,Percent,%",
    "Power Factor,Percent,%",
    "Occurences,N,N",
    "Magnitude,Percent,%",
    "Duration,Seconds,s",
};
static_assert(std::size(kUnitTexts) == kLastUnitId - kFirstUnitId + 1);
}  // namespace

const char* UnitText(std::uint16_t unitId) {
    if (unitId < kFirstUnitId || unitId > kLastUnitId) return "";
    return kUnitTexts[unitId - kFirstUnitId];
}

double PerUnitFactor(std::uint16_t factor) {
    switch (factor) {
        case 1:
            return 1.41421356237;
        case 2:
            return 0.816496580925;
        default:
            return 1.0;
    }
}

double PerUnitDivisor(const PerUnitBase& base) {
    if (!base.set) return 1.0;
    const double divisor = PerUnitFactor(base.factor) * base.value;
    return divisor == 0.0 ? 1.0 : divisor;
}

}  // namespace kov
