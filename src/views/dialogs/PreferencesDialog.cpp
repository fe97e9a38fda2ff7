#include "views/dialogs/PreferencesDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstdio>

#include "analysis/ToleranceCurves.h"
#include "platform/Strings.h"
#include "platform/Ui.h"

namespace kov {

namespace {

QString G(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%G", v);
    return buffer;
}

}  // namespace

CPreferencesDialog::CPreferencesDialog(const GraphPreferences& prefs, Ui& ui, QWidget* parent)
    : QDialog(parent), ui_(ui), prefs_(prefs), shownInches_(prefs.wmfInches == 1) {
    setWindowTitle(str::kPreferencesTitle);
    auto* grid = new QGridLayout(this);

    auto* graphBox = new QGroupBox(tr("Graph Options"));
    auto* gv = new QVBoxLayout(graphBox);
    dataBlock_ = new QCheckBox(tr("Datablock Initially On"));
    commentBlock_ = new QCheckBox(tr("Comment Block Initially On"));
    legend_ = new QCheckBox(tr("Legend Initially On"));
    filterPoints_ = new QCheckBox(tr("Filter Points for Display"));
    lineStyles_ = new QCheckBox(tr("Use Line Styles"));
    dataBlock_->setChecked(prefs_.initialDB != 0);
    commentBlock_->setChecked(prefs_.initialCB != 0);
    legend_->setChecked(prefs_.legendActive == 1);
    filterPoints_->setChecked(prefs_.filterPoints != 0);
    lineStyles_->setChecked(prefs_.lineStyles != 0);
    for (QCheckBox* box : {dataBlock_, commentBlock_, legend_, filterPoints_, lineStyles_})
        gv->addWidget(box);
    grid->addWidget(graphBox, 0, 0);

    auto* sizeBox = new QGroupBox(tr("Exported Metafile Size"));
    auto* sf = new QFormLayout(sizeBox);
    wmfXLabel_ = new QLabel;
    wmfYLabel_ = new QLabel;
    wmfX_ = new QLineEdit(G(prefs_.wmfX));
    wmfY_ = new QLineEdit(G(prefs_.wmfY));
    sf->addRow(wmfXLabel_, wmfX_);
    sf->addRow(wmfYLabel_, wmfY_);
    inches_ = new QRadioButton(tr("Inches"));
    millimeters_ = new QRadioButton(tr("Millimeters"));
    (shownInches_ ? inches_ : millimeters_)->setChecked(true);
    auto* units = new QHBoxLayout;
    units->addWidget(inches_);
    units->addWidget(millimeters_);
    sf->addRow(units);
    pngX_ = new QLineEdit(QString::number(prefs_.pngX));
    pngY_ = new QLineEdit(QString::number(prefs_.pngY));
    sf->addRow(tr("PNG X (pixels):"), pngX_);
    sf->addRow(tr("PNG Y (pixels):"), pngY_);
    grid->addWidget(sizeBox, 1, 0);
    UnitsChanged(shownInches_);
    connect(inches_, &QRadioButton::toggled, this, [this](bool on) { UnitsChanged(on); });

    auto* colorBox = new QGroupBox(tr("Default Plot Colors"));
    auto* cv = new QVBoxLayout(colorBox);
    colors_ = new QListWidget;
    for (const char* name :
         {"Window Background", "Graph Background", "Text", "Grid and Ticks", "X Axis", "Y Axes"})
        colors_->addItem(tr(name));
    for (int i = 1; i <= kCurveColorCount; ++i) colors_->addItem(QString::asprintf("Curve %d", i));
    colors_->setCurrentRow(0);
    cv->addWidget(colors_);
    auto* ch = new QHBoxLayout;
    swatch_ = new QLabel;
    swatch_->setFixedSize(48, 20);
    swatch_->setAutoFillBackground(true);
    swatch_->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* change = new QPushButton(tr("Change..."));
    auto* defaults = new QPushButton(tr("Defaults"));
    ch->addWidget(swatch_);
    ch->addWidget(change);
    ch->addWidget(defaults);
    cv->addLayout(ch);
    grid->addWidget(colorBox, 0, 1, 2, 1);
    connect(colors_, &QListWidget::currentRowChanged, this, &CPreferencesDialog::ShowSwatch);
    connect(change, &QPushButton::clicked, this, &CPreferencesDialog::ChangeColor);
    connect(defaults, &QPushButton::clicked, this, &CPreferencesDialog::ResetColors);
    ShowSwatch();

    auto* harmonics = new QGroupBox(tr("Harmonics"));
    auto* hf = new QFormLayout(harmonics);
    baseFrequency_ = new QLineEdit(G(prefs_.baseFrequency));
    highestOrder_ = new QLineEdit(QString::number(prefs_.highestHarmonic));
    evenOrders_ = new QCheckBox(tr("Show Even Orders"));
    evenOrders_->setChecked(prefs_.evenHarmonics != 0);
    hf->addRow(tr("Base Frequency:"), baseFrequency_);
    hf->addRow(tr("Highest Order:"), highestOrder_);
    hf->addRow(evenOrders_);
    grid->addWidget(harmonics, 2, 0);

    auto* magDurBox = new QGroupBox(tr("Mag-Dur Background"));
    auto* mv = new QVBoxLayout(magDurBox);
    magDur_ = new QButtonGroup(this);
    for (int family = 0; family < kToleranceFamilyCount; ++family) {
        auto* radio = new QRadioButton(CurveFamilyName(family));
        magDur_->addButton(radio, family);
        mv->addWidget(radio);
    }
    if (QAbstractButton* b = magDur_->button(prefs_.magDur)) b->setChecked(true);
    grid->addWidget(magDurBox, 2, 1);

    auto* trendBox = new QGroupBox(tr("Trend Plots"));
    auto* tv = new QVBoxLayout(trendBox);
    nullGap_ = new QCheckBox(tr("Use Null Gaps"));
    dateExport_ = new QCheckBox(tr("Date/Time Stamps in Exported CSV Files"));
    nullGap_->setChecked(prefs_.nullGap != 0);
    dateExport_->setChecked(prefs_.dateExport != 0);
    tv->addWidget(nullGap_);
    tv->addWidget(dateExport_);
    grid->addWidget(trendBox, 3, 0, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPreferencesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPreferencesDialog::reject);
    grid->addWidget(buttons, 4, 0, 1, 2);
}

void CPreferencesDialog::UnitsChanged(bool inches) {
    if (inches != shownInches_) {
        // Switching the unit converts both values by 25.4.
        const double factor = inches ? 1.0 / 25.4 : 25.4;
        bool okX = false;
        bool okY = false;
        const double x = wmfX_->text().toDouble(&okX);
        const double y = wmfY_->text().toDouble(&okY);
        if (okX) wmfX_->setText(G(x * factor));
        if (okY) wmfY_->setText(G(y * factor));
        shownInches_ = inches;
    }
    wmfXLabel_->setText(inches ? tr("X (inches):") : tr("X (mm):"));
    wmfYLabel_->setText(inches ? tr("Y (inches):") : tr("Y (mm):"));
}

ColorRef CPreferencesDialog::ColorAt(int entry) const {
    switch (entry) {
        case 0:
            return prefs_.colorDesktop;
        case 1:
            return prefs_.colorBackground;
        case 2:
            return prefs_.colorText;
        case 3:
            return prefs_.colorForeground;
        case 4:
            return prefs_.colorXAxis;
        case 5:
            return prefs_.colorYAxis;
        default:
            return entry >= 6 && entry < kColorEntries
                       ? prefs_.curveColors[static_cast<std::size_t>(entry - 6)]
                       : 0;
    }
}

void CPreferencesDialog::SetColorAt(int entry, ColorRef color) {
    switch (entry) {
        case 0:
            prefs_.colorDesktop = color;
            break;
        case 1:
            prefs_.colorBackground = color;
            break;
        case 2:
            prefs_.colorText = color;
            break;
        case 3:
            prefs_.colorForeground = color;
            break;
        case 4:
            prefs_.colorXAxis = color;
            break;
        case 5:
            prefs_.colorYAxis = color;
            break;
        default:
            if (entry >= 6 && entry < kColorEntries)
                prefs_.curveColors[static_cast<std::size_t>(entry - 6)] = color;
    }
    ShowSwatch();
}

void CPreferencesDialog::ResetColors() {
    prefs_.ResetColors();
    ShowSwatch();
}

void CPreferencesDialog::ShowSwatch() {
    const ColorRef c = ColorAt(std::max(0, colors_->currentRow()));
    QPalette palette = swatch_->palette();
    palette.setColor(QPalette::Window, QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)));
    swatch_->setPalette(palette);
}

