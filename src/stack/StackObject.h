#pragma once
// StackObject: the root of every stack item kind. An item is a named quantity
// with an identity (source path, case name, four name parts, kind tag), a
// unique stack key built from it, units and per-unit bases for up to three
// axes, descriptive notes, a summary, and the table of calculator operations
// that each kind overrides where it supports them.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "stack/Summary.h"
#include "stack/Units.h"

namespace kov {

class Ui;
struct FFTParameters;
struct DFTParameters;
struct IDFTParameters;
struct BinParameters;

enum Kind : std::uint32_t {
    kKindWave = 20480,
    kKindSpectrum = 20481,
    kKindScan = 20482,
    kKindStatistic = 20484,
    kKindTrend = 20485,
    kKindProbability = 20486,
    kKindHistogram = 20487,
    kKindXY = 20488,
    kKindMagDur = 20489,
    kKindHist3D = 20490,
};

// "WAVE", "SPEC", ...; "UNKN" for a code outside the kind table.
const char* KindTag(std::uint32_t kind);

// The calculator's operand mode for Add, Subtract, Multiply and Divide.
enum class OperandMode { Constant = 0, Curve = 1 };

// Axis indexes of the unit, per-unit base and scale tables.
enum Axis : std::size_t { kAxisX = 0, kAxisY = 1, kAxisAngle = 2 };

class StackObject {
public:
    // Longest text a field holds, as copies of a field keep it.
    static constexpr std::size_t kFieldLimit = 255;

    virtual ~StackObject() = default;
    StackObject(const StackObject&) = delete;
    StackObject& operator=(const StackObject&) = delete;

    // Gives the item its identity and builds its stack key and short label.
    void Init(std::string_view sourcePath, std::string_view caseName, std::string_view namePart1,
              std::string_view namePart2, std::string_view namePart3, std::string_view namePart4,
              std::string_view typeTag);

    const std::string& sourcePath() const { return sourcePath_; }
    const std::string& caseName() const { return caseName_; }
    const std::string& namePart1() const { return nameParts_[0]; }
    const std::string& namePart2() const { return nameParts_[1]; }
    const std::string& namePart3() const { return nameParts_[2]; }
    const std::string& namePart4() const { return nameParts_[3]; }
    const std::string& namePart(std::size_t i) const { return nameParts_.at(i); }
    const std::string& shortLabel() const { return shortLabel_; }
    const std::string& typeTag() const { return typeTag_; }
    const std::string& stackKey() const { return stackKey_; }
    std::uint32_t kind() const { return kind_; }
    std::uint32_t axisCount() const { return axisCount_; }
    void SetSourcePath(std::string_view path);

    // The tab-separated line of stack lists (asColumns), or the stack key.
    // The result is cut to bufferSize - 1 characters.
    std::string GetListLine(bool asColumns, std::size_t bufferSize = 338) const;
    // "case>label(part3)(part4)", each part appended only while it fits bufferSize - 1.
    std::string GetTitle(std::size_t bufferSize = 256) const;

    const SummaryData* summary() const { return summary_.get(); }
    void SetSummary(std::unique_ptr<SummaryData> summary) { summary_ = std::move(summary); }

    std::array<UnitRecord, 3> axisUnits;
    std::array<PerUnitBase, 3> perUnitBase;
    std::vector<std::string> notes;  // descriptive lines from the source file
    std::uint32_t inUse = 0;         // windows showing the item

