// kov-cli table.

#include "cli/TableCommands.h"

namespace kov::cli {

void AddTableCommand(CLI::App&, Context&, int&) {}

}  // namespace kov::cli
