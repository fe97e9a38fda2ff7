#pragma once
// Connects the commands of the graph (and later table) windows to the main
// window's menu actions, and makes graph windows.

#include <span>
#include <vector>

#include "views/GraphModel.h"

namespace kov {

class CMainFrame;
class CGraphDoc;
class CGraphView;
class CKov32Doc;
class StackObject;

void InstallViewCommands(CMainFrame& frame);

// Makes graph windows for items: one window with all of them, or with
// mode 4 one per item, each titled after its first item. With splitByVI the
// items go by the first letter of namePart2 into a voltage ("V") and a current
// ("I") window, superimposed; other items are not graphed. Returns the new
// documents.
std::vector<CGraphDoc*> CreateGraphs(CMainFrame& frame, std::span<StackObject* const> items,
                                     const GraphSelection& selection, bool splitByVI = false);

// The graph of the active MDI window, or null.
CGraphView* ActiveGraph(const CMainFrame& frame);
// The document of the active MDI window (graph, table or file viewer), or null.
CKov32Doc* ActiveDocument(const CMainFrame& frame);
// Enables the window commands (Print, Copy, Export, the graph commands) for
// the active window; new kinds of window call it after AddDocument.
void UpdateWindowCommands(CMainFrame& frame);

}  // namespace kov
