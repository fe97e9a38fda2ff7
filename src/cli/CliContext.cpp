#include "cli/CliContext.h"

#include <fnmatch.h>

#include <fstream>
#include <iostream>

#include "platform/Text.h"

namespace kov::cli {

namespace {
class SilentProgress : public ProgressWindow {
public:
    void SetRange(int) override {}
    void SetPos(int) override {}
    void SetText(const std::string&) override {}
    void SetTitle(const std::string&) override {}
};
}  // namespace

Answer CliUi::ShowMessage(const std::string& text, const std::string& caption, Icon,
                          Buttons buttons) {
    std::cerr << caption << ": " << text << '\n';
    if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) {
        std::cerr << "(answered " << (answerYes ? "yes" : "no") << ")\n";
        return answerYes ? Answer::Yes : Answer::No;
    }
    if (buttons == Buttons::OkCancel) return answerYes ? Answer::Ok : Answer::Cancel;
    if (buttons == Buttons::RetryCancel) return Answer::Cancel;
    return Answer::Ok;
}

std::unique_ptr<ProgressWindow> CliUi::CreateProgress() {
    return std::make_unique<SilentProgress>();
}

std::optional<LoadChoice> CliHost::ChooseQuantities(DataFile& reader) {
    const std::vector<CatalogueEntry> catalogue = reader.Catalogue();
    LoadChoice choice;
    const ChoiceFlags given = flags.value_or(ChoiceFlags{});
    for (const std::string& option : given.options) {
        const auto eq = option.find('=');
        if (eq == std::string::npos) {
            choiceError = "reader option \"" + option + "\" is not NAME=VALUE";
            return std::nullopt;
        }
        choice.options[option.substr(0, eq)] = option.substr(eq + 1);
    }
    const bool byIndex = !given.select.empty();
    const bool byMatch = !given.match.empty();
    for (std::size_t index : given.select) {
        if (index < 1 || index > catalogue.size()) {
            choiceError =
                Format("no quantity %zu in this file (it lists %zu)", index, catalogue.size());
            return std::nullopt;
        }
        choice.indexes.push_back(index - 1);
    }
    if (byMatch) {
        for (std::size_t i = 0; i < catalogue.size(); ++i)
            for (const std::string& pattern : given.match)
                if (::fnmatch(pattern.c_str(), catalogue[i].line.c_str(), FNM_CASEFOLD) == 0 ||
                    ::fnmatch(pattern.c_str(), catalogue[i].key.c_str(), FNM_CASEFOLD) == 0) {
                    choice.indexes.push_back(i);
                    break;
                }
    }
    if (given.all || (!byIndex && !byMatch)) {
        choice.indexes.clear();
        for (std::size_t i = 0; i < catalogue.size(); ++i) choice.indexes.push_back(i);
    }
    return choice;
}

void CliHost::ViewAsText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    out_ << in.rdbuf();
}

void CliHost::QuickGraph(std::span<StackObject* const> items, int mode) {
    std::cerr << "quickgraph: " << items.size() << " item(s), graph mode " << mode << '\n';
}

Context::Context(std::ostream& out_, std::ostream& err_)
    : out(out_),
      err(err_),
      profile(IniProfile::DefaultPath()),
      host(out_),
      workbench(ui, profile, host) {}

bool SplitWords(const std::string& line, std::vector<std::string>& words) {
    words.clear();
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else if (c == '\'') {
            const auto end = line.find('\'', i + 1);
            if (end == std::string::npos) return false;
            word += line.substr(i + 1, end - i - 1);
            i = end;
            inWord = true;
        } else if (c == '"') {
            ++i;
            for (; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() &&
                    std::string_view("\"\\$`").find(line[i + 1]) != std::string_view::npos)
                    ++i;
                word += line[i];
            }
            if (i >= line.size()) return false;
            inWord = true;
        } else if (c == '\\' && i + 1 < line.size()) {
            word += line[++i];
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return true;
}

}  // namespace kov::cli
