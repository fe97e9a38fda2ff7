// The Open, Load, macro and Refresh from Disk commands.

#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/MemoryProfile.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "readers/FakeReader.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

class RecordingHost : public WorkbenchHost {
public:
    std::optional<OpenChoice> openChoice;
    std::size_t offeredFilter = 99;
    std::vector<std::string> viewed, titles, recent;
    std::vector<std::pair<std::size_t, int>> graphs;
    int posts = 0;
    int windowsShowing = 0;
    std::set<const StackObject*> rebuildAsked;

    std::optional<OpenChoice> ChooseFileToOpen(const std::vector<FilterEntry>&,
                                               std::size_t initial) override {
        offeredFilter = initial;
        return openChoice;
    }
    std::optional<LoadChoice> ChooseQuantities(DataFile& reader) override {
        LoadChoice all;
        for (std::size_t i = 0; i < reader.Catalogue().size(); ++i) all.indexes.push_back(i);
        return all;
    }
    void ViewAsText(const std::string& path) override { viewed.push_back(path); }
    void QuickGraph(std::span<StackObject* const> items, int mode) override {
        graphs.emplace_back(items.size(), mode);
    }
    void PostLoad() override { ++posts; }
    void SetTitle(const std::string& title) override { titles.push_back(title); }
    void AddRecentFile(const std::string& path) override { recent.push_back(path); }
    int RebuildWindowsShowing(const std::set<const StackObject*>& items) override {
        rebuildAsked = items;
        return windowsShowing;
    }
};

class WorkbenchTest : public ::testing::Test {
protected:
    WorkbenchTest() : workbench(ui, profile, host) {
        // The fake reader stands behind COMTRADE (.cfg) and EMTDC (.inf) files.
        workbench.SetReaderMaker([](const ReaderSelection& s) -> std::unique_ptr<DataFile> {
            if (s.readerClass == ReaderClass::Comtrade || s.readerClass == ReaderClass::Emtdc)
                return std::make_unique<test::FakeReader>();
            return nullptr;
        });
    }
    std::string Fake(const std::string& name, const std::string& body = "Va,1,2,3\nVb,4,5,6\n") {
        const auto path = dir / name;
        test::WriteFile(path, "FAKE\n" + body);
        return path.string();
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const StackObject* item : workbench.stack().GetAll())
            names.push_back(item->caseName() + ":" + item->namePart1());
        return names;
    }

    test::TempDir dir;
    RecordingUi ui;
    MemoryProfile profile;
    RecordingHost host;
    Workbench workbench;
};

TEST_F(WorkbenchTest, OpenCommandRemembersTheFilterAndPostsLoad) {
    const std::string path = Fake("rec.cfg");
    host.openChoice =
        WorkbenchHost::OpenChoice{path, workbench.registry().FindFilterIndex(1006, 1)};
    workbench.OpenCommand();
    EXPECT_EQ(host.offeredFilter, 0u);  // nothing remembered yet
    ASSERT_TRUE(workbench.hasCurrentFile());
    EXPECT_EQ(workbench.currentName(), "rec.cfg");
    EXPECT_EQ(profile.GetInt("General", "FILTER", 0), 1006);
    EXPECT_EQ(profile.GetInt("General", "SUBTYPE", 0), 1);
    EXPECT_EQ(profile.GetString("General", "PATH", ""), dir.path().string() + "/");
    EXPECT_EQ(host.posts, 1);
    EXPECT_EQ(host.titles.back(), "KOV - rec.cfg");
    EXPECT_EQ(host.recent.back(), path);
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_GE(ui.waitCursors, 1);

    host.openChoice.reset();  // Cancel
    workbench.OpenCommand();
    EXPECT_EQ(host.offeredFilter, workbench.registry().FindFilterIndex(1006, 1));  // preselected
}

