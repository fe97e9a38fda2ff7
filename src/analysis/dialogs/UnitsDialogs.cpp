#include "analysis/dialogs/UnitsDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleValidator>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/Help.h"
#include "platform/Ui.h"
#include "stack/Stack.h"
#include "stack/Units.h"
#include "stack/dialogs/StackListBox.h"

namespace kov {

// ---- shared frame ---------------------------------------------------------

CUnitsDialogBase::CUnitsDialogBase(const QString& title, const Stack& stack, Ui& ui,
                                   AppliedFunction applied, QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      stackList_(new CStackListBox(stack, this)),
      apply_(new QPushButton(tr("&Apply"), this)),
      applied_(std::move(applied)) {
    setWindowTitle(title);
    stackList_->Fill(0, true, false, 0);
    connect(stackList_, &QListWidget::itemSelectionChanged, this,
            &CUnitsDialogBase::SelectionChanged);
    connect(apply_, &QPushButton::clicked, this, [this] { ApplyClicked(); });
}

void CUnitsDialogBase::Assemble(QLayout* controls, const char* helpTopic) {
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("Stack List:"), this);
    label->setBuddy(stackList_);
    layout->addWidget(label);
    layout->addWidget(stackList_, 1);
    auto* row = new QHBoxLayout;
    row->addLayout(controls, 1);
    auto* buttons = new QVBoxLayout;
    auto* exit = new QPushButton(tr("&Exit"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    buttons->addWidget(apply_);
    buttons->addWidget(exit);
    buttons->addWidget(help);
    buttons->addStretch();
    row->addLayout(buttons);
    layout->addLayout(row);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this, helpTopic] { ShowHelp(this, QString::fromLatin1(helpTopic)); });
}

void CUnitsDialogBase::SelectionChanged() {
    std::vector<StackObject*> selected = stackList_->SelectedItems();
    StackObject* previous = first_;
    if (first_ && std::find(selected.begin(), selected.end(), first_) == selected.end())
        first_ = nullptr;
    if (!first_ && !selected.empty()) first_ = selected.front();
    // A further item of another kind is refused with a beep (once for the
    // lines refused together, as by a shift-click).
    bool refused = false;
    {
        const QSignalBlocker block(stackList_);
        for (StackObject* item : selected)
            if (first_ && item->kind() != first_->kind()) {
                stackList_->SelectItem(item, false);
                refused = true;
            }
    }
    if (refused) ui_.Beep();
    if (first_ != previous) FirstChanged();
}

std::vector<StackObject*> CUnitsDialogBase::Selection() const {
    std::vector<StackObject*> selection;
    if (!first_) return selection;
    selection.push_back(first_);
    for (StackObject* item : stackList_->SelectedItems())
        if (item != first_) selection.push_back(item);
    return selection;
}

void CUnitsDialogBase::Applied(const std::vector<StackObject*>& items) const {
    if (applied_ && !items.empty()) applied_(items);
}

// ---- "X vs Y Type Data Units" ---------------------------------------------

namespace {

// The name of an axis in the dialogs' axis lists; items whose records carry
// no label id are named by their position.
QString AxisName(std::uint16_t labelId, std::size_t axis) {
    const char* text = PerUnitLabelText(labelId);
    if (*text == '\0') text = PerUnitLabelText(static_cast<std::uint16_t>(kLabelXAxis + axis));
    return QString::fromUtf8(text);
}

struct PrefixButton {
    std::uint16_t code;
    const char* text;
};
constexpr PrefixButton kPrefixButtons[] = {
    {kPrefixPico, "pico"},   {kPrefixNano, "nano"},      {kPrefixMicro, "micro"},
    {kPrefixMilli, "milli"}, {kPrefixNone, "No Prefix"}, {kPrefixKilo, "kilo"},
    {kPrefixMega, "mega"},   {kPrefixGiga, "giga"},
};

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

CUnitsDialog::CUnitsDialog(const Stack& stack, Ui& ui, AppliedFunction applied, QWidget* parent)
    : CUnitsDialogBase(tr("X vs Y Type Data Units"), stack, ui, std::move(applied), parent),
      axes_(new QListWidget(this)),
      prefixes_(new QButtonGroup(this)),
      units_(new QListWidget(this)),
      sample_(new QLineEdit(this)),
      multiplier_(new QLineEdit(this)),
      controls_(new QWidget(this)) {
    auto* grid = new QGridLayout(controls_);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* itemLabel = new QLabel(tr("Item"), controls_);
    itemLabel->setBuddy(axes_);
    grid->addWidget(itemLabel, 0, 0);
    grid->addWidget(axes_, 1, 0);
    axes_->setParent(controls_);
    axes_->setMaximumHeight(axes_->fontMetrics().height() * 4 + 8);

    auto* group = new QGroupBox(tr("Greek Prefix"), controls_);
    auto* prefixLayout = new QGridLayout(group);
    int n = 0;
    for (const PrefixButton& p : kPrefixButtons) {
        auto* button = new QRadioButton(tr(p.text), group);
        prefixes_->addButton(button, p.code);
        prefixLayout->addWidget(button, n % 4, n / 4);
        ++n;
    }
    grid->addWidget(group, 2, 0);

    auto* unitsLabel = new QLabel(tr("Unit Names"), controls_);
    unitsLabel->setBuddy(units_);
    units_->setParent(controls_);
    for (std::uint16_t id = kFirstUnitId; id <= kLastUnitId; ++id)
        units_->addItem(QString::fromUtf8(UnitText(id)));
    grid->addWidget(unitsLabel, 0, 1);
    grid->addWidget(units_, 1, 1, 2, 1);

    auto* fields = new QGridLayout;
    sample_->setParent(controls_);
    multiplier_->setParent(controls_);
    sample_->setReadOnly(true);
    multiplier_->setReadOnly(true);
    fields->addWidget(new QLabel(tr("Sample Label:"), controls_), 0, 0);
    fields->addWidget(sample_, 0, 1);
    fields->addWidget(new QLabel(tr("Multiplier:"), controls_), 1, 0);
    fields->addWidget(multiplier_, 1, 1);
    grid->addLayout(fields, 3, 0, 1, 2);

    auto* controls = new QVBoxLayout;
    controls->addWidget(controls_);
    Assemble(controls, "units");

    connect(axes_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || !editor_.enabled()) return;
        editor_.ChooseAxis(static_cast<std::size_t>(row));
        ShowRecord();
    });
    connect(prefixes_, &QButtonGroup::idClicked, this, [this](int code) {
        if (!editor_.enabled()) return;
        editor_.ChoosePrefix(static_cast<std::uint16_t>(code));
        ShowRecord();
    });
    connect(units_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || !editor_.enabled()) return;
        editor_.ChooseUnit(row);
        ShowRecord();
    });
    FirstChanged();
    resize(640, 560);
}

