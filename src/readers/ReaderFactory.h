#pragma once
// From a (type id, subtype id) pair to a reader: the dispatch, and the one
// place where reader classes are registered.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "readers/DataFile.h"

namespace kov {

enum class ReaderClass {
    None,
    Ostrell,
    VHarm,
    Quillon,
    Comtrade,
    VexaCsv,
    Dranetz65xAscii,
    DADisp,
    Emtdc,
    HarmfloWave,
    HarmfloSpec,
    Fluke41,
    FlukeCurve,
    Statistic,
    EpriPl4,
    AtpPl4,
    Pqdif,
};

// The reader class for a pair, with the reader's variant number (PL4 family)
// and the status when there is no class: 2 for a pair no reader serves, 0 for
// the pairs that are not read (macros, Harmflo impedance and text output).
struct ReaderSelection {
    ReaderClass readerClass = ReaderClass::None;
    int variant = 0;
    int status = 0;
};

// The PL4 family told apart by content: "K" first is an EPRI file (variant
// 101), 0xFC first is unsupported, blanks at offsets 9 and 10 an ATP file
// (variant 103), anything else an EPRI file (variant 100). The file position
// is restored to the start.
ReaderSelection SniffPl4(std::FILE* file);

// `file` is the opened file (read only for the PL4 family).
ReaderSelection SelectReader(std::uint32_t typeId, std::uint32_t subtypeId, std::FILE* file);

// Makes the reader object of a selection; null when that reader is not
// available in this build.
std::unique_ptr<DataFile> InstantiateReader(const ReaderSelection& selection);

}  // namespace kov
