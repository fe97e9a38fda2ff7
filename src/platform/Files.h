#pragma once
// File helpers shared by the writers.

#include <string>

namespace kov {

// Removes a file that a writer could not write whole, so that no truncated
// output passes for a good one. Only regular files are removed: a writer
// pointed at a device (/dev/full) or a FIFO must never delete it.
void RemovePartialFile(const std::string& path);

}  // namespace kov
