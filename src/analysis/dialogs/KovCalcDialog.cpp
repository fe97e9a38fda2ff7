#include "analysis/dialogs/KovCalcDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "analysis/Calculator.h"
#include "analysis/dialogs/ParameterDialogs.h"
#include "app/Help.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "stack/Stack.h"
#include "stack/dialogs/StackListBox.h"

namespace kov {

namespace {

constexpr int kNamePartLimit = 63;

QLabel* Buddy(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

}  // namespace

CKovCalcDialog::CKovCalcDialog(Stack& stack, Ui& ui, CalculatorRecords& records, QWidget* parent)
    : QDialog(parent),
      stack_(stack),
      ui_(ui),
      records_(records),
      first_(new CStackListBox(stack, this)),
      second_(new CStackListBox(stack, this)),
      operations_(new QListWidget(this)),
      constant_(new QRadioButton(tr("&Constant:"), this)),
      curve_(new QRadioButton(tr("Cur&ve"), this)),
      constantValue_(new QLineEdit(this)),
      tag_(new QLabel(this)),
      options_(new QPushButton(tr("&Options.."), this)),
      do_(new QPushButton(tr("&Do"), this)),
      exit_(new QPushButton(tr("&Exit"), this)) {
    setWindowTitle(QString::fromUtf8(str::kKovCalcTitle));
    setModal(true);
    first_->setSelectionMode(QAbstractItemView::SingleSelection);
    second_->setSelectionMode(QAbstractItemView::SingleSelection);
    constantValue_->setMaxLength(30);
    auto* mode = new QButtonGroup(this);
    mode->addButton(constant_, 0);
    mode->addButton(curve_, 1);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->addWidget(Buddy(tr("Stack Argument #1"), first_, this), 0, 0);
    grid->addWidget(first_, 1, 0);
    auto* modeRow = new QHBoxLayout;
    modeRow->addWidget(constant_);
    modeRow->addWidget(constantValue_);
    modeRow->addSpacing(12);
    modeRow->addWidget(curve_);
    modeRow->addStretch();
    grid->addLayout(modeRow, 2, 0);
    grid->addWidget(Buddy(tr("Stack Argument #2"), second_, this), 3, 0);
    grid->addWidget(second_, 4, 0);
    grid->addWidget(Buddy(tr("Operations:"), operations_, this), 0, 1);
    grid->addWidget(operations_, 1, 1, 3, 1);
    grid->addWidget(options_, 4, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid, 1);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(tr("New Name: ("), this));
    for (std::size_t i = 0; i < names_.size(); ++i) {
        names_[i] = new QLineEdit(this);
        names_[i]->setMaxLength(kNamePartLimit);
        nameRow->addWidget(names_[i], 1);
        nameRow->addWidget(new QLabel(QStringLiteral(") ("), this));
    }
    nameRow->addWidget(tag_);
    nameRow->addWidget(new QLabel(QStringLiteral(")"), this));
    layout->addLayout(nameRow);

    auto* buttons = new QHBoxLayout;
    auto* help = new QPushButton(tr("&Help"), this);
    buttons->addStretch();
    buttons->addWidget(do_);
    buttons->addWidget(exit_);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    do_->setDefault(true);
    options_->setAutoDefault(false);
    exit_->setAutoDefault(false);
    help->setAutoDefault(false);

    for (const OperationRow& row : OperationTable())
        operations_->addItem(QString::fromUtf8(row.name));

    // Opening: every stack item with the first selected, constant mode, the
    // first operation.
    first_->Fill(0, true, true);
    constant_->setChecked(true);
    operations_->setCurrentRow(kRowAdd);
    FirstChanged();

    connect(first_, &QListWidget::itemSelectionChanged, this, &CKovCalcDialog::FirstChanged);
    connect(operations_, &QListWidget::currentRowChanged, this, &CKovCalcDialog::Evaluate);
    connect(mode, &QButtonGroup::idClicked, this, [this](int id) { SetCurveMode(id == 1); });
    connect(options_, &QPushButton::clicked, this, &CKovCalcDialog::Options);
    connect(do_, &QPushButton::clicked, this, [this] { Do(); });
    connect(exit_, &QPushButton::clicked, this, &CKovCalcDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, "calculator"); });
    resize(760, 480);
}

StackObject* CKovCalcDialog::FirstItem() const {
    const std::vector<StackObject*> selected = first_->SelectedItems();
    return selected.empty() ? nullptr : selected.front();
}

StackObject* CKovCalcDialog::SecondItem() const {
    const std::vector<StackObject*> selected = second_->SelectedItems();
    return selected.empty() ? nullptr : selected.front();
}

