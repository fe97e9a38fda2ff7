#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "app/LoadDialogs.h"
#include "views/Kov32Doc.h"
#include "views/ViewCommands.h"

namespace kov {

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), profile_(IniProfile::DefaultPath()), ui_(this) {
    workbench_ = std::make_unique<Workbench>(ui_, profile_, *this);
    workbench_->stack().SetObserver(this);
    setWindowTitle("KOV");
    mdi_ = new QMdiArea(this);
    setCentralWidget(mdi_);
    fileStatus_ = new QLabel(this);
    countStatus_ = new QLabel(this);
    statusBar()->addWidget(fileStatus_, 1);
    statusBar()->addPermanentWidget(countStatus_);
    BuildMenus();
    InstallViewCommands(*this);
    UpdateInterfaceFlags();
    resize(1024, 720);
}

CMainFrame::~CMainFrame() {
    // Documents hold pointers into the stack: close them before the stack goes.
    mdi_->closeAllSubWindows();
    documents_.clear();
    workbench_->stack().SetObserver(nullptr);
}

void CMainFrame::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* open = file->addAction(tr("&Open..."), this, [this] { workbench_->OpenCommand(); });
    commands_[57601] = open;
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    open->setStatusTip(tr("Open an existing data file"));
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close);

    QMenu* stackMenu = menuBar()->addMenu(tr("&Stack"));
    QAction* load =
        stackMenu->addAction(tr("&Load..."), this, [this] { workbench_->LoadCommand(); });
    load->setStatusTip(tr("Load items on the stack from the current attached file"));
    commands_[32775] = load;
}

QAction* CMainFrame::Command(int id) const {
    const auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : it->second;
}

void CMainFrame::AddDocument(std::unique_ptr<CKov32Doc> document) {
    QWidget* window = document->Window();
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

void CMainFrame::SetTitle(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

void CMainFrame::AddRecentFile(const std::string&) {}

void CMainFrame::UpdateInterfaceFlags() {
    Command(32775)->setEnabled(workbench_->hasCurrentFile());
    fileStatus_->setText(QString::fromStdString(workbench_->currentPath()));
    countStatus_->setText(tr("Stack: %1").arg(workbench_->stack().size()));
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