TEST_F(WorkbenchTest, TextTypesAreViewedAndKeepTheCurrentFile) {
    const std::string data = Fake("rec.cfg");
    ASSERT_EQ(workbench.OpenAs(data, 1006, 1), 0);
    const DataFile* current = workbench.currentFile();
    const std::string notes = Fake("notes.hfo");
    EXPECT_EQ(workbench.OpenAs(notes, 1000, 1), 0);
    EXPECT_EQ(workbench.OpenAs(notes, 1003, 2004), 0);
    EXPECT_EQ(host.viewed, (std::vector<std::string>{notes, notes}));
    EXPECT_EQ(workbench.currentFile(), current);
    // Harmflo impedance: no reader and no message.
    EXPECT_EQ(workbench.OpenAs(notes, 1003, 2003), 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(workbench.currentFile(), current);
}

TEST_F(WorkbenchTest, FailedOpensSayWhyAndKeepThePreviousFile) {
    const std::string good = Fake("rec.cfg");
    ASSERT_EQ(workbench.OpenAs(good, 1006, 1), 0);
    const std::string pl4 = (dir / "run.pl4").string();
    test::WriteFile(pl4, std::string(1, '\xFC') + "junk");
    EXPECT_EQ(workbench.OpenAs(pl4, 1004, 2005), 2);
    EXPECT_EQ(ui.LastText(), "Wrong File Type (or Old Style).");
    EXPECT_EQ(ui.messages.back().caption, "Kovatrix");
    // A header the reader rejects.
    const std::string bad = (dir / "bad.cfg").string();
    test::WriteFile(bad, "not fake\n");
    EXPECT_EQ(workbench.OpenAs(bad, 1006, 1), 3);
    EXPECT_EQ(ui.LastText(), "Error reading file bad.cfg.");
    EXPECT_EQ(workbench.currentName(), "rec.cfg");
    // A file that is not there.
    EXPECT_EQ(workbench.OpenAs((dir / "gone.cfg").string(), 1006, 1), 3);
    EXPECT_EQ(ui.LastText(), "Error reading file gone.cfg.");
}

TEST_F(WorkbenchTest, OpenFileGuardsUnreadableFilesAndMatchesExtensions) {
    int status = -7;
    EXPECT_FALSE(workbench.OpenFile((dir / "missing.cfg").string(), &status));
    EXPECT_EQ(ui.messages.back().caption, "File Not Found");
    EXPECT_EQ(ui.LastText(), (dir / "missing.cfg").string());
    EXPECT_EQ(status, 3);

    // No pattern matches: no reader, no message, status untouched.
    const std::string odd = Fake("rec.xyz");
    const std::size_t shown = ui.messages.size();
    status = -7;
    EXPECT_FALSE(workbench.OpenFile(odd, &status));
    EXPECT_EQ(status, -7);
    EXPECT_EQ(ui.messages.size(), shown);

    EXPECT_TRUE(workbench.OpenFile(Fake("REC2.CFG"), &status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(profile.GetInt("General", "FILTER", 0), 1006);

    if (::geteuid() != 0) {  // root reads everything
        const std::string locked = Fake("locked.cfg");
        std::filesystem::permissions(locked, std::filesystem::perms::none);
        EXPECT_FALSE(workbench.OpenFile(locked));
        EXPECT_EQ(ui.messages.back().caption, "No Access Permission");
    }
}

TEST_F(WorkbenchTest, LoadNeedsACurrentFileAndReportsOneConflictPerLoad) {
    workbench.LoadCommand();
    EXPECT_EQ(ui.LastText(), str::kNoCurrentFile);
    ASSERT_EQ(workbench.OpenAs(Fake("rec.cfg"), 1006, 1), 0);
    workbench.LoadCommand();
    EXPECT_EQ(Names(), (std::vector<std::string>{"rec:Va", "rec:Vb"}));
    const std::size_t shown = ui.messages.size();
    workbench.LoadCommand();  // the reader skips keys that are on the stack
    EXPECT_EQ(ui.messages.size(), shown);
    EXPECT_EQ(workbench.stack().size(), 2u);
}

TEST_F(WorkbenchTest, MacroRunsOpenLoadLoadfilesAndQuickgraph) {
    Fake("b2.cfg", "Vb,1\n");
    Fake("b1.cfg", "Va,1\n");
    Fake("one.cfg", "I1,1,2\n");
    const std::string macro = (dir / "run.km").string();
    test::WriteFile(macro,
                    "OPEN one.cfg\r\n"
                    "load all of it\n"
                    "# comments and unknown commands are ignored\n"
                    "loadfiles " +
                        (dir / "b*.cfg").string() +
                        " names\n"
                        "quickgraph (all, 3)\n");
    workbench.RunMacro(macro);
    EXPECT_EQ(Names(), (std::vector<std::string>{"one:I1", "b1:Va", "b2:Vb"}));
    EXPECT_EQ(host.graphs, (std::vector<std::pair<std::size_t, int>>{{3, 3}}));
    EXPECT_EQ(host.titles.back(), "KOV - b2.cfg");
    EXPECT_EQ(host.recent.back(), macro);
    EXPECT_EQ(profile.GetString("General", "PATH", ""), dir.path().string() + "/");
    auto* current = dynamic_cast<test::FakeReader*>(workbench.currentFile());
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->loadByNamesCalls, std::vector<std::string>{" names"});
}

TEST_F(WorkbenchTest, LongMacroLinesAreReadInPiecesOf63) {
    Fake("x.cfg", "Vx,1\n");
    // 63 characters of an unknown command, then "open x.cfg" as the next piece.
    const std::string macro = (dir / "long.km").string();
    test::WriteFile(macro, "nothing" + std::string(56, ' ') + "open x.cfg\nload\n");
    workbench.RunMacro(macro);
    EXPECT_EQ(Names(), std::vector<std::string>{"x:Vx"});
}

TEST_F(WorkbenchTest, OpeningAMacroFileRunsIt) {
    Fake("x.cfg", "Vx,1\n");
    const std::string macro = (dir / "m.km").string();
    test::WriteFile(macro, "open x.cfg\nload\n");
    host.openChoice =
        WorkbenchHost::OpenChoice{macro, workbench.registry().FindFilterIndex(1013, 1)};
    workbench.OpenCommand();
    EXPECT_EQ(Names(), std::vector<std::string>{"x:Vx"});
}

TEST_F(WorkbenchTest, RefreshOfDerivedItemsOnlyRefreshesNothing) {
    auto derived = std::make_unique<WaveStackObject>();
    derived->Init("", "DERIVED", "Sum", "", "", "", "WAVE");
    workbench.stack().Add(std::move(derived));
    workbench.RefreshStack();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].caption, "Stack Refresh");
    EXPECT_EQ(ui.messages[0].text, str::kNothingRefreshed);
}

TEST_F(WorkbenchTest, RefreshVisitsEachSourceFileOnceAndRebuildsWindows) {
    ASSERT_EQ(workbench.OpenAs(Fake("sim.inf"), 2013, 1), 0);
    workbench.LoadCommand();
    ASSERT_EQ(workbench.stack().size(), 2u);
    workbench.RefreshStack();
    EXPECT_EQ(host.rebuildAsked.size(), 2u);
    EXPECT_EQ(ui.LastText(), str::kNoWindowsRefreshed);
    const std::size_t shown = ui.messages.size();
    host.windowsShowing = 1;
    workbench.RefreshStack();
    EXPECT_EQ(ui.messages.size(), shown);  // windows were rebuilt: nothing to say
}

}  // namespace
}  // namespace kov