void CKovCalcDialog::FirstChanged() {
    if (const StackObject* first = FirstItem())
        for (std::size_t i = 0; i < names_.size(); ++i)
            names_[i]->setText(QString::fromStdString(first->namePart(i)));
    Evaluate();
}

void CKovCalcDialog::Evaluate() {
    const int row = operations_->currentRow();
    const StackObject* first = FirstItem();
    const bool inTable = row >= 0 && row < kRowCount;
    if (!inTable)
        tag_->setText(QStringLiteral("UNKN"));
    else if (first)
        tag_->setText(QString::fromStdString(ResultTag(row, *first, records_.fft)));
    else
        tag_->clear();
    const OperationRow* entry =
        inTable ? &OperationTable()[static_cast<std::size_t>(row)] : nullptr;
    options_->setEnabled(entry && entry->hasOptions);
    do_->setEnabled(entry && first && RowAcceptsKind(row, first->kind()));
    if (entry && entry->needsSecond && !entry->constantAllowed && !curve_->isChecked()) {
        curve_->setChecked(true);
        SetCurveMode(true);
    }
}

void CKovCalcDialog::SetCurveMode(bool curve) {
    if (curve)
        Refill(second_, SecondItem());
    else
        second_->clear();
}

void CKovCalcDialog::Refill(CStackListBox* list, const StackObject* keep) {
    const QSignalBlocker block(list);
    list->Fill(0, true, keep == nullptr);
    if (keep && !list->SelectItem(keep) && list->count() > 0) list->item(0)->setSelected(true);
    if (!list->selectedItems().isEmpty()) list->scrollToItem(list->selectedItems().front());
}

void CKovCalcDialog::Options() {
    CalculatorRecords& r = records_;
    int result = QDialog::Rejected;
    switch (operations_->currentRow()) {
        case kRowFft:
        case kRowWindowFunction:
            result = CFFTParmDialog(r.fft, ui_, this).exec();
            break;
        case kRowDft:
            result = CDFTParmDialog(r.dft, ui_, this).exec();
            break;
        case kRowIdft:
            result = CIDFTParmDialog(r.idft, ui_, this).exec();
            break;
        case kRowFilter:
            result = CFilterDialog(r.filter, ui_, this).exec();
            break;
        case kRowProbDist:
            result = CBinSizeDialog(r.bins, ui_, this).exec();
            break;
        case kRowSampling:
            result = CSamplingDlg(r.sampling, ui_, this).exec();
            break;
        case kRowTimeShift:
            result = CTimeShiftDialog(r.timeShift, ui_, this).exec();
            break;
        default:
            ui_.Beep();
            ui_.MessageBox(str::kNoOptions, str::kShortProductName, Icon::Warning);
            return;
    }
    // A sliding FFT makes a trend: the kind tag follows the record.
    if (result == QDialog::Accepted) Evaluate();
}

StackObject* CKovCalcDialog::Do() {
    StackObject* first = FirstItem();
    const int row = operations_->currentRow();
    if (!first || row < 0 || row >= kRowCount) return nullptr;
    const OperationRow& entry = OperationTable()[static_cast<std::size_t>(row)];
    CalcRequest request;
    request.first = first;
    request.row = row;
    request.mode = curve_->isChecked() ? OperandMode::Curve : OperandMode::Constant;
    request.second = request.mode == OperandMode::Curve ? SecondItem() : nullptr;
    for (std::size_t i = 0; i < names_.size(); ++i)
        request.nameParts[i] = names_[i]->text().toStdString();
    // The constant is read only where it is used; text that is not a number
    // is refused rather than taken as 0.
    if (entry.needsSecond && entry.constantAllowed && request.mode == OperandMode::Constant) {
        const std::string text = Trim(constantValue_->text().toStdString());
        if (!ParseDecimal(text, request.constant)) {
            ui_.Beep();
            ui_.MessageBox(Format(str::kNotANumber, text.c_str()), str::kShortProductName,
                           Icon::Warning);
            constantValue_->setFocus();
            constantValue_->selectAll();
            return nullptr;
        }
    }
    const StackObject* second = request.second;
    StackObject* pushed = DoCalculation(stack_, ui_, request, records_);
    if (!pushed) return nullptr;
    // The new item joins the lists; the arguments stay selected (their name
    // parts are not refilled, so the typed name stays for the next one).
    Refill(first_, first);
    if (curve_->isChecked()) Refill(second_, second);
    done_ = true;
    Evaluate();
    return pushed;
}

void CKovCalcDialog::reject() {
    if (!done_ && !ui_.AskYesNo(str::kExitWithoutOperation, str::kLongProductName, Icon::Question))
        return;
    QDialog::done(done_ ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace kov
