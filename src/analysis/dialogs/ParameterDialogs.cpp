#include "analysis/dialogs/ParameterDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "app/Help.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace kov {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

QLabel* Buddy(const char* text, QWidget* edit, QWidget* parent) {
    auto* label = new QLabel(QObject::tr(text), parent);
    label->setBuddy(edit);
    return label;
}

constexpr const char* kWindowNames[] = {"Rectangular", "Hanning", "Welsh", "Bartlett"};

}  // namespace

bool ParseDecimal(std::string_view text, double& value) {
    // The grammar is checked first: from_chars would also take "inf", "nan"
    // and hexadecimal forms, which no one types as a plain number.
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t mantissa = i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    if (i != n) return false;
    // from_chars takes no '+'; the sign is put back afterwards.
    const bool negative = text[0] == '-';
    double v = 0.0;
    const auto [end, error] = std::from_chars(text.data() + mantissa, text.data() + n, v);
    if (error != std::errc() || end != text.data() + n || !std::isfinite(v)) return false;
    value = negative ? -v : v;
    return true;
}

bool ParseUnsigned(std::string_view text, unsigned long& value) {
    if (text.empty()) return false;
    for (char c : text)
        if (!IsDigit(c)) return false;
    unsigned long v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    value = v;
    return true;
}

bool ParseInteger(std::string_view text, long& value) {
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
    unsigned long magnitude = 0;
    if (!ParseUnsigned(text, magnitude)) return false;
    const auto limit = static_cast<unsigned long>(std::numeric_limits<long>::max());
    if (magnitude > limit + (negative ? 1u : 0u)) return false;
    value = negative ? static_cast<long>(0 - magnitude) : static_cast<long>(magnitude);
    return true;
}

QGroupBox* RadioGroup(const QString& title, std::initializer_list<const char*> texts,
                      QButtonGroup* group, int checked, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    int id = 0;
    for (const char* text : texts) {
        auto* radio = new QRadioButton(QObject::tr(text), box);
        group->addButton(radio, id++);
        layout->addWidget(radio);
    }
    layout->addStretch();
    if (QAbstractButton* b = group->button(checked)) b->setChecked(true);
    return box;
}

QString NumberText(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return QString::fromLatin1(buffer);
}

QString NumberText(long value) {
    return QString::number(value);
}

// ---- shared frame -----------------------------------------------------------

CParameterDialog::CParameterDialog(const char* title, Ui& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setWindowTitle(QString::fromUtf8(title));
}

QLineEdit* CParameterDialog::NumberEdit() {
    auto* edit = new QLineEdit(this);
    edit->setMaxLength(30);
    return edit;
}

QHBoxLayout* CParameterDialog::ButtonRow(const QString& okText, const char* helpTopic) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* ok = new QPushButton(okText, this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    ok->setDefault(true);
    row->addWidget(ok);
    row->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    if (helpTopic) {
        auto* help = new QPushButton(tr("&Help"), this);
        help->setAutoDefault(false);
        row->addWidget(help);
        connect(help, &QPushButton::clicked, this,
                [this, helpTopic] { ShowHelp(this, QString::fromLatin1(helpTopic)); });
    }
    return row;
}

