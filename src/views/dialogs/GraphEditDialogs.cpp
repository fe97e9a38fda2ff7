#include "views/dialogs/GraphEditDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdio>

#include "platform/Strings.h"
#include "platform/Ui.h"
#include "stack/Stack.h"

namespace kov {

namespace {

QString G(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%G", v);
    return buffer;
}

std::string Format(const char* pattern, const std::string& value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, value.c_str());
    return buffer;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QString ListLine(const StackObject& item) {
    QString line = QString::fromStdString(item.GetListLine(true));
    line.replace('\t', "  ");
    return line;
}

}  // namespace

// ------------------------------------------------------------------- scale

CScaleDialog::CScaleDialog(const ScaleOptions& options, Extent xData, Extent yData, Ui& ui,
                           QWidget* parent)
    : QDialog(parent), ui_(ui), options_(options) {
    setWindowTitle(str::kGraphScaleTitle);
    auto* layout = new QVBoxLayout(this);
    auto* axes = new QHBoxLayout;
    auto build = [&](AxisControls& c, const AxisScale& a, Extent data, bool isX) {
        auto* box = new QGroupBox;
        auto* v = new QVBoxLayout(box);
        c.title = new QLabel;
        v->addWidget(c.title);
        c.autoscale = new QCheckBox(tr("Autoscale"));
        c.symmetric = new QCheckBox(tr("Force Symmetry"));
        c.zero = new QCheckBox(tr("Force Zero"));
        c.autoscale->setChecked(a.autoRange);
        c.symmetric->setChecked(a.symmetric);
        c.zero->setChecked(a.zero);
        v->addWidget(c.autoscale);
        v->addWidget(c.symmetric);
        v->addWidget(c.zero);
        c.scale = new QButtonGroup(box);
        const char* names[] = {"Linear Scale", "Logarithmic Scale", "Probability Scale"};
        for (int i = 0; i < (isX ? 3 : 2); ++i) {
            auto* radio = new QRadioButton(tr(names[i]));
            c.scale->addButton(radio, i);
            v->addWidget(radio);
        }
        const int scale = isX ? (options_.probX  ? 2
                                 : options_.logX ? 1
                                                 : 0)
                              : (options_.logY ? 1 : 0);
        c.scale->button(scale)->setChecked(true);
        auto* form = new QFormLayout;
        c.min = new QLineEdit(G(a.min));
        c.max = new QLineEdit(G(a.max));
        c.grid = new QLineEdit(G(a.grid));
        c.tics = new QLineEdit(QString::number(a.tics));
        c.dataMin = new QLineEdit(data.valid ? G(data.min) : QString());
        c.dataMax = new QLineEdit(data.valid ? G(data.max) : QString());
        c.dataMin->setReadOnly(true);
        c.dataMax->setReadOnly(true);
        form->addRow(tr("Minimum:"), c.min);
        form->addRow(tr("Maximum:"), c.max);
        form->addRow(tr("Grid Unit:"), c.grid);
        form->addRow(tr("Tics per grid:"), c.tics);
        form->addRow(tr("Data Min:"), c.dataMin);
        form->addRow(tr("Data Max:"), c.dataMax);
        v->addLayout(form);
        axes->addWidget(box);
    };
    build(x_, options_.x, xData, true);
    build(y_, options_.y, yData, false);
    layout->addLayout(axes);
    polar_ = new QCheckBox(tr("Use Polar Scale"));
    polar_->setChecked(options_.polar);
    layout->addWidget(polar_);
    connect(polar_, &QCheckBox::toggled, this, &CScaleDialog::Relabel);
    layout->addWidget(OkCancel(this));
    Relabel();
}

void CScaleDialog::Relabel() {
    const bool polar = polar_->isChecked();
    x_.title->setText(polar ? tr("Theta Axis:") : tr("X Axis:"));
    y_.title->setText(polar ? tr("R Axis:") : tr("Y Axis:"));
}

bool CScaleDialog::Read(AxisControls& c, AxisScale& axis, bool log) {
    auto number = [&](QLineEdit* edit, double& out) {
        bool ok = false;
        const double v = edit->text().trimmed().toDouble(&ok);
        if (!ok) {
            ui_.MessageBox(Format(str::kNotANumber, edit->text().toStdString()),
                           str::kShortProductName, Icon::Exclamation);
            edit->setFocus();
            return false;
        }
        out = v;
        return true;
    };
    AxisScale a = axis;
    a.autoRange = c.autoscale->isChecked();
    a.symmetric = c.symmetric->isChecked();
    a.zero = c.zero->isChecked();
    double tics = 0;
    if (!number(c.min, a.min) || !number(c.max, a.max) || !number(c.grid, a.grid) ||
        !number(c.tics, tics))
        return false;
    if (!a.autoRange && !(a.max > a.min)) {
        ui_.MessageBox(str::kMaxNotAboveMin, str::kShortProductName, Icon::Exclamation);
        c.max->setFocus();
        return false;
    }
    if (!a.autoRange && log && !(a.min > 0)) {
        ui_.MessageBox(str::kLogMinNotPositive, str::kShortProductName, Icon::Exclamation);
        c.min->setFocus();
        return false;
    }
    if (a.grid < 0) {
        ui_.MessageBox(str::kGridUnitNegative, str::kShortProductName, Icon::Exclamation);
        c.grid->setFocus();
        return false;
    }
    if (tics < 1 || tics > 100 || tics != static_cast<int>(tics)) {
        ui_.MessageBox(str::kTicsRange, str::kShortProductName, Icon::Exclamation);
        c.tics->setFocus();
        return false;
    }
    a.tics = static_cast<int>(tics);
    axis = a;
    return true;
}

void CScaleDialog::accept() {
    ScaleOptions o = options_;
    const int xs = x_.scale->checkedId();
    o.logX = xs == 1;
    o.probX = xs == 2;
    o.logY = y_.scale->checkedId() == 1;
    o.polar = polar_->isChecked();
    if (o.polar) o.logX = o.probX = false;
    if (!Read(x_, o.x, o.logX) || !Read(y_, o.y, o.logY)) return;
    options_ = o;
    QDialog::accept();
}

// -------------------------------------------------------------------- grid

CGridDialog::CGridDialog(const GridOptions& options, QWidget* parent)
    : QDialog(parent), options_(options) {
    setWindowTitle(str::kGraphGridTitle);
    auto* layout = new QVBoxLayout(this);
    auto* styleBox = new QGroupBox(tr("Style"));
    auto* sv = new QVBoxLayout(styleBox);
    style_ = new QButtonGroup(this);
    const char* names[] = {"Thin Lines", "Thick Lines", "Dotted Lines", "Dashed Lines"};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(tr(names[i]));
        style_->addButton(radio, i);
        sv->addWidget(radio);
    }
    if (QAbstractButton* b = style_->button(std::clamp(options_.style, 0, 3))) b->setChecked(true);
    front_ = new QCheckBox(tr("In Front of Data"));
    front_->setChecked(options_.front);
    sv->addWidget(front_);
    layout->addWidget(styleBox);
    auto* axes = new QHBoxLayout;
    auto axis = [&](const char* title, QCheckBox*& major, QCheckBox*& minor, bool ma, bool mi) {
        auto* box = new QGroupBox(tr(title));
        auto* v = new QVBoxLayout(box);
        major = new QCheckBox(tr("Show Major Grid"));
        minor = new QCheckBox(tr("Show Minor Grid"));
        major->setChecked(ma);
        minor->setChecked(mi);
        v->addWidget(major);
        v->addWidget(minor);
        axes->addWidget(box);
    };
    axis("X Axis", majorX_, minorX_, options_.majorX, options_.minorX);
    axis("Y Axis", majorY_, minorY_, options_.majorY, options_.minorY);
    layout->addLayout(axes);
    layout->addWidget(OkCancel(this));
}

