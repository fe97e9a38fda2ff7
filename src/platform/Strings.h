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
inline constexpr const char* kNoItemsForOperation =  // 2064
    "Operation cannot be performed since there are no items on the stack for this operation.";
inline constexpr const char* kStackedGraphLimit =  // 2077
    "Only 6 items may be selected for viewing in a stacked graph.";

// Graph windows.
inline constexpr const char* kNotSupportedCaption = "Not Supported";
inline constexpr const char* kNoCrosshairs3D = "Crosshairs not available on 3D histograms.";
inline constexpr const char* kNoGridStyles3D = "Grid styles not available on 3D histograms.";
inline constexpr const char* kNoScaling3D =
    "Manual scaling and zooming not available on 3D histograms.";
inline constexpr const char* kPlotQuantitySelectTitle = "Plot Quantity Select";
inline constexpr const char* kGraphScaleTitle = "Graph Scale";
inline constexpr const char* kGraphGridTitle = "Graph Grid";
inline constexpr const char* kGraphTextTitle = "Graph Text";
inline constexpr const char* kReselectTitle = "Re-select Items to Plot";
inline constexpr const char* kPreferencesTitle = "Preferences";
// Checks of the graph dialogs' fields.
inline constexpr const char* kNotANumber = "\"%s\" is not a number.";
inline constexpr const char* kMaxNotAboveMin = "The maximum must be greater than the minimum.";
inline constexpr const char* kLogMinNotPositive =
    "A logarithmic scale needs a minimum greater than zero.";
inline constexpr const char* kGridUnitNegative = "The grid unit must not be negative.";
inline constexpr const char* kTicsRange = "Tics per grid must be between 1 and 100.";
inline constexpr const char* kNoItemsOnGraph = "At least one item must be on the graph.";
inline constexpr const char* kPictureSizeRange =
    "The picture size must be greater than zero and at most 10000.";
inline constexpr const char* kBaseFrequencyRange = "The base frequency must be greater than zero.";
inline constexpr const char* kHighestHarmonicRange =
    "The highest harmonic order must be between 1 and 1000.";
inline constexpr const char* kCannotWritePicture = "Cannot write the picture to %s.";
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

// Fourier transforms, calculator operations and the expression evaluator.
inline constexpr const char* kWarningCaption = "KOV Warning";
inline constexpr const char* kCodingErrorCaption = "KOV - Coding Error";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kWarningTitle = "Warning";
inline constexpr const char* kNoPositiveStep =
    "Could not determine a positive time step from the first two data points.";
inline constexpr const char* kTooFewPointsFft =
    "There may be too few points to do FFT.  Calculation will continue.";
inline constexpr const char* kTooFewPointsDft =
    "There may be too few points to do the DFT.  Calculation will continue.";
inline constexpr const char* kInvalidFftStep = "Invalid sliding FFT step size.";
inline constexpr const char* kInvalidDftStep = "Invalid sliding DFT step size.";
inline constexpr const char* kSlidingDftUnsupported =
    "Sliding DFT not supported yet in this version of KOV.  Use the FFT.";
inline constexpr const char* kInvalidItemText =
    "Invalid text entry.  Harmonic number, rms, peak, ff, or cf allowed.";
inline constexpr const char* kHarmonicNotPositive = "Harmonic value must be > 0.";
// Refusals of inputs that have no transform (typed on the command line).
inline constexpr const char* kCyclesNotPositive = "The number of cycles must be at least 1.";
inline constexpr const char* kFundamentalNotPositive =
    "The fundamental frequency must be greater than zero.";
inline constexpr const char* kHarmonicBeyondWindow =
    "Harmonic %d lies beyond the last line of the FFT window (%d lines of %g Hz).";
inline constexpr const char* kInvalidSlidingItem = "Invalid sliding FFT item.";
inline constexpr const char* kNoSpectrumFundamental =
    "Cannot determine the fundamental frequency of this spectrum.";
inline constexpr const char* kFilterFrequencyRange =
    "Filter frequencies must lie between 0 and half the sampling rate.";
inline constexpr const char* kFilterSections = "The number of filter sections must be at least 1.";
inline constexpr const char* kTooManyPoints = "Too many points: at most %ld can be made.";
inline constexpr const char* kNeedsSamples = "The second argument has no sampled values.";

// Calculator.
inline constexpr const char* kTwoCurvesRequired =
    "This function requires two curves as arguments.";  // 2069
inline constexpr const char* kExitWithoutOperation =
    "Do you really want to exit this dialog without performing an operation?";  // 2090
inline constexpr const char* kNoOptions = "No Options for This Function";
inline constexpr const char* kNoExecutionMethod = "No execution method for this function";
inline constexpr const char* kNoLookupEntry = "Can't find the lookup table entry for this function";
inline constexpr const char* kIndicesNegative = "Point indices must be 0 or positive";
inline constexpr const char* kStartIndexNotBelowStop =
    "Start point index must be less than Stop point index";
