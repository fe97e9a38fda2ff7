#include "app/MainWindow.h"

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <cerrno>
#include <filesystem>

#include "analysis/dialogs/CalculatorCommands.h"
#include "analysis/dialogs/UnitsDialogs.h"
#include "app/AppSettings.h"
#include "app/Associations.h"
#include "app/Help.h"
#include "app/LoadDialogs.h"
#include "app/SingleInstance.h"
#include "app/StartDialogs.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "stack/dialogs/DeleteStackDialog.h"
#include "views/FileViewer.h"
#include "views/GraphDoc.h"
#include "views/GraphModel.h"
#include "views/Kov32Doc.h"
#include "views/TableCommands.h"
#include "views/ViewCommands.h"

// The bundled help pages and tips live in a static library: their resources
// must be registered by name.
static void InitKovResources() {
    Q_INIT_RESOURCE(kov);
}

namespace kov {

namespace {

constexpr int kRecentFileCount = 4;
constexpr const char* kRecentGroup = "Recent File List";

// The web pages of the Help menu. The addresses are placeholders of this
// project until the real pages are known.
struct WebPage {
    int id;
    const char* text;
    const char* url;
};
constexpr WebPage kWebPages[] = {
    {kCmdWebMakerHome, "&Marvane Applications Home Page", "https://kov.example.org/maker/"},
    {kCmdWebProductHome, "&KOV Home Page", "https://kov.example.org/"},
    {kCmdWebProductFaq, "KOV &FAQ", "https://kov.example.org/faq/"},
    {kCmdWebMakerSoftware, "Marvane &Software", "https://kov.example.org/software/"},
    {kCmdWebPqNetwork, "&Power Quality Network", "https://kov.example.org/pq-network/"},
    {kCmdWebPowerMonitoring, "Power &Monitoring", "https://kov.example.org/monitoring/"},
    {kCmdWebTransients, "&Transients Conference", "https://kov.example.org/transients/"},
};

// The platform calculator: the first of these found on PATH.
QString FindCalculator() {
    for (const char* name : {"gnome-calculator", "kcalc", "galculator", "xcalc"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), profile_(IniProfile::DefaultPath()), ui_(this) {
    InitKovResources();
    RegisterReaderLoadDialogs();
    // The last data directory, made to end in "/" (default: the program's folder).
    std::string path = profile_.GetString("General", "PATH", "");
    if (path.empty()) path = QCoreApplication::applicationDirPath().toStdString();
    if (path.empty() || path.back() != '/') path += '/';
    profile_.SetString("General", "PATH", path);

    workbench_ = std::make_unique<Workbench>(ui_, profile_, *this);
    workbench_->stack().SetObserver(this);
    setObjectName("KOVMdiFrameClass");
    setWindowTitle("KOV");
    setWindowIcon(QIcon(":/kov.svg"));
    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    fileStatus_ = new QLabel(this);
    countStatus_ = new QLabel(this);
    statusBar()->addWidget(fileStatus_, 1);
    statusBar()->addPermanentWidget(countStatus_);
    calculator_ = FindCalculator();
    BuildMenus();
    BuildToolBar();
    InstallViewCommands(*this);
    InstallCalculatorCommands(*this);
    InstallTableCommands(*this);
    UpdateRecentFileMenu();
    UpdateInterfaceFlags();
    resize(1024, 720);
}

CMainFrame::~CMainFrame() {
    // Documents hold pointers into the stack: close them before the stack
    // goes. Their windows are deleted here, while this object is still whole,
    // and without the per-window hand-back that would call into it.
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        disconnect(sub, nullptr, this, nullptr);
        delete sub;
    }
    documents_.clear();
    workbench_->stack().SetObserver(nullptr);
}

QAction* CMainFrame::AddCommand(QMenu* menu, int id, const QString& text, const QString& tip,
                                QKeySequence shortcut) {
    QAction* action = menu->addAction(text);
    action->setData(id);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    if (!tip.isEmpty()) action->setStatusTip(tip);
    // Until the work behind a command exists it stays disabled.
    action->setEnabled(false);
    commands_[id] = action;
    return action;
}

void CMainFrame::BuildMenus() {
    const auto on = [](QAction* action, auto slot) {
        action->setEnabled(true);
        QObject::connect(action, &QAction::triggered, action, slot);
    };

    QMenu* file = menuBar()->addMenu(tr("&File"));
    on(AddCommand(file, kCmdOpen, tr("&Open..."), tr("Open an existing data file"),
                  QKeySequence(Qt::CTRL | Qt::Key_O)),
       [this] { workbench_->OpenCommand(); });
    AddCommand(file, kCmdExport, tr("&Export..."), tr("Export the items of the active window"));
    AddCommand(file, kCmdBuildSos, tr("&Build SOS File..."),
               tr("Merge EMTP statistics runs into one SOS file"));
    QAction* calculator =
        AddCommand(file, kCmdCalculator, tr("&Calculator..."), tr("Start the desktop calculator"));
    if (!calculator_.isEmpty()) on(calculator, [this] { StartCalculator(); });
    file->addSeparator();
    AddCommand(file, kCmdPrint, tr("&Print..."), tr("Print the active window"));
    AddCommand(file, kCmdPrintPreview, tr("Print Pre&view"), tr("Preview the printed page"));
    on(AddCommand(file, kCmdPrintSetup, tr("P&rint Setup..."),
                  tr("Choose the printer and the page")),
       [this] {
           QPageSetupDialog dialog(&printer(), this);
           dialog.exec();
       });
    file->addSeparator();
    on(AddCommand(file, kCmdAssociations, tr("&Associations..."),
                  tr("Choose the file types the desktop opens with KOV")),
       [this] {
           CFileAssocDlg dialog(QCoreApplication::applicationFilePath(), this);
           dialog.exec();
       });
    file->addSeparator();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* recent = AddCommand(file, kCmdRecentFile1 + i, QString(), tr("Open this file"));
        recent->setVisible(false);
        recent->setEnabled(true);
        connect(recent, &QAction::triggered, this,
                [this, recent] { OpenPath(recent->property("path").toString().toStdString()); });
    }
    file->addSeparator();
    on(AddCommand(file, kCmdExit, tr("E&xit"), tr("Quit the application")), [this] { close(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    AddCommand(edit, kCmdCopy, tr("&Copy"), tr("Copy the active window to the clipboard"),
               QKeySequence(Qt::CTRL | Qt::Key_C));
    AddCommand(edit, kCmdPasteAndPlot, tr("&Paste WEXMON to Stack and Plot"),
               tr("Paste VEXA CSV text onto the stack and graph it"),
               QKeySequence(Qt::CTRL | Qt::Key_V));
    edit->addSeparator();
    AddCommand(edit, kCmdPreferences, tr("P&references..."), tr("Graph and analysis preferences"));
    AddCommand(edit, kCmdGlobalScale, tr("Global &Scale..."), tr("Scale options of every graph"));
    AddCommand(edit, kCmdGlobalGrid, tr("Global &Grid..."), tr("Grid options of every graph"));

    QMenu* stackMenu = menuBar()->addMenu(tr("&Stack"));
    on(AddCommand(stackMenu, kCmdLoad, tr("&Load..."),
                  tr("Load items on the stack from the current attached file")),
       [this] { workbench_->LoadCommand(); });
    on(AddCommand(stackMenu, kCmdDiscard, tr("&Discard..."), tr("Remove items from the stack")),
       [this] {
           CDeleteStackDialog::Run(workbench_->stack(), this);
           UpdateInterfaceFlags();
       });
    on(AddCommand(stackMenu, kCmdRefresh, tr("&Refresh from Disk"),
                  tr("Update loaded stack items from new disk files, refresh affected graphs "
                     "and tables"),
                  QKeySequence(Qt::CTRL | Qt::Key_R)),
       [this] { workbench_->RefreshStack(); });
    stackMenu->addSeparator();
    const AppliedFunction refresh = [this](const std::vector<StackObject*>& items) {
        RefreshWindowsShowing(items);
    };
    on(AddCommand(stackMenu, kCmdUnits, tr("&Units..."), tr("Set the units of stack items"),
                  QKeySequence(Qt::CTRL | Qt::Key_U)),
       [this, refresh] {
           CUnitsDialog dialog(workbench_->stack(), ui_, refresh, this);
           dialog.exec();
       });
    on(AddCommand(stackMenu, kCmdBaseQuantities, tr("&Base Quantities..."),
                  tr("Set the per-unit bases of stack items"), QKeySequence(Qt::CTRL | Qt::Key_B)),
       [this, refresh] {
           CPerUnitDialog dialog(workbench_->stack(), ui_, refresh, this);
           dialog.exec();
       });
    stackMenu->addSeparator();
    AddCommand(stackMenu, kCmdKovCalc, tr("&Kov Calc..."), tr("Calculate new stack items"),
               QKeySequence(Qt::CTRL | Qt::Key_M));
    AddCommand(stackMenu, kCmdExpression, tr("&Expression..."),
               tr("Make a stack item from an expression"), QKeySequence(Qt::CTRL | Qt::Key_E));

    QMenu* graph = menuBar()->addMenu(tr("&Graph"));
    AddCommand(graph, kCmdNewGraph, tr("&New Graph..."), tr("Graph stack items"),
               QKeySequence(Qt::CTRL | Qt::Key_G));
    AddCommand(graph, kCmdReselect, tr("&Re-select..."), tr("Choose the items of this graph"));
    graph->addSeparator();
    AddCommand(graph, kCmdScale, tr("&Scale..."), tr("Scale options of this graph"));
    AddCommand(graph, kCmdAutoscale, tr("&Autoscale"), tr("Fit the axes to the data"));
    AddCommand(graph, kCmdGrid, tr("&Grid..."), tr("Grid options of this graph"));
    AddCommand(graph, kCmdChartProperties, tr("&Edit Chart Properties..."),
               tr("Colours, fonts and styles of this graph"));
    AddCommand(graph, kCmdText, tr("&Text..."), tr("Titles and text of this graph"));
    AddCommand(graph, kCmdCrosshair, tr("&Crosshair Mode"), tr("Read values off the curves"))
        ->setCheckable(true);

    QMenu* table = menuBar()->addMenu(tr("&Table"));
    AddCommand(table, kCmdTableSelect, tr("&Select..."), tr("Tabulate stack items"));

    windowMenu_ = menuBar()->addMenu(tr("&Window"));
    on(AddCommand(windowMenu_, kCmdCascade, tr("&Cascade"), tr("Arrange windows so they overlap")),
       [this] { mdi_->cascadeSubWindows(); });
    on(AddCommand(windowMenu_, kCmdTile, tr("&Tile"),
                  tr("Arrange windows as non-overlapping tiles")),
       [this] { mdi_->tileSubWindows(); });
    on(AddCommand(windowMenu_, kCmdArrangeIcons, tr("&Arrange Icons"),
                  tr("Arrange minimized windows along the bottom")),
       [this] { ArrangeIcons(); });
    on(AddCommand(windowMenu_, kCmdCloseAll, tr("C&lose All"), tr("Close every document window")),
       [this] { mdi_->closeAllSubWindows(); });
    windowMenu_->addSeparator();
    connect(windowMenu_, &QMenu::aboutToShow, this, &CMainFrame::UpdateWindowMenu);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    on(AddCommand(help, kCmdHelpTopics, tr("&Help Topics"), tr("Show the help pages")),
       [this] { ShowHelp(this); });
    on(AddCommand(help, kCmdTipOfTheDay, tr("&Tip of the Day..."), tr("Show a tip")), [this] {
        CTipDlg dialog(this);
        dialog.exec();
    });
    QMenu* web = help->addMenu(tr("&Web Pages"));
    for (const WebPage& page : kWebPages) {
        const QString url = QString::fromLatin1(page.url);
        on(AddCommand(web, page.id, tr(page.text), url), [this, url] { OpenWebPage(url); });
    }
    help->addSeparator();
    on(AddCommand(help, kCmdAbout, tr("&About Kov..."),
                  tr("Program information, version number and copyright")),
       [this] {
           CAboutDlg dialog(this);
           dialog.exec();
       });
}

void CMainFrame::BuildToolBar() {
    QToolBar* bar = addToolBar(tr("Standard"));
    bar->setObjectName("StandardToolBar");
    bar->setMovable(false);
    const auto add = [&](int id, QStyle::StandardPixmap icon, const QString& text) {
        QAction* action = Command(id);
        action->setIcon(style()->standardIcon(icon));
        action->setIconText(text);
        bar->addAction(action);
    };
    add(kCmdOpen, QStyle::SP_DialogOpenButton, tr("Open"));
    add(kCmdLoad, QStyle::SP_ArrowDown, tr("Load"));
    add(kCmdDiscard, QStyle::SP_TrashIcon, tr("Discard"));
    add(kCmdRefresh, QStyle::SP_BrowserReload, tr("Refresh"));
    bar->addSeparator();
    add(kCmdNewGraph, QStyle::SP_FileDialogDetailedView, tr("New Graph"));
    add(kCmdCopy, QStyle::SP_FileLinkIcon, tr("Copy"));
    add(kCmdPrint, QStyle::SP_DriveFDIcon, tr("Print"));
    bar->addSeparator();
    add(kCmdHelpTopics, QStyle::SP_MessageBoxQuestion, tr("Help"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

QAction* CMainFrame::Command(int id) const {
    const auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : it->second;
}

QPrinter& CMainFrame::printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void CMainFrame::AddDocument(std::unique_ptr<CKov32Doc> document) {
    QWidget* window = document->Window();
    window->setProperty(kDocumentProperty, QVariant::fromValue<void*>(document.get()));
    QMdiSubWindow* sub = mdi_->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    CKov32Doc* raw = document.get();
    connect(sub, &QObject::destroyed, this, [this, raw] { ForgetDocument(raw); });
    documents_.push_back(std::move(document));
    sub->show();
}

void CMainFrame::ForgetDocument(CKov32Doc* document) {
    std::erase_if(documents_, [document](const auto& d) { return d.get() == document; });
}

void CMainFrame::CloseDocumentsShowing(const StackObject& item) {
    std::vector<QWidget*> windows;
    for (const auto& document : documents_)
        if (document->ShowsItem(&item)) windows.push_back(document->Window());
    for (QWidget* window : windows) {
        // The MDI frame around the document's window owns it.
        QWidget* frame = window->parentWidget() ? window->parentWidget() : window;
        frame->close();
        delete frame;
    }
}

void CMainFrame::ItemRemoving(const StackObject& item) {
    CloseDocumentsShowing(item);
}

void CMainFrame::RefreshWindowsShowing(const std::vector<StackObject*>& items) {
    std::set<const StackObject*> set(items.begin(), items.end());
    RebuildWindowsShowing(set);
}

void CMainFrame::ArrangeIcons() {
    // Minimized windows line up along the bottom edge, left to right.
    int x = 0;
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (!sub->isMinimized()) continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > mdi_->viewport()->width()) x = 0;
        sub->move(x, mdi_->viewport()->height() - size.height());
        x += size.width();
    }
}

void CMainFrame::UpdateWindowMenu() {
    for (QAction* action : windowListActions_) {
        windowMenu_->removeAction(action);
        delete action;
    }
    windowListActions_.clear();
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* sub = windows[i];
        QAction* action =
            windowMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(sub->windowTitle()));
        action->setCheckable(true);
        action->setChecked(sub == mdi_->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, sub] { mdi_->setActiveSubWindow(sub); });
        windowListActions_.push_back(action);
    }
}

void CMainFrame::OpenWebPage(const QString& url) {
    if (!QDesktopServices::openUrl(QUrl(url)))
        ui_.MessageBox(str::kNoDefaultBrowser, str::kCantBrowse, Icon::Exclamation);
}

void CMainFrame::StartCalculator() {
    if (!QProcess::startDetached(calculator_, {}))
        ui_.MessageBox(Format(str::kCalculatorFailed, calculator_.toStdString().c_str()),
                       str::kLongProductName, Icon::Exclamation);
}

void CMainFrame::BringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

int CMainFrame::OpenPath(const std::string& path) {
    BringToFront();
    if (::access(path.c_str(), R_OK) != 0) {
        const bool denied = errno == EACCES;
        ui_.MessageBox(path, denied ? str::kNoAccessPermission : str::kFileNotFound,
                       Icon::Exclamation);
        return 0;
    }
    if (EqualsNoCase(std::filesystem::path(path).extension().string(), ".km")) {
        workbench_->RunMacro(path);
        return 1;
    }
    if (!workbench_->OpenFile(path)) {
        ui_.MessageBox(str::kWrongFileType, str::kLongProductName, Icon::Exclamation);
        UpdateInterfaceFlags();
        return 0;
    }
    // The steps after a successful open.
    UpdateInterfaceFlags();
    PostLoad();
    profile_.SetString("General", "PATH", workbench_->lastDirectory());
    SetTitle("KOV - " + workbench_->currentName());
    AddRecentFile(workbench_->currentPath());
    return 1;
}

void CMainFrame::WhenNoModalDialog(std::function<void()> work) {
    if (!QApplication::activeModalWidget()) {
        work();
        return;
    }
    QTimer::singleShot(200, this, [this, work = std::move(work)]() mutable {
        WhenNoModalDialog(std::move(work));
    });
}

bool CMainFrame::HandleShellRequest(const QString& request) {
    if (request == kActivateRequest) {
        BringToFront();
        return true;
    }
    const std::optional<QString> path = ParseOpenCommand(request);
    if (!path) return false;
    BringToFront();
    // Opening replaces the current file: never under a load dialog that uses it.
    WhenNoModalDialog([this, file = path->toStdString()] { OpenPath(file); });
    return true;
}

std::optional<WorkbenchHost::OpenChoice> CMainFrame::ChooseFileToOpen(
    const std::vector<FilterEntry>& filters, std::size_t initialFilter) {
    QStringList names;
    for (const FilterEntry& f : filters) {
        // Patterns match without regard to case, as the registry's extension match does.
        QString pattern = QString::fromStdString(f.pattern);
        if (pattern != "*.*") pattern += " " + pattern.toLower() + " " + pattern.toUpper();
        names << QString::fromStdString(f.label) + " (" + pattern + ")";
    }
    QString selected = initialFilter < static_cast<std::size_t>(names.size())
                           ? names[static_cast<int>(initialFilter)]
                           : QString();
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open"), QString::fromStdString(workbench_->lastDirectory()), names.join(";;"),
        &selected);
    if (path.isEmpty()) return std::nullopt;
    return OpenChoice{path.toStdString(),
                      static_cast<std::size_t>(std::max<qsizetype>(0, names.indexOf(selected)))};
}

std::optional<LoadChoice> CMainFrame::ChooseQuantities(DataFile& reader) {
    return RunLoadDialog(reader, workbench_->stack(), ui_, this);
}

void CMainFrame::PostLoad() {
    QTimer::singleShot(0, this, [this] { workbench_->LoadCommand(); });
}

void CMainFrame::ViewAsText(const std::string& path) {
    OpenInViewer(*this, path);
}

void CMainFrame::QuickGraph(std::span<StackObject* const> items, int mode) {
    if (items.empty()) return;
    GraphSelection selection = InitialSelection(AppPreferences());
    // An unknown mode number draws the items superimposed.
    selection.mode = mode >= kModeSuperimpose && mode <= kModeAutoWindows ? mode : kModeSuperimpose;
    CreateGraphs(*this, items, selection);
}

void CMainFrame::SetTitle(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

QStringList CMainFrame::recentFiles() const {
    QStringList files;
    auto settings = UserSettings();
    settings->beginGroup(kRecentGroup);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString file = settings->value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty()) files << file;
    }
    settings->endGroup();
    return files;
}

void CMainFrame::AddRecentFile(const std::string& path) {
    const QString file = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(file);
    files.prepend(file);
    while (files.size() > kRecentFileCount) files.removeLast();
    auto settings = UserSettings();
    settings->beginGroup(kRecentGroup);
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size())
            settings->setValue(key, files[i - 1]);
        else
            settings->remove(key);
    }
    settings->endGroup();
    UpdateRecentFileMenu();
}

