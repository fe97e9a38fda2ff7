#include "views/TableCommands.h"

#include <QAction>

#include "app/MainWindow.h"
#include "views/TableDoc.h"
#include "views/ViewCommands.h"
#include "views/dialogs/TableSelectDialog.h"

namespace kov {

namespace {

void TableSelect(CMainFrame& frame) {
    // The dialog opens on the type of the active table window.
    const auto* active = dynamic_cast<const CTableDoc*>(ActiveDocument(frame));
    CTableSelectDialog dialog(frame.stack(), frame.ui(),
                              active ? active->type() : TableType::MinMax, &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::vector<StackObject*> items = dialog.SelectedItems();
    if (!items.empty()) OpenTable(frame, dialog.type(), items);
}

}  // namespace

CTableDoc* OpenTable(CMainFrame& frame, TableType type, std::span<StackObject* const> items) {
    std::unique_ptr<CTableDoc> doc = [&] {
        WaitCursor wait(frame.ui());
        return MakeTableDoc(type, items, frame.profile(), frame.ui());
    }();
    CTableDoc* raw = doc.get();
    frame.AddDocument(std::move(doc));
    UpdateWindowCommands(frame);
    return raw;
}

void InstallTableCommands(CMainFrame& frame) {
    QAction* action = frame.Command(kCmdTableSelect);
    if (!action) return;
    CMainFrame* f = &frame;
    QObject::connect(action, &QAction::triggered, &frame, [f] { TableSelect(*f); });
    QObject::connect(&frame, &CMainFrame::interfaceFlagsChanged, action,
                     [action](bool, bool stackNotEmpty) { action->setEnabled(stackNotEmpty); });
    action->setEnabled(frame.stackNotEmpty());
}

}  // namespace kov
