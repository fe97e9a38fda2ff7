#pragma once
// Identity of a recorded quantity that survives into derived items: trigger
// and time-stamp flags, start and trigger times, and the PQDIF identifiers of
// the quantity and its axes. Filled by the COMTRADE and PQDIF readers, copied
// from the first operand into every result, read back by the PQDIF writer.

#include <array>
#include <compare>
#include <cstdint>

namespace kov {

// A GUID in the platform's memory layout, compared byte by byte.
struct Guid {
    std::array<std::uint8_t, 16> bytes{};
    auto operator<=>(const Guid&) const = default;
    bool IsNull() const { return *this == Guid{}; }
};

// PQDIF timestamp: days since 1899-12-30 (day 25569 is 1970-01-01) and seconds since midnight.
struct PqdifTimestamp {
    std::uint32_t days = 0;
    double seconds = 0.0;
    bool operator==(const PqdifTimestamp&) const = default;
};

struct AcquisitionBlock {
    std::uint32_t triggerFlag = 0;
    double triggerOffset = 0.0;  // seconds from start to trigger
    std::uint32_t timeStampPresent = 0;
    PqdifTimestamp startTime;
    PqdifTimestamp triggerTime;
    Guid quantityType;
    std::uint32_t phase = 0;
    std::uint32_t quantityMeasured = 0;
    std::array<Guid, 3> valueType{};
    std::array<Guid, 3> characteristic{};
    std::array<std::uint32_t, 3> units{};
    bool operator==(const AcquisitionBlock&) const = default;
};

}  // namespace kov
