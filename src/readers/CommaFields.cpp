#include "readers/CommaFields.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kov {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view SkipBlanks(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    return s.substr(i);
}

// Length of the leading decimal number of s (sign, digits, fraction,
// exponent), or 0 when s does not begin with one.
std::size_t NumberLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

}  // namespace

CommaFields::CommaFields(std::string_view line) : line_(line) {
    // The line ends at its first CR or LF.
    for (std::size_t i = 0; i < line_.size(); ++i) {
        if (line_[i] == '\r' || line_[i] == '\n') {
            line_ = line_.substr(0, i);
            break;
        }
    }
    done_ = line_.empty();
}

bool CommaFields::Next(std::string_view& field) {
    if (done_) return false;
    std::size_t end = line_.find(',', pos_);
    if (end == std::string_view::npos) {
        end = line_.size();
        done_ = true;  // no comma follows: this is the last field
    }
    std::size_t e = end;
    while (e > pos_ && IsBlank(line_[e - 1])) --e;
    field = line_.substr(pos_, e - pos_);
    pos_ = end + 1;
    return true;
}

bool CommaFields::Skip() {
    std::string_view ignored;
    return Next(ignored);
}

bool CommaFields::NextReal(double& target) {
    std::string_view f;
    if (!Next(f)) return false;
    target = FieldToReal(f);
    return true;
}

bool CommaFields::NextInteger(std::int64_t& target) {
    std::string_view f;
    if (!Next(f)) return false;
    target = FieldToInteger(f);
    return true;
}

double FieldToReal(std::string_view field) {
    const std::string_view s = SkipBlanks(field);
    std::string_view number = s.substr(0, NumberLength(s));
    if (number.empty()) return 0.0;
    bool negative = false;
    if (number[0] == '+' || number[0] == '-') {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    double value = 0.0;
    const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Overflow gives the largest finite value, underflow 0.
        const std::size_t e = number.find_first_of("eE");
        const bool huge = e == std::string_view::npos || FieldToInteger(number.substr(e + 1)) > 0;
        value = huge ? std::numeric_limits<double>::max() : 0.0;
    } else if (r.ec != std::errc()) {
        return 0.0;
    }
    if (!std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}

std::int64_t FieldToInteger(std::string_view field) {
    std::string_view s = SkipBlanks(field);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        const int d = s[i] - '0';
        if (value > (kMax - d) / 10) {
            value = kMax;
            while (i < s.size() && IsDigit(s[i])) ++i;
            break;
        }
        value = value * 10 + d;
    }
    return negative ? -value : value;
}

bool FieldIsNumber(std::string_view field) {
    return NumberLength(SkipBlanks(field)) != 0;
}

std::string_view TrimField(std::string_view field) {
    std::size_t b = 0, e = field.size();
    while (b < e && IsBlank(field[b])) ++b;
    while (e > b && IsBlank(field[e - 1])) --e;
    return field.substr(b, e - b);
}

}  // namespace kov
