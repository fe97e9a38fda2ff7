#include "platform/IniProfile.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "platform/Text.h"

namespace kov {

IniProfile::IniProfile(std::filesystem::path path) : path_(std::move(path)) {
    std::ifstream in(path_, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const std::string text = Trim(line);
        if (text.empty() || text[0] == ';' || text[0] == '#') continue;
        if (text.front() == '[' && text.back() == ']') {
            sections_.push_back({Trim(text.substr(1, text.size() - 2)), {}});
            continue;
        }
        const auto eq = text.find('=');
        if (eq == std::string::npos || sections_.empty()) continue;
        sections_.back().entries.emplace_back(Trim(text.substr(0, eq)), Trim(text.substr(eq + 1)));
    }
}

std::filesystem::path IniProfile::DefaultPath() {
    if (const char* dir = std::getenv("KOV_CONFIG_DIR"); dir && *dir)
        return std::filesystem::path(dir) / "KOV.ini";
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".config";
    } else {
        base = ".";
    }
    return base / "Kovatrix" / "KOV.ini";
}

IniProfile::Section* IniProfile::Find(const std::string& section) {
    for (auto& s : sections_)
        if (EqualsNoCase(s.name, section)) return &s;
    return nullptr;
}

const IniProfile::Section* IniProfile::Find(const std::string& section) const {
    for (const auto& s : sections_)
        if (EqualsNoCase(s.name, section)) return &s;
    return nullptr;
}

std::string IniProfile::GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback) const {
    if (const Section* s = Find(section))
        for (const auto& [k, v] : s->entries)
            if (EqualsNoCase(k, key)) return v;
    return fallback;
}

void IniProfile::SetString(const std::string& section, const std::string& key,
                           const std::string& value) {
    Section* s = Find(section);
    if (!s) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    bool found = false;
    for (auto& [k, v] : s->entries)
        if (EqualsNoCase(k, key)) {
            v = value;
            found = true;
            break;
        }
    if (!found) s->entries.emplace_back(key, value);
    Save();
}

void IniProfile::Save() const {
    std::error_code ec;
    if (path_.has_parent_path()) std::filesystem::create_directories(path_.parent_path(), ec);
    // Write a sibling file and rename it over the old one, so a reader never
    // sees a half-written profile.
    const std::filesystem::path temp = path_.string() + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return;
        for (const auto& s : sections_) {
            out << '[' << s.name << "]\n";
            for (const auto& [k, v] : s.entries) out << k << '=' << v << '\n';
            out << '\n';
        }
        if (!out) return;
    }
    std::filesystem::rename(temp, path_, ec);
}

}  // namespace kov
