#pragma once
// Text of COMTRADE files as valid UTF-8. Station names, channel ids and the
// header file come in whatever the recorder wrote: UTF-8, Latin-1 and
// Windows-1252, CP1251, GBK... Text that is valid UTF-8 is kept; any other
// text is decoded from a named encoding, Windows-1252 unless told otherwise.

#include <string>
#include <string_view>

namespace kov::comtrade {

inline constexpr const char* kDefaultEncoding = "WINDOWS-1252";

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// code points beyond U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Number of bytes at the end of `text` that start a UTF-8 sequence cut short
// (0 when the text ends on a whole character).
std::size_t IncompleteUtf8Tail(std::string_view text);

// True when `encoding` names an encoding ToUtf8 can decode (Windows-1252
// always; the others through the system's iconv).
bool IsKnownEncoding(const std::string& encoding);

// The text as UTF-8: unchanged when it already is valid UTF-8, otherwise
// decoded from `encoding`. Bytes the encoding does not define become U+FFFD.
// An unknown encoding decodes as Windows-1252.
std::string ToUtf8(std::string_view text, const std::string& encoding = kDefaultEncoding);

// Cuts UTF-8 text to at most `limit` bytes without splitting a character.
std::string CutUtf8(std::string_view text, std::size_t limit);

// The first character of UTF-8 text ("" when empty).
std::string FirstUtf8Char(std::string_view text);

}  // namespace kov::comtrade
