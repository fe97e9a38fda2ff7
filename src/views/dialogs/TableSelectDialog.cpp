#include "views/dialogs/TableSelectDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Strings.h"
#include "platform/Ui.h"
#include "stack/dialogs/StackListBox.h"

namespace kov {

CTableSelectDialog::CTableSelectDialog(const Stack& stack, Ui& ui, TableType initial,
                                       QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setWindowTitle(str::kTableQuantitySelectTitle);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* typesLabel = new QLabel(tr("Table Types:"), this);
    types_ = new QComboBox(this);
    for (int i = 0; i < kTableTypeCount; ++i)
        types_->addItem(QString::fromUtf8(TableTypeName(static_cast<TableType>(i))));
    const int index = static_cast<int>(initial);
    types_->setCurrentIndex(index >= 0 && index < kTableTypeCount ? index : 0);
    typesLabel->setBuddy(types_);
    left->addWidget(typesLabel);
    left->addWidget(types_);

    auto* listLabel = new QLabel(tr("Stack List:"), this);
    list_ = new CStackListBox(stack, this);
    listLabel->setBuddy(list_);
    list_->Fill(0, true, false, 0);
    left->addWidget(listLabel);
    left->addWidget(list_, 1);
    layout->addLayout(left, 1);

    QPushButton* ok = nullptr;
    layout->addLayout(StackSelectionButtons(*this, *list_, "tables", ok));
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTableSelectDialog::SelectionChanged);
    connect(ok, &QPushButton::clicked, this, &CTableSelectDialog::accept);
    resize(600, 380);
}

void CTableSelectDialog::SelectionChanged() {
    // Keep the items still selected in the order they were picked, then add
    // the newly selected ones in list order (a range or "All" selects many
    // lines at once).
    const std::vector<StackObject*> selected = list_->SelectedItems();
    std::erase_if(order_, [&](StackObject* item) {
        return std::find(selected.begin(), selected.end(), item) == selected.end();
    });
    for (StackObject* item : selected)
        if (std::find(order_.begin(), order_.end(), item) == order_.end()) order_.push_back(item);
}

void CTableSelectDialog::accept() {
    if (SelectedItems().empty()) {
        ui_.MessageBox(str::kNoItemsSelected, str::kLongProductName, Icon::Warning);
        return;
    }
    QDialog::accept();
}

TableType CTableSelectDialog::type() const {
    const int index = types_->currentIndex();
    return static_cast<TableType>(index >= 0 && index < kTableTypeCount ? index : 0);
}

std::vector<StackObject*> CTableSelectDialog::SelectedItems() const {
    // The selection model tells of every change, so order_ holds exactly the
    // selected items; reading the list again guards against a change made
    // without a signal (a list refilled while open).
    const std::vector<StackObject*> selected = list_->SelectedItems();
    std::vector<StackObject*> items;
    for (StackObject* item : order_)
        if (std::find(selected.begin(), selected.end(), item) != selected.end())
            items.push_back(item);
    for (StackObject* item : selected)
        if (std::find(items.begin(), items.end(), item) == items.end()) items.push_back(item);
    return items;
}

}  // namespace kov
