// The kov-cli commands: formats, list, load, macro, pqdif-dump, script and print.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "cli/AnalysisCommands.h"
#include "cli/CliContext.h"
#include "cli/ExportCommands.h"
#include "cli/StackPrinter.h"
#include "cli/TableCommands.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "pqdif/PqdifDump.h"
#include "readers/FileTypeRegistry.h"
#include "readers/comtrade/ComtradeDataFile.h"

namespace kov::cli {

namespace {

struct OutputFlags {
    bool json = false;
    bool samples = false;
};

void AddOutputFlags(CLI::App* command, OutputFlags& flags) {
    command->add_flag("--json", flags.json, "Print the stack as one JSON array");
    command->add_flag("--samples", flags.samples, "With --json: add the sample arrays");
}

void PrintStack(Context& context, const OutputFlags& flags) {
    if (flags.json)
        PrintStackJson(context.workbench.stack(), flags.samples, context.out);
    else
        PrintStackPlain(context.workbench.stack(), context.out);
}

// Parses "TYPE[:SUBTYPE]"; a missing subtype is the type's first one.
bool ParseType(const Workbench& workbench, const std::string& text, std::uint32_t& typeId,
               std::uint32_t& subtypeId, std::ostream& err) {
    const auto colon = text.find(':');
    try {
        typeId = static_cast<std::uint32_t>(std::stoul(text.substr(0, colon)));
        const FileTypeRegistry& registry = workbench.registry();
        const std::size_t entry = registry.FindEntry(typeId);
        if (colon != std::string::npos) {
            subtypeId = static_cast<std::uint32_t>(std::stoul(text.substr(colon + 1)));
        } else if (entry != FileTypeRegistry::kNotFound) {
            subtypeId = registry.entries()[entry].subtypes.front().subtypeId;
        } else {
            subtypeId = 1;
        }
    } catch (const std::exception&) {
        err << "kov-cli: --type wants TYPE or TYPE:SUBTYPE (numbers), not \"" << text << "\"\n";
        return false;
    }
    return true;
}

// Opens a file as File Open would: by its extension unless a type is given.
// Returns the exit status: 0 when it is the current file, else 2 or 3.
int OpenForCommand(Context& context, const std::string& path, const std::string& type) {
    Workbench& wb = context.workbench;
    std::uint32_t typeId = 0, subtypeId = 0;
    if (!type.empty()) {
        if (!ParseType(wb, type, typeId, subtypeId, context.err)) return 2;
    } else {
        const std::size_t match = wb.registry().MatchExtension(path);
        if (match == FileTypeRegistry::kNotFound) {
            if (!std::filesystem::exists(path)) {
                int status = 0;
                wb.OpenFile(path, &status);  // says "File Not Found" or "No Access Permission"
                return kOpenCannotRead;
            }
            context.ui.MessageBox(str::kWrongFileType, str::kLongProductName, Icon::Exclamation);
            return kOpenWrongType;
        }
        const FilterEntry filter = wb.registry().FilterList()[match];
        typeId = filter.typeId;
        subtypeId = filter.subtypeId;
    }
    int unreadable = kOpenOk;
    if (::access(path.c_str(), R_OK) != 0) {
        wb.OpenFile(path, &unreadable);  // reports the file as File Open's guard does
        return kOpenCannotRead;
    }
    const std::string before = wb.currentPath();
    const DataFile* previous = wb.currentFile();
    const int status = wb.OpenAs(path, typeId, subtypeId);
    if (status != kOpenOk) return status;
    if (wb.currentFile() == previous && wb.currentPath() == before) {
        // Run as a macro, shown as text, or a format that is not read: nothing to list or load.
        return typeId == kTypeMacro || wb.registry().ViewAsText(typeId, subtypeId) ? 0
                                                                                   : kOpenWrongType;
    }
    return kOpenOk;
}

}  // namespace

int RunCommand(Context& context, const std::vector<std::string>& arguments) {
    CLI::App app{"kov-cli: KOV's stack, readers and analysis without windows", "kov-cli"};
    app.require_subcommand(1);
    int status = 0;

    // formats
    auto* formats = app.add_subcommand("formats", "List the registered file formats");
    formats->callback([&] {
        for (const FilterEntry& f : context.workbench.registry().FilterList())
            context.out << f.typeId << '\t' << f.subtypeId << '\t' << f.pattern << '\t' << f.label
                        << '\t' << (f.viewAsText ? "text" : "data") << '\n';
    });

    // list
    std::string listPath, listType, listEncoding;
    auto* list = app.add_subcommand("list", "Print the quantities a file holds");
    list->add_option("FILE", listPath, "Data file")->required();
    list->add_option("--type", listType, "Format as TYPE[:SUBTYPE] instead of by extension");
    list->add_option("--encoding", listEncoding,
                     "Encoding of names that are not UTF-8 (COMTRADE; default WINDOWS-1252)");
    list->callback([&] {
        status = OpenForCommand(context, listPath, listType);
        if (status != 0 || !context.workbench.currentFile()) return;
        if (!listEncoding.empty()) {
            auto* comtrade = dynamic_cast<ComtradeDataFile*>(context.workbench.currentFile());
            if (comtrade && !comtrade->SetEncoding(listEncoding)) {
                context.ui.MessageBox(Format(str::kUnknownEncoding, listEncoding.c_str()),
                                      str::kLongProductName, Icon::Exclamation);
                status = 1;
                return;
            }
        }
        const auto catalogue = context.workbench.currentFile()->Catalogue();
        for (std::size_t i = 0; i < catalogue.size(); ++i)
            context.out << (i + 1) << '\t' << catalogue[i].group << '\t' << catalogue[i].line
                        << '\t' << catalogue[i].key << '\n';
    });

    // load
    std::string loadPath, loadType, loadEncoding, answer = "yes";
    ChoiceFlags choice;
    OutputFlags loadOutput;
    auto* load = app.add_subcommand("load", "Load quantities of a file onto the stack");
    load->add_option("FILE", loadPath, "Data file")->required();
    load->add_option("--type", loadType, "Format as TYPE[:SUBTYPE] instead of by extension");
    load->add_flag("--all", choice.all, "Load every quantity (the default)");
    load->add_option("--select", choice.select, "Load these quantities (1-based, as list prints)")
        ->delimiter(',');
    load->add_option("--match", choice.match,
                     "Load quantities whose line or key matches the pattern (repeatable)");
    load->add_option("--option,-O", choice.options, "Reader option NAME=VALUE (repeatable)");
    load->add_option("--encoding", loadEncoding,
                     "Encoding of names that are not UTF-8 (same as -O encoding=ENC)");
    load->add_option("--answer", answer, "Answer to questions: yes or no")
        ->check(CLI::IsMember({"yes", "no"}));
    AddOutputFlags(load, loadOutput);
    load->callback([&] {
        context.ui.answerYes = answer == "yes";
        status = OpenForCommand(context, loadPath, loadType);
        if (status != 0 || !context.workbench.currentFile()) return;
        context.host.flags = choice;
        if (!loadEncoding.empty())
            context.host.flags->options.push_back(std::string(ComtradeDataFile::kOptionEncoding) +
                                                  "=" + loadEncoding);
        context.host.choiceError.clear();
        context.workbench.LoadCommand();
        context.host.flags.reset();
        if (!context.host.choiceError.empty()) {
            context.err << "kov-cli: " << context.host.choiceError << '\n';
            status = 1;
            return;
        }
        if (!context.inScript) PrintStack(context, loadOutput);
    });

    // macro
    std::string macroPath;
    OutputFlags macroOutput;
    auto* macro = app.add_subcommand("macro", "Run a macro file (.km) on the stack");
    macro->add_option("FILE", macroPath, "Macro file")->required();
    AddOutputFlags(macro, macroOutput);
    macro->callback([&] {
        if (::access(macroPath.c_str(), R_OK) != 0) {
            context.workbench.OpenFile(macroPath);  // reports the missing file
            status = kOpenCannotRead;
            return;
        }
        context.workbench.RunMacro(macroPath);
        if (!context.inScript) PrintStack(context, macroOutput);
    });

    // pqdif-dump
    std::string dumpPath;
    bool dumpJson = false;
    auto* dump = app.add_subcommand(
        "pqdif-dump", "Show a PQDIF file's records, element trees and decoded series");
    dump->add_option("FILE", dumpPath, "PQDIF file")->required();
    dump->add_flag("--json", dumpJson, "Print the dump as JSON");
    dump->callback(
        [&] { status = pqdif::DumpPqdif(dumpPath, dumpJson, context.out, context.err); });

    // print (scripts)
    OutputFlags printOutput;
    auto* print = app.add_subcommand("print", "Print the stack (in scripts)");
    AddOutputFlags(print, printOutput);
    print->callback([&] { PrintStack(context, printOutput); });

    // script
    std::string scriptPath;
    OutputFlags scriptOutput;
    auto* script = app.add_subcommand("script", "Run kov-cli command lines on one stack");
    script->add_option("FILE", scriptPath, "Script file")->required();
    AddOutputFlags(script, scriptOutput);
    script->callback([&] {
        if (context.inScript) {
            context.err << "kov-cli: a script cannot run another script\n";
            status = 1;
            return;
        }
        std::ifstream in(scriptPath);
        if (!in) {
            context.err << "kov-cli: cannot read script " << scriptPath << '\n';
            status = kOpenCannotRead;
            return;
        }
        context.inScript = true;
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            const std::string text = Trim(line);
            if (text.empty() || text[0] == '#') continue;
            std::vector<std::string> words;
            if (!SplitWords(text, words)) {
                context.err << scriptPath << ":" << number << ": unterminated quote\n";
                status = 1;
                break;
            }
            // "print" in a script follows the script's own output flags unless it has its own.
            if (words.size() == 1 && words[0] == "print") {
                if (scriptOutput.json) words.push_back("--json");
                if (scriptOutput.samples) words.push_back("--samples");
            }
            status = RunCommand(context, words);
            if (status != 0) {
                context.err << scriptPath << ":" << number << ": failed with status " << status
                            << '\n';
                break;
            }
        }
        context.inScript = false;
    });

    AddAnalysisCommands(app, context, status);  // expr, calc, units
    AddExportCommand(app, context, status);
    AddTableCommand(app, context, status);

    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, context.out, context.err);
    } catch (const std::exception& e) {
        // A command that failed in a way it did not foresee ends with a
        // message, never with an abort.
        context.err << "kov-cli: " << e.what() << '\n';
        return 1;
    }
    return status;
}

}  // namespace kov::cli
