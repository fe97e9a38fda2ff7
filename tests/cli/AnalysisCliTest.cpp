// kov-cli expr, calc and units: alone, in scripts, their messages and help.

#include <gtest/gtest.h>

#include <algorithm>

#include "cli/CliRecord.h"
#include "support/TestSupport.h"

namespace kov {
namespace {

using test::RunCli;

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliExpr, AloneMakesAndPrintsTheItem) {
    const auto r = RunCli(
        "expr --name v --kind wave --y '10*cos(2*pi*60*x)' --xmin 0 --xmax 0.1 --points 769");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "(v       )(        )(        )(        )(EXPRESSION)(WAVE)\tWAVE\t769\n");

    const auto bad = RunCli("expr --name v --xmin 1 --xmax 0 --step 0.1");
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("Error: Xmax must be greater than Xmin"), std::string::npos) << bad.err;
}

TEST(CliCalc, ScriptLinesAreOperandsOfLaterLinesAndRecordsPersist) {
    test::TempDir dir;
    test::WriteFile(dir / "calc.script",
                    "expr --name v --y '10*cos(2*pi*60*x)' --xmin 0 --xmax 0.1 --points 769\n"
                    "expr --name i --y 'cos(2*pi*60*x)'\n"
                    "calc --op 'V,I dB Ratio' --a 1 --b '(i *' --new-name ratio\n"
                    "calc --op FFT --a 1 --cycles -1 --new-name f1\n"
                    "calc --op FFT --a 1 --sliding --item rms --step 0.0166667 --new-name s1\n"
                    "calc --op FFT --a 1 --new-name s2\n"
                    "calc --op Multiply --a '(ratio*' --const 2 --new-name double,dB\n"
                    "print --json --samples\n");
    const auto r = RunCli("script " + test::Quoted(dir / "calc.script"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"nameParts\": [\n      \"ratio\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"caseName\": \"DERIVED\""), std::string::npos);
    // 20 log10(10 / 1) at every sample but the zeros of the cosine's samples.
    EXPECT_NE(r.out.find("\"unitId\": 2139"), std::string::npos);
    // Cycles from the length: 0.1 s of 60 Hz is 6 cycles, kept for the next FFT.
    EXPECT_NE(r.out.find("(f1      )(        )(        )(        )(DERIVED )(SPEC)"),
              std::string::npos);
    // The sliding setting persists for the rest of the script: s2 is a trend too.
    EXPECT_NE(r.out.find("(s2      )(        )(        )(        )(DERIVED )(TRND)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("(double  )(dB      )"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST(CliCalc, AloneTakesAFileAndItsSelectionFirst) {
    test::TempDir dir;
    const std::string cfg = test::Quoted(test::WriteCliRecord(dir));
    auto r = RunCli("calc " + cfg + " --op Add --a 1 --b '*IA*' --new-name SUM");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out), 3u);
    EXPECT_NE(r.out.find("(SUM     )(        )(        )(        )(DERIVED )(WAVE)\tWAVE\t4\n"),
              std::string::npos)
        << r.out;

    r = RunCli("calc " + cfg + " --select 2 --op Negate --a 1 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    // The new name defaults to the first operand's name parts.
    EXPECT_NE(r.out.find("\"key\": \"(2_A     )(IA      )(        )(A       )(DERIVED )(WAVE)\""),
              std::string::npos)
        << r.out;
}

TEST(CliCalc, MessagesAndStatuses) {
    test::TempDir dir;
    const std::string cfg = test::Quoted(test::WriteCliRecord(dir));
    auto r = RunCli("calc " + cfg + " --op Power --a 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("KOV: This function requires two curves as arguments."), std::string::npos)
        << r.err;
    r = RunCli("calc " + cfg + " --op Frobnicate --a 1");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no such operation"), std::string::npos);
    r = RunCli("calc " + cfg + " --op FFT --a 1 --sliding --item loud");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Invalid text entry.  Harmonic number, rms, peak, ff, or cf allowed."),
              std::string::npos);
    r = RunCli("calc " + cfg + " --op FFT --a 1 --sliding --item -3");
    EXPECT_NE(r.err.find("Harmonic value must be > 0."), std::string::npos);
    r = RunCli("calc " + cfg + " --op Sampling --a 1 --by value --start-value 2 --stop-value 1");
    EXPECT_NE(r.err.find("Error: Start value must be less than Stop value"), std::string::npos);
    r = RunCli("calc " + cfg + " --op Add --a 9 --const 1");
    EXPECT_NE(r.err.find("--a 9: no such stack item"), std::string::npos);
    r = RunCli("calc " + cfg + " --op Add --a 1 --const 1 --new-name ,");
    EXPECT_NE(r.err.find("KOV: Invalid stack name specified."), std::string::npos) << r.err;
}

TEST(CliUnits, SetsPrefixUnitAndPerUnitBase) {
    test::TempDir dir;
    const std::string cfg = test::Quoted(test::WriteCliRecord(dir));
    auto r = RunCli("units " + cfg + " --items 1 2 --axis y --prefix k --unit 2122 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"unitId\": 2122,\n        \"unitText\": \"Voltage,Volts,V\",\n        "
                         "\"prefix\": \"k\",\n        \"multiplier\": 1000.0"),
              std::string::npos)
        << r.out;
    r = RunCli("units " + cfg + " --items '*VA*' --axis x --base 0.5 --factor sqrt2 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"perUnit\": true,\n        \"base\": 0.5,\n        \"factor\": 1"),
              std::string::npos)
        << r.out;
    r = RunCli("units " + cfg + " --items 1 --axis y2");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no such axis"), std::string::npos);
}

TEST(CliAnalysis, HelpDocumentsEveryFlag) {
    auto r = RunCli("--help");
    for (const char* command : {"expr", "calc", "units"})
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
    r = RunCli("calc --help");
    for (const char* flag : {"--op",
                             "--a",
                             "--b",
                             "--const",
                             "--new-name",
                             "--sliding",
                             "--fundamental",
                             "--cycles",
                             "--start",
                             "--window",
                             "--step",
                             "--item",
                             "--auto-fundamental",
                             "--last-harmonic",
                             "--series",
                             "--filter",
                             "--f1",
                             "--f2",
                             "--sections",
                             "--shift",
                             "--by",
                             "--start-index",
                             "--stop-index",
                             "--start-value",
                             "--stop-value",
                             "--sample-step",
                             "--sample-points",
                             "--increment",
                             "\"V,I dB Ratio\""})
        EXPECT_NE(r.out.find(flag), std::string::npos) << flag;
    r = RunCli("expr --help");
    for (const char* flag : {"--name", "--kind", "--y", "--y2", "--xmin", "--xmax", "--step",
                             "--points", "--complex", "--phase"})
        EXPECT_NE(r.out.find(flag), std::string::npos) << flag;
    r = RunCli("units --help");
    for (const char* flag :
         {"--items", "--axis", "--prefix", "--unit", "--per-unit", "--base", "--factor"})
        EXPECT_NE(r.out.find(flag), std::string::npos) << flag;
}

}  // namespace
}  // namespace kov
