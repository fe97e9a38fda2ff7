#include "readers/comtrade/ComtradeDataFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/Strings.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "readers/comtrade/ComtradeText.h"
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"

namespace kov {

namespace fs = std::filesystem;

namespace {

// Name parts keep at most 63 bytes, cut on a character boundary: the stack
// key keeps 63 bytes of each part, so it never splits a UTF-8 character.
constexpr std::size_t kNamePartLimit = 63;

// A read-only memory map of a whole file. Pages behind the reading position
// can be released, so that mapping a large file does not grow the process
// by the file's size.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile() {
        if (base_) ::munmap(base_, size_);
        if (fd_ >= 0) ::close(fd_);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool Open(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) return false;
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return false;
        size_ = static_cast<std::size_t>(st.st_size);
        if (size_ == 0) return true;
        void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd_, 0);
        if (p == MAP_FAILED) {
            size_ = 0;
            return false;
        }
        base_ = static_cast<char*>(p);
        ::madvise(base_, size_, MADV_SEQUENTIAL);
        return true;
    }

    std::string_view bytes() const { return {base_, size_}; }

    // Drops the pages before `offset` (they are read again from the file if
    // ever touched).
    void ReleaseBefore(std::uint64_t offset) {
        const auto page = static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
        const std::uint64_t end = std::min<std::uint64_t>(offset, size_) / page * page;
        if (base_ && end > released_) {
            ::madvise(base_ + released_, end - released_, MADV_DONTNEED);
            released_ = end;
        }
    }

private:
    int fd_ = -1;
    char* base_ = nullptr;
    std::size_t size_ = 0;
    std::uint64_t released_ = 0;
};

struct ReleaseContext {
    MappedFile* file;
    std::uint64_t offset;  // of the data within the file
};

void ReleaseConsumed(void* context, std::uint64_t bytes) {
    auto* c = static_cast<ReleaseContext*>(context);
    c->file->ReleaseBefore(c->offset + bytes);
}

// A channel id in the form of a stack key, as our own COMTRADE export writes
// it: "(p1      )(p2      )(p3      )(p4      )(case    )(TAG )".
bool IsKeyForm(std::string_view id) {
    if (id.size() != 56) return false;
    for (std::size_t i : {0, 10, 20, 30, 40, 50})
        if (id[i] != '(') return false;
    for (std::size_t i : {9, 19, 29, 39, 49, 55})
        if (id[i] != ')') return false;
    return true;
}

std::string Utf8Path(const std::string& path) {
    return comtrade::ToUtf8(path);
}

}  // namespace

std::string FindComtradeCompanion(const std::string& path, const std::string& extension) {
    const fs::path p(path);
    fs::path base = p;
    base.replace_extension();  // from the last '.' of the file name
    const std::string stem = base.filename().string();
    std::error_code ec;
    std::string upper = extension;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string spellings[] = {extension, ToLower(extension), upper};
    for (const std::string& ext : spellings) {
        fs::path candidate = base;
        candidate += ext;
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
    }
    const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        const std::string n = name.string();
        if (n.size() == stem.size() + extension.size() && n.compare(0, stem.size(), stem) == 0 &&
            EqualsNoCase(std::string_view(n).substr(stem.size()), extension) &&
            it->is_regular_file(ec))
            return it->path().string();
    }
    return {};
}

int ComtradeDataFile::CheckFile(std::FILE* file) {
    return file ? std::ferror(file) : -1;
}

bool ComtradeDataFile::ReadHeader(std::FILE* file) {
    usable_ = false;
    source_ = ReadComtradeSource(file);
    bool ok = ParseComtradeConfig(source_.cfgLines, config_);
    if (source_.readError) ok = false;
    // A .cff data section names its own format; it describes the bytes that follow.
    if (ok && source_.singleFile && source_.dataFormat) config_.format = *source_.dataFormat;
    source_.cfgLines.clear();
    source_.cfgLines.shrink_to_fit();
    usable_ = ok;
    return ok;
}

std::string ComtradeDataFile::Text(const std::string& raw) const {
    return comtrade::ToUtf8(raw, encoding_);
}

bool ComtradeDataFile::SetEncoding(const std::string& encoding) {
    if (!comtrade::IsKnownEncoding(encoding)) return false;
    encoding_ = encoding;
    return true;
}

std::string ComtradeDataFile::DataFilePath() const {
    if (source_.singleFile) return path();
    return FindComtradeCompanion(path(), ".dat");
}

std::string ComtradeDataFile::HeaderFilePath() const {
    if (source_.singleFile) return {};
    return FindComtradeCompanion(path(), ".hdr");
}

std::string ComtradeDataFile::HeaderText() const {
    std::string raw;
    if (source_.singleFile) {
        raw = source_.headerText;
    } else {
        const std::string hdr = HeaderFilePath();
        if (hdr.empty()) return {};
        std::ifstream in(hdr, std::ios::binary);
        raw.resize(kComtradeHeaderTextBytes);
        in.read(raw.data(), static_cast<std::streamsize>(raw.size()));
        raw.resize(static_cast<std::size_t>(in.gcount()));
    }
    // The cut at 2,048 bytes may split the last UTF-8 character.
    const std::size_t tail = comtrade::IncompleteUtf8Tail(raw);
    if (tail > 0 && comtrade::IsValidUtf8(std::string_view(raw).substr(0, raw.size() - tail)))
        raw.resize(raw.size() - tail);
    return Text(raw);
}

std::string ComtradeDataFile::StationText() const {
    return Text(config_.station) + ", " + Text(config_.deviceId);
}

std::string ComtradeDataFile::StartTimeText() const {
    return Text(config_.startDate) + " " + Text(config_.startTime);
}

