#pragma once
// Small text helpers shared by every subsystem.

#include <string>
#include <string_view>

namespace kov {

// ASCII-only case folding: keys, extensions and commands are ASCII.
char ToLowerAscii(char c);
std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// Removes blanks, tabs, CR and LF at both ends.
std::string Trim(std::string_view text);
std::string TrimRight(std::string_view text);

// Cuts text to at most `limit` bytes, never inside a UTF-8 character.
std::string Cut(std::string_view text, std::size_t limit);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kov
