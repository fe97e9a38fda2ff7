#include "stack/dialogs/DeleteStackDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

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

    QPushButton* ok = nullptr;
    layout->addLayout(StackSelectionButtons(*this, *list_, "discard", ok));
    list_->Fill(0, true, false, 0);
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
