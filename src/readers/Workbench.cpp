#include "readers/Workbench.h"

#include <glob.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <map>

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace kov {

namespace fs = std::filesystem;

namespace {
constexpr const char* kGeneral = "General";
constexpr std::size_t kMacroLineLimit = 63;
}  // namespace

// The default host shows nothing and chooses nothing.
std::optional<WorkbenchHost::OpenChoice> WorkbenchHost::ChooseFileToOpen(
    const std::vector<FilterEntry>&, std::size_t) {
    return std::nullopt;
}
std::optional<LoadChoice> WorkbenchHost::ChooseQuantities(DataFile&) {
    return std::nullopt;
}
void WorkbenchHost::ViewAsText(const std::string&) {}
void WorkbenchHost::QuickGraph(std::span<StackObject* const>, int) {}
void WorkbenchHost::PostLoad() {}
void WorkbenchHost::SetTitle(const std::string&) {}
void WorkbenchHost::AddRecentFile(const std::string&) {}
void WorkbenchHost::UpdateInterfaceFlags() {}
int WorkbenchHost::RebuildWindowsShowing(const std::set<const StackObject*>&) {
    return 0;
}

Workbench::Workbench(Ui& ui, Profile& profile, WorkbenchHost& host)
    : ui_(ui), profile_(profile), host_(host), stack_(ui) {
    lastDirectory_ = profile_.GetString(kGeneral, "PATH", "");
}

Workbench::~Workbench() = default;

std::unique_ptr<DataFile> Workbench::CreateReader(const std::string& path, std::uint32_t typeId,
                                                  std::uint32_t subtypeId,
                                                  const FileTypeRegistry* registry, int& status) {
    if (typeId == kTypeByExtension) {
        const FileTypeRegistry& lookup = registry ? *registry : registry_;
        const std::size_t match = lookup.MatchExtension(path);
        if (match == FileTypeRegistry::kNotFound) return nullptr;
        const FilterEntry filter = lookup.FilterList()[match];
        typeId = filter.typeId;
        subtypeId = filter.subtypeId;
        profile_.SetInt(kGeneral, "FILTER", typeId);
        profile_.SetInt(kGeneral, "SUBTYPE", subtypeId);
    }

    std::unique_ptr<DataFile> reader;
    {
        WaitCursor wait(ui_);
        status = kOpenOk;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            status = kOpenCannotRead;
        } else {
            const ReaderSelection selection = SelectReader(typeId, subtypeId, file);
            if (selection.readerClass == ReaderClass::None) {
                status = selection.status;
            } else {
                reader = makeReader_(selection);
                if (!reader) {
                    status = kOpenWrongType;  // no reader for this format in this build
                } else {
                    reader->SetPath(path);
                    std::rewind(file);
                    const int check = reader->CheckFile(file);
                    if (check != 0) {
                        status = check;
                        reader.reset();
                    } else if (!reader->ReadHeader(file)) {
                        status = kOpenCannotRead;
                        reader.reset();
                    }
                }
            }
            std::fclose(file);
        }
    }
    host_.AddRecentFile(path);
    return reader;
}

void Workbench::SetCurrentFile(std::unique_ptr<DataFile> reader, const std::string& path) {
    current_ = std::move(reader);
    const fs::path p(path);
    currentPath_ = path;
    currentName_ = p.filename().string();
    std::string dir = p.parent_path().string();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    lastDirectory_ = dir;
}

void Workbench::AfterOpen() {
    host_.UpdateInterfaceFlags();
    host_.PostLoad();
    profile_.SetString(kGeneral, "PATH", lastDirectory_);
    host_.SetTitle("KOV - " + currentName_);
    host_.AddRecentFile(currentPath_);
}

