#pragma once
// A readable dump of a PQDIF file for finding out why a file does not load:
// the records in order (type, position, sizes, compression), each body as an
// indented element tree with tag names, physical types and values (long
// vectors abbreviated), and for every observation its decoded series (count,
// first values, minimum, maximum). Text or JSON.

#include <ostream>
#include <string>

namespace kov::pqdif {

// Writes the dump of the file at path to out. Returns 0 when the file was
// dumped (a chain that breaks part-way is dumped up to the break and noted),
// 3 when it cannot be read or is not PQDIF (the reason goes to err).
int DumpPqdif(const std::string& path, bool json, std::ostream& out, std::ostream& err);

}  // namespace kov::pqdif
