#include "analysis/UnitEditing.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "stack/PlotableStackObject.h"

namespace kov {

namespace {
constexpr char kPrefixLetters[] = "pnum kMG";
constexpr double kPrefixMultipliers[] = {1e-12, 1e-9, 1e-6, 0.001, 1.0, 1000.0, 1e6, 1e9};
}  // namespace

void SetPrefix(UnitRecord& record, std::uint16_t code) {
    if (code < kPrefixPico || code > kPrefixGiga) {
        record.code = kPrefixNone;
        record.prefix.clear();
        record.multiplier = 1.0;
        return;
    }
    record.code = code;
    record.prefix.assign(1, kPrefixLetters[code - kPrefixPico]);
    record.multiplier = kPrefixMultipliers[code - kPrefixPico];
}

std::string UnitNameField(std::uint16_t unitId, int field) {
    std::string_view text = UnitText(unitId);
    for (int i = 0; i < field; ++i) {
        const std::size_t comma = text.find(',');
        if (comma == std::string_view::npos) return {};
        text.remove_prefix(comma + 1);
    }
    return std::string(text.substr(0, text.find(',')));
}

std::string UnitAbbreviation(std::uint16_t unitId) {
    std::string abbreviation = UnitNameField(unitId, 2);
    return abbreviation.empty() ? UnitNameField(unitId, 1) : abbreviation;
}

std::string AxisLabel(const UnitRecord& unit, const PerUnitBase& base) {
    if (UnitText(unit.unitId)[0] == '\0') return {};
    std::string label = UnitNameField(unit.unitId, 0);
    label += " (";
    label += Trim(unit.prefix);
    label += UnitAbbreviation(unit.unitId);
    if (base.set) label += " pu";
    label += ')';
    return label;
}

const char* PerUnitLabelText(std::uint16_t labelId) {
    switch (labelId) {
        case kLabelXAxis:
            return "X Axis";
        case kLabelYMag:
            return "Y Axis Mag";
        case kLabelYAngle:
            return "Y Axis Ang";
        default:
            return "";
    }
}

void UpdateScales(StackObject& item) {
    if (auto* plotable = dynamic_cast<PlotableStackObject*>(&item)) {
        plotable->UpdateScales();
    } else {
        item.ComputeSummary();
    }
}

std::size_t AxisCountOf(const StackObject& item) {
    return std::clamp<std::size_t>(item.axisCount(), 1, 3);
}

bool MaySelect(Ui& ui, const StackObject* first, const StackObject& candidate) {
    if (first == nullptr || first->kind() == candidate.kind()) return true;
    ui.Beep();
    return false;
}

namespace {

// Runs apply(item) on every selected item of the first item's kind; message
// 2060 once when others are skipped; a beep when nothing is selected.
template <class Apply>
std::vector<StackObject*> ApplyToSelection(Ui& ui, std::span<StackObject* const> selection,
                                           Apply apply) {
    std::vector<StackObject*> changed;
    if (selection.empty() || selection.front() == nullptr) {
        ui.Beep();
        return changed;
    }
    const std::uint32_t kind = selection.front()->kind();
    bool skipped = false;
    for (StackObject* item : selection) {
        if (item == nullptr) continue;
        if (item->kind() != kind) {
            skipped = true;
            continue;
        }
        apply(*item);
        UpdateScales(*item);
        changed.push_back(item);
    }
    if (skipped) ui.MessageBox(str::kMixedKinds, str::kShortProductName, Icon::Exclamation);
    return changed;
}

}  // namespace

void UnitsEditor::Load(const StackObject* first) {
    enabled_ = first != nullptr;
    if (!enabled_) {
        axisCount_ = 0;
        axis_ = 0;
        records_[axis_].unitId = kUnitNone;
        return;
    }
    records_ = first->axisUnits;
    axisCount_ = AxisCountOf(*first);
    axis_ = axisCount_ > 1 ? kAxisY : kAxisX;
}

std::uint16_t UnitsEditor::AxisLabelId(std::size_t axis) const {
    static constexpr std::uint16_t kLabels[] = {kLabelXAxis, kLabelYMag, kLabelYAngle};
    return kLabels[std::min<std::size_t>(axis, 2)];
}

void UnitsEditor::ChooseAxis(std::size_t axis) {
    if (axis < axisCount_) axis_ = axis;
}

void UnitsEditor::ChooseUnit(int index) {
    if (index < 0 || index >= kUnitNameCount) return;
    records_[axis_].unitId = static_cast<std::uint16_t>(kFirstUnitId + index);
}

int UnitsEditor::UnitIndex() const {
    const std::uint16_t id = records_[axis_].unitId;
    return id >= kFirstUnitId && id <= kLastUnitId ? id - kFirstUnitId : -1;
}

std::string UnitsEditor::SampleLabel() const {
    const UnitRecord& r = records_[axis_];
    if (UnitIndex() < 0) return {};
    return r.prefix + UnitAbbreviation(r.unitId);
}

std::string UnitsEditor::MultiplierText() const {
    if (UnitIndex() < 0) return {};
    return Format("%.3g", records_[axis_].multiplier);
}

std::vector<StackObject*> UnitsEditor::Apply(Ui& ui,
                                             std::span<StackObject* const> selection) const {
    return ApplyToSelection(ui, selection, [this](StackObject& item) {
        for (std::size_t a = 0; a < records_.size(); ++a) {
            UnitRecord& target = item.axisUnits[a];
            target.multiplier = records_[a].multiplier;
            target.unitId = records_[a].unitId;
            target.code = records_[a].code;
            target.prefix = records_[a].prefix;
        }
    });
}

void PerUnitEditor::Load(const StackObject* first) {
    enabled_ = first != nullptr;
    if (!enabled_) {
        axisCount_ = 0;
        axis_ = 0;
        return;
    }
    records_ = first->perUnitBase;
    axisCount_ = AxisCountOf(*first);
    axis_ = axisCount_ > 1 ? kAxisY : kAxisX;
}

PerUnitEditor::Shown PerUnitEditor::Show() const {
    const PerUnitBase& r = records_[axis_];
    return Shown{r.set, Format("%.3g", r.value), r.factor};
}

void PerUnitEditor::Store(const Shown& shown) {
    PerUnitBase& r = records_[axis_];
    r.set = shown.perUnitize;
    r.factor = shown.factor <= 2 ? shown.factor : 0;
    const std::string text = Trim(shown.baseText);
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (!text.empty() && end != nullptr && *end == '\0') r.value = value;
}

void PerUnitEditor::ChooseAxis(std::size_t axis, const Shown& shown) {
    Store(shown);
    if (axis < axisCount_) axis_ = axis;
}

std::vector<StackObject*> PerUnitEditor::Apply(Ui& ui, std::span<StackObject* const> selection,
                                               const Shown& shown) {
    if (enabled_) Store(shown);
    return ApplyToSelection(ui, selection,
                            [this](StackObject& item) { item.perUnitBase = records_; });
}

}  // namespace kov
