// kov-cli export: writes stack items with the writers of File Export.

#include "cli/ExportCommands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

#include "cli/CliContext.h"
#include "cli/SourceFlags.h"
#include "export/DataExport.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "stack/PlotableStackObject.h"
#include "stack/Stack.h"

namespace kov::cli {

namespace {

struct ExportFlags {
    SourceFlags source;
    std::vector<std::string> items;
    std::string format;
    std::string output;
    std::optional<std::string> dateExport;
};

// The items to write: the --items selections in the order given (each item
// once), or every plotable item of the stack. Null after a message.
std::optional<std::vector<const PlotableStackObject*>> ChooseItems(Context& context,
                                                                   const ExportFlags& f) {
    const Stack& stack = context.workbench.stack();
    std::vector<const PlotableStackObject*> chosen;
    std::unordered_set<const void*> seen;
    if (f.items.empty()) {
        for (const StackObject* item : stack.GetAll())
            if (const auto* p = dynamic_cast<const PlotableStackObject*>(item)) chosen.push_back(p);
        return chosen;
    }
    for (const std::string& selection : f.items) {
        const std::vector<StackObject*> found = Resolve(stack, selection);
        if (found.empty()) {
            context.err << "kov-cli: --items " << selection << ": no such stack item\n";
            return std::nullopt;
        }
        for (const StackObject* item : found) {
            const auto* p = dynamic_cast<const PlotableStackObject*>(item);
            if (!p) {
                context.ui.MessageBox(Format(str::kExportNotPlotable, item->stackKey().c_str()),
                                      str::kShortProductName, Icon::Exclamation);
                return std::nullopt;
            }
            AddUnique(chosen, seen, p);
        }
    }
    return chosen;
}

}  // namespace

void AddExportCommand(CLI::App& app, Context& context, int& status) {
    auto flags = std::make_shared<ExportFlags>();
    ExportFlags& f = *flags;
    auto* cmd = app.add_subcommand(
        "export",
        "Write stack items as File Export writes the items of a graph window: tab text, "
        "comma-separated values or IEEE COMTRADE ASCII (.hdr, .cfg and .dat from OUT without "
        "its extension)");
    cmd->add_option("--items", f.items,
                    "Items in window order: 1-based stack positions or globs over keys "
                    "(default: every plotable item, in stack order)")
        ->expected(1, -1);
    cmd->add_option("--format", f.format, "Output format")
        ->required()
        ->check(CLI::IsMember({"txt", "csv", "comtrade"}, CLI::ignore_case));
    cmd->add_option("-o,--output", f.output, "Output file")->required();
    cmd->add_option("--date-export", f.dateExport,
                    "txt/csv: date and time stamps in the time column (default: the "
                    "\"DateExport\" preference)")
        ->check(CLI::IsMember({"on", "off"}, CLI::ignore_case));
    AddSourceFlags(cmd, f.source, true);
    cmd->callback([&context, &status, flags] {
        const ExportFlags& f = *flags;
        status = LoadSource(context, f.source);
        if (status != 0) return;
        status = 1;
        const auto items = ChooseItems(context, f);
        if (!items) return;
        if (items->empty()) {
            context.ui.MessageBox(str::kExportNoItems, str::kShortProductName, Icon::Exclamation);
            return;
        }
        ExportSettings settings = ExportSettingsFrom(context.profile);
        if (f.dateExport) settings.dateExport = EqualsNoCase(*f.dateExport, "on");
        const ExportFormat format = EqualsNoCase(f.format, "txt")   ? ExportFormat::TabText
                                    : EqualsNoCase(f.format, "csv") ? ExportFormat::CommaSeparated
                                                                    : ExportFormat::Comtrade;
        if (!WriteExport(format, f.output, *items, settings)) {
            context.ui.MessageBox(Format(str::kExportCannotWrite, f.output.c_str()),
                                  str::kShortProductName, Icon::Exclamation);
            return;
        }
        status = 0;
        if (f.source.json) PrintResult(context, f.source);
    });
}

}  // namespace kov::cli
