#include "views/dialogs/GraphSelectDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/Strings.h"
#include "platform/Ui.h"
#include "stack/Stack.h"

namespace kov {

CGraphSelectDialog::CGraphSelectDialog(const Stack& stack, Ui& ui, const GraphPreferences& prefs,
                                       QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      offered_(GraphableItems(stack)),
      selection_(InitialSelection(prefs)) {
    setWindowTitle(str::kPlotQuantitySelectTitle);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Stack List:")));
    list_ = new QListWidget;
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    QFont mono("Monospace");
    mono.setStyleHint(QFont::TypeWriter);
    list_->setFont(mono);
    for (const StackObject* item : offered_) {
        QString line = QString::fromStdString(item->GetListLine(true));
        line.replace('\t', "  ");
        list_->addItem(line);
    }
    if (list_->count() > 0) list_->item(0)->setSelected(true);
    layout->addWidget(list_, 1);
    auto* allNone = new QHBoxLayout;
    auto* all = new QPushButton(tr("&All"));
    auto* none = new QPushButton(tr("&None"));
    allNone->addWidget(all);
    allNone->addWidget(none);
    allNone->addStretch();
    layout->addLayout(allNone);
    connect(all, &QPushButton::clicked, list_, &QListWidget::selectAll);
    connect(none, &QPushButton::clicked, list_, &QListWidget::clearSelection);

    auto* options = new QHBoxLayout;
    auto* modeBox = new QGroupBox(tr("Graph Mode"));
    auto* modeLayout = new QVBoxLayout(modeBox);
    modes_ = new QButtonGroup(this);
    const char* modeLabels[] = {"&Superimpose", "Stacked &Graphs", "Stacked A&xes",
                                "&Left-Right Y Axes", "Auto-Create &Windows"};
    for (int i = 0; i < 5; ++i) {
        auto* radio = new QRadioButton(tr(modeLabels[i]));
        modes_->addButton(radio, i);
        modeLayout->addWidget(radio);
    }
    options->addWidget(modeBox);

    auto* quantityBox = new QGroupBox(tr("Quantities"));
    auto* q = new QGridLayout(quantityBox);
    xQuantity_ = new QComboBox;
    yQuantity_ = new QComboBox;
    for (const char* name : {"Magnitude", "Phase", "Real", "Imaginary", "Baseline"}) {
        xQuantity_->addItem(name);
        yQuantity_->addItem(name);
    }
    q->addWidget(new QLabel(tr("X Quantity:")), 0, 0);
    q->addWidget(xQuantity_, 0, 1);
    q->addWidget(new QLabel(tr("Y Quantity:")), 1, 0);
    q->addWidget(yQuantity_, 1, 1);
    xScales_ = new QButtonGroup(this);
    yScales_ = new QButtonGroup(this);
    auto* xs = new QHBoxLayout;
    xs->addWidget(new QLabel(tr("X Scale:")));
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(tr(i == 0 ? "Linear" : i == 1 ? "Log" : "Prob"));
        xScales_->addButton(radio, i);
        xs->addWidget(radio);
    }
    auto* ys = new QHBoxLayout;
    ys->addWidget(new QLabel(tr("Y Scale:")));
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(tr(i == 0 ? "Linear" : "Log"));
        yScales_->addButton(radio, i);
        ys->addWidget(radio);
    }
    q->addLayout(xs, 2, 0, 1, 2);
    q->addLayout(ys, 3, 0, 1, 2);
    polar_ = new QCheckBox(tr("Polar Grid"));
    q->addWidget(polar_, 4, 0, 1, 2);
    options->addWidget(quantityBox);
    layout->addLayout(options);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGraphSelectDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGraphSelectDialog::reject);

    connect(modes_, &QButtonGroup::idClicked, this, [this](int id) {
        if (showing_) return;
        ModeChosen(selection_, id);
        Show();
    });
    connect(polar_, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        PolarTicked(selection_, on);
        Show();
    });
    connect(xScales_, &QButtonGroup::idClicked, this, [this](int id) {
        if (showing_) return;
        selection_.xScale = id;
    });
    connect(yScales_, &QButtonGroup::idClicked, this, [this](int id) {
        if (showing_) return;
        selection_.logY = id == 1;
    });
    auto quantity = [](QComboBox* box) {
        return QuantityFromText(box->currentText().toStdString());
    };
    connect(xQuantity_, &QComboBox::currentIndexChanged, this, [this, quantity] {
        if (!showing_) selection_.xQuantity = quantity(xQuantity_);
    });
    connect(yQuantity_, &QComboBox::currentIndexChanged, this, [this, quantity] {
        if (!showing_) selection_.yQuantity = quantity(yQuantity_);
    });
    Show();
    resize(620, 460);
}

void CGraphSelectDialog::Show() {
    showing_ = true;
    const SelectionEnables e = EnablesFor(selection_);
    for (int i = 0; i < 5; ++i) modes_->button(i)->setEnabled(e.modes[static_cast<std::size_t>(i)]);
    modes_->button(selection_.mode)->setChecked(true);
    xScales_->button(kXLog)->setEnabled(e.xLog);
    xScales_->button(kXProb)->setEnabled(e.xProb);
    xScales_->button(selection_.xScale)->setChecked(true);
    yScales_->button(selection_.logY ? 1 : 0)->setChecked(true);
    polar_->setEnabled(e.polar);
    polar_->setChecked(selection_.polar);
    xQuantity_->setCurrentText(QuantityName(selection_.xQuantity));
    yQuantity_->setCurrentText(QuantityName(selection_.yQuantity));
    showing_ = false;
}

int CGraphSelectDialog::exec() {
    if (offered_.empty()) {
        ui_.MessageBox(str::kNoItemsForOperation, str::kShortProductName, Icon::Exclamation);
        return QDialog::Rejected;
    }
    return QDialog::exec();
}

void CGraphSelectDialog::accept() {
    if (!SelectionCountAllowed(selection_.mode, SelectedItems().size())) {
        ui_.MessageBox(str::kStackedGraphLimit, str::kShortProductName, Icon::Exclamation);
        return;
    }
    QDialog::accept();
}

std::vector<StackObject*> CGraphSelectDialog::SelectedItems() const {
    std::vector<StackObject*> items;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->isSelected()) items.push_back(offered_[static_cast<std::size_t>(i)]);
    return items;
}

}  // namespace kov
