#pragma once
// CKov32Doc: the document base of graph, table and file-viewer windows. The
// main window keeps every open document; when an item leaves the stack it
// closes the documents that show it, and after Refresh from Disk it rebuilds
// them. The window commands (Print, Print Preview, Copy, Export) go to the
// document of the active window.

#include <string>

class QWidget;
class QPrinter;

namespace kov {

class StackObject;

// The property of a document's window that names its document (set by the
// main window's AddDocument).
inline constexpr const char* kDocumentProperty = "kovDocument";

// What File Export offers for a window.
enum class ExportKind {
    None,   // nothing to export
    Graph,  // "Export Graph": pictures and the data writers
    Table,  // "Export Table": tab text and comma-separated values
};

class CKov32Doc {
public:
    virtual ~CKov32Doc() = default;

    // True when the item is one of the document's items.
    virtual bool ShowsItem(const StackObject* item) const = 0;
    // Rebuilds the document when it shows the item; returns Rebuild's result, else 0.
    int ItemChanged(const StackObject* item) { return ShowsItem(item) ? Rebuild() : 0; }
    // Rebuilds everything derived from the items and updates the window.
    virtual int Rebuild() = 0;
    // Recomputes the plotted values only and updates the window.
    virtual void RefreshData() = 0;
    // The window that shows the document (closing it ends the document).
    virtual QWidget* Window() = 0;

    // Window commands. A document that cannot print returns false from
    // CanPrint and the print commands stay disabled for its window.
    virtual bool CanPrint() const { return false; }
    virtual void Print(QPrinter& /*printer*/) {}
    // Edit Copy: the window's content (or selection) to the clipboard.
    virtual void Copy() {}
    virtual ExportKind exportKind() const { return ExportKind::None; }
    // Table windows: writes the text export with the separator ('\t' or ',');
    // false when the file cannot be written.
    virtual bool WriteText(const std::string& /*path*/, char /*separator*/) { return false; }
};

}  // namespace kov
