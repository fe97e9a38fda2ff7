#include "platform/MemoryProfile.h"

#include "platform/Text.h"

namespace kov {

std::string MemoryProfile::GetString(const std::string& section, const std::string& key,
                                     const std::string& fallback) const {
    const auto it = values_.find({ToLower(section), ToLower(key)});
    return it == values_.end() ? fallback : it->second;
}

void MemoryProfile::SetString(const std::string& section, const std::string& key,
                              const std::string& value) {
    values_[{ToLower(section), ToLower(key)}] = value;
    writes.push_back(section + "/" + key + "=" + value);
}

}  // namespace kov
