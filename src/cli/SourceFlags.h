#pragma once
// What the commands that work on stack items share: the items a command
// given alone loads first (FILE and the load command's selection), how it
// prints the stack at its end, and how a stack selection is resolved.

#include <string>
#include <unordered_set>
#include <vector>

namespace CLI {
class App;
}

namespace kov {
class Stack;
class StackObject;
}  // namespace kov

namespace kov::cli {

struct Context;

struct SourceFlags {
    std::string file, type;
    std::vector<std::string> select, match;
    bool json = false, samples = false;
};

// Adds FILE (withFile), --type, --select, --match, --json and --samples.
void AddSourceFlags(CLI::App* command, SourceFlags& flags, bool withFile);
// Loads FILE when one is given; 0 on success or when there is none.
int LoadSource(Context& context, const SourceFlags& flags);
// Prints the stack (plain or JSON) unless the command runs in a script.
void PrintResult(Context& context, const SourceFlags& flags);
// A 1-based stack position, or a glob matched (ignoring case) against the keys.
std::vector<StackObject*> Resolve(const Stack& stack, const std::string& selection);
// Appends the item unless `seen` already holds it (selections that overlap
// name an item once, in the order first named).
template <class Item>
void AddUnique(std::vector<Item*>& chosen, std::unordered_set<const void*>& seen, Item* item) {
    if (seen.insert(item).second) chosen.push_back(item);
}
// The first item a selection names, or null after a message naming the flag.
StackObject* ResolveOne(Context& context, const std::string& selection, const char* flag);

}  // namespace kov::cli
