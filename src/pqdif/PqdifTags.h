#pragma once
// The PQDIF tag dictionary: symbolic names of tag GUIDs, of GUID identifiers
// (quantity types, value types, characteristics, vendors, ...) and of integer
// identifiers scoped by the tag that holds them (phases, units, ...). One
// read-only table, built on first use; every lookup is a binary search over
// keys ordered by their 16 GUID bytes as unsigned bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "stack/Acquisition.h"

namespace kov::pqdif {

// The text every lookup gives for a key the dictionary does not hold.
inline constexpr char kUnrecognized[] = "< Unrecognized >";

// Name of a tag GUID ("< Blank >" for the blank tag).
const char* GetTagName(const Guid& tag);
// Name of a GUID identifier, whatever tag holds it.
const char* GetIdName(const Guid& id);
// Name of an integer identifier under its owning tag.
const char* GetIntIdName(const Guid& tag, std::int32_t value);
// Name of a physical type code, or "< Unrecognized >".
const char* GetPhysicalTypeName(int code);

// Removes the first known display prefix ("ID_QT_", "ID_QC_", "ID_QM_", "ID_PHASE_",
// "ID_SERIES_VALUE_TYPE_", "ID_QU_", "ID_DISTURB_1159_", "ID_DS_TYPE_", "ID_VENDOR_",
// "ID_EQUIP_") from a name; other names come back unchanged.
std::string_view StripIdPrefix(std::string_view name);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, fields read in the Windows layout.
std::string GuidToString(const Guid& guid);
// Parses the text form above (braces optional); nullopt when malformed.
std::optional<Guid> ParseGuid(std::string_view text);

namespace detail {
struct TagEntry {
    const char* name;
    Guid tag;
};
struct IdEntry {
    const char* name;
    Guid owner;
    Guid id;
};
struct IntIdEntry {
    const char* name;
    Guid owner;
    std::int32_t value;
};
struct PhysTypeEntry {
    const char* name;
    int code;
};
extern const TagEntry kTagEntries[];
extern const std::size_t kTagEntryCount;
extern const IdEntry kIdEntries[];
extern const std::size_t kIdEntryCount;
extern const IntIdEntry kIntIdEntries[];
extern const std::size_t kIntIdEntryCount;
extern const PhysTypeEntry kPhysTypeEntries[];
extern const std::size_t kPhysTypeEntryCount;
}  // namespace detail

// Sizes of the dictionary's tables (tags, GUID identifiers, integer identifiers).
std::size_t TagNameCount();
std::size_t IdNameCount();
std::size_t IntIdNameCount();

}  // namespace kov::pqdif
