#pragma once
// kov-cli's analysis commands: expr (the Expression Evaluator), calc (the
// calculator's operations with their option records) and units (units and
// per-unit bases). Each works alone and as a line of a script.

namespace CLI {
class App;
}

namespace kov::cli {

struct Context;

// Adds the three subcommands to the command-line parser; status receives
// each command's exit status.
void AddAnalysisCommands(CLI::App& app, Context& context, int& status);

}  // namespace kov::cli
