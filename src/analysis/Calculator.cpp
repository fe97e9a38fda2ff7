#include "analysis/Calculator.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "stack/Stack.h"

namespace kov {

namespace {

constexpr std::uint32_t Bit(std::uint32_t kind) {
    return 1u << (kind - kKindWave);
}
constexpr std::uint32_t W = Bit(kKindWave), S = Bit(kKindSpectrum), C = Bit(kKindScan),
                        T = Bit(kKindTrend), P = Bit(kKindProbability), H = Bit(kKindHistogram),
                        X = Bit(kKindXY), M = Bit(kKindMagDur), ST = Bit(kKindStatistic);

constexpr std::array<OperationRow, kRowCount> kTable{{
    {"Add", 2150, W | S | C | T | X | M, true, true, false, nullptr},
    {"Subtract", 2151, W | S | C | T | X, true, true, false, nullptr},
    {"Multiply", 2152, W | S | C | T | P | H | X, true, true, false, nullptr},
    {"Divide", 2153, W | S | C | T | P | H | X, true, true, false, nullptr},
    {"Negate (-X)", 2154, W | S | C | T | P | H | X, false, false, false, nullptr},
    {"Invert (1/X)", 2155, W | S | C | T | P | H | X, false, false, false, nullptr},
    {"FFT", 2156, W, false, false, true, "SPEC"},
    {"DFT", 2157, W, false, false, true, "SPEC"},
    {"IDFT", 2158, S, false, false, true, "WAVE"},
    {"Power", 2159, W, true, false, false, nullptr},
    {"Energy", 2160, W, true, false, false, nullptr},
    {"I Squared T", 2161, W, false, false, false, nullptr},
    {"X-Y Combine", 2162, W | P | H | X, true, false, false, "WAVE"},
    {"Square", 2163, W | S | C | T | X, false, false, false, nullptr},
    {"Square Root", 2164, W | S | C | T | X, false, false, false, nullptr},
    {"Abs Value", 2165, W | S | C | T | X, false, false, false, nullptr},
    {"V,I dB Ratio", 2166, W | S | C | T | X, true, false, false, nullptr},
    {"Pwr dB Ratio", 2167, W | S | C | T | X, true, false, false, nullptr},
    {"Integrate", 2168, W | X, false, false, false, nullptr},
    {"Cum Prob", 2169, ST, false, false, false, "PROB"},
    {"Prob Dist", 2170, ST, false, false, true, "HIST"},
    {"Filter", 2171, W, false, false, true, nullptr},
    {"Time Shift", 2172, W, false, false, true, nullptr},
    {"Sampling", 2173, W | S | C | X, false, false, true, nullptr},
    {"Window Function", 2174, W, false, false, true, nullptr},
    {"Auto Correlation", 2175, W, false, false, false, nullptr},
    {"Cross Correlation", 2176, W, true, false, false, nullptr},
    {"Transfer Function", 2177, W, true, false, false, "SCAN"},
    {"Coherence Function", 2178, W, true, false, false, "SCAN"},
}};

StackObject::Result CallRow(Ui& ui, const CalcRequest& r, const StackObject* second,
                            CalculatorRecords& records) {
    StackObject& a = *r.first;
    const OperandMode mode = second ? OperandMode::Curve : OperandMode::Constant;
    switch (r.row) {
        case kRowAdd:
            return a.Add(ui, second, mode, r.constant);
        case kRowSubtract:
            return a.Subtract(ui, second, mode, r.constant);
        case kRowMultiply:
            return a.Multiply(ui, second, mode, r.constant);
        case kRowDivide:
            return a.Divide(ui, second, mode, r.constant);
        case kRowNegate:
            return a.Negate(ui);
        case kRowInvert:
            return a.Invert(ui);
        case kRowFft:
            return a.Fft(ui, records.fft);
        case kRowDft:
            return a.Dft(ui, records.dft);
        case kRowIdft:
            return a.Idft(ui, records.idft);
        case kRowPower:
            return a.Power(ui, second);
        case kRowEnergy:
            return a.Energy(ui, second);
        case kRowISquaredT:
            return a.ISquaredT(ui);
        case kRowXYCombine:
            return a.XYCombine(ui, second);
        case kRowSquare:
            return a.Square(ui);
        case kRowSquareRoot:
            return a.SquareRoot(ui);
        case kRowAbsValue:
            return a.AbsValue(ui);
        case kRowVIDbRatio:
            return a.VIDbRatio(ui, second, r.constant);
        case kRowPowerDbRatio:
            return a.PowerDbRatio(ui, second, r.constant);
        case kRowIntegrate:
            return a.Integrate(ui);
        case kRowCumProb:
            return a.CumulativeProbability(ui);
        case kRowProbDist:
            return a.ProbabilityDistribution(ui, records.bins);
        case kRowFilter:
            return a.Filter(ui, records.filter.type, records.filter.f1, records.filter.f2,
                            records.filter.sections);
        case kRowTimeShift:
            return a.TimeShift(ui, records.timeShift.shift);
        case kRowSampling: {
            const SamplingParameters& s = records.sampling;
            if (s.byIndex)
                return s.byStep ? a.SampleIndexesByStep(ui, s.startIndex, s.stopIndex, s.step)
                                : a.SampleIndexesByCount(ui, s.startIndex, s.stopIndex, s.points);
            return s.byStep ? a.SampleValuesByStep(ui, s.startValue, s.stopValue, s.step)
                            : a.SampleValuesByCount(ui, s.startValue, s.stopValue, s.points);
        }
        case kRowWindowFunction:
            return a.WindowFunction(ui, records.fft.window);
        case kRowAutoCorrelation:
            return a.AutoCorrelation(ui);
        case kRowCrossCorrelation:
            return a.CrossCorrelation(ui, second);
        case kRowTransferFunction:
            return a.TransferFunction(ui, second);
        case kRowCoherenceFunction:
            return a.CoherenceFunction(ui, second);
        default:
            ui.MessageBox(str::kNoExecutionMethod, str::kCodingErrorCaption, Icon::Warning);
            return nullptr;
    }
}

}  // namespace

const std::array<OperationRow, kRowCount>& OperationTable() {
    return kTable;
}

int FindOperation(std::string_view name) {
    for (int i = 0; i < kRowCount; ++i)
        if (EqualsNoCase(kTable[static_cast<std::size_t>(i)].name, name)) return i;
    return -1;
}

bool RowAcceptsKind(int row, std::uint32_t kind) {
    if (row < 0 || row >= kRowCount || kind < kKindWave || kind > kKindHist3D) return false;
    return (kTable[static_cast<std::size_t>(row)].kinds & Bit(kind)) != 0;
}

std::string ResultTag(int row, const StackObject& first, const FFTParameters& fft) {
    if (row < 0 || row >= kRowCount) return "UNKN";
    if (row == kRowFft && fft.sliding != 0) return "TRND";
    const char* tag = kTable[static_cast<std::size_t>(row)].resultTag;
    return tag ? tag : KindTag(first.kind());
}

std::string SlidingItemText(int item) {
    switch (item) {
        case kItemRms:
            return "RMS";
        case kItemPeak:
            return "PEAK";
        case kItemCrestFactor:
            return "CF";
        case kItemFormFactor:
            return "FF";
        default:
            return Format("%d", item);
    }
}

bool ReadSlidingItem(Ui& ui, std::string_view text, int& item) {
    const std::string t = Trim(text);
    static const std::pair<const char*, int> words[] = {
        {"rms", kItemRms}, {"peak", kItemPeak}, {"cf", kItemCrestFactor}, {"ff", kItemFormFactor}};
    for (const auto& [word, value] : words)
        if (EqualsNoCase(t, word)) {
            item = value;
            return true;
        }
    char* end = nullptr;
    const long value = std::strtol(t.c_str(), &end, 10);
    if (t.empty() || end == nullptr || *end != '\0') {
        ui.MessageBox(str::kInvalidItemText, str::kShortProductName, Icon::Warning);
        return false;
    }
    if (value < 0) {
        ui.MessageBox(str::kHarmonicNotPositive, str::kShortProductName, Icon::Warning);
        return false;
    }
    item = static_cast<int>(std::min<long>(value, 1 << 30));
    return true;
}

bool CheckSampling(Ui& ui, const SamplingParameters& s) {
    const char* error = nullptr;
    if (s.byIndex && (s.startIndex < 0 || s.stopIndex < 0))
        error = str::kIndicesNegative;
    else if (s.byIndex && s.startIndex >= s.stopIndex)
        error = str::kStartIndexNotBelowStop;
    else if (!s.byIndex && !(s.startValue < s.stopValue))
        error = str::kStartValueNotBelowStop;
    else if (s.byStep && !(s.step > 0.0))
        error = str::kStepNotPositive;
    else if (!s.byStep && s.points < 2)
        error = str::kTooFewSamplingPoints;
    if (error == nullptr) return true;
    ui.MessageBox(error, str::kErrorCaption, Icon::Error);
    return false;
}

CalculatorRecords& RunCalculatorRecords() {
    static CalculatorRecords records;
    return records;
}

StackObject* DoCalculation(Stack& stack, Ui& ui, const CalcRequest& request,
                           CalculatorRecords& records) {
    if (request.first == nullptr) return nullptr;
    // 1-2: the new name.
    std::array<std::string, 4> parts;
    for (std::size_t i = 0; i < 4; ++i) parts[i] = Cut(request.nameParts[i], 63);
    if (parts[0].empty() && parts[1].empty()) {
        ui.Beep();
        ui.MessageBox(str::kInvalidStackName, str::kShortProductName, Icon::Warning);
        return nullptr;
    }
    const std::string tag = ResultTag(request.row, *request.first, records.fft);
    const std::string key = Stack::MakeKey("DERIVED", parts[0], parts[1], parts[2], parts[3], tag);
    if (stack.FindByKey(key)) {
        ui.Beep();
        ui.MessageBox(Format(str::kNameExists, key.c_str()), str::kShortProductName, Icon::Warning);
        return nullptr;
    }
    if (request.row < 0 || request.row >= kRowCount) {
        ui.MessageBox(str::kNoExecutionMethod, str::kCodingErrorCaption, Icon::Warning);
        return nullptr;
    }
    // The dialog offers "&Do" only for the kinds a row accepts.
    if (!RowAcceptsKind(request.row, request.first->kind())) {
        ui.MessageBox(str::kUnsupportedOperation, str::kShortProductName, Icon::Exclamation);
        return nullptr;
    }
    // 3: the second argument.
    const OperationRow& row = kTable[static_cast<std::size_t>(request.row)];
    const StackObject* second = nullptr;
    if (row.needsSecond && !(row.constantAllowed && request.mode == OperandMode::Constant)) {
        second = request.second;
        if (second == nullptr) {
            ui.Beep();
            ui.MessageBox(str::kTwoCurvesRequired, str::kShortProductName, Icon::Warning);
            return nullptr;
        }
    }
    // 4: "Prob Dist" needs the x-axis per-unit base.
    if (request.row == kRowProbDist && !request.first->perUnitBase[kAxisX].set) {
        ui.Beep();
        ui.MessageBox(str::kPerUnitNotSet, str::kLongProductName, Icon::Warning);
        return nullptr;
    }
    // 5: the call; a failed operation has shown its own message.
    StackObject::Result result = CallRow(ui, request, second, records);
    if (!result) return nullptr;
    // 6: name and push.
    result->Init("", "DERIVED", parts[0], parts[1], parts[2], parts[3], tag);
    StackObject* pushed = result.get();
    if (!stack.Add(std::move(result), true)) return nullptr;
    return pushed;
}

}  // namespace kov
