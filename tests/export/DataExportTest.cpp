// The export settings from the settings file, and the writer chosen by format.

#include <gtest/gtest.h>

#include "export/DataExport.h"
#include "export/ExportItems.h"
#include "platform/MemoryProfile.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

TEST(DataExport, SettingsFromTheProfile) {
    MemoryProfile profile;
    ExportSettings s = ExportSettingsFrom(profile);
    EXPECT_TRUE(s.dateExport);
    EXPECT_EQ(s.lineFrequency, 60.0);
    profile.SetInt("Preferences", "DateExport", 0);
    profile.SetDouble("Preferences", "BaseFrequency", 50.0);
    s = ExportSettingsFrom(profile);
    EXPECT_FALSE(s.dateExport);
    EXPECT_EQ(s.lineFrequency, 50.0);
    profile.SetDouble("Preferences", "BaseFrequency", -5.0);  // no frequency: the default
    EXPECT_EQ(ExportSettingsFrom(profile).lineFrequency, 60.0);
}

TEST(DataExport, FormatChoosesTheWriter) {
    test::TempDir dir;
    const auto a = test::ExportWave("A", {0.0f, 0.5f}, {1, 2});
    const std::vector<const PlotableStackObject*> items{a.get()};
    ExportSettings settings;
    settings.lineFrequency = 50.0;
    ASSERT_TRUE(WriteExport(ExportFormat::TabText, (dir / "a.txt").string(), items, settings));
    EXPECT_EQ(test::ReadFile(dir / "a.txt"), "X\tcase>A\r\n0\t1\r\n0.5\t2\r\n");
    ASSERT_TRUE(
        WriteExport(ExportFormat::CommaSeparated, (dir / "a.csv").string(), items, settings));
    EXPECT_EQ(test::ReadFile(dir / "a.csv"), "X,\"case>A\"\r\n0,1\r\n0.5,2\r\n");
    ASSERT_TRUE(WriteExport(ExportFormat::Comtrade, (dir / "a.cfg").string(), items, settings));
    // The line frequency follows the setting.
    EXPECT_NE(test::ReadFile(dir / "a.cfg").find(",1,1,P\r\n50\r\n1\r\n2,2\r\n"),
              std::string::npos);
    EXPECT_FALSE(
        WriteExport(ExportFormat::CommaSeparated, (dir / "x" / "a.csv").string(), items, settings));
}

}  // namespace
}  // namespace kov
