// kov-cli as scripts use it: output formats, exit statuses and scripts.

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace kov {
namespace {

using test::RunCli;

TEST(Cli, FormatsListsEverySubtypeInFilterOrder) {
    const auto r = RunCli("formats");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "1000\t1\t*.*\tASCII Text\ttext");
    EXPECT_NE(r.out.find("1004\t2007\t*.SOS\tEMTP / ATP SOS Files\tdata\n"), std::string::npos);
    EXPECT_NE(r.out.find("1003\t2004\t*.hfo\tHarmflo Text Output\ttext\n"), std::string::npos);
}

TEST(Cli, OpenFailuresGiveTheirMessageAndStatus) {
    test::TempDir dir;
    auto r = RunCli("list '" + (dir / "missing.cfg").string() + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("File Not Found"), std::string::npos) << r.err;

    test::WriteFile(dir / "x.unknown", "data");
    r = RunCli("load '" + (dir / "x.unknown").string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Wrong File Type (or Old Style)."), std::string::npos) << r.err;

    test::WriteFile(dir / "run.pl4", std::string(1, '\xFC') + "....");
    r = RunCli("list --type 1004:2005 '" + (dir / "run.pl4").string() + "'");
    EXPECT_EQ(r.status, 2);

    r = RunCli("list --type bogus '" + (dir / "run.pl4").string() + "'");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("--type"), std::string::npos);
}

TEST(Cli, ViewAsTextTypesPrintTheFile) {
    test::TempDir dir;
    test::WriteFile(dir / "notes.txt", "line one\nline two\n");
    const auto r = RunCli("list --type 1000 '" + (dir / "notes.txt").string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "line one\nline two\n");
}

TEST(Cli, ScriptsShareOneStackAndStopAtTheFirstFailure) {
    test::TempDir dir;
    test::WriteFile(dir / "empty.km", "quickgraph all 1\n");
    test::WriteFile(dir / "ok.script", "# a comment\n\nmacro '" + (dir / "empty.km").string() +
                                           "'\nprint\nprint --json\n");
    auto r = RunCli("script '" + (dir / "ok.script").string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "[]\n");  // an empty plain print, then the JSON of an empty stack
    EXPECT_NE(r.err.find("quickgraph: 0 item(s), graph mode 1"), std::string::npos) << r.err;

    // Quotes group words; the failing line stops the script with its status.
    test::WriteFile(dir / "bad.script",
                    "load \"" + (dir / "no such.cfg").string() + "\"\nprint --json\n");
    r = RunCli("script '" + (dir / "bad.script").string() + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("File Not Found: " + (dir / "no such.cfg").string()), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("bad.script:1:"), std::string::npos);
    EXPECT_EQ(r.out, "");

    test::WriteFile(dir / "quote.script", "load \"unterminated\n");
    r = RunCli("script '" + (dir / "quote.script").string() + "'");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("unterminated quote"), std::string::npos);
}

TEST(Cli, UsageErrorsFailWithoutCrashing) {
    EXPECT_NE(RunCli("").status, 0);
    EXPECT_NE(RunCli("frobnicate").status, 0);
    EXPECT_NE(RunCli("load").status, 0);
    EXPECT_NE(RunCli("load x.cfg --answer maybe").status, 0);
}

}  // namespace
}  // namespace kov
