#include "stack/dialogs/DeleteStackDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Help.h"
#include "stack/Stack.h"
#include "stack/dialogs/StackListBox.h"

namespace kov {

CDeleteStackDialog::CDeleteStackDialog(const Stack& stack, QWidget* parent)
    : QDialog(parent), list_(new CStackListBox(stack, this)) {
    setWindowTitle(tr("Select Quantities to be Discarded"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* label = new QLabel(tr("Stack List:"), this);
    label->setBuddy(list_);
    left->addWidget(label);
    left->addWidget(list_);
    layout->addLayout(left, 1);

    auto* buttons = new QVBoxLayout;
    auto* ok = new QPushButton(tr("&Ok"), this);
    auto* cancel = new QPushButton(tr("&Cancel"), this);
    auto* all = new QPushButton(tr("&All"), this);
    auto* none = new QPushButton(tr("&None"), this);
    auto* help = new QPushButton(tr("&Help"), this);
    ok->setDefault(true);
    for (QPushButton* b : {ok, cancel, all, none, help}) buttons->addWidget(b);
    buttons->addStretch();
    layout->addLayout(buttons);

    list_->Fill(0, true, false, 0);
    connect(all, &QPushButton::clicked, list_, &QListWidget::selectAll);
    connect(none, &QPushButton::clicked, list_, &QListWidget::clearSelection);
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, "discard"); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, [this] {
        chosen_ = list_->SelectedItems();
        accept();
    });
    resize(560, 340);
}

int CDeleteStackDialog::Run(Stack& stack, QWidget* parent) {
    CDeleteStackDialog dialog(stack, parent);
    if (dialog.exec() != QDialog::Accepted) return 0;
    int removed = 0;
    for (StackObject* item : dialog.chosen())
        if (stack.Remove(item)) ++removed;
    return removed;
}

}  // namespace kov
