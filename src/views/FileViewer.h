#pragma once
// The file viewer: a text file shown read-only in a document window, in a
// fixed-pitch font. Files of the "view as text" formats open here.

#include <QPlainTextEdit>
#include <QPointer>
#include <string>

#include "views/Kov32Doc.h"

namespace kov {

class CMainFrame;
class Ui;

// The read-only text view of a viewer window; it fills the window.
class CFileView : public QPlainTextEdit {
    Q_OBJECT
public:
    CFileView();
};

// A viewer window's document: the path it shows. It never writes the file
// and never touches the stack.
class CFileDoc : public CKov32Doc {
public:
    explicit CFileDoc(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // Reads the file into the view: every line followed by a line break (CR LF
    // read as one), a last line without one included. A file that cannot be
    // read leaves the view empty after the message "Could not open the file"
    // with the cause (no caption, OK). False then.
    bool Load(Ui& ui);

    bool ShowsItem(const StackObject*) const override { return false; }
    int Rebuild() override { return 0; }
    void RefreshData() override {}
    QWidget* Window() override;
    // Edit Copy: the selected text to the clipboard.
    void Copy() override;
    CFileView* view() const { return view_; }

private:
    std::string path_;
    QPointer<CFileView> view_;
};

// The cause text of a failure to open a file, from its errno value.
const char* FileErrorText(int error);

// Opens the path in a new viewer window titled "File Viewer:" and the path.
void OpenInViewer(CMainFrame& frame, const std::string& path);

}  // namespace kov
