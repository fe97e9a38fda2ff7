#pragma once
// What the core needs from its host to talk to the user: message boxes,
// Yes/No questions, beeps, the wait cursor and the progress window. The
// desktop application implements it with Qt, kov-cli on stderr, and tests
// with RecordingUi, which remembers everything shown.

#include <memory>
#include <string>

namespace kov {

enum class Icon { None, Information, Warning, Exclamation, Error, Question };

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

enum class Answer { Ok, Cancel, Yes, No, Retry };

// The modeless progress window "KOV Progress Indicator" that long reads show.
// Destroying the object closes the window.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Range 0..maximum; a maximum below 1 is ignored.
    virtual void SetRange(int maximum) = 0;
    // Ignored when negative.
    virtual void SetPos(int position) = 0;
    // The line of text above the bar.
    virtual void SetText(const std::string& text) = 0;
    // The window caption.
    virtual void SetTitle(const std::string& title) = 0;
};

class Ui {
public:
    virtual ~Ui() = default;

    Answer MessageBox(const std::string& text, const std::string& caption, Icon icon,
                      Buttons buttons = Buttons::Ok) {
        return ShowMessage(text, caption, icon, buttons);
    }
    virtual void Beep() = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Shows the progress window at once; it stays until the returned object is destroyed.
    virtual std::unique_ptr<ProgressWindow> CreateProgress() = 0;

    // A Yes/No question; true for Yes.
    bool AskYesNo(const std::string& text, const std::string& caption, Icon icon = Icon::Question) {
        return MessageBox(text, caption, icon, Buttons::YesNo) == Answer::Yes;
    }

protected:
    // Shows a message box and returns the button pressed.
    virtual Answer ShowMessage(const std::string& text, const std::string& caption, Icon icon,
                               Buttons buttons) = 0;
};

// Shows the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    explicit WaitCursor(Ui& ui) : ui_(ui) { ui_.BeginWaitCursor(); }
    ~WaitCursor() { ui_.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    Ui& ui_;
};

}  // namespace kov