void CPreferencesDialog::ChangeColor() {
    const int entry = std::max(0, colors_->currentRow());
    const ColorRef c = ColorAt(entry);
    const QColor chosen = QColorDialog::getColor(QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)),
                                                 this, colors_->currentItem()->text());
    if (chosen.isValid())
        SetColorAt(entry, MakeColorRef(chosen.red(), chosen.green(), chosen.blue()));
}

void CPreferencesDialog::accept() {
    auto fail = [&](const std::string& text, QLineEdit* edit) {
        ui_.MessageBox(text, str::kShortProductName, Icon::Exclamation);
        edit->setFocus();
        edit->selectAll();
    };
    auto number = [&](QLineEdit* edit, double& out) {
        bool ok = false;
        out = edit->text().trimmed().toDouble(&ok);
        if (!ok) {
            char buffer[512];
            std::snprintf(buffer, sizeof buffer, str::kNotANumber,
                          edit->text().toStdString().c_str());
            fail(buffer, edit);
        }
        return ok;
    };
    GraphPreferences p = prefs_;
    double wx = 0, wy = 0, px = 0, py = 0, base = 0, highest = 0;
    if (!number(wmfX_, wx) || !number(wmfY_, wy) || !number(pngX_, px) || !number(pngY_, py) ||
        !number(baseFrequency_, base) || !number(highestOrder_, highest))
        return;
    for (auto [value, edit] : {std::pair{wx, wmfX_}, {wy, wmfY_}, {px, pngX_}, {py, pngY_}}) {
        if (!(value > 0) || value > 10000) {
            fail(str::kPictureSizeRange, edit);
            return;
        }
    }
    if (!(base > 0)) {
        fail(str::kBaseFrequencyRange, baseFrequency_);
        return;
    }
    if (highest < 1 || highest > 1000 || highest != static_cast<int>(highest)) {
        fail(str::kHighestHarmonicRange, highestOrder_);
        return;
    }
    p.initialDB = dataBlock_->isChecked();
    p.initialCB = commentBlock_->isChecked();
    p.legendActive = legend_->isChecked();
    p.filterPoints = filterPoints_->isChecked();
    p.lineStyles = lineStyles_->isChecked();
    p.wmfX = wx;
    p.wmfY = wy;
    p.wmfInches = inches_->isChecked() ? 1 : 0;
    p.pngX = static_cast<int>(px);
    p.pngY = static_cast<int>(py);
    p.baseFrequency = base;
    p.highestHarmonic = static_cast<int>(highest);
    p.evenHarmonics = evenOrders_->isChecked();
    p.magDur = magDur_->checkedId() < 0 ? prefs_.magDur : magDur_->checkedId();
    p.nullGap = nullGap_->isChecked();
    p.dateExport = dateExport_->isChecked();
    prefs_ = p;
    QDialog::accept();
}

}  // namespace kov
