#pragma once
// A reader of a tiny text format for testing the open and load flow: the
// first line must be "FAKE"; every further line "name,v1,v2,..." is one
// quantity whose samples are taken one per millisecond.

#include <sstream>

#include "readers/DataFile.h"
#include "readers/Workbench.h"
#include "stack/Stack.h"
#include "stack/WaveStackObject.h"

namespace kov::test {

class FakeReader : public DataFile {
public:
    struct Channel {
        std::string name;
        std::vector<float> values;
    };
    std::vector<Channel> channels;
    std::vector<std::string> loadByNamesCalls;

    bool ReadHeader(std::FILE* file) override {
        channels.clear();
        char buffer[512];
        if (!std::fgets(buffer, sizeof buffer, file) || std::string(buffer).rfind("FAKE", 0) != 0)
            return false;
        while (std::fgets(buffer, sizeof buffer, file)) {
            std::stringstream line(buffer);
            Channel c;
            std::string field;
            if (!std::getline(line, c.name, ',')) continue;
            while (std::getline(line, field, ',')) c.values.push_back(std::stof(field));
            channels.push_back(std::move(c));
        }
        return true;
    }
    std::string CaseName() const {
        const std::string name = std::filesystem::path(path()).stem().string();
        return name;
    }
    std::vector<CatalogueEntry> Catalogue() const override {
        std::vector<CatalogueEntry> list;
        for (const Channel& c : channels)
            list.push_back(
                {"Analog", c.name, Stack::MakeKey(CaseName(), c.name, "", "", "", "WAVE")});
        return list;
    }
    bool LoadChoice(Stack& stack, Ui&, const kov::LoadChoice& choice) override {
        for (std::size_t i : choice.indexes) {
            if (i >= channels.size()) return false;
            if (stack.FindByKey(Catalogue()[i].key)) continue;
            auto wave = std::make_unique<WaveStackObject>();
            wave->Init(path(), CaseName(), channels[i].name, "", "", "", "WAVE");
            std::vector<float> x(channels[i].values.size());
            for (std::size_t k = 0; k < x.size(); ++k) x[k] = 0.001f * static_cast<float>(k);
            wave->SetSamples(FloatArray(x), FloatArray(channels[i].values));
            wave->Finish();
            stack.Add(std::move(wave));
        }
        return true;
    }
    int LoadByNames(Workbench& workbench, const std::string& arguments) override {
        loadByNamesCalls.push_back(arguments);
        kov::LoadChoice all;
        for (std::size_t i = 0; i < channels.size(); ++i) all.indexes.push_back(i);
        LoadChoice(workbench.stack(), workbench.ui(), all);
        return static_cast<int>(channels.size());
    }
    int RefreshItems(Stack& stack, Ui&, std::set<const StackObject*>& refreshed) override {
        int count = 0;
        for (StackObject* item : stack.GetAll())
            if (item->sourcePath() == path()) {
                refreshed.insert(item);
                ++count;
            }
        return count;
    }
};

}  // namespace kov::test
