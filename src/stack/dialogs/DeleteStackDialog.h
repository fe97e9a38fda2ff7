#pragma once
// CDeleteStackDialog: "Select Quantities to be Discarded", the stack's delete
// dialog. A multiple-selection stack list with All and None; on OK the
// selected items are removed from the stack one by one (windows showing them
// close first).

#include <QDialog>
#include <vector>

namespace kov {

class CStackListBox;
class Stack;
class StackObject;

class CDeleteStackDialog : public QDialog {
    Q_OBJECT
public:
    CDeleteStackDialog(const Stack& stack, QWidget* parent = nullptr);

    CStackListBox* list() const { return list_; }
    // The items chosen when the dialog ended with OK.
    const std::vector<StackObject*>& chosen() const { return chosen_; }

    // Runs the dialog and removes the chosen items from the stack; returns
    // how many were removed.
    static int Run(Stack& stack, QWidget* parent);

private:
    CStackListBox* list_;
    std::vector<StackObject*> chosen_;
};

}  // namespace kov