void CGridDialog::accept() {
    options_.style = style_->checkedId() < 0 ? kGridDashed : style_->checkedId();
    options_.front = front_->isChecked();
    options_.majorX = majorX_->isChecked();
    options_.minorX = minorX_->isChecked();
    options_.majorY = majorY_->isChecked();
    options_.minorY = minorY_->isChecked();
    QDialog::accept();
}

// -------------------------------------------------------------------- text

CTextDialog::CTextDialog(const CGraphDoc& doc, QWidget* parent)
    : QDialog(parent),
      texts_(doc.texts()),
      legend_(doc.options().legend),
      comments_(doc.options().comments),
      dataBlock_(doc.options().dataBlock),
      below_(doc.options().subtitlesBelow) {
    setWindowTitle(str::kGraphTextTitle);
    // The built titles, to tell typed titles from unchanged ones.
    builtTitle_ = doc.BuiltTitle();
    builtX_ = doc.BuiltXTitle();
    builtY_ = doc.BuiltYTitle();
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    title_ = new QLineEdit(QString::fromStdString(doc.Title()));
    xTitle_ = new QLineEdit(QString::fromStdString(doc.XTitle()));
    yTitle_ = new QLineEdit(QString::fromStdString(doc.YTitle()));
    form->addRow(tr("Title:"), title_);
    form->addRow(tr("X Axis:"), xTitle_);
    form->addRow(tr("Y Axis:"), yTitle_);
    layout->addLayout(form);

    auto* legendBox = new QGroupBox(tr("Legend"));
    auto* lv = new QVBoxLayout(legendBox);
    auto* positions = new QHBoxLayout;
    legendGroup_ = new QButtonGroup(this);
    const char* names[] = {"Above", "Below", "Left", "Right", "None"};
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(tr(names[i]));
        legendGroup_->addButton(radio, i);
        positions->addWidget(radio);
    }
    legendGroup_->button(std::clamp(legend_, 0, 4))->setChecked(true);
    lv->addLayout(positions);
    legendText_ = new QPlainTextEdit;
    QStringList legends;
    for (const std::string& text : doc.legendTexts()) legends << QString::fromStdString(text);
    legendText_->setPlainText(legends.join('\n'));
    legendText_->setMaximumHeight(90);
    lv->addWidget(legendText_);
    layout->addWidget(legendBox);

    auto* annotation = new QGroupBox(tr("Annotation"));
    auto* av = new QVBoxLayout(annotation);
    useComments_ = new QCheckBox(tr("Use Comments"));
    useDataBlock_ = new QCheckBox(tr("Use Data Block"));
    useComments_->setChecked(comments_);
    useDataBlock_->setChecked(dataBlock_);
    av->addWidget(useComments_);
    av->addWidget(useDataBlock_);
    placement_ = new QButtonGroup(this);
    auto* above = new QRadioButton(tr("Subtitles Above Graph"));
    auto* belowRadio = new QRadioButton(tr("Subtitles Below Graph"));
    placement_->addButton(above, 0);
    placement_->addButton(belowRadio, 1);
    (below_ ? belowRadio : above)->setChecked(true);
    auto* ph = new QHBoxLayout;
    ph->addWidget(above);
    ph->addWidget(belowRadio);
    av->addLayout(ph);
    av->addWidget(new QLabel(tr("Comments:")));
    commentsText_ = new QPlainTextEdit;
    QStringList lines;
    for (const std::string& line : doc.CommentBlock()) lines << QString::fromStdString(line);
    commentsText_->setPlainText(lines.join('\n'));
    av->addWidget(commentsText_);
    layout->addWidget(annotation);
    layout->addWidget(OkCancel(this));
    resize(520, 560);
}

