// kov-cli table.

#include "cli/TableCommands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <ostream>

#include "analysis/Tables.h"
#include "cli/CliContext.h"
#include "cli/SourceFlags.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "stack/Stack.h"

namespace kov::cli {

namespace {

struct TableFlags {
    SourceFlags source;
    std::string type;
    std::vector<std::string> items;
    std::optional<double> pccVolts, pccMva, demandKva, itLimit;
    std::optional<int> highestHarmonic;
    std::optional<std::string> evenHarmonics;
    bool percent = false;
    std::string separator = "tab";
};

constexpr std::pair<const char*, TableType> kTypeNames[] = {
    {"minmax", TableType::MinMax},         {"summary", TableType::WaveSummary},
    {"timepoints", TableType::TimePoints}, {"freqpoints", TableType::FreqPoints},
    {"harmonic", TableType::Harmonic},     {"switching", TableType::Switching},
    {"ieee519", TableType::Ieee519},
};

std::optional<TableType> ParseType(const std::string& name) {
    for (const auto& [text, type] : kTypeNames)
        if (EqualsNoCase(name, text)) return type;
    return std::nullopt;
}

// The rows that hold items: the IEEE 519 tables start with their limits row.
bool HasItemRows(const Table& table) {
    if (table.type() == TableType::Ieee519) {
        return table.gridCount() > 1 && table.grid(1).rows > 1;
    }
    return table.gridCount() > 0 && table.grid(0).rows > 0;
}

}  // namespace

void AddTableCommand(CLI::App& app, Context& context, int& status) {
    auto flags = std::make_shared<TableFlags>();
    TableFlags& f = *flags;
    auto* cmd = app.add_subcommand(
        "table",
        "Compute a table of stack items and print its text export, as a table window's "
        "Save does");
    cmd->add_option("--type", f.type,
                    "Table type: minmax, summary, timepoints, freqpoints, harmonic, switching "
                    "or ieee519")
        ->required();
    cmd->add_option("--items", f.items, "Items: 1-based positions or globs over keys")
        ->required()
        ->expected(1, -1);
    cmd->add_option("--pcc-volts", f.pccVolts,
                    "ieee519: PCC bus voltage, volts line to line (default: the settings file)");
    cmd->add_option("--pcc-mva", f.pccMva, "ieee519: PCC short-circuit MVA");
    cmd->add_option("--demand-kva", f.demandKva, "ieee519: average maximum demand, kVA");
    cmd->add_option("--it-limit", f.itLimit, "ieee519: I*T limit");
    cmd->add_option("--highest-harmonic", f.highestHarmonic,
                    "harmonic: highest harmonic shown (default: the preferences)");
    cmd->add_option("--even-harmonics", f.evenHarmonics,
                    "harmonic: show even orders (default: the preferences)")
        ->check(CLI::IsMember({"on", "off"}, CLI::ignore_case));
    cmd->add_flag("--percent", f.percent,
                  "harmonic: harmonic columns in percent of the fundamental");
    cmd->add_option("--separator", f.separator, "Field separator of the text")
        ->check(CLI::IsMember({"tab", "comma"}, CLI::ignore_case));
    // The load's own flags, with its format option renamed: --type names the table type.
    cmd->add_option("FILE", f.source.file,
                    "Alone: a data file loaded first (as load does); in a script the items "
                    "come from earlier lines");
    cmd->add_option("--file-type", f.source.type, "With FILE: format as TYPE[:SUBTYPE]");
    cmd->add_option("--select", f.source.select,
                    "With FILE: load these quantities (1-based, comma list)")
        ->delimiter(',');
    cmd->add_option("--match", f.source.match,
                    "With FILE: load quantities whose line or key matches (repeatable)");
    cmd->callback([&context, &status, flags] {
        const TableFlags& f = *flags;
        const std::optional<TableType> type = ParseType(f.type);
        if (!type) {
            context.err << "kov-cli: " << Format(str::kTableUnknownType, f.type.c_str()) << "\n";
            status = 1;
            return;
        }
        status = LoadSource(context, f.source);
        if (status != 0) return;
        status = 1;

        std::vector<const StackObject*> selection;
        std::unordered_set<const void*> seen;
        for (const std::string& sel : f.items) {
            const std::vector<StackObject*> found = Resolve(context.workbench.stack(), sel);
            if (found.empty()) {
                context.err << "kov-cli: --items " << sel << ": no such stack item\n";
                return;
            }
            for (const StackObject* item : found) AddUnique(selection, seen, item);
        }

        TableOptions options;
        options.highestHarmonic = static_cast<int>(std::clamp<long>(
            context.profile.GetInt("Preferences", "HighestHarmonic", options.highestHarmonic), 0,
            kMaxTableHarmonic));
        options.evenHarmonics = context.profile.GetInt("Preferences", "EvenHarmonics", 0) != 0;
        if (f.highestHarmonic) options.highestHarmonic = *f.highestHarmonic;
        if (f.evenHarmonics) options.evenHarmonics = EqualsNoCase(*f.evenHarmonics, "on");
        options.harmonicPercent = f.percent;
        options.pcc.Load(context.profile);
        if (f.pccVolts) options.pcc.pccVolts = *f.pccVolts;
        if (f.pccMva) options.pcc.pccMva = *f.pccMva;
        if (f.demandKva) options.pcc.maxDemandKva = *f.demandKva;
        if (f.itLimit) options.pcc.itLimit = *f.itLimit;
        if (*type == TableType::Ieee519 && !options.pcc.Valid()) {
            context.err << "kov-cli: " << str::kPccValuesInvalid << "\n";
            return;
        }

        const auto table = BuildTable(*type, selection, options);
        if (!HasItemRows(*table)) {
            context.err << "kov-cli: " << Format(str::kTableNoUsableItems, TableTypeName(*type))
                        << "\n";
            return;
        }
        const char separator = EqualsNoCase(f.separator, "comma") ? ',' : '\t';
        table->StreamText(separator, [&context](std::string_view piece) {
            context.out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
        });
        context.out.flush();
        status = context.out ? 0 : 1;
    });
}

}  // namespace kov::cli
