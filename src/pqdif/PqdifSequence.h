#pragma once
// The record sequence check that opening a PQDIF file runs after the
// controller has walked the record chain: a container first, then a data
// source, then monitor settings and observations in file order. Each record
// is handed to a handler with the data source and monitor settings in force;
// failures are shown through Ui in a warning box captioned "PQDIF Error" while
// a progress window reports the record being read.

#include <memory>
#include <string>

#include "platform/Ui.h"
#include "pqdif/PqdifObservation.h"
#include "pqdif/PqdifRecord.h"

namespace kov::pqdif {

// What the reader does with each record; indexes count records of that kind
// from 0 in file order (-1: no monitor settings in force).
class PqdifRecordHandler {
public:
    virtual ~PqdifRecordHandler() = default;
    virtual void OnDataSource(CPQDIFRecord& record, int dataSourceIndex) = 0;
    virtual void OnMonitorSettings(CPQDIFRecord& record, int dataSourceIndex) = 0;
    virtual void OnObservation(CPQDIF_R_Observation& observation, int dataSourceIndex,
                               int settingsIndex) = 0;
    // True when the records seen so far gave at least one usable series.
    virtual bool HasUsableSeries() const = 0;
};

// A handler that only counts: a series definition in any channel of a data
// source counts as usable.
class CountingRecordHandler : public PqdifRecordHandler {
public:
    int dataSources = 0, monitorSettings = 0, observations = 0, seriesDefinitions = 0;
    void OnDataSource(CPQDIFRecord& record, int) override;
    void OnMonitorSettings(CPQDIFRecord&, int) override { ++monitorSettings; }
    void OnObservation(CPQDIF_R_Observation&, int, int) override { ++observations; }
    bool HasUsableSeries() const override { return seriesDefinitions > 0; }
};

enum class SequenceStatus {
    Ok,
    NoController,
    NotEnoughRecords,
    MissingContainer,
    UnrecognizedRecord,
    FirstNotDataSource,
    NoDataSource,
    NoObservation,
    NoUsableSeries,
};

// Checks the records a controller has listed (the result of its Load does not
// matter, only the records it kept). A second container only warns.
SequenceStatus CheckRecordSequence(CPQDIF_PersistController* controller, Ui& ui,
                                   PqdifRecordHandler& handler);

// Creates a controller for the file, loads it and runs the check; the
// controller is handed back so that its records outlive the check.
SequenceStatus OpenAndCheckRecords(const std::string& path, Ui& ui, PqdifRecordHandler& handler,
                                   std::unique_ptr<CPQDIF_PC_FlatFile>& controller);

}  // namespace kov::pqdif
