#pragma once
// CTableSelectDialog ("Table Quantity Select"): picks a table type and the
// stack items to tabulate. The items come back in the order the user
// selected them, which is the order of the table's rows.

#include <QDialog>
#include <vector>

#include "analysis/Tables.h"

class QComboBox;

namespace kov {

class CStackListBox;
class Stack;
class StackObject;
class Ui;

class CTableSelectDialog : public QDialog {
    Q_OBJECT
public:
    // `initial` is the type shown first (that of the active table window).
    CTableSelectDialog(const Stack& stack, Ui& ui, TableType initial, QWidget* parent = nullptr);

    // Message 2059 and the dialog stays open when no item is selected.
    void accept() override;

    TableType type() const;
    // The selected items in the order they were selected.
    std::vector<StackObject*> SelectedItems() const;

    // Controls, for tests.
    QComboBox* types() const { return types_; }
    CStackListBox* list() const { return list_; }

private:
    void SelectionChanged();

    Ui& ui_;
    QComboBox* types_ = nullptr;
    CStackListBox* list_ = nullptr;
    std::vector<StackObject*> order_;  // selected items, first selected first
};

}  // namespace kov
