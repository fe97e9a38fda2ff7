#pragma once
// The string table: every message text of the system, by resource id where
// it has one. Code refers to texts only through these names.

namespace kov::str {

inline constexpr const char* kShortProductName = "KOV";                     // 1998
inline constexpr const char* kLongProductName = "Kovatrix";                 // 1999
inline constexpr const char* kErrorReadingFile = "Error reading file %s.";  // 2016
inline constexpr const char* kDataFileShort =                               // 2037
    "The data file does not contain the number of records specified in the configuration "
    "file. Do you want continue to open the file?";
inline constexpr const char* kNameExists = "%s name already exists.  It must be unique.";  // 2050
inline constexpr const char* kWrongFileType = "Wrong File Type (or Old Style).";           // 2051
inline constexpr const char* kNoCurrentFile =                                              // 2057
    "Cannot load up the stack because there is no current file.  Use the File Open menu to "
    "select a current file.";
inline constexpr const char* kNoItemsSelected =  // 2059
    "Cannot perform the requested operation.  This operation requires at least one stack "
    "item.  There are currently no items selected.";
inline constexpr const char* kMixedKinds =  // 2060
    "One or more of the curves selected have a fundamental type different from the others.  "
    "Only those items that have the same type as the first selected in the list will be "
    "operated upon.";
inline constexpr const char* kInvalidStackName = "Invalid stack name specified.";  // 2061
inline constexpr const char* kNameConflict =                                       // 2070
    "Quantities that conflict with an existing stack name will not be loaded.\nYou may need to "
    "use the Stack/Delete menu command first.";
inline constexpr const char* kPerUnitNotSet =  // 2107
    "Per-unit base not set for this curve.  Use the Stack Base Quantities option to set it and "
    "try again.";

inline constexpr const char* kUnsupportedOperation =
    "Requested operation not supported for this object type.";
inline constexpr const char* kNoAccessPermission = "No Access Permission";
inline constexpr const char* kFileNotFound = "File Not Found";
inline constexpr const char* kStackRefresh = "Stack Refresh";
inline constexpr const char* kNothingRefreshed =
    "No data was refreshed.\nThis function is only implemented for:\n\n\tEMTP / ATP files "
    "(*.pl4)\n\tEMTPDC files (*.inf)\n\tOstrell files (*.oso)\n\tQuillon files (*.qlo, *.elt)";
inline constexpr const char* kNoWindowsRefreshed =
    "Data was refreshed from disk,\nbut no graphs or tables needed to be refreshed.";
inline constexpr const char* kProgressTitle = "KOV Progress Indicator";
inline constexpr const char* kProgressInitialText = "Page Number";

// PQDIF record sequence check.
inline constexpr const char* kPqdifErrorCaption = "PQDIF Error";
inline constexpr const char* kPqdifProgressTitle = "KOV - Reading PQDIF Headers";
inline constexpr const char* kPqdifProgressRecord = "Record %d: %s";
inline constexpr const char* kPqdifContainerRecord = "container record";
inline constexpr const char* kPqdifDataSourceRecord = "data source record";
inline constexpr const char* kPqdifMonitorSettingsRecord = "monitor settings record";
inline constexpr const char* kPqdifObservationRecord = "observation record";
inline constexpr const char* kPqdifNoController = "Can't create the file controller";
inline constexpr const char* kPqdifNotEnoughRecords = "Not enough records in this file";
inline constexpr const char* kPqdifMissingContainer = "Missing container record";
inline constexpr const char* kPqdifAnotherContainer =
    "Another container record was found in the file.\nLoading may proceed, but please inform\nthe "
    "PQDIF writer about this problem.\nNote that multiple data sources should not\nhave separate "
    "container records in the file.";
inline constexpr const char* kPqdifUnrecognizedRecord = "Unrecognized record type";
inline constexpr const char* kPqdifFirstMustBeDataSource =
    "The first record (after container) must be a data source";
inline constexpr const char* kPqdifNoDataSource = "No data source records";
inline constexpr const char* kPqdifNoObservation = "No observation records";
inline constexpr const char* kPqdifNoUsableSeries = "No usable series definitions";
inline constexpr const char* kIncrementNotPositive = "Increment must be greater than zero";

// COMTRADE reader.
inline constexpr const char* kInvalidDate = "Invalid Date";  // 2071
inline constexpr const char* kInvalidTime = "Invalid Time";  // 2072
inline constexpr const char* kLoadComtradeTitle = "Load COMTRADE Data";
inline constexpr const char* kComtradeHeaderFileText = "Header File Text:";
inline constexpr const char* kComtradeStation = "Station Name and ID:";
inline constexpr const char* kComtradeStartTime = "Start Time:";
inline constexpr const char* kComtradeTriggerTime = "Trigger Time:";
inline constexpr const char* kUnknownEncoding = "Unknown text encoding \"%s\".";

}  // namespace kov::str
