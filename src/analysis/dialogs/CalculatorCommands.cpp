#include "analysis/dialogs/CalculatorCommands.h"

namespace kov {

void InstallCalculatorCommands(CMainFrame&) {}

}  // namespace kov
