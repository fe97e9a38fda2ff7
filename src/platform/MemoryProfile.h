#pragma once
// A Profile held in memory, for tests: it records every write.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Profile.h"

namespace kov {

class MemoryProfile : public Profile {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback) const override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;

    // "section/key=value" for every write, in order.
    std::vector<std::string> writes;

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;  // lower-cased keys
};

}  // namespace kov