void CMainFrame::UpdateRecentFileMenu() {
    const QStringList files = recentFiles();
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = Command(kCmdRecentFile1 + i);
        if (i < files.size()) {
            QString shown = files[i];
            if (shown.size() > 60) shown = QStringLiteral("...") + shown.right(57);
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
            action->setProperty("path", files[i]);
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
}

void CMainFrame::UpdateInterfaceFlags() {
    const bool file = hasCurrentFile();
    const bool items = stackNotEmpty();
    Command(kCmdLoad)->setEnabled(file);
    Command(kCmdDiscard)->setEnabled(items);
    Command(kCmdRefresh)->setEnabled(items);
    Command(kCmdUnits)->setEnabled(items);
    Command(kCmdBaseQuantities)->setEnabled(items);
    fileStatus_->setText(workbench_->currentPath().empty()
                             ? tr("No current file")
                             : QString::fromStdString(workbench_->currentPath()));
    countStatus_->setText(tr("Stack: %1").arg(workbench_->stack().size()));
    emit interfaceFlagsChanged(file, items);
}

int CMainFrame::RebuildWindowsShowing(const std::set<const StackObject*>& items) {
    int rebuilt = 0;
    for (const auto& document : documents_) {
        const bool shows = std::any_of(items.begin(), items.end(), [&](const StackObject* i) {
            return document->ShowsItem(i);
        });
        if (shows) {
            document->Rebuild();
            ++rebuilt;
        }
    }
    return rebuilt;
}

}  // namespace kov
