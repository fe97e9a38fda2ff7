// kov-cli table: alone on a file, in a script, the settings it reads and its messages.

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "cli/CliRecord.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

using test::RunCli;

// Points the settings file of the commands run in its lifetime at a folder.
class ConfigDir {
public:
    explicit ConfigDir(const std::string& ini) {
        if (const char* old = std::getenv("KOV_CONFIG_DIR")) old_ = old;
        test::WriteFile(dir_ / "KOV.ini", ini);
        ::setenv("KOV_CONFIG_DIR", dir_.path().c_str(), 1);
    }
    ~ConfigDir() {
        if (old_)
            ::setenv("KOV_CONFIG_DIR", old_->c_str(), 1);
        else
            ::unsetenv("KOV_CONFIG_DIR");
    }
    std::string Ini() const { return test::ReadFile(dir_ / "KOV.ini"); }

private:
    test::TempDir dir_;
    std::optional<std::string> old_;
};

TEST(CliTable, AloneLoadsTheFileAndPrintsTheTextExport) {
    test::TempDir dir;
    const std::string cfg = test::Quoted(test::WriteCliRecord(dir));
    const auto r = RunCli("table " + cfg + " --type minmax --items 1 '*IA*' --separator comma");
    ASSERT_EQ(r.status, 0) << r.err;
    // VA shown in kV: 1, 2, 3, 4; IA 2, 4, 6, 8 x 0.5 A.
    EXPECT_EQ(r.out,
              "Case,Item,Min,Max,Abs Max,Avg\n"
              ",,,,,\n"
              "rec,1_A-VA,1,4,4,2.5\n"
              "rec,2_A-IA,1,4,4,2.5\n");
    EXPECT_EQ(r.err, "");

    // --file-type reaches the load: a bad format is the load's error.
    const auto bad = RunCli("table " + cfg + " --file-type bogus --type minmax --items 1");
    EXPECT_NE(bad.status, 0);
    EXPECT_EQ(bad.out, "");
}

TEST(CliTable, ScriptLinesTableItemsMadeEarlier) {
    test::TempDir dir;
    test::WriteFile(dir / "t.script",
                    "expr --name v --kind wave --y '3*cos(2*pi*60*x)+cos(2*pi*180*x)' --xmin 0 "
                    "--xmax 0.1 --points 769\n"
                    "expr --name f --kind spectrum --y '4-x/60' --xmin 60 --xmax 180 --step 60\n"
                    "table --type harmonic --items '(f*' --highest-harmonic 5 --percent\n"
                    "table --type timepoints --items 1\n");
    const auto r = RunCli("script " + test::Quoted(dir / "t.script"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Case\tItem\tFreq\tFund\t% THD\t% RMS\t% ASUM\tRMSh\tRMS\tASUM\tTIF\tIT"
                         "\t%H3\t%H5\n"),
              std::string::npos)
        << r.out;
    // Lines 3, 2 and 1 at 60, 120 and 180 Hz: THD sqrt(2^2 + 1^2) / 3 = 74.5356 %, RMS
    // sqrt(14) = 3.74166 (124.722 %), ASUM 6 (200 %), RMSh sqrt(5), H3 1 / 3 = 33.3333 %
    // and no 5th harmonic line.
    EXPECT_NE(r.out.find("EXPRESSION\tf\t60\t3\t74.5356\t124.722\t200\t2.23607\t3.74166\t6\t"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\t33.3333\t\n"), std::string::npos);
    EXPECT_NE(r.out.find("Item\tPoint\tTime\tValue\n\t\t\t\nv\t1\t0\t4\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nv\t769\t99.99"), std::string::npos);  // about 0.1 s, in ms
    EXPECT_EQ(r.out.find("\nv\t770\t"), std::string::npos);
}

TEST(CliTable, PccSettingsComeFromTheSettingsFileAndFlagsOverrideThem) {
    const std::string ini = "[IEEE519Table]\nPCCVolts=13800\nPCCMVA=100\nMaxDemandKVA=50\n";
    ConfigDir config(ini);
    const std::string script =
        "expr --name i --kind spectrum --y '2' --xmin 60 --xmax 300 --step 60\n";
    test::TempDir dir;
    test::WriteFile(dir / "a.script", script + "table --type ieee519 --items 1\n");
    auto r = RunCli("script " + test::Quoted(dir / "a.script"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Avg. Max Demand kVA\t50\tkVA\nI*T Limit\t1500\t\nIsc\t4183.7\tAmps\n"
                         "IL\t2.09185\tAmps\nIsc/IL\t2000\t\n"),
              std::string::npos)
        << r.out;
    // Row 4 limits.
    EXPECT_NE(r.out.find("IEEE 519 Limits\t15\t7\t6\t2.5\t1.4\t20\n"), std::string::npos);

    test::WriteFile(dir / "b.script",
                    script +
                        "table --type ieee519 --items 1 --pcc-volts 230000 --pcc-mva 5 "
                        "--demand-kva 100 --it-limit 900\n");
    r = RunCli("script " + test::Quoted(dir / "b.script"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Isc/IL\t50\t\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("I*T Limit\t900\t\n"), std::string::npos);
    EXPECT_NE(r.out.find("IEEE 519 Limits\t3\t1.5\t1.15\t0.45\t0.22\t3.75\n"), std::string::npos);
    EXPECT_EQ(config.Ini(), ini);  // the flags are not written back
}

TEST(CliTable, HarmonicPreferencesComeFromTheSettingsFile) {
    ConfigDir config("[Preferences]\nHighestHarmonic=4\nEvenHarmonics=1\n");
    test::TempDir dir;
    test::WriteFile(dir / "h.script",
                    "expr --name i --kind spectrum --y '2' --xmin 60 --xmax 300 --step 60\n"
                    "table --type harmonic --items 1\n");
    const auto r = RunCli("script " + test::Quoted(dir / "h.script"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\tIT\tH2\tH3\tH4\n"), std::string::npos) << r.out;
}

TEST(CliTable, MessagesForBadInput) {
    test::TempDir dir;
    const std::string cfg = test::Quoted(test::WriteCliRecord(dir));
    auto r = RunCli("table " + cfg + " --type harmonic --items 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("None of the selected items can be shown in a Harmonic Summary Data "
                         "table."),
              std::string::npos)
        << r.err;

    r = RunCli("table " + cfg + " --type minmax --items 7");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--items 7: no such stack item"), std::string::npos) << r.err;

    r = RunCli("table " + cfg + " --type pie --items 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Unknown table type \"pie\""), std::string::npos) << r.err;

    r = RunCli("table " + cfg + " --type ieee519 --items 1 --demand-kva 0");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("maximum demand kVA must be numbers above 0"), std::string::npos) << r.err;
    r = RunCli("table " + cfg + " --type ieee519 --items 1 --pcc-mva -5");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");

    r = RunCli("table --type minmax --items 1");  // alone without a file: an empty stack
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--items 1: no such stack item"), std::string::npos) << r.err;

    r = RunCli("table " + cfg + " --items 1");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("--type"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kov
