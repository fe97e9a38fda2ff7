#pragma once
// KOV.ini on disk. The file is read once when the profile is made and written
// back after every change, so two programs sharing it see each other's last
// write and a crash never loses a setting that was already stored.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/Profile.h"

namespace kov {

class IniProfile : public Profile {
public:
    explicit IniProfile(std::filesystem::path path);

    // $KOV_CONFIG_DIR/KOV.ini when that variable is set, otherwise
    // $XDG_CONFIG_HOME/Kovatrix/KOV.ini (XDG_CONFIG_HOME defaulting to ~/.config).
    static std::filesystem::path DefaultPath();

    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback) const override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;

    const std::filesystem::path& path() const { return path_; }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    Section* Find(const std::string& section);
    const Section* Find(const std::string& section) const;
    void Save() const;

    std::filesystem::path path_;
    std::vector<Section> sections_;  // in file order, so rewriting keeps the layout
};

}  // namespace kov
