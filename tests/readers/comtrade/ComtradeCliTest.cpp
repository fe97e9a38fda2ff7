// kov-cli on COMTRADE records: list and load of .cfg and .cff files, and
// --answer for question 2037.

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace kov {
namespace {

using test::RunCli;
using test::TempDir;
using test::WriteFile;

const char* const kCfg =
    "S,1,1999\n2,1A,1D\n1,V,A,,kV,1,0,0,0,0,1,1,P\n1,Trip,,,0\n60\n1\n1000,3\n"
    "01/01/2020,00:00:00\n01/01/2020,00:00:00\nASCII\n1\n";

TEST(ComtradeCli, ListsAndLoadsCfgAndCffFiles) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg);
    WriteFile(dir / "r.DAT", "1,0,5,0\n2,1000,6,1\n3,2000,7,0\n");
    WriteFile(dir / "s.cff", std::string("--- file type: CFG ---\n") + kCfg +
                                 "--- file type: DAT ASCII ---\n1,0,5,0\n2,1000,6,1\n3,2000,7,0\n");
    for (const char* file : {"r.cfg", "s.cff"}) {
        SCOPED_TRACE(file);
        const auto list = RunCli(std::string("list ") + file, dir.path());
        EXPECT_EQ(list.status, 0) << list.err;
        EXPECT_NE(list.out.find("Analog\t1 A V\t(1_A     )(V       )"), std::string::npos)
            << list.out;
        EXPECT_NE(list.out.find("Digital\t1 Trip"), std::string::npos) << list.out;
        const auto load = RunCli(std::string("load ") + file, dir.path());
        EXPECT_EQ(load.status, 0) << load.err;
        EXPECT_NE(load.out.find("(Trip    )"), std::string::npos) << load.out;
        EXPECT_EQ(load.err.find("data file does not contain"), std::string::npos) << load.err;
    }
}

TEST(ComtradeCli, AnswerDecidesQuestion2037) {
    TempDir dir;
    WriteFile(dir / "r.cfg", kCfg);
    WriteFile(dir / "r.dat", "1,0,5,0\n");
    const auto no = RunCli("load --answer no r.cfg", dir.path());
    EXPECT_NE(no.err.find("The data file does not contain the number of records"),
              std::string::npos)
        << no.err;
    EXPECT_EQ(no.out.find("WAVE"), std::string::npos) << no.out;
    const auto yes = RunCli("load --answer yes r.cfg", dir.path());
    EXPECT_NE(yes.out.find("(V       )"), std::string::npos) << yes.out;
}

}  // namespace
}  // namespace kov
