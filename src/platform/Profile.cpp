#include "platform/Profile.h"

#include <cstdio>
#include <cstdlib>

namespace kov {

namespace {
constexpr const char* kUnset = "\x01unset";
}

long Profile::GetInt(const std::string& section, const std::string& key, long fallback) const {
    const std::string text = GetString(section, key, kUnset);
    if (text == kUnset) return fallback;
    const char* begin = text.c_str();
    char* end = nullptr;
    const long value = std::strtol(begin, &end, 10);
    return end == begin ? fallback : value;
}

void Profile::SetInt(const std::string& section, const std::string& key, long value) {
    SetString(section, key, std::to_string(value));
}

double Profile::GetDouble(const std::string& section, const std::string& key,
                          double fallback) const {
    const std::string text = GetString(section, key, kUnset);
    if (text == kUnset) return fallback;
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    return end == begin ? fallback : value;
}

void Profile::SetDouble(const std::string& section, const std::string& key, double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    SetString(section, key, buffer);
}

}  // namespace kov
