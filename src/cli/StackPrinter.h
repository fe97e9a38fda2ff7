#pragma once
// Prints the stack: one plain line per item (key, kind tag, point count), or
// one JSON array with an object per item.

#include <iosfwd>

namespace kov {
class Stack;
}

namespace kov::cli {

void PrintStackPlain(const Stack& stack, std::ostream& out);
void PrintStackJson(const Stack& stack, bool withSamples, std::ostream& out);

}  // namespace kov::cli
