#pragma once
// What every kov-cli command shares: the Ui on stderr, the settings file,
// the host of the workbench, and the workbench with its one stack.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/IniProfile.h"
#include "platform/Ui.h"
#include "readers/Workbench.h"

namespace kov::cli {

// Messages and questions go to stderr; questions take a preset answer.
class CliUi : public Ui {
public:
    bool answerYes = true;
    Answer ShowMessage(const std::string& text, const std::string& caption, Icon icon,
                       Buttons buttons) override;
    void Beep() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::unique_ptr<ProgressWindow> CreateProgress() override;
};

// The load dialog's choice made from command-line flags.
struct ChoiceFlags {
    bool all = false;
    std::vector<std::size_t> select;   // 1-based
    std::vector<std::string> match;    // glob patterns over the catalogue line or key
    std::vector<std::string> options;  // NAME=VALUE
};

class CliHost : public WorkbenchHost {
public:
    explicit CliHost(std::ostream& out) : out_(out) {}
    std::optional<ChoiceFlags> flags;  // set while a load command runs
    std::string choiceError;           // why the flags could not be applied

    std::optional<LoadChoice> ChooseQuantities(DataFile& reader) override;
    void ViewAsText(const std::string& path) override;
    void QuickGraph(std::span<StackObject* const> items, int mode) override;

private:
    std::ostream& out_;
};

struct Context {
    Context(std::ostream& out, std::ostream& err);
    std::ostream& out;
    std::ostream& err;
    CliUi ui;
    IniProfile profile;
    CliHost host;
    Workbench workbench;
    bool inScript = false;
};

// Splits a line into words as a POSIX shell does (quotes group words,
// backslashes escape); false on an unterminated quote.
bool SplitWords(const std::string& line, std::vector<std::string>& words);

// Runs one command line (without the program name) on the context; returns
// its exit status.
int RunCommand(Context& context, const std::vector<std::string>& arguments);

}  // namespace kov::cli
