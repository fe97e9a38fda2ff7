#pragma once
// CMainFrame: the main window. It owns the settings file, the Ui, the
// workbench (stack, format registry, current file) and the open documents,
// and carries the menu commands.

#include <QMainWindow>
#include <map>
#include <memory>
#include <vector>

#include "app/QtUi.h"
#include "platform/IniProfile.h"
#include "readers/Workbench.h"
#include "stack/Stack.h"

class QMdiArea;
class QLabel;
class QAction;

namespace kov {

class CKov32Doc;

class CMainFrame : public QMainWindow, public WorkbenchHost, public StackObserver {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    Workbench& workbench() { return *workbench_; }
    Stack& stack() { return workbench_->stack(); }
    QtUi& ui() { return ui_; }
    Profile& profile() { return profile_; }
    QMdiArea* mdiArea() const { return mdi_; }

    // The menu action of a command, by its command id (57601 File Open,
    // 32775 Stack Load, ...); null for an id the menus do not have.
    QAction* Command(int id) const;

    // Shows a document's window in the MDI area and keeps the document until
    // its window closes.
    void AddDocument(std::unique_ptr<CKov32Doc> document);
    const std::vector<std::unique_ptr<CKov32Doc>>& documents() const { return documents_; }

    // WorkbenchHost
    std::optional<OpenChoice> ChooseFileToOpen(const std::vector<FilterEntry>& filters,
                                               std::size_t initialFilter) override;
    std::optional<LoadChoice> ChooseQuantities(DataFile& reader) override;
    void PostLoad() override;
    void SetTitle(const std::string& title) override;
    void AddRecentFile(const std::string& path) override;
    void UpdateInterfaceFlags() override;
    int RebuildWindowsShowing(const std::set<const StackObject*>& items) override;

    // StackObserver: closes the documents that show an item leaving the stack.
    void ItemRemoving(const StackObject& item) override;

private:
    void BuildMenus();
    void CloseDocumentsShowing(const StackObject& item);
    void ForgetDocument(CKov32Doc* document);

    IniProfile profile_;
    QtUi ui_;
    std::unique_ptr<Workbench> workbench_;
    std::vector<std::unique_ptr<CKov32Doc>> documents_;
    QMdiArea* mdi_ = nullptr;
    QLabel* fileStatus_ = nullptr;
    QLabel* countStatus_ = nullptr;
    std::map<int, QAction*> commands_;
};

}  // namespace kov
