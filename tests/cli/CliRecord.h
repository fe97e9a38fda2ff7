#pragma once
// The small COMTRADE record the kov-cli tests load: two analog channels, VA
// (kV, a = 1) and IA (A, a = 0.5), 4 samples at 1 kHz with raw values 1..4
// and 2..8, so both channels read 1, 2, 3, 4.

#include <filesystem>
#include <string>

#include "support/TestSupport.h"

namespace kov::test {

// A path quoted for the command line of RunCli.
inline std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// Writes rec.cfg and rec.dat into dir; returns the path of rec.cfg.
inline std::filesystem::path WriteCliRecord(const TempDir& dir) {
    WriteFile(dir / "rec.cfg",
              "SUB,1,1999\r\n2,2A,0D\r\n1,VA,A,,kV,1,0,0,-100,100,1,1,P\r\n"
              "2,IA,A,,A,0.5,0,0,-100,100,1,1,P\r\n60\r\n1\r\n1000,4\r\n"
              "01/01/2026,00:00:00.000\r\n01/01/2026,00:00:00.001\r\nASCII\r\n1\r\n");
    WriteFile(dir / "rec.dat", "1,0,1,2\r\n2,1000,2,4\r\n3,2000,3,6\r\n4,3000,4,8\r\n");
    return dir / "rec.cfg";
}

}  // namespace kov::test
