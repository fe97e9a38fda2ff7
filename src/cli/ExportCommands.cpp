// kov-cli export.

#include "cli/ExportCommands.h"

namespace kov::cli {

void AddExportCommand(CLI::App&, Context&, int&) {}

}  // namespace kov::cli
