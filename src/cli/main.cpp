// kov-cli: KOV's core without windows, for scripts, checks and batch work.

#include <iostream>
#include <string>
#include <vector>

#include "cli/CliContext.h"

int main(int argc, char** argv) {
    kov::cli::Context context(std::cout, std::cerr);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return kov::cli::RunCommand(context, arguments);
}
