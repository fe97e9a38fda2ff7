#pragma once
// Stack Kov Calc and Stack Expression: the calculator and expression dialogs
// opened from the main window, on the run-wide calculator records and
// expression settings. After a dialog closes the main window's interface
// flags are updated, so the stack count and the commands follow new items.

namespace kov {

class CMainFrame;

// Connects and enables Kov Calc (32777, enabled while the stack holds items)
// and Expression (32804, always enabled).
void InstallCalculatorCommands(CMainFrame& frame);

}  // namespace kov
