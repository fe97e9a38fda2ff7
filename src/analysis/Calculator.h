#pragma once
// The calculator: the table of its 29 operations, the run-wide parameter
// records of their options, and "&Do" as a core function. The dialog only
// collects the inputs (first item, operation, constant or second item, the
// four name parts) and calls DoCalculation.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/Fourier.h"
#include "analysis/Statistics.h"
#include "stack/StackObject.h"

namespace kov {

class Stack;
class Ui;

// Rows of the operation table, in list order (string ids 2150..2178 in this order).
enum CalcRow : int {
    kRowAdd,
    kRowSubtract,
    kRowMultiply,
    kRowDivide,
    kRowNegate,
    kRowInvert,
    kRowFft,
    kRowDft,
    kRowIdft,
    kRowPower,
    kRowEnergy,
    kRowISquaredT,
    kRowXYCombine,
    kRowSquare,
    kRowSquareRoot,
    kRowAbsValue,
    kRowVIDbRatio,
    kRowPowerDbRatio,
    kRowIntegrate,
    kRowCumProb,
    kRowProbDist,
    kRowFilter,
    kRowTimeShift,
    kRowSampling,
    kRowWindowFunction,
    kRowAutoCorrelation,
    kRowCrossCorrelation,
    kRowTransferFunction,
    kRowCoherenceFunction,
    kRowCount
};

struct OperationRow {
    const char* name;        // as the list shows it
    std::uint16_t stringId;  // 2150..2178
    std::uint32_t kinds;     // accepted first-argument kinds: bit (kind - 20480)
    bool needsSecond;        // a second argument (item, or constant where allowed)
    bool constantAllowed;
    bool hasOptions;
    const char* resultTag;  // the kind tag shown before computing; nullptr: the first's
};

const std::array<OperationRow, kRowCount>& OperationTable();
// The row whose name matches (ignoring case), or -1.
int FindOperation(std::string_view name);
bool RowAcceptsKind(int row, std::uint32_t kind);
// The kind tag shown for the result: the row's tag, the first item's tag,
// "TRND" for a sliding FFT, "UNKN" for a row outside the table.
std::string ResultTag(int row, const StackObject& first, const FFTParameters& fft);

struct FilterParameters {
    int type = 0;  // FilterType: 0 high, 1 low, 2 band pass, 3 band reject
    float f1 = 120.0f;
    float f2 = 120.0f;
    int sections = 3;
};

struct TimeShiftParameters {
    double shift = 0.0;  // s
};

struct SamplingParameters {
    bool byIndex = false;
    long startIndex = 0;
    long stopIndex = 0;
    double startValue = 0.0;
    double stopValue = 100.0;
    bool byStep = true;
    double step = 1.0;
    long points = 1;
};

// The FFT dialog's "Item:" text: "RMS", "PEAK", "CF" or "FF" for -1..-4, the number otherwise.
std::string SlidingItemText(int item);
// Reads "Item:" as the FFT dialog does on OK: "rms", "peak", "cf", "ff"
// (ignoring case) or a harmonic number (0 is the DC line). Text that is not a
// number, or a negative number, shows its message and returns false.
bool ReadSlidingItem(Ui& ui, std::string_view text, int& item);
// The sampling dialog's checks on OK (title "Error", stop icon): indexes not
// negative and start below stop, start value below stop value, a step above
// 0, at least 2 points. Shows the first failure and returns false.
bool CheckSampling(Ui& ui, const SamplingParameters& sampling);

// The option records of the calculator. One set lives for the whole run
// (RunCalculatorRecords); the transforms write their found values back.
struct CalculatorRecords {
    FFTParameters fft;
    DFTParameters dft;
    IDFTParameters idft;
    FilterParameters filter;
    TimeShiftParameters timeShift;
    SamplingParameters sampling;
    BinParameters bins;
};
CalculatorRecords& RunCalculatorRecords();

struct CalcRequest {
    StackObject* first = nullptr;
    int row = kRowAdd;
    OperandMode mode = OperandMode::Constant;
    double constant = 0.0;
    const StackObject* second = nullptr;  // used in curve mode and by rows without a constant
    std::array<std::string, 4> nameParts;
};

// "&Do": checks the name (2061 when parts 1 and 2 are both empty, 2050 when
// the key with case "DERIVED" and the result tag is taken), the second
// argument (2069), the x-axis per-unit base of "Prob Dist" (2107); calls the
// row's operation with the records; names the result (case "DERIVED", the
// four parts, the result tag) and pushes it. Returns the pushed item, or
// nullptr when anything failed (after its message).
StackObject* DoCalculation(Stack& stack, Ui& ui, const CalcRequest& request,
                           CalculatorRecords& records);

}  // namespace kov