bool CParameterDialog::ReadReal(QLineEdit* edit, double& value) {
    const std::string text = edit->text().trimmed().toStdString();
    if (ParseDecimal(text, value)) return true;
    ui_.MessageBox(Format(str::kNotANumber, text.c_str()), str::kShortProductName, Icon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool CParameterDialog::ReadFloat(QLineEdit* edit, float& value) {
    double v = 0.0;
    if (!ReadReal(edit, v)) return false;
    // A value beyond single precision would be stored as infinity.
    if (std::fabs(v) > static_cast<double>(std::numeric_limits<float>::max())) {
        const std::string text = edit->text().trimmed().toStdString();
        ui_.MessageBox(Format(str::kNotANumber, text.c_str()), str::kShortProductName,
                       Icon::Warning);
        edit->setFocus();
        return false;
    }
    value = static_cast<float>(v);
    return true;
}

bool CParameterDialog::ReadCount(QLineEdit* edit, unsigned long least, unsigned long most,
                                 unsigned long& value) {
    const std::string text = edit->text().trimmed().toStdString();
    unsigned long v = 0;
    if (ParseUnsigned(text, v) && v >= least && v <= most) {
        value = v;
        return true;
    }
    ui_.MessageBox(Format(str::kCountOutOfRange, text.c_str(), least, most), str::kShortProductName,
                   Icon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool CParameterDialog::ReadLong(QLineEdit* edit, long& value) {
    const std::string text = edit->text().trimmed().toStdString();
    if (ParseInteger(text, value)) return true;
    ui_.MessageBox(Format(str::kNotAWholeNumber, text.c_str()), str::kShortProductName,
                   Icon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool CParameterDialog::ReadFundamental(QLineEdit* edit, float& value) {
    float v = 0.0f;
    if (!ReadFloat(edit, v)) return false;
    if (!(v > 0.0f)) {
        ui_.MessageBox(str::kFundamentalNotPositive, str::kShortProductName, Icon::Warning);
        edit->setFocus();
        return false;
    }
    value = v;
    return true;
}

// ---- "Fourier Transform Parameters" -----------------------------------------

namespace {

// The cycles of one transform window: 1 to the largest 16-bit count. A
// record holding a negative count (from the waveform's length) shows its size.
constexpr unsigned long kMostCycles = std::numeric_limits<std::int16_t>::max();
constexpr unsigned long kMostHarmonic = 100000;

}  // namespace

CTransformParmDialog::CTransformParmDialog(const char* title, Ui& ui, QWidget* parent)
    : CParameterDialog(title, ui, parent),
      type_(new QButtonGroup(this)),
      window_(new QButtonGroup(this)),
      step_(NumberEdit()),
      item_(NumberEdit()),
      fundamental_(NumberEdit()),
      start_(NumberEdit()),
      cycles_(NumberEdit()) {}

void CTransformParmDialog::BuildLayout(
    const char* kind, bool sliding, int window,
    std::initializer_list<std::pair<const char*, QLineEdit*>> extra, QWidget* below) {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* typeBox =
        RadioGroup(tr("%1 Type").arg(kind), {"Single", "Sliding"}, type_, sliding ? 1 : 0, this);
    auto* typeGrid = new QGridLayout;
    typeGrid->addWidget(Buddy("Step:", step_, typeBox), 0, 0);
    typeGrid->addWidget(step_, 0, 1);
    typeGrid->addWidget(Buddy("Item:", item_, typeBox), 1, 0);
    typeGrid->addWidget(item_, 1, 1);
    // Below the two radio buttons, above the stretch.
    static_cast<QVBoxLayout*>(typeBox->layout())->insertLayout(2, typeGrid);
    top->addWidget(typeBox);
    top->addWidget(RadioGroup(tr("Window"),
                              {kWindowNames[0], kWindowNames[1], kWindowNames[2], kWindowNames[3]},
                              window_, window & 0xFFFF, this));
    layout->addLayout(top);

    auto* parameters = new QGroupBox(tr("%1 Parameters").arg(kind), this);
    auto* grid = new QGridLayout(parameters);
    const std::pair<const char*, const char*> rows[] = {
        {"Fund. Frequency:", "Hz"}, {"Starting Time:", "s"}, {"Number of Cycles:", nullptr}};
    QLineEdit* const edits[] = {fundamental_, start_, cycles_};
    int row = 0;
    for (const auto& [label, unit] : rows) {
        grid->addWidget(Buddy(label, edits[row], parameters), row, 0);
        grid->addWidget(edits[row], row, 1);
        if (unit) grid->addWidget(new QLabel(tr(unit), parameters), row, 2);
        ++row;
    }
    for (const auto& [label, edit] : extra) {
        grid->addWidget(Buddy(label, edit, parameters), row, 0);
        grid->addWidget(edit, row++, 1);
    }
    layout->addWidget(parameters);
    if (below) layout->addWidget(below);
    layout->addLayout(ButtonRow(tr("&Ok"), "calculator"));
}

void CTransformParmDialog::ShowCommon(float step, float fundamental, float startTime, int cycles) {
    step_->setText(NumberText("%.3g", step));
    fundamental_->setText(NumberText("%.3g", fundamental));
    start_->setText(NumberText("%.3g", startTime));
    cycles_->setText(QString::number(std::abs(cycles)));
}

bool CTransformParmDialog::ReadCommon(std::uint16_t& sliding, int& window, float& step,
                                      const std::function<bool()>& readItem, float& fundamental,
                                      float& startTime, std::int16_t& cycles) {
    sliding = type_->checkedId() == 1 ? 1 : 0;
    window = std::max(0, window_->checkedId());
    unsigned long count = 0;
    if (!ReadFloat(step_, step) || !readItem() || !ReadFundamental(fundamental_, fundamental) ||
        !ReadFloat(start_, startTime) || !ReadCount(cycles_, 1, kMostCycles, count))
        return false;
    cycles = static_cast<std::int16_t>(count);
    return true;
}

CFFTParmDialog::CFFTParmDialog(FFTParameters& record, Ui& ui, QWidget* parent)
    : CTransformParmDialog(str::kFftParametersTitle, ui, parent), record_(record) {
    BuildLayout("FFT", record_.sliding != 0, record_.window);
    ShowCommon(record_.step, record_.fundamental, record_.startTime, record_.cycles);
    item_->setText(QString::fromStdString(SlidingItemText(record_.item)));
}

void CFFTParmDialog::accept() {
    FFTParameters p = record_;
    const auto readItem = [&] { return ReadSlidingItem(ui_, item_->text().toStdString(), p.item); };
    if (!ReadCommon(p.sliding, p.window, p.step, readItem, p.fundamental, p.startTime, p.cycles))
        return;
    record_ = p;
    QDialog::accept();
}

// ---- "Discrete Fourier Transform" -------------------------------------------

CDFTParmDialog::CDFTParmDialog(DFTParameters& record, Ui& ui, QWidget* parent)
    : CTransformParmDialog(str::kDftParametersTitle, ui, parent),
      record_(record),
      last_(NumberEdit()),
      auto_(new QCheckBox(tr("Automatically find fundamental"), this)) {
    BuildLayout("DFT", record_.sliding != 0, record_.window, {{"Last Harmonic:", last_}}, auto_);
    ShowCommon(record_.step, record_.fundamental, record_.startTime, record_.cycles);
    item_->setText(QString::number(record_.item));
    last_->setText(QString::number(record_.lastHarmonic));
    auto_->setChecked(record_.autoFundamental);
    // The step and the item only mean something for a sliding transform.
    const auto sliding = [this] { type_->button(1)->setChecked(true); };
    connect(step_, &QLineEdit::textEdited, this, sliding);
    connect(item_, &QLineEdit::textEdited, this, sliding);
}

void CDFTParmDialog::accept() {
    DFTParameters p = record_;
    p.autoFundamental = auto_->isChecked();
    unsigned long item = 0, last = 0;
    const auto readItem = [&] { return ReadCount(item_, 0, kMostHarmonic, item); };
    if (!ReadCommon(p.sliding, p.window, p.step, readItem, p.fundamental, p.startTime, p.cycles) ||
        !ReadCount(last_, 0, kMostHarmonic, last))
        return;
    p.item = static_cast<std::uint32_t>(item);
    p.lastHarmonic = static_cast<std::uint32_t>(last);
    record_ = p;
    QDialog::accept();
}

// ---- "IDFT Options" ---------------------------------------------------------

CIDFTParmDialog::CIDFTParmDialog(IDFTParameters& record, Ui& ui, QWidget* parent)
    : CParameterDialog(str::kIdftOptionsTitle, ui, parent),
      record_(record),
      series_(new QButtonGroup(this)),
      cycles_(NumberEdit()) {
    auto* layout = new QVBoxLayout(this);
    int id = 0;
    for (const char* text : {"Sine Series", "Cosine Series"}) {
        auto* radio = new QRadioButton(tr(text), this);
        series_->addButton(radio, id++);
        layout->addWidget(radio);
    }
    series_->button(record_.sine ? 0 : 1)->setChecked(true);
    auto* row = new QHBoxLayout;
    row->addWidget(Buddy("Cycles:", cycles_, this));
    row->addWidget(cycles_);
    layout->addLayout(row);
    layout->addLayout(ButtonRow(tr("&Ok"), "calculator"));
    cycles_->setText(QString::number(std::max(record_.cycles, 0)));
}

void CIDFTParmDialog::accept() {
    unsigned long cycles = 0;
    if (!ReadCount(cycles_, 1, kMostHarmonic, cycles)) return;
    record_.cycles = static_cast<int>(cycles);
    record_.sine = series_->checkedId() == 0;
    QDialog::accept();
}

// ---- "Filter Parameters" ----------------------------------------------------

CFilterDialog::CFilterDialog(FilterParameters& record, Ui& ui, QWidget* parent)
    : CParameterDialog(str::kFilterParametersTitle, ui, parent),
      record_(record),
      type_(new QButtonGroup(this)),
      f1_(NumberEdit()),
      f2_(NumberEdit()),
      sections_(NumberEdit()) {
    auto* layout = new QHBoxLayout;
    layout->addWidget(RadioGroup(tr("Filter Type"),
                                 {"&High Pass", "&Low Pass", "&Band Pass", "Band &Reject"}, type_,
                                 std::clamp(record_.type, 0, 3), this));
    auto* grid = new QGridLayout;
    grid->addWidget(Buddy("F&1:", f1_, this), 0, 0);
    grid->addWidget(f1_, 0, 1);
    grid->addWidget(new QLabel(tr("Hz"), this), 0, 2);
    grid->addWidget(Buddy("F&2:", f2_, this), 1, 0);
    grid->addWidget(f2_, 1, 1);
    grid->addWidget(new QLabel(tr("Hz"), this), 1, 2);
    grid->addWidget(Buddy("&Sections:", sections_, this), 2, 0);
    grid->addWidget(sections_, 2, 1);
    grid->setRowStretch(3, 1);
    layout->addLayout(grid);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(layout);
    outer->addLayout(ButtonRow(tr("&Ok"), "calculator"));
    f1_->setText(NumberText("%.3g", record_.f1));
    f2_->setText(NumberText("%.3g", record_.f2));
    sections_->setText(QString::number(std::max(record_.sections, 0)));
}

void CFilterDialog::accept() {
    FilterParameters p = record_;
    p.type = std::max(0, type_->checkedId());
    unsigned long sections = 0;
    if (!ReadFloat(f1_, p.f1) || !ReadFloat(f2_, p.f2) || !ReadCount(sections_, 1, 50, sections))
        return;
    p.sections = static_cast<int>(sections);
    record_ = p;
    QDialog::accept();
}

// ---- "Time Shift Parameters" ------------------------------------------------

CTimeShiftDialog::CTimeShiftDialog(TimeShiftParameters& record, Ui& ui, QWidget* parent)
    : CParameterDialog(str::kTimeShiftParametersTitle, ui, parent),
      record_(record),
      shift_(NumberEdit()) {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(Buddy("Shift by:", shift_, this));
    row->addWidget(shift_);
    row->addWidget(new QLabel(tr("Seconds"), this));
    layout->addLayout(row);
    layout->addLayout(ButtonRow(tr("&Ok"), "calculator"));
    // "%G" keeps six significant digits of a shift (a time shift is often a
    // small part of a long record).
    shift_->setText(NumberText("%G", record_.shift));
}

void CTimeShiftDialog::accept() {
    double shift = 0.0;
    if (!ReadReal(shift_, shift)) return;
    record_.shift = shift;
    QDialog::accept();
}

// ---- "Sampling Parameters" --------------------------------------------------

CSamplingDlg::CSamplingDlg(SamplingParameters& record, Ui& ui, QWidget* parent)
    : CParameterDialog(str::kSamplingParametersTitle, ui, parent),
      record_(record),
      range_(new QButtonGroup(this)),
      spacing_(new QButtonGroup(this)),
      start_(NumberEdit()),
      stop_(NumberEdit()),
      spacingEdit_(NumberEdit()) {
    shownRange_ = record_.byIndex ? 0 : 1;
    shownSpacing_ = record_.byStep ? 0 : 1;
    auto* layout = new QVBoxLayout(this);
    auto* rangeBox =
        RadioGroup(tr("X Data Range"), {"&Indexes", "&Values"}, range_, shownRange_, this);
    auto* rangeGrid = new QGridLayout;
    rangeGrid->addWidget(Buddy("Start:", start_, rangeBox), 0, 0);
    rangeGrid->addWidget(start_, 0, 1);
    rangeGrid->addWidget(Buddy("Stop:", stop_, rangeBox), 1, 0);
    rangeGrid->addWidget(stop_, 1, 1);
    static_cast<QVBoxLayout*>(rangeBox->layout())->addLayout(rangeGrid);
    layout->addWidget(rangeBox);
    auto* spacingBox = RadioGroup(tr("Spacing"), {"&Step Size", "&Number of Points"}, spacing_,
                                  shownSpacing_, this);
    spacingBox->layout()->addWidget(spacingEdit_);
    layout->addWidget(spacingBox);
    layout->addLayout(ButtonRow(tr("&OK"), "calculator"));

    SetTexts(record_);
    connect(range_, &QButtonGroup::idClicked, this, &CSamplingDlg::SwitchRange);
    connect(spacing_, &QButtonGroup::idClicked, this, &CSamplingDlg::SwitchSpacing);
}

void CSamplingDlg::SetTexts(const SamplingParameters& s) {
    rangeTexts_[0][0] = NumberText(s.startIndex);
    rangeTexts_[0][1] = NumberText(s.stopIndex);
    rangeTexts_[1][0] = NumberText("%G", s.startValue);
    rangeTexts_[1][1] = NumberText("%G", s.stopValue);
    spacingTexts_[0] = NumberText("%G", s.step);
    spacingTexts_[1] = NumberText(s.points);
    start_->setText(rangeTexts_[shownRange_][0]);
    stop_->setText(rangeTexts_[shownRange_][1]);
    spacingEdit_->setText(spacingTexts_[shownSpacing_]);
}

void CSamplingDlg::SwitchRange(int id) {
    if (id == shownRange_ || id < 0 || id > 1) return;
    rangeTexts_[shownRange_][0] = start_->text();
    rangeTexts_[shownRange_][1] = stop_->text();
    shownRange_ = id;
    start_->setText(rangeTexts_[id][0]);
    stop_->setText(rangeTexts_[id][1]);
}

void CSamplingDlg::SwitchSpacing(int id) {
    if (id == shownSpacing_ || id < 0 || id > 1) return;
    spacingTexts_[shownSpacing_] = spacingEdit_->text();
    shownSpacing_ = id;
    spacingEdit_->setText(spacingTexts_[id]);
}

void CSamplingDlg::accept() {
    SamplingParameters s = record_;
    s.byIndex = shownRange_ == 0;
    s.byStep = shownSpacing_ == 0;
    // The shown choice is read strictly; what was typed for the hidden one is
    // kept when it reads as a number.
    rangeTexts_[shownRange_][0] = start_->text();
    rangeTexts_[shownRange_][1] = stop_->text();
    spacingTexts_[shownSpacing_] = spacingEdit_->text();
    if (s.byIndex) {
        if (!ReadLong(start_, s.startIndex) || !ReadLong(stop_, s.stopIndex)) return;
        ParseDecimal(Trim(rangeTexts_[1][0].toStdString()), s.startValue);
        ParseDecimal(Trim(rangeTexts_[1][1].toStdString()), s.stopValue);
    } else {
        if (!ReadReal(start_, s.startValue) || !ReadReal(stop_, s.stopValue)) return;
        ParseInteger(Trim(rangeTexts_[0][0].toStdString()), s.startIndex);
        ParseInteger(Trim(rangeTexts_[0][1].toStdString()), s.stopIndex);
    }
    if (s.byStep) {
        if (!ReadReal(spacingEdit_, s.step)) return;
        ParseInteger(Trim(spacingTexts_[1].toStdString()), s.points);
    } else {
        if (!ReadLong(spacingEdit_, s.points)) return;
        ParseDecimal(Trim(spacingTexts_[0].toStdString()), s.step);
    }
    if (!CheckSampling(ui_, s)) {
        // The shown values as read, again in their own formats; what was
        // typed for the hidden choices stays as typed.
        const bool byIndex = shownRange_ == 0;
        start_->setText(byIndex ? NumberText(s.startIndex) : NumberText("%G", s.startValue));
        stop_->setText(byIndex ? NumberText(s.stopIndex) : NumberText("%G", s.stopValue));
        spacingEdit_->setText(shownSpacing_ == 0 ? NumberText("%G", s.step) : NumberText(s.points));
        return;
    }
    record_ = s;
    QDialog::accept();
}

// ---- "Statistics Parameters" ------------------------------------------------

CBinSizeDialog::CBinSizeDialog(BinParameters& record, Ui& ui, QWidget* parent)
    : CParameterDialog(str::kStatisticsParametersTitle, ui, parent),
      record_(record),
      increment_(NumberEdit()) {
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(tr("Discretization"), this);
    auto* row = new QHBoxLayout(box);
    row->addWidget(Buddy("Increment (%):", increment_, box));
    row->addWidget(increment_);
    layout->addWidget(box);
    layout->addLayout(ButtonRow(tr("&Ok"), nullptr));
    increment_->setText(NumberText("%.3g", record_.increment));
}

void CBinSizeDialog::accept() {
    double increment = 0.0;
    if (!ReadReal(increment_, increment)) return;
    BinParameters p = record_;
    if (!p.SetIncrement(increment)) {
        ui_.MessageBox(str::kIncrementNotPositive, str::kShortProductName, Icon::Warning);
        increment_->setFocus();
        return;
    }
    record_ = p;
    QDialog::accept();
}

}  // namespace kov
