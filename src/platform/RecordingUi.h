#pragma once
// A Ui that shows nothing and remembers everything, for tests and for
// headless runs that answer questions from a preset answer.

#include <string>
#include <vector>

#include "platform/Ui.h"

namespace kov {

class RecordingUi : public Ui {
public:
    struct Message {
        std::string text;
        std::string caption;
        Icon icon;
        Buttons buttons;
    };
    // One entry per progress-window operation, e.g. "create", "range 10",
    // "pos 3", "text Reading", "title KOV - Reading", "destroy".
    std::vector<Message> messages;
    std::vector<std::string> progress;
    int beeps = 0;
    int waitDepth = 0;                    // current nesting of the wait cursor
    int waitCursors = 0;                  // how many times it was shown
    Answer questionAnswer = Answer::Yes;  // the answer to Yes/No questions

    Answer ShowMessage(const std::string& text, const std::string& caption, Icon icon,
                       Buttons buttons) override;
    void Beep() override { ++beeps; }
    void BeginWaitCursor() override {
        ++waitDepth;
        ++waitCursors;
    }
    void EndWaitCursor() override { --waitDepth; }
    std::unique_ptr<ProgressWindow> CreateProgress() override;

    // The text of the last message, or "" when none was shown.
    std::string LastText() const { return messages.empty() ? "" : messages.back().text; }
};

}  // namespace kov
