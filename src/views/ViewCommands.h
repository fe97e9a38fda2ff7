#pragma once
// Connects the commands of the graph (and later table) windows to the main
// window's menu actions.

namespace kov {

class CMainFrame;

void InstallViewCommands(CMainFrame& frame);

}  // namespace kov