void CUnitsDialog::FirstChanged() {
    editor_.Load(firstItem());
    controls_->setEnabled(editor_.enabled());
    {
        const QSignalBlocker block(axes_);
        axes_->clear();
        for (std::size_t a = 0; a < editor_.axisCount(); ++a)
            axes_->addItem(AxisName(editor_.AxisLabelId(a), a));
        if (editor_.enabled()) axes_->setCurrentRow(static_cast<int>(editor_.axis()));
    }
    ShowRecord();
}

void CUnitsDialog::ShowRecord() {
    const QSignalBlocker blockUnits(units_);
    if (!editor_.enabled()) {
        units_->setCurrentRow(-1);
        units_->clearSelection();
        sample_->clear();
        multiplier_->clear();
        prefixes_->setExclusive(false);
        for (QAbstractButton* b : prefixes_->buttons()) b->setChecked(false);
        prefixes_->setExclusive(true);
        return;
    }
    const UnitRecord& record = editor_.record();
    if (QAbstractButton* b = prefixes_->button(record.code)) b->setChecked(true);
    const int unit = editor_.UnitIndex();
    units_->setCurrentRow(unit);
    if (unit < 0) units_->clearSelection();
    sample_->setText(Text(editor_.SampleLabel()));
    multiplier_->setText(Text(editor_.MultiplierText()));
}

void CUnitsDialog::ApplyClicked() {
    Applied(editor_.Apply(ui_, Selection()));
}

