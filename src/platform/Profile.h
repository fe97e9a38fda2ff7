#pragma once
// The private settings file (KOV.ini): typed values under section and key.

#include <string>

namespace kov {

class Profile {
public:
    virtual ~Profile() = default;

    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback) const = 0;
    virtual void SetString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;

    // Integers read the leading decimal number of the stored text, as the
    // platform's profile functions do; text without one gives the fallback.
    long GetInt(const std::string& section, const std::string& key, long fallback) const;
    void SetInt(const std::string& section, const std::string& key, long value);
    double GetDouble(const std::string& section, const std::string& key, double fallback) const;
    void SetDouble(const std::string& section, const std::string& key, double value);
};

}  // namespace kov
