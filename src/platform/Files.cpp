#include "platform/Files.h"

#include <sys/stat.h>

#include <cstdio>

namespace kov {

void RemovePartialFile(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) std::remove(path.c_str());
}

}  // namespace kov
