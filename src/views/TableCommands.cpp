#include "views/TableCommands.h"

namespace kov {

void InstallTableCommands(CMainFrame&) {}

}  // namespace kov
