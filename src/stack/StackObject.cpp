#include "stack/StackObject.h"

#include <map>
#include <mutex>

#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace kov {

const char* KindTag(std::uint32_t kind) {
    switch (kind) {
        case kKindWave:
            return "WAVE";
        case kKindSpectrum:
            return "SPEC";
        case kKindScan:
            return "SCAN";
        case kKindStatistic:
            return "STAT";
        case kKindTrend:
            return "TRND";
        case kKindProbability:
            return "PROB";
        case kKindHistogram:
            return "HIST";
        case kKindXY:
            return "XY";
        case kKindMagDur:
            return "MGDR";
        case kKindHist3D:
            return "HST3";
        default:
            return "UNKN";
    }
}

namespace {

constexpr std::size_t kNamePartLimit = 63;
constexpr std::size_t kNamePartWidth = 8;
constexpr std::size_t kTagLimit = 5;
constexpr std::size_t kTagWidth = 4;

std::string Pad(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string PadNamePart(std::string_view part) {
    return Pad(Cut(part, kNamePartLimit), kNamePartWidth);
}

// Long case names seen in this run, and the short names given to them.
struct CaseNameMap {
    std::mutex mutex;
    std::map<std::string, std::string, std::less<>> shortNames;
    std::map<std::string, int, std::less<>> prefixCounts;
};
CaseNameMap& CaseNames() {
    static CaseNameMap map;
    return map;
}

}  // namespace

std::string ShortenCaseName(std::string_view caseName) {
    if (caseName.size() <= kNamePartLimit) return std::string(caseName);
    CaseNameMap& map = CaseNames();
    std::lock_guard lock(map.mutex);
    if (const auto it = map.shortNames.find(caseName); it != map.shortNames.end())
        return it->second;
    const std::string prefix = Cut(caseName, kNamePartLimit);
    const int count = map.prefixCounts[prefix]++;
    const std::string suffix = Format(":%d", count);
    std::string shortName = Cut(prefix, kNamePartLimit - suffix.size()) + suffix;
    map.shortNames.emplace(std::string(caseName), shortName);
    return shortName;
}

std::string BuildStackKey(std::string_view caseName, std::string_view namePart1,
                          std::string_view namePart2, std::string_view namePart3,
                          std::string_view namePart4, std::string_view typeTag) {
    std::string key;
    key.reserve(6 * 12);
    for (std::string_view part : {namePart1, namePart2, namePart3, namePart4}) {
        key += '(';
        key += PadNamePart(part);
        key += ')';
    }
    key += '(';
    key += Pad(ShortenCaseName(caseName), kNamePartWidth);
    key += ")(";
    key += Pad(Cut(typeTag, kTagLimit), kTagWidth);
    key += ')';
    return key;
}

StackObject::StackObject(std::uint32_t kind, std::uint32_t axisCount)
    : kind_(kind), axisCount_(axisCount) {}

void StackObject::Init(std::string_view sourcePath, std::string_view caseName,
                       std::string_view namePart1, std::string_view namePart2,
                       std::string_view namePart3, std::string_view namePart4,
                       std::string_view typeTag) {
    sourcePath_ = Cut(sourcePath, kFieldLimit);
    caseName_ = Cut(caseName, kFieldLimit);
    nameParts_ = {Cut(namePart1, kFieldLimit), Cut(namePart2, kFieldLimit),
                  Cut(namePart3, kFieldLimit), Cut(namePart4, kFieldLimit)};
    typeTag_ = Cut(typeTag, kFieldLimit);
    stackKey_ = Cut(BuildStackKey(caseName_, nameParts_[0], nameParts_[1], nameParts_[2],
                                  nameParts_[3], typeTag_),
                    kFieldLimit);
    shortLabel_ = nameParts_[1].empty() ? nameParts_[0] : nameParts_[0] + "-" + nameParts_[1];
    shortLabel_ = Cut(shortLabel_, kFieldLimit);
}

void StackObject::SetSourcePath(std::string_view path) {
    sourcePath_ = Cut(path, kFieldLimit);
}

std::string StackObject::GetListLine(bool asColumns, std::size_t bufferSize) const {
    if (bufferSize == 0) return {};
    if (!asColumns) return Cut(stackKey_, bufferSize - 1);
    constexpr std::size_t kColumnLimit = 336;
    std::string line;
    const std::string* fields[] = {&nameParts_[0], &nameParts_[1], &nameParts_[2],
                                   &nameParts_[3], &caseName_,     &typeTag_};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (i > 0) line += '\t';
        line += fields[i]->empty() ? std::string(" ") : Cut(*fields[i], kColumnLimit);
    }
    return Cut(line, bufferSize - 1);
}

