#include "pqdif/PqdifSequence.h"

#include "platform/Strings.h"
#include "platform/Text.h"

namespace kov::pqdif {

void CountingRecordHandler::OnDataSource(CPQDIFRecord& record, int) {
    ++dataSources;
    const int channels = GetChannelDefinitionCount(&record);
    for (int i = 0; i < channels; ++i) seriesDefinitions += GetSeriesDefinitionCount(&record, i);
}

namespace {

SequenceStatus Fail(std::unique_ptr<ProgressWindow>& progress, Ui& ui, const char* text,
                    SequenceStatus status) {
    progress.reset();  // the progress window closes before the message shows
    ui.MessageBox(text, str::kPqdifErrorCaption, Icon::Warning);
    return status;
}

}  // namespace

SequenceStatus CheckRecordSequence(CPQDIF_PersistController* controller, Ui& ui,
                                   PqdifRecordHandler& handler) {
    std::unique_ptr<ProgressWindow> progress = ui.CreateProgress();
    progress->SetTitle(str::kPqdifProgressTitle);
    if (!controller)
        return Fail(progress, ui, str::kPqdifNoController, SequenceStatus::NoController);
    const int count = controller->GetCount();
    progress->SetRange(count);
    progress->SetPos(0);
    progress->SetText(Format(str::kPqdifProgressRecord, 0, str::kPqdifContainerRecord));
    if (count < 3)
        return Fail(progress, ui, str::kPqdifNotEnoughRecords, SequenceStatus::NotEnoughRecords);
    if (controller->GetRecord(0)->Tag() != tagContainer)
        return Fail(progress, ui, str::kPqdifMissingContainer, SequenceStatus::MissingContainer);

    CPQDIFRecord* dataSource = nullptr;
    CPQDIFRecord* settings = nullptr;
    int dataSourceIndex = -1, settingsIndex = -1, settingsSeen = 0, observationsSeen = 0;
    for (int i = 1; i < count; ++i) {
        // A record whose body cannot be read is still judged by its tag; its
        // accessors then find nothing.
        CPQDIFRecord* record = controller->GetRecordLoaded(i);
        if (!record) record = controller->GetRecord(i);
        const Guid tag = record->Tag();
        progress->SetPos(i);
        if (tag == tagRecDataSource) {
            progress->SetText(Format(str::kPqdifProgressRecord, i, str::kPqdifDataSourceRecord));
            dataSource = record;
            ++dataSourceIndex;
            settings = nullptr;
            settingsIndex = -1;
            handler.OnDataSource(*record, dataSourceIndex);
        } else if (tag == tagRecMonitorSettings) {
            progress->SetText(
                Format(str::kPqdifProgressRecord, i, str::kPqdifMonitorSettingsRecord));
            settings = record;
            settingsIndex = settingsSeen++;
            if (dataSource) handler.OnMonitorSettings(*record, dataSourceIndex);
        } else if (tag == tagRecObservation) {
            progress->SetText(Format(str::kPqdifProgressRecord, i, str::kPqdifObservationRecord));
            if (dataSource) {
                CPQDIF_R_Observation view(record, dataSource, settings);
                handler.OnObservation(view, dataSourceIndex, settingsIndex);
                ++observationsSeen;
            }
        } else if (tag == tagContainer) {
            progress->SetText(Format(str::kPqdifProgressRecord, i, str::kPqdifContainerRecord));
            ui.MessageBox(str::kPqdifAnotherContainer, str::kPqdifErrorCaption, Icon::Warning);
        } else {
            return Fail(progress, ui, str::kPqdifUnrecognizedRecord,
                        SequenceStatus::UnrecognizedRecord);
        }
        if (!dataSource)
            return Fail(progress, ui, str::kPqdifFirstMustBeDataSource,
                        SequenceStatus::FirstNotDataSource);
    }
    if (!dataSource)
        return Fail(progress, ui, str::kPqdifNoDataSource, SequenceStatus::NoDataSource);
    if (observationsSeen == 0)
        return Fail(progress, ui, str::kPqdifNoObservation, SequenceStatus::NoObservation);
    if (!handler.HasUsableSeries())
        return Fail(progress, ui, str::kPqdifNoUsableSeries, SequenceStatus::NoUsableSeries);
    return SequenceStatus::Ok;
}

SequenceStatus OpenAndCheckRecords(const std::string& path, Ui& ui, PqdifRecordHandler& handler,
                                   std::unique_ptr<CPQDIF_PC_FlatFile>& controller) {
    controller = CreateController(0);
    if (controller) {
        controller->SetFileName(path);
        controller->Load();
    }
    return CheckRecordSequence(controller.get(), ui, handler);
}

}  // namespace kov::pqdif