inline constexpr const char* kStartValueNotBelowStop = "Start value must be less than Stop value";
inline constexpr const char* kStepNotPositive = "Step size must be greater than zero";
inline constexpr const char* kTooFewSamplingPoints = "Number of points must be at least 2";

// Expression evaluator.
inline constexpr const char* kNameBlank = "The Name may not be left blank.";
inline constexpr const char* kNameTooLong = "The Name can only be %d characters long";
inline constexpr const char* kNameInUse = "Name is already in use";
inline constexpr const char* kXmaxNotAboveXmin = "Xmax must be greater than Xmin";
inline constexpr const char* kXStepNotPositive = "X Step must be greater than zero";
inline constexpr const char* kTooFewExpressionPoints = "Number of Points must be at least 2";
inline constexpr const char* kCouldNotCreate = "Could not create the new stack object";

// Application shell.
inline constexpr const char* kCantBrowse = "Can't Browse to URL";
inline constexpr const char* kNoDefaultBrowser = "No default browser found on this machine";
inline constexpr const char* kCalculatorFailed = "Could not start the calculator %s.";

// Calculator and expression dialogs.
inline constexpr const char* kKovCalcTitle = "Kov Calc";
inline constexpr const char* kExpressionTitle = "Expression Evaluator";
inline constexpr const char* kFftParametersTitle = "Fourier Transform Parameters";
inline constexpr const char* kDftParametersTitle = "Discrete Fourier Transform";
inline constexpr const char* kIdftOptionsTitle = "IDFT Options";
inline constexpr const char* kFilterParametersTitle = "Filter Parameters";
inline constexpr const char* kTimeShiftParametersTitle = "Time Shift Parameters";
inline constexpr const char* kSamplingParametersTitle = "Sampling Parameters";
inline constexpr const char* kStatisticsParametersTitle = "Statistics Parameters";
// A count field holds text that is not a whole number in its range.
inline constexpr const char* kCountOutOfRange = "\"%s\" is not a whole number from %lu to %lu.";
inline constexpr const char* kNotAWholeNumber = "\"%s\" is not a whole number.";

