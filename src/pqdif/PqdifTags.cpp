#include "pqdif/PqdifTags.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace kov::pqdif {

namespace {

// The three searchable tables, copied from the generated entries and sorted
// once. Stable sorting keeps the list order for equal keys, so a lookup of a
// key listed twice (an alias) gives the first name.
struct Dictionary {
    std::vector<detail::TagEntry> tags;
    std::vector<detail::IdEntry> ids;
    std::vector<detail::IntIdEntry> intIds;

    Dictionary()
        : tags(detail::kTagEntries, detail::kTagEntries + detail::kTagEntryCount),
          ids(detail::kIdEntries, detail::kIdEntries + detail::kIdEntryCount),
          intIds(detail::kIntIdEntries, detail::kIntIdEntries + detail::kIntIdEntryCount) {
        std::stable_sort(tags.begin(), tags.end(),
                         [](const auto& a, const auto& b) { return a.tag < b.tag; });
        std::stable_sort(ids.begin(), ids.end(),
                         [](const auto& a, const auto& b) { return a.id < b.id; });
        std::stable_sort(intIds.begin(), intIds.end(), [](const auto& a, const auto& b) {
            if (a.owner != b.owner) return a.owner < b.owner;
            return a.value < b.value;
        });
    }
};

const Dictionary& Dict() {
    static const Dictionary dictionary;
    return dictionary;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

const char* GetTagName(const Guid& tag) {
    const auto& t = Dict().tags;
    auto it = std::lower_bound(t.begin(), t.end(), tag,
                               [](const detail::TagEntry& e, const Guid& k) { return e.tag < k; });
    return (it != t.end() && it->tag == tag) ? it->name : kUnrecognized;
}

const char* GetIdName(const Guid& id) {
    const auto& t = Dict().ids;
    auto it = std::lower_bound(t.begin(), t.end(), id,
                               [](const detail::IdEntry& e, const Guid& k) { return e.id < k; });
    return (it != t.end() && it->id == id) ? it->name : kUnrecognized;
}

const char* GetIntIdName(const Guid& tag, std::int32_t value) {
    const auto& t = Dict().intIds;
    auto it = std::lower_bound(t.begin(), t.end(), std::pair(tag, value),
                               [](const detail::IntIdEntry& e, const std::pair<Guid, int>& k) {
                                   if (e.owner != k.first) return e.owner < k.first;
                                   return e.value < k.second;
                               });
    return (it != t.end() && it->owner == tag && it->value == value) ? it->name : kUnrecognized;
}

const char* GetPhysicalTypeName(int code) {
    for (std::size_t i = 0; i < detail::kPhysTypeEntryCount; ++i)
        if (detail::kPhysTypeEntries[i].code == code) return detail::kPhysTypeEntries[i].name;
    return kUnrecognized;
}

std::string_view StripIdPrefix(std::string_view name) {
    static constexpr std::string_view kPrefixes[] = {
        "ID_QT_", "ID_QC_",           "ID_QM_",      "ID_PHASE_",  "ID_SERIES_VALUE_TYPE_",
        "ID_QU_", "ID_DISTURB_1159_", "ID_DS_TYPE_", "ID_VENDOR_", "ID_EQUIP_"};
    for (std::string_view p : kPrefixes)
        if (name.substr(0, p.size()) == p) return name.substr(p.size());
    return name;
}

std::size_t TagNameCount() {
    return Dict().tags.size();
}
std::size_t IdNameCount() {
    return Dict().ids.size();
}
std::size_t IntIdNameCount() {
    return Dict().intIds.size();
}

std::string GuidToString(const Guid& g) {
    const auto& b = g.bytes;
    char text[40];
    std::snprintf(text, sizeof text,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                  b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

std::optional<Guid> ParseGuid(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
    if (text.size() != 36) return std::nullopt;
    // Hex digit pairs in text order, then placed in the Windows layout.
    std::uint8_t seq[16];
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-') return std::nullopt;
            ++i;
            continue;
        }
        const int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        seq[n++] = static_cast<std::uint8_t>(hi * 16 + lo);
        i += 2;
    }
    Guid g;
    static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (int i = 0; i < 16; ++i) g.bytes[kOrder[i]] = seq[i];
    return g;
}

}  // namespace kov::pqdif