std::string StackObject::GetTitle(std::size_t bufferSize) const {
    constexpr std::size_t kPartLimit = 79;
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    std::string title;
    // Appends open, the part cut to kPartLimit, and close while they fit.
    auto append = [&](std::string_view open, const std::string& part, std::string_view close) {
        const std::string cut = Cut(part, kPartLimit);
        if (title.size() + open.size() + cut.size() + close.size() > room) return;
        title.append(open).append(cut).append(close);
    };
    append("", caseName_, "");
    append(">", std::string(), "");
    append("", shortLabel_, "");
    if (!nameParts_[2].empty()) append("(", nameParts_[2], ")");
    if (!nameParts_[3].empty()) append("(", nameParts_[3], ")");
    return title;
}

LegendLabels BuildLegendLabels(std::span<const StackObject* const> items) {
    LegendLabels result;
    if (items.empty()) return result;
    constexpr std::size_t kFields = 5;
    auto field = [](const StackObject& item, std::size_t i) -> const std::string& {
        return i < 4 ? item.namePart(i) : item.caseName();
    };
    std::array<bool, kFields> differs{};
    const StackObject& first = *items.front();
    for (const StackObject* item : items)
        for (std::size_t f = 0; f < kFields; ++f)
            if (!EqualsNoCase(field(*item, f), field(first, f))) differs[f] = true;
    int count = 0;
    for (bool d : differs) count += d ? 1 : 0;
    if (count == 0) {
        differs[0] = true;
        count = 1;
    }
    result.differingFields = count;
    constexpr std::size_t kLabelPartLimit = 63;
    for (const StackObject* item : items) {
        std::string label;
        for (std::size_t f = 0; f < kFields; ++f) {
            if (!differs[f]) continue;
            const std::string text = Cut(field(*item, f), kLabelPartLimit);
            label += count > 1 ? "(" + text + ")" : text;
        }
        result.labels.push_back(std::move(label));
    }
    return result;
}

StackObject::Result StackObject::Unsupported(Ui& ui) {
    ui.MessageBox(str::kUnsupportedOperation, str::kShortProductName, Icon::Exclamation);
    return nullptr;
}

StackObject::Result StackObject::Add(Ui& ui, const StackObject*, OperandMode, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Subtract(Ui& ui, const StackObject*, OperandMode, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Multiply(Ui& ui, const StackObject*, OperandMode, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Divide(Ui& ui, const StackObject*, OperandMode, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Negate(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Invert(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Fft(Ui& ui, FFTParameters&) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Dft(Ui& ui, DFTParameters&) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Idft(Ui& ui, IDFTParameters&) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Power(Ui& ui, const StackObject*) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Energy(Ui& ui, const StackObject*) {
    return Unsupported(ui);
}
StackObject::Result StackObject::ISquaredT(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::XYCombine(Ui& ui, const StackObject*) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Square(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::SquareRoot(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::AbsValue(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::VIDbRatio(Ui& ui, const StackObject*, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::PowerDbRatio(Ui& ui, const StackObject*, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Integrate(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::CumulativeProbability(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::ProbabilityDistribution(Ui& ui, const BinParameters&) {
    return Unsupported(ui);
}
StackObject::Result StackObject::Filter(Ui& ui, int, float, float, int) {
    return Unsupported(ui);
}
StackObject::Result StackObject::WindowFunction(Ui& ui, int) {
    return Unsupported(ui);
}
StackObject::Result StackObject::AutoCorrelation(Ui& ui) {
    return Unsupported(ui);
}
StackObject::Result StackObject::CrossCorrelation(Ui& ui, const StackObject*) {
    return Unsupported(ui);
}
StackObject::Result StackObject::TransferFunction(Ui& ui, const StackObject*) {
    return Unsupported(ui);
}
StackObject::Result StackObject::CoherenceFunction(Ui& ui, const StackObject*) {
    return Unsupported(ui);
}
StackObject::Result StackObject::TimeShift(Ui& ui, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::SampleIndexesByStep(Ui& ui, long, long, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::SampleIndexesByCount(Ui& ui, long, long, long) {
    return Unsupported(ui);
}
StackObject::Result StackObject::SampleValuesByStep(Ui& ui, double, double, double) {
    return Unsupported(ui);
}
StackObject::Result StackObject::SampleValuesByCount(Ui& ui, double, double, long) {
    return Unsupported(ui);
}

}  // namespace kov
