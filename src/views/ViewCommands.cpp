#include "views/ViewCommands.h"

#include "app/MainWindow.h"

namespace kov {

void InstallViewCommands(CMainFrame& frame) {
    // The graph windows' commands connect here as they are built.
    (void)frame;
}

}  // namespace kov
