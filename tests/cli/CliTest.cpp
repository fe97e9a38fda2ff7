// kov-cli as scripts use it: output formats, exit statuses and scripts.

#include <gtest/gtest.h>

#include <algorithm>

#include "cli/CliRecord.h"
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

namespace kov {
namespace {

TEST(CliLoad, JsonHasTheContractKeysAndSamples) {
    test::TempDir dir;
    const std::string cfg = test::WriteCliRecord(dir).string();
    const auto r = RunCli("load '" + cfg + "' --select 2 --json --samples");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* key :
         {"\"key\"", "\"caseName\": \"rec\"", "\"nameParts\"", "\"typeTag\": \"WAVE\"",
          "\"kind\": 20480", "\"kindTag\": \"WAVE\"", "\"pointCount\": 4", "\"axes\"",
          "\"unitId\": 2130", "\"xExact\"", "\"notes\"", "\"summary\"", "\"label\": \"Max:\"",
          "\"x\"", "\"y\"", "\"y2\": null"})
        EXPECT_NE(r.out.find(key), std::string::npos) << key << "\n" << r.out;
    EXPECT_NE(r.out.find("IA"), std::string::npos);
    EXPECT_EQ(r.out.find("VA"), std::string::npos);  // only the chosen channel
}

TEST(CliLoad, SelectionByMatchAndBadSelections) {
    test::TempDir dir;
    const std::string cfg = test::WriteCliRecord(dir).string();
    auto r = RunCli("list '" + cfg + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);
    EXPECT_EQ(r.out.substr(0, 2), "1\t");

    r = RunCli("load '" + cfg + "' --match '*va*'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
    EXPECT_NE(r.out.find("\tWAVE\t4\n"), std::string::npos) << r.out;

    r = RunCli("load '" + cfg + "' --select 3");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no quantity 3"), std::string::npos) << r.err;
}

TEST(CliScript, OneStackAcrossLinesAndOneConflictMessagePerLoad) {
    test::TempDir dir;
    const std::string cfg = test::WriteCliRecord(dir).string();
    test::WriteFile(dir / "s", "load '" + cfg + "'\nload '" + cfg + "'\nprint\n");
    const auto r = RunCli("script '" + (dir / "s").string() + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);  // each channel once
    std::size_t conflicts = 0;
    for (std::size_t at = r.err.find("conflict"); at != std::string::npos;
         at = r.err.find("conflict", at + 1))
        ++conflicts;
    EXPECT_EQ(conflicts, 0u);  // the reader skips keys that are on the stack already
}

}  // namespace
}  // namespace kov

namespace kov {
namespace {

TEST(CliLoad, EncodingOfNamesThatAreNotUtf8) {
    test::TempDir dir;
    // Channel id "U\xE9" is not UTF-8: Windows-1252 reads "Ué", CP1251 "Uй".
    test::WriteFile(dir / "enc.cfg",
                    "SUB,1,1999\r\n1,1A,0D\r\n1,U\xE9,A,,kV,1,0,0,-100,100,1,1,P\r\n60\r\n1\r\n"
                    "1000,2\r\n01/01/2026,00:00:00.000\r\n01/01/2026,00:00:00.000\r\nASCII\r\n"
                    "1\r\n");
    test::WriteFile(dir / "enc.dat", "1,0,1\r\n2,1000,2\r\n");
    const std::string cfg = "'" + (dir / "enc.cfg").string() + "'";
    auto r = RunCli("list " + cfg);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("U\xC3\xA9"), std::string::npos) << r.out;
    r = RunCli("list --encoding CP1251 " + cfg);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("U\xD0\xB9"), std::string::npos) << r.out;
    r = RunCli("load --encoding CP1251 " + cfg);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("U\xD0\xB9"), std::string::npos) << r.out;
    r = RunCli("list --encoding NO-SUCH-CODE " + cfg);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Unknown text encoding"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kov
