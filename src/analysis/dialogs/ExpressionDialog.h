#pragma once
// CExpressionDlg "Expression Evaluator": a new stack item from formulas of x.
// The dialog shows the run's ExpressionSettings and writes the controls back
// to them on "&Do" and on closing, so reopening shows the last texts and
// choices; "&Do" runs DoExpression, shows the range fields it rewrote and
// stays open.

#include <QDialog>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kov {

class ExpressionLibrary;
class Stack;
class StackObject;
class Ui;
struct ExpressionSettings;

class CExpressionDlg : public QDialog {
    Q_OBJECT
public:
    CExpressionDlg(Stack& stack, Ui& ui, ExpressionSettings& settings, ExpressionLibrary& library,
                   QWidget* parent = nullptr);

    QLineEdit* name() const { return name_; }
    QLineEdit* firstExpression() const { return first_; }
    QLineEdit* secondExpression() const { return second_; }
    QLabel* firstLabel() const { return firstLabel_; }
    QLabel* secondLabel() const { return secondLabel_; }
    QLineEdit* xmin() const { return xmin_; }
    QLineEdit* xmax() const { return xmax_; }
    QLineEdit* step() const { return step_; }
    QLineEdit* points() const { return points_; }
    QButtonGroup* spacing() const { return spacing_; }  // 0 Step Size, 1 Number of Points
    QButtonGroup* kind() const { return kind_; }        // ExpressionKind in list order
    QButtonGroup* complex() const { return complex_; }  // 0 Mag/Phase, 1 Real/Imag
    QButtonGroup* phase() const { return phase_; }      // 0 Degrees, 1 Radians
    QPushButton* doButton() const { return do_; }

    // "&Do": the item from the shown settings; null after a message.
    StackObject* Do();
    // Closing by "E&xit", Escape or the close box keeps the settings.
    void done(int result) override;

private:
    // The shown texts and choices into the settings.
    void Store();
    // The settings into the controls.
    void Show();
    // Labels and enabled edits follow the choices.
    void Follow();

    Stack& stack_;
    Ui& ui_;
    ExpressionSettings& settings_;
    ExpressionLibrary& library_;
    QLineEdit* name_;
    QLineEdit* first_;
    QLineEdit* second_;
    QLabel* firstLabel_;
    QLabel* secondLabel_;
    QLineEdit* xmin_;
    QLineEdit* xmax_;
    QLineEdit* step_;
    QLineEdit* points_;
    QButtonGroup* spacing_;
    QButtonGroup* kind_;
    QButtonGroup* complex_;
    QButtonGroup* phase_;
    QPushButton* do_;
};

}  // namespace kov
