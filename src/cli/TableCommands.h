#pragma once
// kov-cli table.

namespace CLI {
class App;
}

namespace kov::cli {

struct Context;

void AddTableCommand(CLI::App& app, Context& context, int& status);

}  // namespace kov::cli
