#pragma once
// CMainFrame: the main window. It owns the settings file, the Ui, the
// workbench (stack, format registry, current file) and the open documents,
// and carries the menu commands, the toolbar, the status bar (current file,
// stack count) and the four recent files.

#include <QMainWindow>
#include <QString>
#include <functional>
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
class QMenu;
class QPrinter;

namespace kov {

class CKov32Doc;

// Command ids of the menus.
enum CommandId : int {
    kCmdPasteAndPlot = 520,
    kCmdCalculator = 32773,
    kCmdPreferences = 32774,
    kCmdLoad = 32775,
    kCmdDiscard = 32776,
    kCmdKovCalc = 32777,
    kCmdNewGraph = 32778,
    kCmdAutoscale = 32779,
    kCmdCrosshair = 32781,
    kCmdTableSelect = 32783,
    kCmdCloseAll = 32784,
    kCmdUnits = 32786,
    kCmdBaseQuantities = 32787,
    kCmdExport = 32788,
    kCmdBuildSos = 32789,
    kCmdReselect = 32790,
    kCmdScale = 32791,
    kCmdText = 32792,
    kCmdGrid = 32793,
    kCmdWebMakerHome = 32796,
    kCmdWebTransients = 32798,
    kCmdWebPqNetwork = 32799,
    kCmdGlobalScale = 32802,
    kCmdGlobalGrid = 32803,
    kCmdExpression = 32804,
    kCmdWebProductHome = 32805,
    kCmdWebProductFaq = 32806,
    kCmdWebMakerSoftware = 32807,
    kCmdWebPowerMonitoring = 32808,
    kCmdRefresh = 32809,
    kCmdAssociations = 32810,
    kCmdChartProperties = 32840,
    kCmdOpen = 57601,
    kCmdPrintSetup = 57606,
    kCmdPrint = 57607,
    kCmdPrintPreview = 57609,
    kCmdCopy = 57634,
    kCmdArrangeIcons = 57649,
    kCmdCascade = 57650,
    kCmdTile = 57651,
    kCmdRecentFile1 = 57616,  // to 57619
    kCmdAbout = 57664,
    kCmdExit = 57665,
    kCmdHelpTopics = 57667,
    kCmdTipOfTheDay = 32811,
};

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
    // 32775 Stack Load, ...); null for an id the menus do not have. Commands
    // whose work is not built yet are disabled; whoever builds one connects
    // its action's triggered() and enables it.
    QAction* Command(int id) const;

    // Shows a document's window in the MDI area and keeps the document until
    // its window closes.
    void AddDocument(std::unique_ptr<CKov32Doc> document);
    const std::vector<std::unique_ptr<CKov32Doc>>& documents() const { return documents_; }

    // The interface flags: they enable the commands that need them.
    bool hasCurrentFile() const { return workbench_->hasCurrentFile(); }
    bool stackNotEmpty() const { return !workbench_->stack().empty(); }

    // Opens a file for the command line, the shell's open request and the
    // automation method: 1 when it was opened (a macro: run), 0 otherwise
    // (the reason has been shown).
    int OpenPath(const std::string& path);
    // The shell's request "[open(\"path\")]": shows the main window and opens
    // the path; "[activate]" only brings the window to the front; a request
    // of another form is refused (false).
    bool HandleShellRequest(const QString& request);
    // Shows the window restored and in front.
    void BringToFront();
    // Runs `work` now, or, while a modal dialog is open (a load dialog using
    // the current file, a message), as soon as none is.
    void WhenNoModalDialog(std::function<void()> work);

    // The four recent files, most recent first.
    QStringList recentFiles() const;
    // The printer chosen with Print Setup, shared by every view's printing.
    QPrinter& printer();
    // Redraws the windows that show any of the items (after units changed).
    void RefreshWindowsShowing(const std::vector<StackObject*>& items);

    // WorkbenchHost
    std::optional<OpenChoice> ChooseFileToOpen(const std::vector<FilterEntry>& filters,
                                               std::size_t initialFilter) override;
    std::optional<LoadChoice> ChooseQuantities(DataFile& reader) override;
    void PostLoad() override;
    // Files of the text types open in the file viewer.
    void ViewAsText(const std::string& path) override;
    void SetTitle(const std::string& title) override;
    // Macro "quickgraph": graphs the items with the given graph mode.
    void QuickGraph(std::span<StackObject* const> items, int mode) override;
    void AddRecentFile(const std::string& path) override;
    void UpdateInterfaceFlags() override;
    int RebuildWindowsShowing(const std::set<const StackObject*>& items) override;

    // StackObserver: closes the documents that show an item leaving the stack.
    void ItemRemoving(const StackObject& item) override;

signals:
    // After every open, load or discard: graph and table commands that need
    // items connect here to enable themselves.
    void interfaceFlagsChanged(bool hasCurrentFile, bool stackNotEmpty);

private:
    QAction* AddCommand(QMenu* menu, int id, const QString& text, const QString& tip,
                        QKeySequence shortcut = {});
    void BuildMenus();
    void BuildToolBar();
    void UpdateRecentFileMenu();
    void UpdateWindowMenu();
    void ArrangeIcons();
    void OpenWebPage(const QString& url);
    void StartCalculator();
    void CloseDocumentsShowing(const StackObject& item);
    void ForgetDocument(CKov32Doc* document);

    IniProfile profile_;
    QtUi ui_;
    std::unique_ptr<Workbench> workbench_;
    std::vector<std::unique_ptr<CKov32Doc>> documents_;
    QMdiArea* mdi_ = nullptr;
    QLabel* fileStatus_ = nullptr;
    QLabel* countStatus_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    std::vector<QAction*> windowListActions_;
    std::map<int, QAction*> commands_;
    std::unique_ptr<QPrinter> printer_;
    QString calculator_;
};

}  // namespace kov
