#pragma once
// CStackListBox: the "Stack List:" of every dialog that picks stack items.
// Each line is an item's column line (name parts, case name and type tag,
// tab-separated); the columns are drawn at tab stops computed from the
// widest text of each column, and the list scrolls horizontally when the
// lines are wider than the box.

#include <QListWidget>
#include <cstdint>
#include <vector>

class QDialog;
class QPushButton;
class QVBoxLayout;

namespace kov {

class Stack;
class StackObject;

class CStackListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CStackListBox(const Stack& stack, QWidget* parent = nullptr);

    // Adds, in stack order, every item whose kind equals kindFilter (0: any)
    // and whose Y unit id equals unitFilter (0: any). `clear` empties the
    // list first; `selectFirst` selects the first line when any was added.
    // Returns the number of lines added.
    int Fill(std::uint32_t kindFilter = 0, bool clear = true, bool selectFirst = false,
             std::uint16_t unitFilter = 0);

    StackObject* ItemAt(int row) const;
    // The selected items, in list order.
    std::vector<StackObject*> SelectedItems() const;
    // Selects the line that shows `item`; false when it is not listed.
    bool SelectItem(const StackObject* item, bool selected = true);

    // Left edge, in pixels, of each tab-separated column.
    const std::vector<int>& tabStops() const { return tabStops_; }

private:
    void ComputeTabStops();

    const Stack& stack_;
    std::vector<int> tabStops_;
};

// The button column of the dialogs that pick items from a stack list:
// "&Ok" (the default button, which the dialog connects itself), "&Cancel"
// (rejects), "&All" and "&None" (select every line or none) and "&Help" (the
// help page of `helpTopic`). Returns the column for the dialog's layout.
QVBoxLayout* StackSelectionButtons(QDialog& dialog, CStackListBox& list, const char* helpTopic,
                                   QPushButton*& ok);

}  // namespace kov
