// The source flags and stack selections shared by kov-cli's item commands.

#include "cli/SourceFlags.h"

#include <fnmatch.h>

#include <CLI/CLI.hpp>
#include <charconv>
#include <ostream>

#include "cli/CliContext.h"
#include "cli/StackPrinter.h"
#include "stack/Stack.h"

namespace kov::cli {

void AddSourceFlags(CLI::App* command, SourceFlags& flags, bool withFile) {
    if (withFile) {
        command->add_option("FILE", flags.file,
                            "Alone: a data file loaded first (as load does); in a script the "
                            "items come from earlier lines");
        command->add_option("--type", flags.type, "With FILE: format as TYPE[:SUBTYPE]");
        command
            ->add_option("--select", flags.select,
                         "With FILE: load these quantities (1-based, comma list)")
            ->delimiter(',');
        command->add_option("--match", flags.match,
                            "With FILE: load quantities whose line or key matches (repeatable)");
    }
    command->add_flag("--json", flags.json, "Alone: print the resulting stack as JSON");
    command->add_flag("--samples", flags.samples, "With --json: add the sample arrays");
}

int LoadSource(Context& context, const SourceFlags& flags) {
    if (flags.file.empty()) return 0;
    std::vector<std::string> words{"load", flags.file};
    if (!flags.type.empty()) words.insert(words.end(), {"--type", flags.type});
    if (!flags.select.empty()) {
        std::string list;
        for (const std::string& s : flags.select) list += (list.empty() ? "" : ",") + s;
        words.insert(words.end(), {"--select", list});
    }
    for (const std::string& m : flags.match) words.insert(words.end(), {"--match", m});
    const bool wasInScript = context.inScript;
    context.inScript = true;  // load quietly: the command prints the stack at its end
    const int status = RunCommand(context, words);
    context.inScript = wasInScript;
    return status;
}

void PrintResult(Context& context, const SourceFlags& flags) {
    if (context.inScript) return;
    if (flags.json)
        PrintStackJson(context.workbench.stack(), flags.samples, context.out);
    else
        PrintStackPlain(context.workbench.stack(), context.out);
}

std::vector<StackObject*> Resolve(const Stack& stack, const std::string& selection) {
    std::vector<StackObject*> found;
    const bool number =
        !selection.empty() && selection.find_first_not_of("0123456789") == std::string::npos;
    if (number) {
        // A position too large for any number names no item (it must not throw).
        unsigned long long position = 0;
        const auto [end, error] =
            std::from_chars(selection.data(), selection.data() + selection.size(), position);
        if (error == std::errc() && position >= 1 && position <= stack.size())
            found.push_back(stack.at(static_cast<std::size_t>(position - 1)));
        return found;
    }
    for (StackObject* item : stack.GetAll())
        if (::fnmatch(selection.c_str(), item->stackKey().c_str(), FNM_CASEFOLD) == 0)
            found.push_back(item);
    return found;
}

StackObject* ResolveOne(Context& context, const std::string& selection, const char* flag) {
    const std::vector<StackObject*> found = Resolve(context.workbench.stack(), selection);
    if (found.empty()) {
        context.err << "kov-cli: " << flag << " " << selection << ": no such stack item\n";
        return nullptr;
    }
    return found.front();
}

}  // namespace kov::cli