    // Calculator operations. Each returns a new item that the caller names
    // and pushes, or nothing. A kind that does not support an operation says
    // so through ui and returns nothing.
    using Result = std::unique_ptr<StackObject>;
    virtual Result Add(Ui& ui, const StackObject* second, OperandMode mode, double constant);
    virtual Result Subtract(Ui& ui, const StackObject* second, OperandMode mode, double constant);
    virtual Result Multiply(Ui& ui, const StackObject* second, OperandMode mode, double constant);
    virtual Result Divide(Ui& ui, const StackObject* second, OperandMode mode, double constant);
    virtual Result Negate(Ui& ui);
    virtual Result Invert(Ui& ui);
    virtual Result Fft(Ui& ui, FFTParameters& parameters);
    virtual Result Dft(Ui& ui, DFTParameters& parameters);
    virtual Result Idft(Ui& ui, IDFTParameters& parameters);
    virtual Result Power(Ui& ui, const StackObject* second);
    virtual Result Energy(Ui& ui, const StackObject* second);
    virtual Result ISquaredT(Ui& ui);
    virtual Result XYCombine(Ui& ui, const StackObject* second);
    virtual Result Square(Ui& ui);
    virtual Result SquareRoot(Ui& ui);
    virtual Result AbsValue(Ui& ui);
    virtual Result VIDbRatio(Ui& ui, const StackObject* second, double reference);
    virtual Result PowerDbRatio(Ui& ui, const StackObject* second, double reference);
    virtual Result Integrate(Ui& ui);
    virtual Result CumulativeProbability(Ui& ui);
    virtual Result ProbabilityDistribution(Ui& ui, const BinParameters& bins);
    virtual Result Filter(Ui& ui, int type, float f1, float f2, int order);
    virtual Result WindowFunction(Ui& ui, int windowType);
    virtual Result AutoCorrelation(Ui& ui);
    virtual Result CrossCorrelation(Ui& ui, const StackObject* second);
    virtual Result TransferFunction(Ui& ui, const StackObject* second);
    virtual Result CoherenceFunction(Ui& ui, const StackObject* second);
    virtual Result TimeShift(Ui& ui, double shift);
    virtual Result SampleIndexesByStep(Ui& ui, long first, long last, double step);
    virtual Result SampleIndexesByCount(Ui& ui, long first, long last, long count);
    virtual Result SampleValuesByStep(Ui& ui, double first, double last, double step);
    virtual Result SampleValuesByCount(Ui& ui, double first, double last, long count);

    // Recomputes the summary from the item's values.
    virtual void ComputeSummary() = 0;

protected:
    StackObject(std::uint32_t kind, std::uint32_t axisCount);
    void SetKind(std::uint32_t kind, std::uint32_t axisCount) {
        kind_ = kind;
        axisCount_ = axisCount;
    }
    // The answer of every operation a kind does not support.
    static Result Unsupported(Ui& ui);

private:
    std::string sourcePath_;
    std::string caseName_;
    std::array<std::string, 4> nameParts_;
    std::string shortLabel_;
    std::string typeTag_;
    std::string stackKey_;
    std::uint32_t kind_;
    std::uint32_t axisCount_;
    std::unique_ptr<SummaryData> summary_;
};

// The stack key text for an identity, as Init builds it:
// (part1)(part2)(part3)(part4)(case)(tag) with each name part cut to 63 and
// padded to 8 characters, the case name shortened and padded to 8, and the tag
// cut to 5 and padded to 4.
std::string BuildStackKey(std::string_view caseName, std::string_view namePart1,
                          std::string_view namePart2, std::string_view namePart3,
                          std::string_view namePart4, std::string_view typeTag);

// A case name of 64 characters or more becomes a unique name of at most 63
// characters: its first characters and ":N", N counting the long names seen
// before with the same 63-character prefix. The same long name always gets
// the same short name for the rest of the run.
std::string ShortenCaseName(std::string_view caseName);

// Labels for a set of items shown together (legends, table columns): each
// item's label holds the fields among namePart1..4 and caseName in which some
// item differs from the first (namePart1 when none does), each in parentheses
// when more than one field differs.
struct LegendLabels {
    int differingFields = 0;
    std::vector<std::string> labels;  // one per item, in order
};
LegendLabels BuildLegendLabels(std::span<const StackObject* const> items);

}  // namespace kov
