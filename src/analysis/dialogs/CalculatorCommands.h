#pragma once
// Stack Kov Calc and Stack Expression: the calculator and expression dialogs
// opened from the main window.

namespace kov {

class CMainFrame;

// Connects and enables Kov Calc (32777) and Expression (32804).
void InstallCalculatorCommands(CMainFrame& frame);

}  // namespace kov
