// kov-cli export: alone with a file, in scripts, and its failures.

#include <gtest/gtest.h>

#include "cli/CliRecord.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

using test::RunCli;

TEST(CliExport, AloneLoadsTheFileAndWritesEveryItem) {
    test::TempDir dir;
    const std::string cfg = test::Quoted(test::WriteCliRecord(dir));
    const auto out = dir / "out.csv";
    auto r = RunCli("export " + cfg + " --format csv -o " + test::Quoted(out));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    // Times of 1 ms steps in single precision, "%.9g".
    EXPECT_EQ(test::ReadFile(out),
              "X,\"rec>1_A-VA(kV)\",\"rec>2_A-IA(A)\"\r\n"
              "0,1,1\r\n"
              "0.00100000005,2,2\r\n"
              "0.00200000009,3,3\r\n"
              "0.00300000003,4,4\r\n");

    // The items in the order given.
    const auto txt = dir / "out.txt";
    r = RunCli("export " + cfg + " --items 2 '*VA*' --format txt -o " + test::Quoted(txt));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadFile(txt).substr(0, 32), "X\trec>2_A-IA(A)\trec>1_A-VA(kV)\r\n");
    // The load selection: only the second channel is on the stack.
    r = RunCli("export " + cfg + " --select 2 --format txt -o " + test::Quoted(txt));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::ReadFile(txt).rfind("X\trec>2_A-IA(A)\r\n0\t1\r\n", 0), 0u);
}

TEST(CliExport, ScriptExportsWhatEarlierLinesMade) {
    test::TempDir dir;
    const std::string cfg = test::Quoted(test::WriteCliRecord(dir));
    const auto record = dir / "copy" / "x.cfg";
    std::filesystem::create_directories(dir / "copy");
    test::WriteFile(dir / "run.script", "load " + cfg + " --select 1\n" +
                                            "expr --name v --y '2*x' --xmin 0 --xmax 1 --points 3\n"
                                            "export --items '(1_A*' --format comtrade -o " +
                                            test::Quoted(record) + "\nload " +
                                            test::Quoted(record) + "\nprint\n");
    const auto r = RunCli("script " + test::Quoted(dir / "run.script"));
    ASSERT_EQ(r.status, 0) << r.err;
    // The record reads back with the exported item's names and kind tag.
    EXPECT_NE(r.out.find("(1_A     )(VA      )(        )(kV      )(COMTRADE)(WAVE)"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(std::filesystem::exists(dir / "copy" / "x.hdr"));
    EXPECT_TRUE(std::filesystem::exists(dir / "copy" / "x.dat"));
    // One channel: only the item chosen.
    EXPECT_EQ(test::ReadFile(record).substr(0, 20), "KOV,0,1999\r\n1,1A,0D\r");
}

TEST(CliExport, FailuresSayWhyAndFail) {
    test::TempDir dir;
    auto r = RunCli("export --format csv -o " + test::Quoted(dir / "x.csv"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("There are no items to export."), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "x.csv"));

    const std::string cfg = test::Quoted(test::WriteCliRecord(dir));
    const auto bad = dir / "missing" / "x.csv";
    r = RunCli("export " + cfg + " --format csv -o " + test::Quoted(bad));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The file " + bad.string() + " could not be written."), std::string::npos)
        << r.err;

    r = RunCli("export " + cfg + " --items 7 --format csv -o " + test::Quoted(dir / "x.csv"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--items 7: no such stack item"), std::string::npos) << r.err;
    // A position beyond every integer type names no item either (no abort).
    const std::string huge = "99999999999999999999999";
    r = RunCli("export " + cfg + " --items " + huge + " --format csv -o " +
               test::Quoted(dir / "x.csv"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("--items " + huge + ": no such stack item"), std::string::npos) << r.err;

    r = RunCli("export " + cfg + " --format pqd -o " + test::Quoted(dir / "x.csv"));
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.csv"));
}

}  // namespace
}  // namespace kov