void Workbench::OpenCommand() {
    const std::vector<FilterEntry> filters = registry_.FilterList();
    const long lastType = profile_.GetInt(kGeneral, "FILTER", 0);
    const long lastSubtype = profile_.GetInt(kGeneral, "SUBTYPE", 0);
    std::size_t initial = registry_.FindFilterIndex(static_cast<std::uint32_t>(lastType),
                                                    static_cast<std::uint32_t>(lastSubtype));
    if (initial == FileTypeRegistry::kNotFound) initial = 0;

    const auto choice = host_.ChooseFileToOpen(filters, initial);
    if (!choice || choice->filterIndex >= filters.size()) return;
    const FilterEntry& filter = filters[choice->filterIndex];
    profile_.SetInt(kGeneral, "FILTER", filter.typeId);
    profile_.SetInt(kGeneral, "SUBTYPE", filter.subtypeId);
    OpenAs(choice->path, filter.typeId, filter.subtypeId);
}

int Workbench::OpenAs(const std::string& path, std::uint32_t typeId, std::uint32_t subtypeId) {
    if (typeId == kTypeMacro) {
        RunMacro(path);
        return kOpenOk;
    }
    if (registry_.ViewAsText(typeId, subtypeId)) {
        host_.ViewAsText(path);
        return kOpenOk;
    }
    int status = kOpenOk;
    std::unique_ptr<DataFile> reader = CreateReader(path, typeId, subtypeId, &registry_, status);
    if (!reader) {
        if (status == kOpenWrongType) {
            ui_.MessageBox(str::kWrongFileType, str::kLongProductName, Icon::Exclamation);
        } else if (status != kOpenOk) {
            ui_.MessageBox(Format(str::kErrorReadingFile, fs::path(path).filename().c_str()),
                           str::kLongProductName, Icon::Exclamation);
        }
        return status;
    }
    SetCurrentFile(std::move(reader), fs::absolute(path).lexically_normal().string());
    AfterOpen();
    return kOpenOk;
}

bool Workbench::OpenFile(const std::string& path, int* status) {
    if (::access(path.c_str(), R_OK) != 0) {
        const bool denied = errno == EACCES;
        ui_.MessageBox(path, denied ? str::kNoAccessPermission : str::kFileNotFound,
                       Icon::Exclamation);
        if (status) *status = kOpenCannotRead;
        return false;
    }
    const std::string absolute = fs::absolute(path).lexically_normal().string();
    int openStatus = -1;
    std::unique_ptr<DataFile> reader =
        CreateReader(absolute, kTypeByExtension, 0, &registry_, openStatus);
    if (status && openStatus >= 0) *status = openStatus;
    if (!reader) return false;
    SetCurrentFile(std::move(reader), absolute);
    return true;
}

void Workbench::LoadCommand() {
    if (current_) {
        stack_.ClearConflictFlag();
        current_->Load(*this);
    } else {
        ui_.MessageBox(str::kNoCurrentFile, str::kLongProductName, Icon::Exclamation);
    }
    host_.UpdateInterfaceFlags();
}

