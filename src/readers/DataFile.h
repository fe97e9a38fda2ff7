#pragma once
// DataFile: the interface every format reader implements.
//
// A reader is made for one file by CreateReader: CheckFile takes a first look
// at the opened file, ReadHeader reads its catalogue of quantities. Loading is
// split in three so the desktop dialog, macro lines and kov-cli share one
// path: Catalogue lists what the file holds (the lines a load dialog shows,
// each with the stack key its item would get), a LoadChoice says which of them
// to load and with which options, and LoadChoice pushes the chosen quantities
// onto the stack.

#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kov {

class Stack;
class StackObject;
class Ui;
class Workbench;

// One quantity a file holds.
struct CatalogueEntry {
    std::string group;  // the list or section it appears in ("Analog", "Digital", ...)
    std::string line;   // the text its load dialog shows
    std::string key;    // the stack key its item would get
};

// Which catalogue entries to load (0-based indexes) and reader options by name
// (point windows, scaling choices, ...; each reader documents its own).
struct LoadChoice {
    std::vector<std::size_t> indexes;
    std::map<std::string, std::string> options;
};

class DataFile {
public:
    virtual ~DataFile() = default;
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    const std::string& path() const { return path_; }
    void SetPath(std::string path) { path_ = std::move(path); }

    // First look at the opened file; 0 lets the header be read, anything
    // else is the open status reported to the user.
    virtual int CheckFile(std::FILE* file);
    // Reads the file's catalogue; true when the file is usable.
    virtual bool ReadHeader(std::FILE* file) = 0;

    // The quantities the file holds, in the order its load dialog lists them.
    virtual std::vector<CatalogueEntry> Catalogue() const = 0;
    // Loads the chosen quantities, skipping those whose key is already on
    // the stack. Returns false when the load failed or was refused (its
    // message has been shown through ui).
    virtual bool LoadChoice(Stack& stack, Ui& ui, const kov::LoadChoice& choice) = 0;

    // Runs the reader's load dialog (through the workbench's host) and loads
    // what the user chose.
    virtual bool Load(Workbench& workbench);
    // Loads the quantities named in a macro line, without a dialog. The base
    // loads nothing and returns 0.
    virtual int LoadByNames(Workbench& workbench, const std::string& arguments);
    // Re-reads, from this file, the values of every stack item that came
    // from it; adds each item re-read to `refreshed` and returns their number.
    virtual int RefreshItems(Stack& stack, Ui& ui, std::set<const StackObject*>& refreshed);

protected:
    DataFile() = default;

private:
    std::string path_;
};

}  // namespace kov
