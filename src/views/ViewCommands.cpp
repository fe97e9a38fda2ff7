#include "views/ViewCommands.h"

#include <qcustomplot.h>
#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/MainWindow.h"
#include "platform/Strings.h"
#include "views/ExportCommand.h"
#include "views/GraphDoc.h"
#include "views/GraphView.h"
#include "views/dialogs/GraphEditDialogs.h"
#include "views/dialogs/GraphSelectDialog.h"
#include "views/dialogs/PreferencesDialog.h"

namespace kov {

namespace {

// Graph commands: Re-select, Scale, Autoscale, Grid, Edit Chart Properties,
// Text, Crosshair Mode. Print, Print Preview, Copy and File Export go to the
// document of the active window, whatever its kind. (Print Setup belongs to
// the main window, which keeps the printer.)
constexpr int kGraphCommands[] = {32790, 32791, 32779, 32793, 32840, 32792, 32781};

void Connect(CMainFrame& frame, int id, std::function<void()> handler) {
    QAction* action = frame.Command(id);
    if (!action) return;
    QObject::connect(action, &QAction::triggered, &frame,
                     [handler = std::move(handler)] { handler(); });
}

void NotSupported(CMainFrame& frame, const char* text) {
    frame.ui().MessageBox(text, str::kNotSupportedCaption, Icon::Exclamation);
}

void NewGraph(CMainFrame& frame) {
    CGraphSelectDialog dialog(frame.stack(), frame.ui(), AppPreferences(), &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::vector<StackObject*> items = dialog.SelectedItems();
    if (items.empty()) return;
    CreateGraphs(frame, items, dialog.selection());
}

void Reselect(CMainFrame& frame, CGraphView& view) {
    CGraphDoc& doc = view.document();
    CReselectDialog dialog(frame.stack(), doc.items(), doc.options().mode, frame.ui(), &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    doc.SetItems(dialog.items());
}

void Scale(CMainFrame& frame, CGraphView& view) {
    CGraphDoc& doc = view.document();
    if (doc.flags().hist3d) return NotSupported(frame, str::kNoScaling3D);
    CScaleDialog dialog(doc.options().scale, doc.xExtent(), doc.yExtent(), frame.ui(), &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    doc.options().scale = dialog.options();
    doc.Rebuild();
}

void Grid(CMainFrame& frame, CGraphView& view) {
    CGraphDoc& doc = view.document();
    if (doc.flags().hist3d) return NotSupported(frame, str::kNoGridStyles3D);
    CGridDialog dialog(doc.options().grid, &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    doc.options().grid = dialog.options();
    doc.Rebuild();
}

void Text(CMainFrame& frame, CGraphView& view) {
    CGraphDoc& doc = view.document();
    CTextDialog dialog(doc, &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    doc.texts() = dialog.texts();
    doc.options().legend = dialog.legend();
    doc.options().comments = dialog.comments();
    doc.options().dataBlock = dialog.dataBlock();
    doc.options().subtitlesBelow = dialog.subtitlesBelow();
    doc.Rebuild();
}

void ChartProperties(CMainFrame& frame, CGraphView& view) {
    // The graph's own colours, line styles and options, without touching KOV.ini.
    CGraphDoc& doc = view.document();
    CPreferencesDialog dialog(doc.preferences(), frame.ui(), &frame);
    dialog.setWindowTitle(QObject::tr("Edit Chart Properties"));
    if (dialog.exec() != QDialog::Accepted) return;
    doc.SetPreferences(dialog.preferences());
    doc.Rebuild();
}

void Crosshair(CMainFrame& frame, CGraphView& view) {
    if (view.document().flags().hist3d) {
        NotSupported(frame, str::kNoCrosshairs3D);
        view.document().Rebuild();
    } else {
        view.SetCrosshair(!view.crosshair());
    }
    UpdateWindowCommands(frame);
}

void GlobalScale(CMainFrame& frame) {
    GraphPreferences& prefs = AppPreferences();
    CScaleDialog dialog(prefs.scale, Extent{}, Extent{}, frame.ui(), &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    prefs.scale = dialog.options();
    prefs.Save(frame.profile());
}

void GlobalGrid(CMainFrame& frame) {
    GraphPreferences& prefs = AppPreferences();
    CGridDialog dialog(prefs.grid, &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    prefs.grid = dialog.options();
    prefs.Save(frame.profile());
}

void Preferences(CMainFrame& frame) {
    CPreferencesDialog dialog(AppPreferences(), frame.ui(), &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    AppPreferences() = dialog.preferences();
    AppPreferences().Save(frame.profile());
}

}  // namespace

CKov32Doc* ActiveDocument(const CMainFrame& frame) {
    QMdiSubWindow* sub = frame.mdiArea()->currentSubWindow();
    if (!sub) sub = frame.mdiArea()->activeSubWindow();
    if (!sub || !sub->widget()) return nullptr;
    // AddDocument marks each document's window; asking the documents for
    // their windows could make a new one for a document whose window is
    // being destroyed.
    const auto* marked =
        static_cast<CKov32Doc*>(sub->widget()->property(kDocumentProperty).value<void*>());
    for (const auto& doc : frame.documents())
        if (doc.get() == marked) return doc.get();
    return nullptr;
}

void UpdateWindowCommands(CMainFrame& frame) {
    CGraphView* view = ActiveGraph(frame);
    for (int id : kGraphCommands)
        if (QAction* action = frame.Command(id)) action->setEnabled(view != nullptr);
    CKov32Doc* doc = ActiveDocument(frame);
    const bool canPrint = doc && doc->CanPrint();
    for (int id : {57607, 57609})
        if (QAction* action = frame.Command(id)) action->setEnabled(canPrint);
    if (QAction* copy = frame.Command(57634)) copy->setEnabled(doc != nullptr);
    if (QAction* exportCommand = frame.Command(32788))
        exportCommand->setEnabled(doc && doc->exportKind() != ExportKind::None);
    if (QAction* crosshair = frame.Command(32781)) {
        crosshair->setCheckable(true);
        crosshair->setChecked(view && view->crosshair());
    }
}

CGraphView* ActiveGraph(const CMainFrame& frame) {
    QMdiSubWindow* sub = frame.mdiArea()->currentSubWindow();
    if (!sub) sub = frame.mdiArea()->activeSubWindow();
    return sub ? qobject_cast<CGraphView*>(sub->widget()) : nullptr;
}

std::vector<CGraphDoc*> CreateGraphs(CMainFrame& frame, std::span<StackObject* const> items,
                                     const GraphSelection& selection, bool splitByVI) {
    std::vector<CGraphDoc*> made;
    auto make = [&](std::span<StackObject* const> set, int mode) {
        if (set.empty()) return;
        auto doc = std::make_unique<CGraphDoc>(AppPreferences());
        doc->SetupGraph(mode, selection.xQuantity, selection.yQuantity, selection.xScale == kXLog,
                        selection.xScale == kXProb, selection.logY, selection.polar, set);
        made.push_back(doc.get());
        frame.AddDocument(std::move(doc));
    };
    if (splitByVI) {
        std::vector<StackObject*> voltages, currents;
        for (StackObject* item : items) {
            const char first = item->namePart2().empty() ? '\0' : item->namePart2().front();
            if (first == 'V') voltages.push_back(item);
            if (first == 'I') currents.push_back(item);
        }
        make(voltages, kModeSuperimpose);
        make(currents, kModeSuperimpose);
    } else if (selection.mode == kModeAutoWindows) {
        for (StackObject* item : items)
            make(std::span<StackObject* const>(&item, 1), kModeSuperimpose);
    } else {
        make(items, selection.mode);
    }
    if (!made.empty()) UpdateWindowCommands(frame);
    return made;
}

void InstallViewCommands(CMainFrame& frame) {
    AppPreferences().Load(frame.profile());
    CMainFrame* f = &frame;
    auto onGraph = [f](void (*command)(CMainFrame&, CGraphView&)) {
        return [f, command] {
            if (CGraphView* view = ActiveGraph(*f)) command(*f, *view);
        };
    };
    Connect(frame, 32778, [f] { NewGraph(*f); });
    Connect(frame, 32790, onGraph(Reselect));
    Connect(frame, 32791, onGraph(Scale));
    Connect(frame, 32779, onGraph([](CMainFrame&, CGraphView& v) { v.Autoscale(); }));
    Connect(frame, 32793, onGraph(Grid));
    Connect(frame, 32840, onGraph(ChartProperties));
    Connect(frame, 32792, onGraph(Text));
    Connect(frame, 32781, onGraph(Crosshair));
    Connect(frame, 32788, [f] { RunExportCommand(*f); });
    Connect(frame, 57634, [f] {
        if (CKov32Doc* doc = ActiveDocument(*f)) doc->Copy();
    });
    Connect(frame, 57607, [f] {
        CKov32Doc* doc = ActiveDocument(*f);
        if (!doc || !doc->CanPrint()) return;
        QPrintDialog dialog(&f->printer(), f);
        if (dialog.exec() == QDialog::Accepted) doc->Print(f->printer());
    });
    Connect(frame, 57609, [f] {
        CKov32Doc* doc = ActiveDocument(*f);
        if (!doc || !doc->CanPrint()) return;
        QPrintPreviewDialog preview(&f->printer(), f);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, f,
                         [doc](QPrinter* printer) { doc->Print(*printer); });
        preview.exec();
    });
    Connect(frame, 32774, [f] { Preferences(*f); });
    Connect(frame, 32802, [f] { GlobalScale(*f); });
    Connect(frame, 32803, [f] { GlobalGrid(*f); });
    for (int id : {32778, 32774, 32802, 32803})
        if (QAction* action = frame.Command(id)) action->setEnabled(true);
    QObject::connect(frame.mdiArea(), &QMdiArea::subWindowActivated, &frame,
                     [f] { UpdateWindowCommands(*f); });
    UpdateWindowCommands(frame);
}

}  // namespace kov