namespace {

bool IsSeparator(char c, bool parentheses) {
    return c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n' ||
           (parentheses && (c == '(' || c == ')'));
}

// Splits off the first token of `rest`, skipping separators before it; `rest`
// keeps the text after the token.
std::string NextToken(std::string_view& rest, bool parentheses = false) {
    std::size_t b = 0;
    while (b < rest.size() && IsSeparator(rest[b], parentheses)) ++b;
    std::size_t e = b;
    while (e < rest.size() && !IsSeparator(rest[e], parentheses)) ++e;
    std::string token(rest.substr(b, e - b));
    rest.remove_prefix(e);
    return token;
}

// A path argument: the rest of the line less surrounding separators and quotes.
std::string PathArgument(std::string_view rest) {
    std::string text = Trim(rest);
    while (!text.empty() && (text.front() == ',' || text.front() == ' ')) text.erase(0, 1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

// Resolves a path named in a macro: against the current directory, and when
// nothing is there, against the macro file's own folder.
std::string ResolveMacroPath(const std::string& path, const fs::path& macroDir) {
    const fs::path p(path);
    std::error_code ec;
    if (p.is_absolute() || fs::exists(p, ec) || macroDir.empty()) return path;
    const fs::path beside = macroDir / p;
    return fs::exists(beside, ec) ? beside.string() : path;
}

}  // namespace

void Workbench::RunMacroLine(const std::string& line, const fs::path& macroDir) {
    std::string_view rest = line;
    const std::string command = NextToken(rest);
    if (EqualsNoCase(command, "open")) {
        if (OpenFile(ResolveMacroPath(PathArgument(rest), macroDir))) {
            profile_.SetString(kGeneral, "PATH", lastDirectory_);
            host_.SetTitle("KOV - " + currentName_);
        }
    } else if (EqualsNoCase(command, "load")) {
        if (current_) {
            stack_.ClearConflictFlag();
            current_->LoadByNames(*this, std::string(rest));
        }
    } else if (EqualsNoCase(command, "loadfiles")) {
        const std::string pattern = ResolveMacroPath(NextToken(rest), macroDir);
        std::vector<std::string> files;
        glob_t matches{};
        if (::glob(pattern.c_str(), 0, nullptr, &matches) == 0)
            for (std::size_t i = 0; i < matches.gl_pathc; ++i)
                files.emplace_back(matches.gl_pathv[i]);
        ::globfree(&matches);
        std::sort(files.begin(), files.end());
        const std::string arguments(rest);
        bool opened = false;
        for (const std::string& file : files) {
            if (!OpenFile(file)) continue;
            opened = true;
            stack_.ClearConflictFlag();
            current_->LoadByNames(*this, arguments);
        }
        if (opened) {
            profile_.SetString(kGeneral, "PATH", lastDirectory_);
            host_.SetTitle("KOV - " + currentName_);
        }
    } else if (EqualsNoCase(command, "quickgraph")) {
        std::string_view args = rest;
        const std::string which = NextToken(args, true);
        const std::string mode = NextToken(args, true);
        if (EqualsNoCase(which, "all")) {
            const std::vector<StackObject*> items = stack_.GetAll();
            host_.QuickGraph(items, std::atoi(mode.c_str()));
        }
    }
}

void Workbench::RunMacro(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const fs::path macroDir = fs::path(path).parent_path();
    if (in) {
        // Lines are read in pieces of at most 63 characters; each piece is
        // taken as a line of its own.
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty()) {
                RunMacroLine(line, macroDir);
                continue;
            }
            for (std::size_t at = 0; at < line.size(); at += kMacroLineLimit)
                RunMacroLine(line.substr(at, kMacroLineLimit), macroDir);
        }
    }
    host_.UpdateInterfaceFlags();
    host_.AddRecentFile(path);
}

void Workbench::RefreshStack() {
    struct Mapped {
        std::uint32_t typeId;
        std::uint32_t subtypeId;
    };
    static const std::map<std::string, Mapped> kRefreshable = {
        {".pl4", {kTypeEmtpPl4, kSubtypePl4}},
        {".oso", {kTypeOstrell, 1}},
        {".qlo", {kTypeQuillon, 1}},
        {".elt", {kTypeEpriElt, 1}},
        {".inf", {kTypeEmtdc, 1}},
    };
    std::map<std::string, Mapped> files;  // ordered: each file visited once
    for (const StackObject* item : stack_.GetAll()) {
        const std::string source = Cut(item->sourcePath(), 260);
        const auto it = kRefreshable.find(ToLower(fs::path(source).extension().string()));
        if (it != kRefreshable.end()) files.emplace(source, it->second);
    }

    std::set<const StackObject*> refreshed;
    int count = 0;
    for (const auto& [file, pair] : files) {
        int status = kOpenOk;
        std::unique_ptr<DataFile> reader =
            CreateReader(file, pair.typeId, pair.subtypeId, nullptr, status);
        if (!reader) continue;
        reader->SetPath(file);
        count += reader->RefreshItems(stack_, ui_, refreshed);
    }

    if (count == 0) {
        ui_.MessageBox(str::kNothingRefreshed, str::kStackRefresh, Icon::Information);
        return;
    }
    if (host_.RebuildWindowsShowing(refreshed) == 0)
        ui_.MessageBox(str::kNoWindowsRefreshed, str::kStackRefresh, Icon::Information);
}

}  // namespace kov
