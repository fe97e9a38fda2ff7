#include "readers/FileTypeRegistry.h"

#include <filesystem>

#include "platform/Text.h"

namespace kov {

FileTypeRegistry::FileTypeRegistry()
    : entries_{
          {kTypeAsciiText, {{"*.*", "ASCII Text", 1, true}}},
          {kTypeDranetz, {{"*.drz", "Dranetz 65x", 1, false}}},
          {kTypeEmtdc, {{"*.inf", "EMTDC/PSCAD v3 & v4", 1, false}}},
          {kTypeEmtpPl4,
           {{"*.PL4", "EMTP / ATP PL4 Files", kSubtypePl4, false},
            {"*.SOS", "EMTP / ATP SOS Files", kSubtypeSos, false}}},
          {kTypeEpriElt, {{"*.ELT", "EPRI Lightning Transients", 1, false}}},
          {kTypeFluke,
           {{"*.f41", "FlukeView 41", kSubtypeFluke41, false},
            {"*.cur", "Fluke Curve", kSubtypeFlukeCurve, false}}},
          {kTypeHarmflo,
           {{"*.hfw", "Harmflo Waveforms", kSubtypeHarmfloWave, false},
            {"*.hfs", "Harmflo Spectra", kSubtypeHarmfloSpec, false},
            {"*.hfz", "Harmflo Impedance", kSubtypeHarmfloImpedance, false},
            {"*.hfo", "Harmflo Text Output", kSubtypeHarmfloText, true}}},
          {kTypeComtrade,
           {{"*.cfg", "IEEE COMTRADE", 1, false},
            {"*.cff", "IEEE COMTRADE (single file)", 2, false}}},
          {kTypePqdif, {{"*.pqd", "PQDIF", 1, false}}},
          {kTypeVexaCsv, {{"*.csv", "Wexmon (VEXA CSV)", 1, false}}},
          {kTypeDadisp, {{"*.DAT", "Square D DADisp", 1, false}}},
          {kTypeOstrell, {{"*.OSO", "Ostrell Output", 1, false}}},
          {kTypeQuillon, {{"*.QLO", "Quillon Output", 1, false}}},
          {kTypeMacro, {{"*.KM", "KOV Macro for Ostrell", 1, false}}},
          {kTypeVHarm, {{"*.out", "VHarm Output", 1, false}}},
      } {}

std::size_t FileTypeRegistry::FindEntry(std::uint32_t typeId) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].typeId == typeId) return i;
    return kNotFound;
}

std::size_t FileTypeRegistry::FindFilterIndex(std::uint32_t typeId, std::uint32_t subtypeId) const {
    std::size_t index = 0;
    for (const auto& entry : entries_)
        for (const auto& subtype : entry.subtypes) {
            if (entry.typeId == typeId && subtype.subtypeId == subtypeId) return index;
            ++index;
        }
    return kNotFound;
}

bool FileTypeRegistry::ViewAsText(std::uint32_t typeId, std::uint32_t subtypeId) const {
    const std::size_t e = FindEntry(typeId);
    if (e == kNotFound) return false;
    for (const auto& subtype : entries_[e].subtypes)
        if (subtype.subtypeId == subtypeId) return subtype.viewAsText;
    return false;
}

std::vector<FilterEntry> FileTypeRegistry::FilterList() const {
    std::vector<FilterEntry> list;
    for (const auto& entry : entries_)
        for (const auto& s : entry.subtypes)
            list.push_back({s.label, s.pattern, entry.typeId, s.subtypeId, s.viewAsText});
    return list;
}

std::string FileTypeRegistry::FilterString() const {
    std::string text;
    for (const auto& f : FilterList()) {
        text += f.label;
        text += '\0';
        text += f.pattern;
        text += '\0';
    }
    text += '\0';
    return text;
}

std::size_t FileTypeRegistry::MatchExtension(const std::string& path) const {
    const std::string extension = std::filesystem::path(path).extension().string();
    if (extension.empty()) return kNotFound;
    const auto filters = FilterList();
    for (std::size_t i = 0; i < filters.size(); ++i) {
        std::string_view pattern = filters[i].pattern;
        if (!pattern.empty() && pattern.front() == '*') pattern.remove_prefix(1);
        if (EqualsNoCase(pattern, extension)) return i;
    }
    return kNotFound;
}

}  // namespace kov
