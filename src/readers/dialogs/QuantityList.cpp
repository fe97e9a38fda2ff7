#include "readers/dialogs/QuantityList.h"

#include <QSignalBlocker>

#include "platform/Ui.h"
#include "stack/Stack.h"

namespace kov {

namespace {
constexpr int kOnStackRole = Qt::UserRole + 1;
constexpr int kIndexRole = Qt::UserRole;
}  // namespace

CQuantityList::CQuantityList(const std::vector<CatalogueEntry>& catalogue, const Stack& stack,
                             Ui& ui, QWidget* parent)
    : QListWidget(parent), ui_(ui) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        auto* line = new QListWidgetItem(QString::fromStdString(catalogue[i].line), this);
        line->setData(kIndexRole, static_cast<qulonglong>(i));
        const bool onStack = stack.FindByKey(catalogue[i].key) != nullptr;
        line->setData(kOnStackRole, onStack);
        if (onStack) {
            line->setBackground(QColor(0xD3, 0xD3, 0xD3));
            line->setToolTip(tr("Already on the stack"));
        }
    }
    connect(this, &QListWidget::itemSelectionChanged, this, &CQuantityList::RefuseStackedLines);
}

bool CQuantityList::IsOnStack(int row) const {
    const QListWidgetItem* line = item(row);
    return line && line->data(kOnStackRole).toBool();
}

void CQuantityList::RefuseStackedLines() {
    bool refused = false;
    const QSignalBlocker block(this);
    for (QListWidgetItem* line : selectedItems())
        if (line->data(kOnStackRole).toBool()) {
            line->setSelected(false);
            refused = true;
        }
    if (refused) ui_.Beep();
}

void CQuantityList::SelectAll() {
    const QSignalBlocker block(this);
    for (int row = 0; row < count(); ++row) item(row)->setSelected(!IsOnStack(row));
}

void CQuantityList::SelectNone() {
    clearSelection();
}

std::vector<std::size_t> CQuantityList::SelectedIndexes() const {
    std::vector<std::size_t> indexes;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            indexes.push_back(static_cast<std::size_t>(item(row)->data(kIndexRole).toULongLong()));
    return indexes;
}

}  // namespace kov