// Tables.
inline constexpr const char* kTableMinMax = "Curve Minimum and Maximum";         // 2200
inline constexpr const char* kTableWaveSummary = "Waveform Summary";             // 2201
inline constexpr const char* kTableTimePoints = "Time Domain Data Points";       // 2202
inline constexpr const char* kTableFreqPoints = "Frequency Data Points";         // 2203
inline constexpr const char* kTableHarmonic = "Harmonic Summary Data";           // 2204
inline constexpr const char* kTableSwitching = "Magnitude vs Switch Operation";  // 2205
inline constexpr const char* kTableIeee519 = "IEEE 519 Current Limits";          // 2206
inline constexpr const char* kColTime = "Time";                                  // 32811
inline constexpr const char* kColValue = "Value";                                // 32812
inline constexpr const char* kColBinMidpoint = "Bin Midpoint";                   // 32813
inline constexpr const char* kColProbability = "Probability (%)";                // 32814
inline constexpr const char* kColDuration = "Duration (s)";                      // 32815
inline constexpr const char* kColMagnitudePercent = "Magnitude (%)";             // 32816
inline constexpr const char* kColDateTime = "Date/Time";                         // 32817
inline constexpr const char* kColMin = "Min";                                    // 32825
inline constexpr const char* kColMax = "Max";                                    // 32826
inline constexpr const char* kColAbsMax = "Abs Max";                             // 32827
inline constexpr const char* kColAvg = "Avg";                                    // 32828
inline constexpr const char* kColRms = "RMS";                                    // 32829
inline constexpr const char* kColCf = "CF";                                      // 32830
inline constexpr const char* kColFf = "FF";                                      // 32831
inline constexpr const char* kColX = "X";
inline constexpr const char* kColY = "Y";
// Row-label columns of the tables with one row per item or per point.
inline constexpr const char* kColCase = "Case";
inline constexpr const char* kColItem = "Item";
inline constexpr const char* kColPoint = "Point";
inline constexpr const char* kColFreq = "Freq";
inline constexpr const char* kColFund = "Fund";
inline constexpr const char* kColThdPercent = "% THD";
inline constexpr const char* kColRmsPercent = "% RMS";
inline constexpr const char* kColAsumPercent = "% ASUM";
inline constexpr const char* kColRmsh = "RMSh";
inline constexpr const char* kColAsum = "ASUM";
inline constexpr const char* kColTif = "TIF";
inline constexpr const char* kColIt = "IT";
inline constexpr const char* kColHarmonic = "H%d";
inline constexpr const char* kColHarmonicPercent = "%%H%d";
inline constexpr const char* kColNodeName = "Node Name";
inline constexpr const char* kColHighest = "Highest";
inline constexpr const char* kColSecondHighest = "Second Highest";
inline constexpr const char* kColThirdHighest = "Third Highest";
inline constexpr const char* kColSwitch = "Switch";
inline constexpr const char* kColTimeClosed1 = "Time Closed 1";
inline constexpr const char* kColTimeClosed2 = "Time Closed 2";
inline constexpr const char* kColTimeClosed3 = "Time Closed 3";
inline constexpr const char* kColName = "Name";
inline constexpr const char* kColBand0 = "h<11";
inline constexpr const char* kColBand1 = "11<=h<17";
inline constexpr const char* kColBand2 = "17<=h<23";
inline constexpr const char* kColBand3 = "23<=h<35";
inline constexpr const char* kColBand4 = "h>=35";
inline constexpr const char* kColTdd = "TDD";
inline constexpr const char* kColSummary = "Summary";
inline constexpr const char* kColIStarT = "I*T";
inline constexpr const char* kColQuantity = "Quantity";
inline constexpr const char* kColUnit = "Unit";
inline constexpr const char* kIeeePccCaption = "Point of Common Coupling";
inline constexpr const char* kIeeeSummaryTable = "Summary Table";
inline constexpr const char* kIeeeDetailTable = "Detail Table";
inline constexpr const char* kIeeeLimits = "IEEE 519 Limits";
inline constexpr const char* kIeeeOk = "OK";
inline constexpr const char* kIeeeExceeds = "Exceeds";
inline constexpr const char* kIeeePccVolts = "PCC Bus Voltage";
inline constexpr const char* kIeeePccMva = "PCC Short Circuit MVA";
inline constexpr const char* kIeeeDemandKva = "Avg. Max Demand kVA";
inline constexpr const char* kIeeeItLimit = "I*T Limit";
inline constexpr const char* kIeeeIsc = "Isc";
inline constexpr const char* kIeeeIl = "IL";
inline constexpr const char* kIeeeRatio = "Isc/IL";
inline constexpr const char* kIeeeUnitVolts = "Volts (L-L)";
inline constexpr const char* kIeeeUnitMva = "MVA";
inline constexpr const char* kIeeeUnitKva = "kVA";
inline constexpr const char* kIeeeUnitAmps = "Amps";
// Shown in the summary cells when the PCC settings give no load current.
inline constexpr const char* kIeeeNoLoadCurrent = "No IL";
// kov-cli table.
inline constexpr const char* kTableUnknownType =
    "Unknown table type \"%s\": use minmax, summary, timepoints, freqpoints, harmonic, "
    "switching or ieee519.";
inline constexpr const char* kTableNoUsableItems =
    "None of the selected items can be shown in a %s table.";
inline constexpr const char* kTableQuantitySelectTitle = "Table Quantity Select";
inline constexpr const char* kTablePageHeader = "%s   Page %u of %u";
inline constexpr const char* kClipboardTooLarge =
    "%zu rows are too many for the clipboard. Select fewer rows, or use File Export to write "
    "the table to a file.";
inline constexpr const char* kManyPages =
    "The table fills %u pages. Do you want to print them all?";
inline constexpr const char* kPrintingPage = "Printing page %u of %u";
inline constexpr const char* kPccValuesInvalid =
    "The PCC bus voltage, short circuit MVA and maximum demand kVA must be numbers above 0, "
    "and the I*T limit a number not below 0.";

// Data export and file viewer.
inline constexpr const char* kExportGraphTitle = "Export Graph";
inline constexpr const char* kExportTableTitle = "Export Table";
inline constexpr const char* kWrongExportType = "Wrong file type";
inline constexpr const char* kExportNoItems = "There are no items to export.";
inline constexpr const char* kExportNotPlotable =
    "%s cannot be exported: it holds no sampled values.";
inline constexpr const char* kExportCannotWrite = "The file %s could not be written.";
inline constexpr const char* kFileViewerTitle = "File Viewer:";
inline constexpr const char* kCouldNotOpenFile = "Could not open the file \"%s\"\n";
inline constexpr const char* kFileErrorGeneric = "An unspecified error occurred.";
inline constexpr const char* kFileErrorNotFound = "The file could not be located.";
inline constexpr const char* kFileErrorBadPath = "All or part of the path is invalid.";
inline constexpr const char* kFileErrorTooManyOpen =
    "The permitted number of open files was exceeded.";
inline constexpr const char* kFileErrorAccessDenied =
    "The file could not be accessed (read only?).";
inline constexpr const char* kFileErrorHardware = "There was a hardware error.";
inline constexpr const char* kFileErrorDiskFull = "The disk is full.";

}  // namespace kov::str
