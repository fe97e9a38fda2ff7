#pragma once
// Helpers of the COMTRADE tests: writing a record, opening it the way the
// open flow does, and loading all or some of its channels.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/RecordingUi.h"
#include "readers/comtrade/ComtradeDataFile.h"
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"
#include "support/TestSupport.h"

namespace kov::test {

// Opens a configuration as CreateReader does: CheckFile, then ReadHeader.
// `headerOk` receives ReadHeader's result; null when the file cannot be opened.
inline std::unique_ptr<ComtradeDataFile> OpenComtrade(const std::filesystem::path& path,
                                                      bool* headerOk = nullptr) {
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (!file) return nullptr;
    auto reader = std::make_unique<ComtradeDataFile>();
    reader->SetPath(path.string());
    bool ok = reader->CheckFile(file) == 0 && reader->ReadHeader(file);
    std::fclose(file);
    if (headerOk) *headerOk = ok;
    return reader;
}

// A stack with a recording Ui, and the result of loading into it.
struct ComtradeLoad {
    RecordingUi ui;
    Stack stack{ui};
    std::unique_ptr<ComtradeDataFile> reader;
    bool headerOk = false;
    bool loaded = false;

    const WaveStackObject& Item(std::size_t i) const {
        return dynamic_cast<const WaveStackObject&>(*stack.at(i));
    }
    std::vector<float> Y(std::size_t i) const {
        const auto v = Item(i).yValues.values();
        return {v.begin(), v.end()};
    }
    std::vector<double> X(std::size_t i) const {
        std::vector<double> x;
        const auto& item = Item(i);
        for (std::size_t k = 0; k < item.pointCount(); ++k) x.push_back(item.XAt(k));
        return x;
    }
};

// Opens `cfg` and loads the chosen channels (all when `indexes` is empty).
inline std::unique_ptr<ComtradeLoad> LoadComtrade(const std::filesystem::path& cfg,
                                                  std::vector<std::size_t> indexes = {},
                                                  std::map<std::string, std::string> options = {},
                                                  Answer answer = Answer::Yes) {
    auto load = std::make_unique<ComtradeLoad>();
    load->ui.questionAnswer = answer;
    load->reader = OpenComtrade(cfg, &load->headerOk);
    if (!load->reader || !load->headerOk) return load;
    if (indexes.empty())
        for (std::size_t i = 0; i < load->reader->config().channels.size(); ++i)
            indexes.push_back(i);
    kov::LoadChoice choice;
    choice.indexes = indexes;
    choice.options = std::move(options);
    load->loaded = load->reader->LoadChoice(load->stack, load->ui, choice);
    return load;
}

// Little-endian binary record writer.
class BinaryRecords {
public:
    void U32(std::uint32_t v) { Put(&v, 4); }
    void I16(std::int16_t v) { Put(&v, 2); }
    void U16(std::uint16_t v) { Put(&v, 2); }
    void I32(std::int32_t v) { Put(&v, 4); }
    void F32(float v) { Put(&v, 4); }
    const std::string& bytes() const { return bytes_; }

private:
    void Put(const void* p, std::size_t n) {
        // The tests run on little-endian machines; the reader swaps on others.
        bytes_.append(static_cast<const char*>(p), n);
    }
    std::string bytes_;
};

}  // namespace kov::test
