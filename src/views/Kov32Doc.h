#pragma once
// CKov32Doc: the document base of graph and table windows. The main window
// keeps every open document; when an item leaves the stack it closes the
// documents that show it, and after Refresh from Disk it rebuilds them.

class QWidget;

namespace kov {

class StackObject;

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
};

}  // namespace kov
