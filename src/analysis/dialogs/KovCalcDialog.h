#pragma once
// CKovCalcDialog "Kov Calc": the calculator. The user picks a first stack
// item, an operation of the 29 of the operation table and, where it needs
// one, a constant or a second item; names the result and presses "&Do",
// which runs DoCalculation and leaves the dialog open for the next
// operation. "&Options.." edits the run-wide records of the operation.

#include <QDialog>
#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kov {

class CStackListBox;
class Stack;
class StackObject;
class Ui;
struct CalculatorRecords;

class CKovCalcDialog : public QDialog {
    Q_OBJECT
public:
    CKovCalcDialog(Stack& stack, Ui& ui, CalculatorRecords& records, QWidget* parent = nullptr);

    CStackListBox* firstList() const { return first_; }
    CStackListBox* secondList() const { return second_; }
    QListWidget* operations() const { return operations_; }
    QRadioButton* constantMode() const { return constant_; }
    QRadioButton* curveMode() const { return curve_; }
    QLineEdit* constantValue() const { return constantValue_; }
    QLineEdit* namePart(std::size_t i) const { return names_.at(i); }
    QLabel* kindTag() const { return tag_; }
    QPushButton* optionsButton() const { return options_; }
    QPushButton* doButton() const { return do_; }
    QPushButton* exitButton() const { return exit_; }
    // Set by the first operation that succeeded since the dialog opened.
    bool operationDone() const { return done_; }

    // "&Options..": the parameter dialog of the selected operation, or a beep
    // and "No Options for This Function" for an operation without options.
    void Options();
    // "&Do": the selected operation on the selected arguments; the new item is
    // pushed and the lists refilled. Returns the new item, or null.
    StackObject* Do();
    // "&Exit" (also Escape and the window's close box): before any operation
    // asks whether to leave; No keeps the dialog open.
    void reject() override;

private:
    StackObject* FirstItem() const;
    StackObject* SecondItem() const;
    // A first argument was chosen: its name parts go to the name edits.
    void FirstChanged();
    // The kind tag, "&Options.." and "&Do" follow the operation and the first
    // argument; an operation that needs a second item and takes no constant
    // forces curve mode.
    void Evaluate();
    void SetCurveMode(bool curve);
    // Refills a list and selects `keep` in it (the first line when it is gone).
    void Refill(CStackListBox* list, const StackObject* keep);

    Stack& stack_;
    Ui& ui_;
    CalculatorRecords& records_;
    CStackListBox* first_;
    CStackListBox* second_;
    QListWidget* operations_;
    QRadioButton* constant_;
    QRadioButton* curve_;
    QLineEdit* constantValue_;
    std::array<QLineEdit*, 4> names_{};
    QLabel* tag_;
    QPushButton* options_;
    QPushButton* do_;
    QPushButton* exit_;
    bool done_ = false;
};

}  // namespace kov
