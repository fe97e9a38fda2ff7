#include "views/ExportCommand.h"

#include <QDir>
#include <QFileDialog>
#include <vector>

#include "app/MainWindow.h"
#include "export/DataExport.h"
#include "platform/Strings.h"
#include "platform/Text.h"
#include "stack/PlotableStackObject.h"
#include "views/GraphDoc.h"
#include "views/GraphView.h"
#include "views/ViewCommands.h"

namespace kov {

namespace {

// What a filter index of a kind writes.
enum class Target { Svg, Pdf, Png, TabText, CommaSeparated, Comtrade };

struct Filter {
    const char* text;
    const char* extension;
    Target target;
};

constexpr Filter kGraphFilters[] = {
    {"SVG Picture (*.svg)", ".svg", Target::Svg},
    {"PDF Document (*.pdf)", ".pdf", Target::Pdf},
    {"PNG Picture (*.png)", ".png", Target::Png},
    {"ASCII Tabbed Text File (*.txt)", ".txt", Target::TabText},
    {"Comma Separated Values (*.csv)", ".csv", Target::CommaSeparated},
    {"IEEE COMTRADE ASCII (*.cfg)", ".cfg", Target::Comtrade},
};
constexpr Filter kTableFilters[] = {
    {"ASCII Tabbed Text File (*.txt)", ".txt", Target::TabText},
    {"Comma Separated Values (*.csv)", ".csv", Target::CommaSeparated},
};

std::span<const Filter> FiltersOf(ExportKind kind) {
    if (kind == ExportKind::Graph) return kGraphFilters;
    if (kind == ExportKind::Table) return kTableFilters;
    return {};
}

// The path with the extension added when its file name has none.
std::string WithExtension(const std::string& path, const char* extension) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.find('.') == std::string::npos ? path + extension : path;
}

void CannotWrite(CMainFrame& frame, const char* format, const std::string& path) {
    frame.ui().MessageBox(Format(format, path.c_str()), str::kShortProductName, Icon::Exclamation);
}

bool ExportGraph(CMainFrame& frame, CGraphDoc& doc, const std::string& path, Target target) {
    if (target == Target::Svg || target == Target::Pdf || target == Target::Png) {
        CGraphView* view = doc.view();
        const bool written =
            view && view->SavePicture(QString::fromStdString(path),
                                      target == Target::Svg   ? PictureFormat::Svg
                                      : target == Target::Pdf ? PictureFormat::Pdf
                                                              : PictureFormat::Png);
        if (!written) CannotWrite(frame, str::kCannotWritePicture, path);
        return written;
    }
    std::vector<const PlotableStackObject*> items;
    for (const StackObject* item : doc.items())
        if (const auto* p = dynamic_cast<const PlotableStackObject*>(item)) items.push_back(p);
    if (items.empty()) {
        frame.ui().MessageBox(str::kExportNoItems, str::kShortProductName, Icon::Exclamation);
        return false;
    }
    const GraphPreferences& prefs = AppPreferences();
    ExportSettings settings;
    settings.dateExport = prefs.dateExport != 0;
    if (prefs.baseFrequency > 0.0) settings.lineFrequency = prefs.baseFrequency;
    const ExportFormat format = target == Target::TabText          ? ExportFormat::TabText
                                : target == Target::CommaSeparated ? ExportFormat::CommaSeparated
                                                                   : ExportFormat::Comtrade;
    if (!WriteExport(format, path, items, settings)) {
        CannotWrite(frame, str::kExportCannotWrite, path);
        return false;
    }
    return true;
}

}  // namespace

QStringList ExportFilters(ExportKind kind) {
    QStringList filters;
    for (const Filter& f : FiltersOf(kind)) filters << QString::fromUtf8(f.text);
    return filters;
}

bool ExportActiveWindow(CMainFrame& frame, const std::string& path, int filterIndex) {
    CKov32Doc* doc = ActiveDocument(frame);
    if (!doc || doc->exportKind() == ExportKind::None) return false;
    const std::span<const Filter> filters = FiltersOf(doc->exportKind());
    if (filterIndex < 1 || static_cast<std::size_t>(filterIndex) > filters.size()) {
        frame.ui().MessageBox(str::kWrongExportType, str::kShortProductName, Icon::Exclamation);
        return false;
    }
    const Filter& filter = filters[static_cast<std::size_t>(filterIndex - 1)];
    const std::string file = WithExtension(path, filter.extension);
    if (auto* graph = dynamic_cast<CGraphDoc*>(doc))
        return ExportGraph(frame, *graph, file, filter.target);
    if (!doc->WriteText(file, filter.target == Target::TabText ? '\t' : ',')) {
        CannotWrite(frame, str::kExportCannotWrite, file);
        return false;
    }
    return true;
}

void RunExportCommand(CMainFrame& frame) {
    CKov32Doc* doc = ActiveDocument(frame);
    if (!doc || doc->exportKind() == ExportKind::None) return;
    const bool graph = doc->exportKind() == ExportKind::Graph;
    const QStringList filters = ExportFilters(doc->exportKind());
    const char* key = graph ? "SaveGraphType" : "SaveTableType";
    const long offered = frame.profile().GetInt("General", key, 1);

    // The folder of the last data file opened, as the platform's save dialog
    // would be after the Open dialog; the working folder before any.
    const std::string& folder = frame.workbench().lastDirectory();
    QFileDialog dialog(&frame, graph ? str::kExportGraphTitle : str::kExportTableTitle,
                       folder.empty() ? QDir::currentPath() : QString::fromStdString(folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(filters);
    // The extension of the filter in force is added to a name without one
    // before the dialog asks about overwriting.
    const std::span<const Filter> table = FiltersOf(doc->exportKind());
    auto useFilter = [&dialog, &filters, table](const QString& text) {
        const qsizetype index = filters.indexOf(text);
        if (index >= 0)
            dialog.setDefaultSuffix(table[static_cast<std::size_t>(index)].extension + 1);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useFilter);
    const qsizetype first = offered >= 1 && offered <= filters.size() ? offered - 1 : 0;
    dialog.selectNameFilter(filters[first]);
    useFilter(filters[first]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const int chosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    frame.profile().SetInt("General", key, chosen);
    ExportActiveWindow(frame, dialog.selectedFiles().front().toStdString(), chosen);
}

}  // namespace kov
