#pragma once
// The registry of file formats: 15 entries in a fixed order, each with a
// numeric type id and its subtypes (extension pattern, label, subtype id and
// whether the file is shown as text instead of read).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kov {

// Type ids of the formats.
enum FileTypeId : std::uint32_t {
    kTypeAsciiText = 1000,
    kTypeOstrell = 1001,
    kTypeVHarm = 1002,
    kTypeHarmflo = 1003,
    kTypeEmtpPl4 = 1004,
    kTypeQuillon = 1005,
    kTypeComtrade = 1006,
    kTypeVexaCsv = 1007,
    kTypeFluke = 1008,
    kTypeDranetz = 1011,
    kTypeDadisp = 1012,
    kTypeMacro = 1013,
    kTypeEpriElt = 2011,
    kTypePqdif = 2012,
    kTypeEmtdc = 2013,
    kTypeByExtension = 65535,  // CreateReader: choose by the file's extension
};

// Subtype ids that select a reader within a type.
enum FileSubtypeId : std::uint32_t {
    kSubtypeHarmfloWave = 2001,
    kSubtypeHarmfloSpec = 2002,
    kSubtypeHarmfloImpedance = 2003,
    kSubtypeHarmfloText = 2004,
    kSubtypePl4 = 2005,
    kSubtypeSos = 2007,
    kSubtypeFluke41 = 2008,
    kSubtypeFlukeCurve = 2010,
};

struct FileSubtype {
    std::string pattern;  // "*.cfg"
    std::string label;    // "IEEE COMTRADE"
    std::uint32_t subtypeId = 1;
    bool viewAsText = false;
};

struct FileTypeEntry {
    std::uint32_t typeId = 0;
    std::vector<FileSubtype> subtypes;
};

// One line of the Open dialog's filter list.
struct FilterEntry {
    std::string label;
    std::string pattern;
    std::uint32_t typeId = 0;
    std::uint32_t subtypeId = 0;
    bool viewAsText = false;
};

class FileTypeRegistry {
public:
    static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

    FileTypeRegistry();  // the built-in formats

    const std::vector<FileTypeEntry>& entries() const { return entries_; }
    // Index of the entry with this type id, or kNotFound.
    std::size_t FindEntry(std::uint32_t typeId) const;
    // Flat filter index of a (type id, subtype id) pair, or kNotFound.
    std::size_t FindFilterIndex(std::uint32_t typeId, std::uint32_t subtypeId) const;
    // The subtype's view-as-text flag; false when the pair is not registered.
    bool ViewAsText(std::uint32_t typeId, std::uint32_t subtypeId) const;

    // Every subtype of every entry, in registry order: the filter list.
    std::vector<FilterEntry> FilterList() const;
    // The filter list in the platform's "label|pattern|..." form with every
    // "|" as a NUL (double-NUL terminated).
    std::string FilterString() const;
    // The first filter whose pattern, less its leading "*", equals the
    // path's extension without regard to case; kNotFound when none does.
    std::size_t MatchExtension(const std::string& path) const;

private:
    std::vector<FileTypeEntry> entries_;
};

// Open statuses of CreateReader.
enum OpenStatus : int { kOpenOk = 0, kOpenWrongType = 2, kOpenCannotRead = 3 };

}  // namespace kov
