#pragma once
// The workbench: what the main window owns for the program's whole life (the
// stack, the format registry, the current file and the last directory) and
// the commands on them that are not windows: Open, Load, macro files and
// Refresh from Disk. The desktop application and kov-cli host it.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>

#include "readers/DataFile.h"
#include "readers/FileTypeRegistry.h"
#include "readers/ReaderFactory.h"
#include "stack/Stack.h"

namespace kov {

class Profile;
class Ui;

// What the workbench needs from the program that hosts it. Every operation
// has a harmless default, so a headless host overrides only what it shows.
class WorkbenchHost {
public:
    virtual ~WorkbenchHost() = default;

    // The Open dialog: the filter list and the filter to preselect (index
    // into the list); the chosen path and filter, or nothing on Cancel.
    struct OpenChoice {
        std::string path;
        std::size_t filterIndex = 0;
    };
    virtual std::optional<OpenChoice> ChooseFileToOpen(const std::vector<FilterEntry>& filters,
                                                       std::size_t initialFilter);
    // The reader's load dialog: which quantities to load, or nothing on Cancel.
    virtual std::optional<LoadChoice> ChooseQuantities(DataFile& reader);
    // Shows a file read-only as text (the file viewer).
    virtual void ViewAsText(const std::string& path);
    // Graphs the items with the given graph mode (macro "quickgraph").
    virtual void QuickGraph(std::span<StackObject* const> items, int mode);
    // Asks the host to run the Load command once the current command ends.
    virtual void PostLoad();
    virtual void SetTitle(const std::string& title);
    virtual void AddRecentFile(const std::string& path);
    // Re-enables commands after the current file or the stack changed.
    virtual void UpdateInterfaceFlags();
    // Rebuilds every graph and table window that shows one of the items;
    // returns how many windows were rebuilt.
    virtual int RebuildWindowsShowing(const std::set<const StackObject*>& items);
};

class Workbench {
public:
    Workbench(Ui& ui, Profile& profile, WorkbenchHost& host);
    ~Workbench();

    Ui& ui() const { return ui_; }
    Profile& profile() const { return profile_; }
    WorkbenchHost& host() const { return host_; }
    Stack& stack() { return stack_; }
    const Stack& stack() const { return stack_; }
    const FileTypeRegistry& registry() const { return registry_; }

    DataFile* currentFile() const { return current_.get(); }
    const std::string& currentPath() const { return currentPath_; }
    const std::string& currentName() const { return currentName_; }  // name with extension
    const std::string& lastDirectory() const { return lastDirectory_; }
    bool hasCurrentFile() const { return current_ != nullptr; }

    // Makes the reader for a file. typeId kTypeByExtension chooses by the
    // extension (and remembers the choice as the last filter); an extension
    // that matches nothing gives no reader and leaves `status` untouched.
    // Otherwise `status` becomes 0, 2 (no reader for this type) or 3 (cannot
    // read the file). `registry` may be null (refresh from disk).
    std::unique_ptr<DataFile> CreateReader(const std::string& path, std::uint32_t typeId,
                                           std::uint32_t subtypeId,
                                           const FileTypeRegistry* registry, int& status);

    // The Open command ("Open an existing data file").
    void OpenCommand();
    // Opens a file chosen as (type id, subtype id), as the Open command does
    // after its dialog: macros run, text types go to the file viewer, other
    // files get their reader, which becomes the current file. Returns the
    // open status (0 also when the file was run or shown instead); a failure
    // has been reported with message 2051 or 2016.
    int OpenAs(const std::string& path, std::uint32_t typeId, std::uint32_t subtypeId);
    // The guarded open of macro lines and shell requests: a clear message for
    // an unreadable file, then the reader chosen by extension, which becomes
    // the current file. True on success; `status` receives the open status
    // (left untouched when no format matches the extension).
    bool OpenFile(const std::string& path, int* status = nullptr);
    // The Load command.
    void LoadCommand();
    // Runs a macro file.
    void RunMacro(const std::string& path);
    // Refresh from Disk.
    void RefreshStack();

    // Replaces the function that makes reader objects (InstantiateReader by
    // default); tests use it to put readers of their own behind the formats.
    using ReaderMaker = std::function<std::unique_ptr<DataFile>(const ReaderSelection&)>;
    void SetReaderMaker(ReaderMaker maker) { makeReader_ = std::move(maker); }

    // Makes `reader` the current file (as a successful open does).
    void SetCurrentFile(std::unique_ptr<DataFile> reader, const std::string& path);

private:
    void AfterOpen();
    void RunMacroLine(const std::string& line, const std::filesystem::path& macroDir);

    Ui& ui_;
    Profile& profile_;
    WorkbenchHost& host_;
    FileTypeRegistry registry_;
    Stack stack_;
    std::unique_ptr<DataFile> current_;
    std::string currentPath_;
    std::string currentName_;
    std::string lastDirectory_;
    ReaderMaker makeReader_ = InstantiateReader;
};

}  // namespace kov