// ---- "Set Per-Unit Base Quantities" ----------------------------------------

CPerUnitDialog::CPerUnitDialog(const Stack& stack, Ui& ui, AppliedFunction applied, QWidget* parent)
    : CUnitsDialogBase(tr("Set Per-Unit Base Quantities"), stack, ui, std::move(applied), parent),
      perUnitize_(nullptr),
      axes_(nullptr),
      base_(nullptr),
      factors_(new QButtonGroup(this)),
      controls_(new QWidget(this)) {
    auto* grid = new QGridLayout(controls_);
    grid->setContentsMargins(0, 0, 0, 0);
    perUnitize_ = new QCheckBox(tr("Per Unitize"), controls_);
    axes_ = new QListWidget(controls_);
    axes_->setMaximumHeight(axes_->fontMetrics().height() * 4 + 8);
    base_ = new QLineEdit(controls_);
    auto* validator = new QDoubleValidator(base_);
    validator->setLocale(QLocale::c());
    validator->setNotation(QDoubleValidator::ScientificNotation);
    base_->setValidator(validator);
    auto* baseLabel = new QLabel(tr("Base Value:"), controls_);
    baseLabel->setBuddy(base_);
    grid->addWidget(axes_, 0, 0, 3, 1);
    grid->addWidget(perUnitize_, 0, 1, 1, 2);
    grid->addWidget(baseLabel, 1, 1);
    grid->addWidget(base_, 1, 2);
    grid->addWidget(new QLabel(tr("X"), controls_), 1, 3);
    auto* factorBox = new QVBoxLayout;
    const char* factorTexts[] = {"1.0", "sqrt(2)", "sqrt(2)/sqrt(3)"};
    for (int f = 0; f < 3; ++f) {
        auto* button = new QRadioButton(QString::fromLatin1(factorTexts[f]), controls_);
        factors_->addButton(button, f);
        factorBox->addWidget(button);
    }
    grid->addLayout(factorBox, 1, 4, 2, 1);

    auto* controls = new QVBoxLayout;
    controls->addWidget(controls_);
    Assemble(controls, "perunit");

    // Typing a base value means the axis is to be shown per unit.
    connect(base_, &QLineEdit::textEdited, this, [this] { perUnitize_->setChecked(true); });
    connect(axes_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || !editor_.enabled() || static_cast<std::size_t>(row) == editor_.axis())
            return;
        editor_.ChooseAxis(static_cast<std::size_t>(row), Shown());
        Show();
    });
    FirstChanged();
    resize(600, 440);
}

PerUnitEditor::Shown CPerUnitDialog::Shown() const {
    PerUnitEditor::Shown shown;
    shown.perUnitize = perUnitize_->isChecked();
    shown.baseText = base_->text().toStdString();
    shown.factor = static_cast<std::uint16_t>(std::max(0, factors_->checkedId()));
    return shown;
}

void CPerUnitDialog::FirstChanged() {
    editor_.Load(firstItem());
    controls_->setEnabled(editor_.enabled());
    {
        const QSignalBlocker block(axes_);
        axes_->clear();
        for (std::size_t a = 0; a < editor_.axisCount(); ++a)
            axes_->addItem(AxisName(editor_.AxisLabelId(a), a));
        if (editor_.enabled()) axes_->setCurrentRow(static_cast<int>(editor_.axis()));
    }
    Show();
}

void CPerUnitDialog::Show() {
    if (!editor_.enabled()) {
        perUnitize_->setChecked(false);
        base_->clear();
        factors_->setExclusive(false);
        for (QAbstractButton* b : factors_->buttons()) b->setChecked(false);
        factors_->setExclusive(true);
        return;
    }
    const PerUnitEditor::Shown shown = editor_.Show();
    perUnitize_->setChecked(shown.perUnitize);
    base_->setText(QString::fromStdString(shown.baseText));
    if (QAbstractButton* b = factors_->button(shown.factor)) b->setChecked(true);
}

void CPerUnitDialog::ApplyClicked() {
    Applied(editor_.Apply(ui_, Selection(), Shown()));
    if (editor_.enabled()) Show();
}

}  // namespace kov
