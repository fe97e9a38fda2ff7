#include "readers/comtrade/ComtradeText.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

#include "platform/Text.h"

namespace kov::comtrade {

namespace {

// Length of the well-formed UTF-8 sequence at s[i], or 0 when there is none.
// `cut` is set when the bytes present are a valid start cut off by the end.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t i, bool* cut = nullptr) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return 1;
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if (i + k >= s.size()) {
            if (cut) *cut = true;
            return 0;
        }
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (k == 1 ? (b < lo || b > hi) : (b < 0x80 || b > 0xBF)) return 0;
    }
    return n;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Windows-1252 0x80..0x9F; the five undefined bytes map to the C1 controls
// of the same value, as web browsers decode them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsWindows1252(const std::string& encoding) {
    return encoding.empty() || EqualsNoCase(encoding, "WINDOWS-1252") ||
           EqualsNoCase(encoding, "CP1252") || EqualsNoCase(encoding, "1252");
}

std::string FromWindows1252(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            AppendUtf8(out, kCp1252High[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
    return out;
}

std::string FromIconv(std::string_view text, const std::string& encoding) {
    iconv_t cd = iconv_open("UTF-8", encoding.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return FromWindows1252(text);
    std::string out;
    out.reserve(text.size() * 3 + 16);
    std::string in(text);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // An invalid or cut sequence: one replacement character, skip a byte.
            AppendUtf8(out, 0xFFFD);
            ++inPtr;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    // iconv's output is UTF-8 already; guard against decoders that let
    // something else through.
    return IsValidUtf8(out) ? out : FromWindows1252(out);
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceLength(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::size_t IncompleteUtf8Tail(std::string_view text) {
    // A cut sequence starts at most 3 bytes before the end.
    const std::size_t from = text.size() > 3 ? text.size() - 3 : 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0xC0) continue;
        bool cut = false;
        if (Utf8SequenceLength(text, i, &cut) == 0 && cut) return text.size() - i;
    }
    return 0;
}

bool IsKnownEncoding(const std::string& encoding) {
    if (IsWindows1252(encoding)) return true;
    iconv_t cd = iconv_open("UTF-8", encoding.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(cd);
    return true;
}

std::string ToUtf8(std::string_view text, const std::string& encoding) {
    if (IsValidUtf8(text)) return std::string(text);
    if (IsWindows1252(encoding)) return FromWindows1252(text);
    if (EqualsNoCase(encoding, "UTF-8") || EqualsNoCase(encoding, "UTF8")) {
        // Declared UTF-8 but not well formed: replace each bad byte.
        std::string out;
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t n = Utf8SequenceLength(text, i);
            if (n == 0) {
                AppendUtf8(out, 0xFFFD);
                ++i;
            } else {
                out.append(text.substr(i, n));
                i += n;
            }
        }
        return out;
    }
    return FromIconv(text, encoding);
}

std::string CutUtf8(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::size_t end = limit;
    // Step back over continuation bytes to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

std::string FirstUtf8Char(std::string_view text) {
    if (text.empty()) return {};
    const std::size_t n = Utf8SequenceLength(text, 0);
    return std::string(text.substr(0, n == 0 ? 1 : n));
}

}  // namespace kov::comtrade