void CTextDialog::accept() {
    auto typed = [](QLineEdit* edit, const std::string& built) {
        const std::string text = edit->text().toStdString();
        return text == built ? std::string{} : text;
    };
    texts_.title = typed(title_, builtTitle_);
    texts_.xTitle = typed(xTitle_, builtX_);
    texts_.yTitle = typed(yTitle_, builtY_);
    texts_.legends.clear();
    for (const QString& line : legendText_->toPlainText().split('\n'))
        texts_.legends.push_back(line.toStdString());
    texts_.comments = commentsText_->toPlainText().toStdString();
    legend_ = legendGroup_->checkedId();
    comments_ = useComments_->isChecked();
    dataBlock_ = useDataBlock_->isChecked();
    below_ = placement_->checkedId() == 1;
    QDialog::accept();
}

// ---------------------------------------------------------------- reselect

CReselectDialog::CReselectDialog(const Stack& stack, const std::vector<StackObject*>& onGraph,
                                 int mode, Ui& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), mode_(mode), offered_(GraphableItems(stack)), onGraph_(onGraph) {
    setWindowTitle(str::kReselectTitle);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Items in stack:")), 0, 0);
    layout->addWidget(new QLabel(tr("Items on graph:")), 0, 2);
    stackList_ = new QListWidget;
    graphList_ = new QListWidget;
    stackList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    graphList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(stackList_, 1, 0);
    layout->addWidget(graphList_, 1, 2);
    auto* middle = new QVBoxLayout;
    auto* add = new QPushButton(tr("&Add"));
    auto* remove = new QPushButton(tr("&Delete"));
    middle->addStretch();
    middle->addWidget(add);
    middle->addWidget(remove);
    middle->addStretch();
    layout->addLayout(middle, 1, 1);
    layout->addWidget(OkCancel(this), 2, 0, 1, 3);
    connect(add, &QPushButton::clicked, this, &CReselectDialog::AddSelected);
    connect(remove, &QPushButton::clicked, this, &CReselectDialog::DeleteSelected);
    for (const StackObject* item : offered_) stackList_->addItem(ListLine(*item));
    Fill();
    resize(760, 380);
}

void CReselectDialog::Fill() {
    graphList_->clear();
    for (const StackObject* item : onGraph_) graphList_->addItem(ListLine(*item));
}

void CReselectDialog::AddSelected() {
    for (int i = 0; i < stackList_->count(); ++i) {
        if (!stackList_->item(i)->isSelected()) continue;
        StackObject* item = offered_[static_cast<std::size_t>(i)];
        if (std::find(onGraph_.begin(), onGraph_.end(), item) == onGraph_.end())
            onGraph_.push_back(item);
    }
    Fill();
}

void CReselectDialog::DeleteSelected() {
    std::vector<StackObject*> kept;
    for (int i = 0; i < graphList_->count(); ++i)
        if (!graphList_->item(i)->isSelected())
            kept.push_back(onGraph_[static_cast<std::size_t>(i)]);
    onGraph_ = kept;
    Fill();
}

void CReselectDialog::accept() {
    if (onGraph_.empty()) {
        ui_.MessageBox(str::kNoItemsOnGraph, str::kShortProductName, Icon::Exclamation);
        return;
    }
    if (!SelectionCountAllowed(mode_, onGraph_.size())) {
        ui_.MessageBox(str::kStackedGraphLimit, str::kShortProductName, Icon::Exclamation);
        return;
    }
    QDialog::accept();
}

}  // namespace kov
