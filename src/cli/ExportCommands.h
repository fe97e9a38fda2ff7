#pragma once
// kov-cli export.

namespace CLI {
class App;
}

namespace kov::cli {

struct Context;

void AddExportCommand(CLI::App& app, Context& context, int& status);

}  // namespace kov::cli
