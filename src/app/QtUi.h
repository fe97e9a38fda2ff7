#pragma once
// The Ui of the desktop application: message boxes, questions, beeps, the
// wait cursor and the progress window, with Qt.

#include <QDialog>

#include "platform/Ui.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace kov {

// The modeless progress window "KOV Progress Indicator": a line of text over
// a progress bar. Shown at once; closed when destroyed.
class CProgressDialog : public QDialog, public ProgressWindow {
    Q_OBJECT
public:
    explicit CProgressDialog(QWidget* owner);
    void SetRange(int maximum) override;
    void SetPos(int position) override;
    void SetText(const std::string& text) override;
    void SetTitle(const std::string& title) override;

private:
    QLabel* text_;
    QProgressBar* bar_;
};

class QtUi : public Ui {
public:
    // Message boxes and progress windows are owned by `owner` (the main window).
    explicit QtUi(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void Beep() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    std::unique_ptr<ProgressWindow> CreateProgress() override;

protected:
    Answer ShowMessage(const std::string& text, const std::string& caption, Icon icon,
                       Buttons buttons) override;

private:
    QWidget* Owner() const;
    QWidget* owner_;
};

}  // namespace kov
