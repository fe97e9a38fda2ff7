// Conformance over the real PQDIF files in the shared sample folder (see its
// SOURCES.md): every chain is walked, every body parsed, the sequence check
// passes and the series decode to the counts the writers stored.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/RecordingUi.h"
#include "pqdif/PqdifSequence.h"
#include "pqdif/PqdifTags.h"
#include "support/TestSupport.h"

namespace kov::pqdif {
namespace {

std::filesystem::path Sample(const std::string& name) {
    return test::TestDataDir() / "pqdif" / name;
}

std::vector<std::filesystem::path> AllSamples() {
    std::vector<std::filesystem::path> files;
    for (const auto& e :
         std::filesystem::recursive_directory_iterator(test::TestDataDir() / "pqdif"))
        if (e.is_regular_file() && e.path().extension() == ".pqd") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// What one file holds, gathered through the sequence check.
struct Survey : CountingRecordHandler {
    std::size_t storedValues = 0;  // elements of every tagSeriesValues vector
    std::size_t decodedSeries = 0, undecodedSeries = 0;
    std::map<std::string, int> observationNames;
    std::vector<std::size_t> counts;  // decoded length of every series, in order

    static std::size_t StoredIn(const CPQDIF_E_Collection& c) {
        std::size_t n = 0;
        for (int i = 0; i < c.GetCount(); ++i) {
            const CPQDIF_Element* e = c.GetChild(i);
            if (e->GetElementType() == kElementCollection)
                n += StoredIn(static_cast<const CPQDIF_E_Collection&>(*e));
            else if (e->GetElementType() == kElementVector && e->GetTag() == tagSeriesValues)
                n += static_cast<std::size_t>(static_cast<const CPQDIF_E_Vector*>(e)->GetCount());
        }
        return n;
    }

    void OnObservation(CPQDIF_R_Observation& obs, int ds, int ms) override {
        CountingRecordHandler::OnObservation(obs, ds, ms);
        ObservationInfo info;
        obs.GetObservationInfo(info);
        ++observationNames[info.name];
        if (obs.GetRoot()) storedValues += StoredIn(*obs.GetRoot());
        for (int c = 0; c < obs.GetChannelInstanceCount(); ++c)
            for (int s = 0; s < obs.GetSeriesInstanceCount(c); ++s) {
                if (auto values = obs.GetSeriesValues(c, s)) {
                    ++decodedSeries;
                    counts.push_back(values->size());
                } else {
                    ++undecodedSeries;
                }
            }
    }
};

struct Checked {
    std::unique_ptr<CPQDIF_PC_FlatFile> controller;
    RecordingUi ui;
    Survey survey;
    SequenceStatus status = SequenceStatus::NoController;
    bool chainComplete = false;

    explicit Checked(const std::filesystem::path& path) {
        CPQDIF_PC_FlatFile probe;
        probe.SetFileName(path.string());
        chainComplete = probe.Load();
        status = OpenAndCheckRecords(path.string(), ui, survey, controller);
    }
};

TEST(PqdifConformance, EveryFileWalksParsesAndPassesTheCheck) {
    KOV_REQUIRE_TESTDATA("pqdif");
    const auto files = AllSamples();
    ASSERT_EQ(files.size(), 10u);
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        Checked f(path);
        EXPECT_TRUE(f.chainComplete);
        EXPECT_EQ(f.status, SequenceStatus::Ok);
        EXPECT_TRUE(f.ui.messages.empty());
        ASSERT_GE(f.controller->GetCount(), 4);
        for (int i = 0; i < f.controller->GetCount(); ++i) {
            CPQDIFRecord* r = f.controller->GetRecordLoaded(i);
            ASSERT_NE(r, nullptr) << i;
            EXPECT_GT(r->GetRoot()->GetCount(), 0) << i;
            EXPECT_STRNE(GetTagName(r->Tag()), kUnrecognized) << i;
        }
        EXPECT_EQ(f.survey.dataSources, 1);
    }
}

TEST(PqdifConformance, SatecWaveformEventsDecodeEverySeries) {
    KOV_REQUIRE_TESTDATA("pqdif");
    const std::pair<const char*, std::size_t> files[] = {
        {"pabu-decoder/BULIM_AVE_66kV_24-10-17_08-58-44-031.pqd", 25600},
        {"pabu-decoder/ORCHARD_PARKSUITES_22kV_24-08-21_12-01-47-242_Start.pqd", 26624},
        {"pabu-decoder/ORCHARD_PARKSUITES_22kV_24-08-21_12-25-16-649_End.pqd", 2560},
        {"pabu-decoder/TAMPINES_NT_22kV_DE_20230208001841.pqd", 4096},
    };
    for (const auto& [name, samples] : files) {
        SCOPED_TRACE(name);
        Checked f(Sample(name));
        ASSERT_EQ(f.status, SequenceStatus::Ok);
        EXPECT_EQ(f.controller->GetCount(), 4);
        EXPECT_EQ(f.controller->CompressionStyle(), 2u);
        EXPECT_EQ(f.survey.observationNames["Waveform Change"], 1);
        // 8 channels of time + values; 7 time series are shared from channel 0.
        EXPECT_EQ(f.survey.decodedSeries, 16u);
        EXPECT_EQ(f.survey.undecodedSeries, 0u);
        for (std::size_t n : f.survey.counts) EXPECT_EQ(n, samples);
        EXPECT_EQ(f.survey.storedValues, 9 * samples);

        DataSourceInfo info;
        ASSERT_TRUE(GetDataSourceInfo(f.controller->GetRecordLoaded(1), info));
        EXPECT_STREQ(GetIdName(info.vendor), "ID_VENDOR_SATEC");
        EXPECT_EQ(GetChannelDefinitionCount(f.controller->GetRecordLoaded(1)), 8);
    }
}

TEST(PqdifConformance, TrendFilesOfAMeter) {
    KOV_REQUIRE_TESTDATA("pqdif");
    Checked big(Sample("powerpeg/20220621T000000.pqd"));
    ASSERT_EQ(big.status, SequenceStatus::Ok);
    EXPECT_EQ(big.controller->GetCount(), 124);
    EXPECT_EQ(big.survey.observations, 121);
    EXPECT_EQ(big.survey.observationNames["Basic Trend"], 107);
    EXPECT_EQ(big.survey.observationNames["HRMS Trend"], 12);
    EXPECT_EQ(big.survey.observationNames["SagSwell Observation"], 2);
    EXPECT_EQ(big.survey.storedValues, 591622u);
    EXPECT_EQ(GetChannelDefinitionCount(big.controller->GetRecordLoaded(1)), 174);
    EXPECT_EQ(big.survey.undecodedSeries, 0u);
    // The sag/swell waveforms: 35,000 samples per series.
    EXPECT_EQ(std::count(big.survey.counts.begin(), big.survey.counts.end(), 35000u), 6 * 2 * 2);

    // Times stored as INTEGER4 scaled by 0.0001 come out in seconds.
    CPQDIFRecord* ds = big.controller->GetRecordLoaded(1);
    CPQDIFRecord* ms = big.controller->GetRecordLoaded(2);
    CPQDIF_R_Observation first(big.controller->GetRecordLoaded(3), ds, ms);
    std::uint32_t primary = 0;
    EXPECT_FALSE(first.GetPrimarySeriesIndexFor(0, primary));  // this writer names none
    SeriesDefinition def;
    ASSERT_TRUE(first.GetSeriesDefinitionFor(0, 0, def));
    EXPECT_EQ(def.valueType, ID_SERIES_VALUE_TYPE_TIME);
    EXPECT_EQ(def.storageMethod, 3u);
    const auto times = first.GetSeriesValues(0, 0);
    ASSERT_TRUE(times);
    ASSERT_GE(times->size(), 2u);
    EXPECT_EQ(times->front(), 0.0);
    EXPECT_NEAR((*times)[1], 600.0, 1e-6);

    for (const char* day : {"20220920", "20220925", "20220929", "20221003"}) {
        SCOPED_TRACE(day);
        Checked f(Sample(std::string("powerpeg/") + day + "T000000.pqd"));
        ASSERT_EQ(f.status, SequenceStatus::Ok);
        EXPECT_EQ(f.controller->GetCount(), 41);
        EXPECT_EQ(f.survey.observationNames["Basic Trend"], 26);
        EXPECT_EQ(f.survey.observationNames["HRMS Trend"], 12);
        for (std::size_t n : f.survey.counts) EXPECT_TRUE(n == 0 || n == 144 || n == 2880) << n;
    }
}

TEST(PqdifConformance, MalformedWriterOutputIsReadWithoutHarm) {
    KOV_REQUIRE_TESTDATA("pqdif");
    const auto path = Sample("xml2pqdif/test1.pqd");
    Checked f(path);
    // The last link equals the file length: the chain still ends there.
    EXPECT_TRUE(f.chainComplete);
    EXPECT_EQ(f.controller->GetCount(), 4);
    EXPECT_EQ(f.controller->CompressionStyle(), 0u);
    EXPECT_EQ(f.survey.observationNames["Group B"], 1);
    // Both channel instances name channel definition 106 of 30: nothing decodes.
    EXPECT_EQ(GetChannelDefinitionCount(f.controller->GetRecordLoaded(1)), 30);
    EXPECT_EQ(f.survey.decodedSeries, 0u);
    EXPECT_EQ(f.survey.undecodedSeries, 6u);
    EXPECT_EQ(f.survey.storedValues, 30u);
    // The shifted GUIDs are shown as unrecognised, the text timestamps are not timestamps.
    DataSourceInfo info;
    ASSERT_TRUE(GetDataSourceInfo(f.controller->GetRecordLoaded(1), info));
    EXPECT_STREQ(GetIdName(info.vendor), kUnrecognized);
    MonitorSettings ms;
    EXPECT_FALSE(GetSettings(f.controller->GetRecordLoaded(2), ms));
}

}  // namespace
}  // namespace kov::pqdif
