#include "analysis/dialogs/ExpressionDialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analysis/ExpressionEvaluator.h"
#include "analysis/dialogs/ParameterDialogs.h"
#include "app/Help.h"
#include "platform/Strings.h"

namespace kov {

namespace {

void Check(QButtonGroup* group, int id) {
    if (QAbstractButton* b = group->button(id)) b->setChecked(true);
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

}  // namespace

CExpressionDlg::CExpressionDlg(Stack& stack, Ui& ui, ExpressionSettings& settings,
                               ExpressionLibrary& library, QWidget* parent)
    : QDialog(parent),
      stack_(stack),
      ui_(ui),
      settings_(settings),
      library_(library),
      name_(new QLineEdit(this)),
      first_(new QLineEdit(this)),
      second_(new QLineEdit(this)),
      firstLabel_(new QLabel(this)),
      secondLabel_(new QLabel(this)),
      xmin_(new QLineEdit(this)),
      xmax_(new QLineEdit(this)),
      step_(new QLineEdit(this)),
      points_(new QLineEdit(this)),
      spacing_(new QButtonGroup(this)),
      kind_(new QButtonGroup(this)),
      complex_(new QButtonGroup(this)),
      phase_(new QButtonGroup(this)),
      do_(new QPushButton(tr("&Do"), this)) {
    setWindowTitle(QString::fromUtf8(str::kExpressionTitle));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* texts = new QGridLayout;
    auto* nameLabel = new QLabel(tr("Name:"), this);
    nameLabel->setBuddy(name_);
    firstLabel_->setBuddy(first_);
    secondLabel_->setBuddy(second_);
    texts->addWidget(nameLabel, 0, 0);
    texts->addWidget(name_, 0, 1);
    texts->addWidget(firstLabel_, 1, 0);
    texts->addWidget(first_, 1, 1);
    texts->addWidget(secondLabel_, 2, 0);
    texts->addWidget(second_, 2, 1);
    layout->addLayout(texts);

    auto* variable = new QGroupBox(tr("Independent Variable"), this);
    auto* range = new QGridLayout(variable);
    auto label = [variable](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QObject::tr(text), variable);
        l->setBuddy(buddy);
        return l;
    };
    range->addWidget(label("Xmin:", xmin_), 0, 0);
    range->addWidget(xmin_, 0, 1);
    range->addWidget(label("Xmax:", xmax_), 0, 2);
    range->addWidget(xmax_, 0, 3);
    auto* byStep = new QRadioButton(tr("Step Size"), variable);
    auto* byPoints = new QRadioButton(tr("Number of Points"), variable);
    spacing_->addButton(byStep, 0);
    spacing_->addButton(byPoints, 1);
    range->addWidget(byStep, 1, 0);
    range->addWidget(step_, 1, 1);
    range->addWidget(byPoints, 1, 2);
    range->addWidget(points_, 1, 3);
    layout->addWidget(variable);

    auto* choices = new QHBoxLayout;
    choices->addWidget(RadioGroup(tr("Type"),
                                  {"Wave", "Spectrum", "Scan", "XY", "Probability", "Histogram"},
                                  kind_, -1, this));
    choices->addWidget(
        RadioGroup(tr("Complex Numbers"), {"Mag/Phase", "Real/Imag"}, complex_, -1, this));
    choices->addWidget(RadioGroup(tr("Phase Output"), {"Degrees", "Radians"}, phase_, -1, this));
    layout->addLayout(choices);

    auto* buttons = new QHBoxLayout;
    auto* exit = new QPushButton(tr("E&xit"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    buttons->addStretch();
    buttons->addWidget(do_);
    buttons->addWidget(exit);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    do_->setDefault(true);
    exit->setAutoDefault(false);
    help->setAutoDefault(false);

    Show();
    for (QButtonGroup* group : {spacing_, kind_, complex_})
        connect(group, &QButtonGroup::idClicked, this, &CExpressionDlg::Follow);
    connect(do_, &QPushButton::clicked, this, [this] { Do(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, "expression"); });
    resize(560, 380);
}

void CExpressionDlg::Show() {
    const ExpressionSettings& s = settings_;
    name_->setText(Text(s.name));
    first_->setText(Text(s.first));
    second_->setText(Text(s.second));
    xmin_->setText(Text(s.xmin));
    xmax_->setText(Text(s.xmax));
    step_->setText(Text(s.step));
    points_->setText(Text(s.points));
    Check(spacing_, s.byStep ? 0 : 1);
    Check(kind_, static_cast<int>(s.kind));
    Check(complex_, s.realImag ? 1 : 0);
    Check(phase_, s.degrees ? 0 : 1);
    Follow();
}

void CExpressionDlg::Store() {
    ExpressionSettings& s = settings_;
    s.name = Text(name_);
    s.first = Text(first_);
    s.second = Text(second_);
    s.xmin = Text(xmin_);
    s.xmax = Text(xmax_);
    s.step = Text(step_);
    s.points = Text(points_);
    s.byStep = spacing_->checkedId() != 1;
    s.kind = static_cast<ExpressionKind>(std::max(0, kind_->checkedId()));
    s.realImag = complex_->checkedId() == 1;
    s.degrees = phase_->checkedId() != 1;
}

void CExpressionDlg::Follow() {
    const bool realImag = complex_->checkedId() == 1;
    firstLabel_->setText(realImag ? tr("real(x) =") : tr("mag(x) ="));
    secondLabel_->setText(realImag ? tr("imag(x) =") : tr("phase(x) ="));
    const auto kind = static_cast<ExpressionKind>(std::max(0, kind_->checkedId()));
    second_->setEnabled(UsesSecondExpression(kind));
    const bool byStep = spacing_->checkedId() != 1;
    step_->setEnabled(byStep);
    points_->setEnabled(!byStep);
}

StackObject* CExpressionDlg::Do() {
    Store();
    StackObject* item = DoExpression(stack_, ui_, settings_, library_);
    // DoExpression trims the texts and rewrites the range fields.
    Show();
    return item;
}

void CExpressionDlg::done(int result) {
    Store();
    QDialog::done(result);
}

}  // namespace kov
