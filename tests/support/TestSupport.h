#pragma once
// Helpers shared by the test binaries.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kov::test {

// A fresh folder under the system's temporary directory, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Writes bytes to a file, creating its folder.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// The folder of real-world sample files, or "" when it is absent.
std::filesystem::path TestDataDir();

// Runs kov-cli with the given argument text (shell syntax) and captures
// stdout, stderr and the exit status.
struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};
CliResult RunCli(const std::string& arguments, const std::filesystem::path& workDir = {});

}  // namespace kov::test

// Skips the current test, visibly, when the sample-file folder is missing.
#define KOV_REQUIRE_TESTDATA(sub)                                                          \
    do {                                                                                   \
        if (::kov::test::TestDataDir().empty() ||                                          \
            !std::filesystem::exists(::kov::test::TestDataDir() / (sub)))                  \
            GTEST_SKIP() << "sample files not found (" << KOV_TESTDATA_DIR << "/" << (sub) \
                         << "); conformance test skipped";                                 \
    } while (0)
