#pragma once
// ComtradeDataFile: the reader of IEEE COMTRADE records (C37.111, 1991, 1999
// and 2013 revisions).
//
// A record is a configuration file (.cfg, the file that is opened), a data
// file beside it (.dat: ASCII lines, or binary records of 16-bit or 32-bit
// integers or single-precision floats) and, for display only, a header file
// (.hdr); the companion files are found whatever the case of their
// extension. A single-file record (.cff) holds the same as sections
// "--- file type: CFG ---", "INF", "HDR" and "DAT ASCII" / "DAT BINARY: n" /
// "DAT BINARY32: n" / "DAT FLOAT32: n".
//
// ReadHeader reads the configuration; Catalogue lists one entry per channel
// (group "Analog" or "Digital", analog channels first); LoadChoice reads the
// data file once and pushes one WaveStackObject per chosen channel. The
// chosen channels with the same skew share one time array (see
// ComtradeData.h for how times are made).
//
// Reader options (LoadChoice::options):
//   "encoding"  the encoding of station names, channel ids and header text
//               that are not valid UTF-8, as the system's iconv names it
//               ("CP1251", "GBK", "ISO-8859-1", ...). Default Windows-1252.
//               Text that is valid UTF-8 is always taken as UTF-8.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "readers/DataFile.h"
#include "readers/comtrade/ComtradeConfig.h"
#include "readers/comtrade/ComtradeData.h"

namespace kov {

class ComtradeDataFile : public DataFile {
public:
    static constexpr const char* kOptionEncoding = "encoding";

    ComtradeDataFile() = default;

    // The stream's error indicator; -1 without a stream.
    int CheckFile(std::FILE* file) override;
    // Reads the configuration (.cfg, or the CFG section of a .cff); true when
    // every mandatory line is there and the counts are usable. The stream
    // stays open (its creator closes it).
    bool ReadHeader(std::FILE* file) override;
    std::vector<CatalogueEntry> Catalogue() const override;
    // Loads the chosen channels. False, and nothing added, when the header
    // was not usable, the data file cannot be opened (no message), the
    // encoding option names an unknown encoding, or the user answers No to
    // question 2037 (the data file holds fewer samples than announced).
    bool LoadChoice(Stack& stack, Ui& ui, const kov::LoadChoice& choice) override;

    // What the load dialog shows above its list.
    // The first 2,048 bytes at most of the header file (or HDR section), as
    // UTF-8; "" when there is none.
    std::string HeaderText() const;
    // "Station Name and ID:": station name, a comma, a blank and device id.
    std::string StationText() const;
    // "Start Time:" and "Trigger Time:": date, a blank and time.
    std::string StartTimeText() const;
    std::string TriggerTimeText() const;

    // Chooses the encoding of text that is not valid UTF-8; false (and no
    // change) when the encoding is unknown.
    bool SetEncoding(const std::string& encoding);
    const std::string& encoding() const { return encoding_; }

    const ComtradeConfig& config() const { return config_; }
    bool usable() const { return usable_; }
    bool singleFile() const { return source_.singleFile; }
    // The data file of a .cfg (found whatever the case of its extension), or
    // "" when there is none; the record itself for a .cff.
    std::string DataFilePath() const;
    std::string HeaderFilePath() const;

    // The identity the item of channel i gets.
    struct Identity {
        std::string caseName;
        std::array<std::string, 4> nameParts;
        std::string typeTag;
    };
    Identity ChannelIdentity(std::size_t channel) const;
    // The three note lines of every item: station, start time, trigger time.
    std::vector<std::string> Notes() const;

    // Samples read by the last LoadChoice.
    std::uint64_t samplesRead() const { return samplesRead_; }
    // Tuning of the data run (tests lower the exact-time threshold).
    ComtradeRunOptions runOptions;

private:
    std::string Text(const std::string& raw) const;

    ComtradeSource source_;
    ComtradeConfig config_;
    bool usable_ = false;
    std::string encoding_ = "WINDOWS-1252";
    std::uint64_t samplesRead_ = 0;
};

// The file beside `path` with the same name and extension `extension`
// (".dat", ".hdr"), whatever the case of the extension: the exact spelling,
// then lower and upper case, then any other spelling found in the folder.
// A path without extension gets the extension appended. "" when none exists.
std::string FindComtradeCompanion(const std::string& path, const std::string& extension);

}  // namespace kov
