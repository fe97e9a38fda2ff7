#pragma once
// Table Select: the "Table Quantity Select" dialog and the table windows it opens.

#include <span>

#include "analysis/Tables.h"

namespace kov {

class CMainFrame;
class CTableDoc;
class StackObject;

// Connects Table Select (32783), enabled while the stack is not empty.
void InstallTableCommands(CMainFrame& frame);

// Opens a table window of a type for the items (in selection order) and
// enables the window commands for it. Returns its document.
CTableDoc* OpenTable(CMainFrame& frame, TableType type, std::span<StackObject* const> items);

}  // namespace kov
