#pragma once
// The units dialogs of the Stack menu over the core editors of UnitEditing.h:
//   CUnitsDialog   "X vs Y Type Data Units"        (UnitsEditor)
//   CPerUnitDialog "Set Per-Unit Base Quantities"  (PerUnitEditor)
// Both list the stack; the first selected item defines the kind, and a
// further item of another kind is refused with a beep. The dialogs edit
// copies of the first item's records and write them to the selection only on
// "&Apply"; "&Exit" discards what was not applied. After Apply, `applied`
// receives the items changed so that the windows showing them are redrawn.

#include <QDialog>
#include <functional>
#include <vector>

#include "analysis/UnitEditing.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kov {

class CStackListBox;
class Stack;
class StackObject;
class Ui;

using AppliedFunction = std::function<void(const std::vector<StackObject*>&)>;

// What both dialogs share: the stack list and its selection rule.
class CUnitsDialogBase : public QDialog {
    Q_OBJECT
public:
    CStackListBox* stackList() const { return stackList_; }
    QPushButton* applyButton() const { return apply_; }
    // The first selected item (it defines the kind), or null.
    const StackObject* firstItem() const { return first_; }
    // The selection handed to Apply: the first item, then the others in list order.
    std::vector<StackObject*> Selection() const;

protected:
    CUnitsDialogBase(const QString& title, const Stack& stack, Ui& ui, AppliedFunction applied,
                     QWidget* parent);
    // Builds the common frame around `controls` (the dialog's own part).
    void Assemble(QLayout* controls, const char* helpTopic);
    // The first item changed (null: nothing selected).
    virtual void FirstChanged() = 0;
    virtual void ApplyClicked() = 0;
    void Applied(const std::vector<StackObject*>& items) const;

    Ui& ui_;

private:
    void SelectionChanged();

    CStackListBox* stackList_;
    QPushButton* apply_;
    StackObject* first_ = nullptr;
    AppliedFunction applied_;
};

class CUnitsDialog : public CUnitsDialogBase {
    Q_OBJECT
public:
    CUnitsDialog(const Stack& stack, Ui& ui, AppliedFunction applied = {},
                 QWidget* parent = nullptr);

    const UnitsEditor& editor() const { return editor_; }
    QListWidget* axisList() const { return axes_; }
    QButtonGroup* prefixes() const { return prefixes_; }  // button ids are the prefix codes
    QListWidget* unitNames() const { return units_; }
    QLineEdit* sampleLabel() const { return sample_; }
    QLineEdit* multiplier() const { return multiplier_; }

private:
    void FirstChanged() override;
    void ApplyClicked() override;
    void ShowRecord();

    UnitsEditor editor_;
    QListWidget* axes_;
    QButtonGroup* prefixes_;
    QListWidget* units_;
    QLineEdit* sample_;
    QLineEdit* multiplier_;
    QWidget* controls_;
};

class CPerUnitDialog : public CUnitsDialogBase {
    Q_OBJECT
public:
    CPerUnitDialog(const Stack& stack, Ui& ui, AppliedFunction applied = {},
                   QWidget* parent = nullptr);

    const PerUnitEditor& editor() const { return editor_; }
    QCheckBox* perUnitize() const { return perUnitize_; }
    QListWidget* axisList() const { return axes_; }
    QLineEdit* baseValue() const { return base_; }
    QButtonGroup* factors() const { return factors_; }  // button ids 0, 1, 2

private:
    void FirstChanged() override;
    void ApplyClicked() override;
    PerUnitEditor::Shown Shown() const;
    void Show();

    PerUnitEditor editor_;
    QCheckBox* perUnitize_;
    QListWidget* axes_;
    QLineEdit* base_;
    QButtonGroup* factors_;
    QWidget* controls_;
};

}  // namespace kov
