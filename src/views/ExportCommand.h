#pragma once
// File Export: writes the active window to a file. Graph windows offer the
// pictures (SVG, PDF, PNG) and the data writers (tab text, comma-separated
// values, IEEE COMTRADE ASCII); table windows tab text and comma-separated
// values. The filter offered first is the last one chosen ("General",
// "SaveGraphType" / "SaveTableType" in KOV.ini, 1-based).

#include <QStringList>
#include <string>

#include "views/Kov32Doc.h"

namespace kov {

class CMainFrame;

// The filters of the save dialog, in filter-index order (index 1 first).
QStringList ExportFilters(ExportKind kind);

// The File Export command: the save dialog ("Export Graph" or "Export
// Table"), then ExportActiveWindow with the chosen file and filter.
void RunExportCommand(CMainFrame& frame);

// Writes the active window to path as filter filterIndex (1-based) of its
// kind; the filter's extension is added when the file name has none. An
// index outside the list answers "Wrong file type"; a file that cannot be
// written is reported (caption "KOV"). False when nothing was written.
bool ExportActiveWindow(CMainFrame& frame, const std::string& path, int filterIndex);

}  // namespace kov
