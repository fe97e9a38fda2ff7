#include "readers/ReaderFactory.h"

#include <array>

#include "readers/FileTypeRegistry.h"
#include "readers/comtrade/ComtradeDataFile.h"

namespace kov {

ReaderSelection SniffPl4(std::FILE* file) {
    std::array<unsigned char, 11> head{};
    std::rewind(file);
    const std::size_t got = std::fread(head.data(), 1, head.size(), file);
    std::rewind(file);
    if (got >= 1 && head[0] == 'K') return {ReaderClass::EpriPl4, 101, kOpenOk};
    if (got >= 1 && head[0] == 0xFC) return {ReaderClass::None, 0, kOpenWrongType};
    if (got >= 11 && head[9] == ' ' && head[10] == ' ') return {ReaderClass::AtpPl4, 103, kOpenOk};
    return {ReaderClass::EpriPl4, 100, kOpenOk};
}

ReaderSelection SelectReader(std::uint32_t typeId, std::uint32_t subtypeId, std::FILE* file) {
    auto is = [](ReaderClass c) { return ReaderSelection{c, 0, kOpenOk}; };
    const ReaderSelection wrongType{ReaderClass::None, 0, kOpenWrongType};
    switch (typeId) {
        case kTypeOstrell:
            return is(ReaderClass::Ostrell);
        case kTypeVHarm:
            return is(ReaderClass::VHarm);
        case kTypeQuillon:
        case kTypeEpriElt:
            return is(ReaderClass::Quillon);
        case kTypeComtrade:
            return is(ReaderClass::Comtrade);
        case kTypeVexaCsv:
            return is(ReaderClass::VexaCsv);
        case kTypeDranetz:
            return is(ReaderClass::Dranetz65xAscii);
        case kTypeDadisp:
            return is(ReaderClass::DADisp);
        case kTypeEmtdc:
            return is(ReaderClass::Emtdc);
        case kTypeHarmflo:
            if (subtypeId == kSubtypeHarmfloWave) return is(ReaderClass::HarmfloWave);
            if (subtypeId == kSubtypeHarmfloSpec) return is(ReaderClass::HarmfloSpec);
            if (subtypeId == kSubtypeHarmfloImpedance || subtypeId == kSubtypeHarmfloText)
                return {};  // not read, and nothing to report
            return wrongType;
        case kTypeFluke:
            if (subtypeId == kSubtypeFluke41) return is(ReaderClass::Fluke41);
            if (subtypeId == kSubtypeFlukeCurve) return is(ReaderClass::FlukeCurve);
            return wrongType;
        case kTypeEmtpPl4:
            if (subtypeId == kSubtypeSos) return is(ReaderClass::Statistic);
            if (subtypeId == kSubtypePl4 && file) return SniffPl4(file);
            return wrongType;
        case kTypePqdif:
            return is(ReaderClass::Pqdif);
        case kTypeMacro:
            return {};  // macros are run, not read
        default:
            return wrongType;
    }
}

std::unique_ptr<DataFile> InstantiateReader(const ReaderSelection& selection) {
    switch (selection.readerClass) {
        // Each reader registers here as it becomes available.
        case ReaderClass::Comtrade:
            return std::make_unique<ComtradeDataFile>();
        default:
            return nullptr;
    }
}

}  // namespace kov
