#pragma once
// Table Select: the "Table Quantity Select" dialog and the table windows it opens.

namespace kov {

class CMainFrame;

// Connects and enables Table Select (32783).
void InstallTableCommands(CMainFrame& frame);

}  // namespace kov