std::string ComtradeDataFile::TriggerTimeText() const {
    return Text(config_.triggerDate) + " " + Text(config_.triggerTime);
}

std::vector<std::string> ComtradeDataFile::Notes() const {
    return {Text(config_.station), "  Start Time:" + StartTimeText(),
            "Trigger Time: " + TriggerTimeText()};
}

ComtradeDataFile::Identity ComtradeDataFile::ChannelIdentity(std::size_t channel) const {
    const ComtradeChannel& ch = config_.channels.at(channel);
    Identity id;
    id.caseName = Utf8Path(fs::path(path()).stem().string());
    id.typeTag = "WAVE";
    const std::string name = Text(ch.id);
    if (!ch.analog) {
        id.nameParts[0] = Format("%u", ch.number);
        id.nameParts[1] = comtrade::CutUtf8(name, kNamePartLimit);
        return id;
    }
    if (IsKeyForm(name)) {
        for (std::size_t i = 0; i < 4; ++i) id.nameParts[i] = name.substr(1 + 10 * i, 8);
        id.caseName = "COMTRADE";
        id.typeTag = name.substr(51, 4);
        return id;
    }
    const std::string phase = ch.phase.empty() ? "?" : comtrade::FirstUtf8Char(Text(ch.phase));
    id.nameParts[0] = Format("%u_", ch.number) + phase;
    id.nameParts[1] = comtrade::CutUtf8(name, kNamePartLimit);
    id.nameParts[2] = comtrade::CutUtf8(Text(ch.component), kNamePartLimit);
    id.nameParts[3] = comtrade::CutUtf8(Text(ch.units), kNamePartLimit);
    return id;
}

std::vector<CatalogueEntry> ComtradeDataFile::Catalogue() const {
    std::vector<CatalogueEntry> entries;
    if (!usable_) return entries;
    entries.reserve(config_.channels.size());
    for (std::size_t i = 0; i < config_.channels.size(); ++i) {
        const ComtradeChannel& ch = config_.channels[i];
        CatalogueEntry e;
        const std::string name = Text(ch.id);
        if (ch.analog) {
            const std::string phase =
                ch.phase.empty() ? "?" : comtrade::FirstUtf8Char(Text(ch.phase));
            e.group = "Analog";
            e.line = Format("%u ", ch.number) + phase + " " + name;
        } else {
            e.group = "Digital";
            e.line = Format("%u ", ch.number) + name;
        }
        const Identity id = ChannelIdentity(i);
        e.key = Stack::MakeKey(id.caseName, id.nameParts[0], id.nameParts[1], id.nameParts[2],
                               id.nameParts[3], id.typeTag);
        entries.push_back(std::move(e));
    }
    return entries;
}

bool ComtradeDataFile::LoadChoice(Stack& stack, Ui& ui, const kov::LoadChoice& choice) {
    samplesRead_ = 0;
    if (!usable_) return false;
    if (const auto it = choice.options.find(kOptionEncoding); it != choice.options.end()) {
        if (!SetEncoding(it->second)) {
            ui.MessageBox(Format(str::kUnknownEncoding, it->second.c_str()), str::kLongProductName,
                          Icon::Exclamation);
            return false;
        }
    }

    // The chosen channels, once each, in the order given, less those whose
    // item is on the stack already.
    std::vector<std::size_t> picked;
    std::set<std::size_t> seen;
    for (std::size_t index : choice.indexes) {
        if (index >= config_.channels.size() || !seen.insert(index).second) continue;
        const Identity id = ChannelIdentity(index);
        if (stack.FindByKey(Stack::MakeKey(id.caseName, id.nameParts[0], id.nameParts[1],
                                           id.nameParts[2], id.nameParts[3], id.typeTag)))
            continue;
        picked.push_back(index);
    }
    if (picked.empty()) return true;

    WaitCursor wait(ui);
    const std::string dataPath = DataFilePath();
    if (dataPath.empty()) return false;
    MappedFile file;
    if (!file.Open(dataPath)) return false;

    std::string_view data = file.bytes();
    ComtradeRunOptions options = runOptions;
    ReleaseContext release{&file, 0};
    if (source_.singleFile) {
        if (!source_.hasData || source_.dataOffset > data.size()) {
            data = {};
        } else {
            data.remove_prefix(static_cast<std::size_t>(source_.dataOffset));
            if (source_.dataBytes && *source_.dataBytes < data.size())
                data = data.substr(0, static_cast<std::size_t>(*source_.dataBytes));
        }
        release.offset = source_.dataOffset;
        options.stopAtSectionMarker = true;
    }
    options.consumed = ReleaseConsumed;
    options.context = &release;

    ComtradeRunResult run = RunComtradeData(config_, picked, data, options);
    samplesRead_ = run.samples;

    if (run.samples != config_.totalSamples) {
        ui.Beep();
        if (!ui.AskYesNo(str::kDataFileShort, str::kLongProductName)) return false;
    }

    const std::vector<std::string> notes = Notes();
    for (std::size_t i = 0; i < picked.size(); ++i) {
        const ComtradeChannel& ch = config_.channels[picked[i]];
        const Identity id = ChannelIdentity(picked[i]);
        auto item = std::make_unique<WaveStackObject>();
        item->Init(path(), id.caseName, id.nameParts[0], id.nameParts[1], id.nameParts[2],
                   id.nameParts[3], id.typeTag);
        item->notes = notes;
        item->primaryRatio = ch.primary;
        item->secondaryRatio = ch.secondary;
        item->valueSide = ch.side;
        item->SetSamples(run.times[run.timeOf[i]], std::move(run.values[i]));
        if (!run.exactTimes.empty()) item->xExact = run.exactTimes[run.timeOf[i]];
        item->Finish();
        stack.Add(std::move(item));
    }
    return true;
}

}  // namespace kov
