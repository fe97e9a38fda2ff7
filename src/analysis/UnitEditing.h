#pragma once
// Units and per-unit bases: what an axis's numbers measure and how they are
// displayed. Values are always stored in base units (volts, amperes, seconds,
// hertz); a unit prefix and a per-unit base change only the display, through
// the item's scale per axis:
//
//     scale = 1 / B / M,  B = factor x base value when the axis is per-unitized
//                         (1.0 otherwise, and 1.0 when that product is 0),
//                         M = the prefix multiplier (1.0 when 0),
//     displayed value = stored value x scale.
//
// This file holds the record helpers (SetPrefix, unit name fields, the axis
// label) and the two editors behind "X vs Y Type Data Units" and "Set Per-Unit
// Base Quantities": they keep the edited copies of the records and apply them
// to a selection of items, so that the dialogs only collect values.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stack/StackObject.h"

namespace kov {

class Ui;

// Sets code, prefix text and multiplier of a unit record: codes 2..9 give
// "p", "n", "u", "m", " ", "k", "M", "G" and 1e-12 ... 1e9; any other code
// gives code 6 with an empty text and multiplier 1.0.
void SetPrefix(UnitRecord& record, std::uint16_t code);

// Field 0 (name), 1 (unit) or 2 (abbreviation) of a unit name text such as
// "Voltage,Volts,V"; "" when the id or the field does not exist.
std::string UnitNameField(std::uint16_t unitId, int field);

// The abbreviation shown for a unit: field 2, or field 1 for a name without
// an abbreviation ("Phase,Degrees" gives "Degrees").
std::string UnitAbbreviation(std::uint16_t unitId);

// The axis label of graphs and tables: "Voltage (kV)", "Voltage (V pu)" when
// the axis is per-unitized. A blank prefix text (No Prefix chosen) adds nothing.
// "" for a record without a unit id.
std::string AxisLabel(const UnitRecord& unit, const PerUnitBase& base);

// The number of unit names in the "Unit Names" list, listed in id order
// (index = id - 2121).
inline constexpr int kUnitNameCount = kLastUnitId - kFirstUnitId + 1;

// "X Axis", "Y Axis Mag" or "Y Axis Ang" for the label ids 2300..2302; "" otherwise.
const char* PerUnitLabelText(std::uint16_t labelId);

// Recomputes an item's display scales and rebuilds its summary (items without
// sampled arrays only rebuild their summary).
void UpdateScales(StackObject& item);

// The number of axes the dialogs list for an item: its axisCount (1 to 3).
std::size_t AxisCountOf(const StackObject& item);

// Rules shared by both dialogs for picking items: the first selected item
// defines the kind, and any further item of another kind is refused with a
// beep. Returns whether `candidate` may join a selection whose first item is
// `first` (always true while nothing is selected).
bool MaySelect(Ui& ui, const StackObject* first, const StackObject& candidate);

// The edited unit records of "X vs Y Type Data Units".
class UnitsEditor {
public:
    // Takes the first item's records and shows its y axis (x when it has one
    // axis). With no item the editor is disabled and the unit id cleared.
    void Load(const StackObject* first);
    bool enabled() const { return enabled_; }
    std::size_t axisCount() const { return axisCount_; }
    // Per-unit label id (2300, 2301, 2302) naming each listed axis.
    std::uint16_t AxisLabelId(std::size_t axis) const;

    void ChooseAxis(std::size_t axis);
    std::size_t axis() const { return axis_; }
    void ChoosePrefix(std::uint16_t code) { SetPrefix(records_[axis_], code); }
    // Index in the unit name list: id = 2121 + index.
    void ChooseUnit(int index);

    const UnitRecord& record() const { return records_[axis_]; }
    const std::array<UnitRecord, 3>& records() const { return records_; }
    // "Sample Label:" (prefix text and abbreviation, e.g. "kV") and
    // "Multiplier:" ("%.3g"); both "" for a record without a unit id.
    std::string SampleLabel() const;
    std::string MultiplierText() const;
    // Index of the record's unit in the name list, -1 without one.
    int UnitIndex() const;

    // "&Apply": copies every edited record into each selected item of the
    // first item's kind and updates its scales; other kinds are skipped with
    // message 2060 (once); nothing selected beeps. Returns the items changed,
    // whose windows the caller refreshes.
    std::vector<StackObject*> Apply(Ui& ui, std::span<StackObject* const> selection) const;

private:
    std::array<UnitRecord, 3> records_{};
    std::size_t axisCount_ = 0;
    std::size_t axis_ = 0;
    bool enabled_ = false;
};

// The edited per-unit base records of "Set Per-Unit Base Quantities". The
// dialog shows the current axis's values and hands them back as text.
class PerUnitEditor {
public:
    struct Shown {
        bool perUnitize = false;
        std::string baseText;  // "Base Value:", "%.3g"
        std::uint16_t factor = 0;
    };

    void Load(const StackObject* first);
    bool enabled() const { return enabled_; }
    std::size_t axisCount() const { return axisCount_; }
    std::uint16_t AxisLabelId(std::size_t axis) const { return records_.at(axis).labelId; }

    // What the controls show for the current axis.
    Shown Show() const;
    // Stores shown values into the current axis record. The base text is
    // read as a decimal; text that is not a number leaves the base unchanged.
    void Store(const Shown& shown);
    // Stores the shown values of the current axis, then moves to another.
    void ChooseAxis(std::size_t axis, const Shown& shown);
    std::size_t axis() const { return axis_; }
    // Typing in "Base Value:" checks "Per Unitize".
    static void BaseTyped(Shown& shown) { shown.perUnitize = true; }

    const std::array<PerUnitBase, 3>& records() const { return records_; }

    // "&Apply": stores the shown values, then copies every edited record into
    // each selected item of the first item's kind and updates its scales;
    // other kinds give message 2060 once; nothing selected beeps.
    std::vector<StackObject*> Apply(Ui& ui, std::span<StackObject* const> selection,
                                    const Shown& shown);

private:
    std::array<PerUnitBase, 3> records_{};
    std::size_t axisCount_ = 0;
    std::size_t axis_ = 0;
    bool enabled_ = false;
};

}  // namespace kov
