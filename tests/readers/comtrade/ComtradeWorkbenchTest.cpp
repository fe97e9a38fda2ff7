// The COMTRADE reader behind the workbench's open and load flow: .cfg and
// .cff files chosen by extension (any case) or by (1006, subtype).

#include <gtest/gtest.h>

#include "platform/MemoryProfile.h"
#include "platform/RecordingUi.h"
#include "readers/Workbench.h"
#include "readers/comtrade/ComtradeDataFile.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

class ChooseAll : public WorkbenchHost {
public:
    std::optional<LoadChoice> ChooseQuantities(DataFile& reader) override {
        LoadChoice all;
        for (std::size_t i = 0; i < reader.Catalogue().size(); ++i) all.indexes.push_back(i);
        return all;
    }
};

const char* const kCfg =
    "S,1,1999\n2,1A,1D\n1,V,A,,kV,1,0,0,0,0,1,1,P\n1,Trip,,,0\n60\n1\n1000,2\n"
    "01/01/2020,00:00:00\n01/01/2020,00:00:00\nASCII\n1\n";
const char* const kDat = "1,0,5,0\n2,1000,6,1\n";

TEST(ComtradeWorkbench, OpensCfgAndCffByExtensionAndLoads) {
    test::TempDir dir;
    test::WriteFile(dir / "UP.CFG", kCfg);
    test::WriteFile(dir / "UP.DAT", kDat);
    test::WriteFile(dir / "one.cff", std::string("--- file type: CFG ---\n") + kCfg +
                                         "--- file type: DAT ASCII ---\n" + kDat);
    for (const char* name : {"UP.CFG", "one.cff"}) {
        SCOPED_TRACE(name);
        RecordingUi ui;
        MemoryProfile profile;
        ChooseAll host;
        Workbench workbench(ui, profile, host);
        EXPECT_TRUE(workbench.OpenFile((dir / name).string()));
        ASSERT_NE(dynamic_cast<ComtradeDataFile*>(workbench.currentFile()), nullptr);
        workbench.LoadCommand();
        EXPECT_EQ(workbench.stack().size(), 2u);
        EXPECT_TRUE(ui.messages.empty()) << ui.LastText();
    }
}

TEST(ComtradeWorkbench, SingleFileSubtypeIsRegistered) {
    const FileTypeRegistry registry;
    const std::size_t i = registry.FindFilterIndex(kTypeComtrade, 2);
    ASSERT_NE(i, FileTypeRegistry::kNotFound);
    const auto filters = registry.FilterList();
    EXPECT_EQ(filters[i].pattern, "*.cff");
    EXPECT_EQ(filters[i].label, "IEEE COMTRADE (single file)");
    EXPECT_EQ(filters[registry.MatchExtension("x.CFF")].subtypeId, 2u);
}

TEST(ComtradeWorkbench, UnusableHeaderGivesStatus3) {
    test::TempDir dir;
    test::WriteFile(dir / "bad.cfg", "S,1,1999\n2,1A,1D\n");
    RecordingUi ui;
    MemoryProfile profile;
    ChooseAll host;
    Workbench workbench(ui, profile, host);
    EXPECT_EQ(workbench.OpenAs((dir / "bad.cfg").string(), kTypeComtrade, 1), 3);
    EXPECT_EQ(ui.LastText(), "Error reading file bad.cfg.");
}

}  // namespace
}  // namespace kov
