#include <gtest/gtest.h>

#include <algorithm>

#include "PqdifTestFiles.h"
#include "platform/RecordingUi.h"
#include "platform/Strings.h"
#include "pqdif/PqdifSequence.h"

namespace kov::pqdif {
namespace {

using namespace testfiles;

// Runs the check over records laid out in the given order.
struct CheckRun {
    RecordingUi ui;
    CountingRecordHandler handler;
    std::vector<std::uint8_t> bytes;
    CPQDIF_PC_FlatFile controller;
    SequenceStatus status;

    explicit CheckRun(std::vector<std::unique_ptr<CPQDIFRecord>> records) {
        bytes = WriteRecords(Pointers(records), 1);
        controller.SetMemoryBlock(bytes.data(), bytes.size());
        controller.Load();
        status = CheckRecordSequence(&controller, ui, handler);
    }
};

std::unique_ptr<CPQDIFRecord> DataSourceWithSeries() {
    auto ds = DataSource();
    AddChannelDefn(ds.get(), "V", 1, {{ID_SERIES_VALUE_TYPE_TIME, 1, 2}, {}});
    return ds;
}

template <typename... R>
std::vector<std::unique_ptr<CPQDIFRecord>> List(R&&... r) {
    std::vector<std::unique_ptr<CPQDIFRecord>> v;
    (v.push_back(std::forward<R>(r)), ...);
    return v;
}

void ExpectSingleError(const CheckRun& run, const char* text) {
    ASSERT_EQ(run.ui.messages.size(), 1u);
    EXPECT_EQ(run.ui.messages[0].text, text);
    EXPECT_EQ(run.ui.messages[0].caption, "PQDIF Error");
    EXPECT_EQ(run.ui.messages[0].icon, Icon::Warning);
    // The progress window is closed before the message shows.
    ASSERT_FALSE(run.ui.progress.empty());
    EXPECT_EQ(run.ui.progress.back(), "destroy");
}

TEST(PqdifSequence, ContainerDataSourceAndObservationPass) {
    CheckRun run(List(Container(), DataSourceWithSeries(), Observation("o")));
    EXPECT_EQ(run.status, SequenceStatus::Ok);
    EXPECT_TRUE(run.ui.messages.empty());
    EXPECT_EQ(run.handler.dataSources, 1);
    EXPECT_EQ(run.handler.observations, 1);
    EXPECT_EQ(run.handler.seriesDefinitions, 2);
    const auto& p = run.ui.progress;
    EXPECT_EQ(p.front(), "create");
    EXPECT_NE(std::find(p.begin(), p.end(), "title KOV - Reading PQDIF Headers"), p.end());
    EXPECT_NE(std::find(p.begin(), p.end(), "text Record 1: data source record"), p.end());
    EXPECT_NE(std::find(p.begin(), p.end(), "text Record 2: observation record"), p.end());
    EXPECT_EQ(p.back(), "destroy");
}

TEST(PqdifSequence, TooFewRecords) {
    CheckRun run(List(Container(), DataSourceWithSeries()));
    EXPECT_EQ(run.status, SequenceStatus::NotEnoughRecords);
    ExpectSingleError(run, "Not enough records in this file");
}

TEST(PqdifSequence, FirstRecordMustBeAContainer) {
    CheckRun run(List(DataSourceWithSeries(), DataSourceWithSeries(), Observation("o")));
    EXPECT_EQ(run.status, SequenceStatus::MissingContainer);
    ExpectSingleError(run, "Missing container record");
}

TEST(PqdifSequence, MonitorSettingsBeforeTheDataSource) {
    CheckRun run(
        List(Container(), SettingsRecord(false), DataSourceWithSeries(), Observation("o")));
    EXPECT_EQ(run.status, SequenceStatus::FirstNotDataSource);
    ExpectSingleError(run, "The first record (after container) must be a data source");
    EXPECT_EQ(run.handler.dataSources, 0);
}

TEST(PqdifSequence, SecondContainerWarnsAndLoadingGoesOn) {
    CheckRun run(List(Container(), DataSourceWithSeries(), Container(), SettingsRecord(false),
                      Observation("o")));
    EXPECT_EQ(run.status, SequenceStatus::Ok);
    ASSERT_EQ(run.ui.messages.size(), 1u);
    EXPECT_EQ(run.ui.messages[0].text, str::kPqdifAnotherContainer);
    EXPECT_EQ(run.ui.messages[0].caption, "PQDIF Error");
    EXPECT_EQ(run.handler.monitorSettings, 1);
    EXPECT_EQ(run.handler.observations, 1);
}

TEST(PqdifSequence, UnknownRecordTypeEndsLoading) {
    // A record of a type that is none of the four, with a body.
    auto blank = NewRecord(0);
    blank->GetRoot()->AddString(tagTitle, "?");
    CheckRun run2(List(Container(), DataSourceWithSeries(), std::move(blank), Observation("o")));
    EXPECT_EQ(run2.status, SequenceStatus::UnrecognizedRecord);
    ExpectSingleError(run2, "Unrecognized record type");
    EXPECT_EQ(run2.handler.observations, 0);
}

TEST(PqdifSequence, MissingObservationsOrSeries) {
    CheckRun noObs(List(Container(), DataSourceWithSeries(), SettingsRecord(false)));
    EXPECT_EQ(noObs.status, SequenceStatus::NoObservation);
    ExpectSingleError(noObs, "No observation records");

    CheckRun noSeries(List(Container(), DataSource(), Observation("o")));
    EXPECT_EQ(noSeries.status, SequenceStatus::NoUsableSeries);
    ExpectSingleError(noSeries, "No usable series definitions");
}

TEST(PqdifSequence, IndexesOfTheRecordsInForce) {
    struct Recorder : CountingRecordHandler {
        std::vector<std::pair<int, int>> seen;
        std::vector<bool> hadSettings;
        void OnObservation(CPQDIF_R_Observation& o, int ds, int ms) override {
            seen.emplace_back(ds, ms);
            hadSettings.push_back(o.Settings() != nullptr);
            CountingRecordHandler::OnObservation(o, ds, ms);
        }
    };
    auto records =
        List(Container(), DataSourceWithSeries(), SettingsRecord(false), Observation("a"),
             DataSourceWithSeries(), Observation("b"), SettingsRecord(true), Observation("c"));
    const auto bytes = WriteRecords(Pointers(records), 0);
    CPQDIF_PC_FlatFile controller;
    controller.SetMemoryBlock(bytes.data(), bytes.size());
    ASSERT_TRUE(controller.Load());
    RecordingUi ui;
    Recorder handler;
    EXPECT_EQ(CheckRecordSequence(&controller, ui, handler), SequenceStatus::Ok);
    EXPECT_EQ(handler.seen, (std::vector<std::pair<int, int>>{{0, 0}, {1, -1}, {1, 1}}));
    EXPECT_EQ(handler.hadSettings, (std::vector<bool>{true, false, true}));
}

TEST(PqdifSequence, NoControllerAndUnreadableFiles) {
    RecordingUi ui;
    CountingRecordHandler handler;
    EXPECT_EQ(CheckRecordSequence(nullptr, ui, handler), SequenceStatus::NoController);
    EXPECT_EQ(ui.LastText(), "Can't create the file controller");

    RecordingUi ui2;
    std::unique_ptr<CPQDIF_PC_FlatFile> controller;
    EXPECT_EQ(OpenAndCheckRecords("/nonexistent/kov.pqd", ui2, handler, controller),
              SequenceStatus::NotEnoughRecords);
    EXPECT_EQ(ui2.LastText(), "Not enough records in this file");
}

}  // namespace
}  // namespace kov::pqdif
