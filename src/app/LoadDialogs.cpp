#include "app/LoadDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

#include "readers/dialogs/QuantityList.h"

namespace kov {

namespace {

std::map<std::type_index, LoadDialogFunction>& Dialogs() {
    static std::map<std::type_index, LoadDialogFunction> dialogs;
    return dialogs;
}

// The plain dialog: the quantity list with All and None.
std::optional<LoadChoice> PlainDialog(DataFile& reader, const Stack& stack, Ui& ui,
                                      QWidget* parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QObject::tr("Load Quantities"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new CQuantityList(reader.Catalogue(), stack, ui, &dialog);
    layout->addWidget(list);
    auto* row = new QHBoxLayout;
    auto* all = new QPushButton(QObject::tr("&All"), &dialog);
    auto* none = new QPushButton(QObject::tr("&None"), &dialog);
    row->addWidget(all);
    row->addWidget(none);
    row->addStretch();
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(all, &QPushButton::clicked, list, &CQuantityList::SelectAll);
    QObject::connect(none, &QPushButton::clicked, list, &CQuantityList::SelectNone);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    LoadChoice choice;
    choice.indexes = list->SelectedIndexes();
    return choice;
}

}  // namespace

void RegisterLoadDialog(std::type_index reader, LoadDialogFunction dialog) {
    Dialogs()[reader] = std::move(dialog);
}

std::optional<LoadChoice> RunLoadDialog(DataFile& reader, const Stack& stack, Ui& ui,
                                        QWidget* parent) {
    const auto it = Dialogs().find(std::type_index(typeid(reader)));
    if (it != Dialogs().end()) return it->second(reader, stack, ui, parent);
    return PlainDialog(reader, stack, ui, parent);
}

}  // namespace kov
