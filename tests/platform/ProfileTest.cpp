// The settings file and the text helpers.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/IniProfile.h"
#include "platform/MemoryProfile.h"
#include "platform/Text.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

TEST(IniProfile, TypedValuesSurviveAReopenAndKeysIgnoreCase) {
    test::TempDir dir;
    const auto path = dir / "sub" / "KOV.ini";
    {
        IniProfile p(path);
        p.SetInt("General", "FILTER", 1006);
        p.SetString("General", "PATH", "/data/recordings/");
        p.SetDouble("IEEE519Table", "PccVolts", 13800.5);
        p.SetInt("general", "filter", 1004);  // same key, other case
    }
    IniProfile again(path);
    EXPECT_EQ(again.GetInt("GENERAL", "Filter", 0), 1004);
    EXPECT_EQ(again.GetString("General", "PATH", ""), "/data/recordings/");
    EXPECT_DOUBLE_EQ(again.GetDouble("IEEE519Table", "PccVolts", 0), 13800.5);
    EXPECT_EQ(again.GetInt("General", "missing", 7), 7);
    EXPECT_EQ(again.GetString("Nowhere", "x", "fallback"), "fallback");
    const std::string text = test::ReadFile(path);
    EXPECT_EQ(text.find("[general]"), std::string::npos);  // one section, first spelling kept
    EXPECT_NE(text.find("[General]\nFILTER=1004\n"), std::string::npos);
}

TEST(IniProfile, ToleratesHandEditedFiles) {
    test::TempDir dir;
    const auto path = dir / "KOV.ini";
    test::WriteFile(path,
                    "; comment\r\nstray=line before any section\r\n[General]\r\n  FILTER = 12abc "
                    "\r\nSUBTYPE=\r\nnot a pair\r\n[Preferences\r\n");
    IniProfile p(path);
    EXPECT_EQ(p.GetInt("General", "FILTER", 0), 12);
    EXPECT_EQ(p.GetInt("General", "SUBTYPE", 5), 5);  // empty text: the fallback
    EXPECT_EQ(p.GetString("General", "stray", "none"), "none");
}

TEST(IniProfile, DefaultPathFollowsTheEnvironment) {
    // Restores a variable when the test ends.
    struct SavedVariable {
        std::string name, value;
        bool was;
        explicit SavedVariable(const char* n) : name(n) {
            const char* v = std::getenv(n);
            was = v != nullptr;
            if (was) value = v;
        }
        ~SavedVariable() {
            if (was)
                ::setenv(name.c_str(), value.c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    } config("KOV_CONFIG_DIR"), xdg("XDG_CONFIG_HOME");

    ::setenv("KOV_CONFIG_DIR", "/tmp/kov-config", 1);
    EXPECT_EQ(IniProfile::DefaultPath(), "/tmp/kov-config/KOV.ini");
    ::unsetenv("KOV_CONFIG_DIR");
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(IniProfile::DefaultPath(), "/tmp/xdg/Kovatrix/KOV.ini");
}

TEST(MemoryProfile, RecordsWrites) {
    MemoryProfile p;
    p.SetInt("General", "FILTER", 3);
    EXPECT_EQ(p.writes, std::vector<std::string>{"General/FILTER=3"});
    EXPECT_EQ(p.GetInt("general", "filter", 0), 3);
}

TEST(Text, CaseFoldingTrimmingAndFormatting) {
    EXPECT_TRUE(EqualsNoCase("Volts", "vOLTS"));
    EXPECT_FALSE(EqualsNoCase("Volt", "Volts"));
    EXPECT_TRUE(EndsWithNoCase("a.CFG", ".cfg"));
    EXPECT_TRUE(StartsWithNoCase("LoadFiles x", "loadfiles"));
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimRight("x  "), "x");
    EXPECT_EQ(Cut("abcdef", 3), "abc");
    EXPECT_EQ(Cut("ab\xC3\xA9z", 3), "ab");  // never half of "é"
    EXPECT_EQ(Cut("ab\xC3\xA9z", 4), "ab\xC3\xA9");
    EXPECT_EQ(Format("%s %d %lg", "n", 4, 0.5), "n 4 0.5");
    EXPECT_EQ(Format("%s", std::string(1000, 'z').c_str()).size(), 1000u);
}

}  // namespace
}  // namespace kov
