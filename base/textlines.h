#pragma once

// Every line of a language file, one row each: its number, its name and its built-in
// English text. Lines 0 to 46 were in every language file from the start and have none;
// the two cycle-count words have none either (they fall back to line 9). The enum Text and
// englishText are made from this table alone: a row out of its place, or a later line
// without its English text, does not compile. A new line goes at the end.
// clang-format off
#define KVARO_TEXT_LINES(X) \
    /* the tab pages, in the order the window relabels them */ \
    X(0, ExportTab, nullptr) \
    X(1, FilesTab, nullptr) \
    /* a page never shown */ \
    X(2, CycleTab, nullptr) \
    /* a page never shown */ \
    X(3, CycleAnalysisTab, nullptr) \
    X(4, LanguageTab, nullptr) \
    X(5, InputParametersTab, nullptr) \
    X(6, CombustionTab, nullptr) \
    /* also the temperature tab, filter item and axis */ \
    X(7, Temperature, nullptr) \
    X(8, CycleListHeader, nullptr) \
    /* the word after a count under the cycle list */ \
    X(9, Cycles, nullptr) \
    /* the chart's title */ \
    X(10, WorkingChamber, nullptr) \
    X(11, SeriesFilters, nullptr) \
    X(12, Confirm, nullptr) \
    X(13, ChooseLastDay, nullptr) \
    X(14, ChooseFirstDay, nullptr) \
    X(15, SetTemperatureReachedAfter, nullptr) \
    X(16, SetTemperatureReachedAtStart, nullptr) \
    X(17, NotDrawable, nullptr) \
    X(18, MeanHeatingDifference, nullptr) \
    X(19, HeldFor, nullptr) \
    X(20, End, nullptr) \
    X(21, Consumption, nullptr) \
    X(22, Start, nullptr) \
    X(23, Burner, nullptr) \
    /* the heaters' arrows on the chart */ \
    X(24, HeatersArrows, nullptr) \
    X(25, LoadingCaption, nullptr) \
    X(26, LoadingBody, nullptr) \
    X(27, HeatExchanger, nullptr) \
    X(28, Events, nullptr) \
    /* the heaters' filter item */ \
    X(29, Heaters, nullptr) \
    X(30, Fan, nullptr) \
    X(31, Airing, nullptr) \
    X(32, Unused32, nullptr) \
    /* "CH" before a channel's number */ \
    X(33, Channel, nullptr) \
    X(34, Outputs, nullptr) \
    X(35, Power, nullptr) \
    X(36, ChooseDateRange, nullptr) \
    X(37, Unused37, nullptr) \
    X(38, CheckAll, nullptr) \
    X(39, UncheckAll, nullptr) \
    X(40, ChooseOven, nullptr) \
    X(41, OvenChooserHint, nullptr) \
    X(42, CopyToClipboard, nullptr) \
    /* the time axis */ \
    X(43, Time, nullptr) \
    X(44, NoControllerDrive, nullptr) \
    /* followed by the file's name */ \
    X(45, NoValidRecord, nullptr) \
    X(46, SetTemperatureNotReached, nullptr) \
    /* the word after "1" under the cycle list */ \
    X(47, CycleCountOne, nullptr) \
    /* after 2-4, 22-24, ... but not 12-14 */ \
    X(48, CycleCountFew, nullptr) \
    /* number, start hour, start minute, end hour, end minute */ \
    X(49, TimeLineHint, "(nr %1) %2:%3 \u2013 %4:%5") \
    X(50, SavePng, "Save PNG\u2026") \
    X(51, SavePdf, "Save PDF\u2026") \
    /* path */ \
    X(52, SaveFailed, "The file %1 could not be saved.") \
    /* cycles stored, ovens they went to */ \
    X(53, ImportSummary, "Cycles: %1, ovens: %2") \
    /* file, reason */ \
    X(54, ImportFileFailed, "%1: %2. The file stays on the drive.") \
    /* file, oven, reason */ \
    X(55, ImportStoredLeft, "%1: stored for oven %2, but it stays on the drive: %3.") \
    /* file, oven, name in the store */ \
    X(56, ImportStoredAs, "%1: another cycle of that name was already stored for oven %2; this one was stored as %3.") \
    /* file, name in the store, oven, reason */ \
    X(57, ImportStoredAsLeft, "%1: stored as %2 for oven %3 (another cycle of that name was already stored), but it stays on the drive: %4.") \
    /* files left, files handled, drive */ \
    X(58, ImportLeftOnDrive, "Files left on the drive %3: %1 of %2.") \
    /* system's reason */ \
    X(59, ReasonUnreadable, "it cannot be read (%1)") \
    X(60, ReasonEmpty, "the file is empty") \
    /* line number */ \
    X(61, ReasonEmptyLine, "line %1 is empty, before any record") \
    X(62, ReasonNoRecord, "it holds no record line") \
    /* folder, system's reason */ \
    X(63, ReasonStoreFolder, "the store folder %1 cannot be created (%2)") \
    /* system's reason */ \
    X(64, ReasonStoreWrite, "the stored copy cannot be written (%1)") \
    X(65, ReasonNoStoreName, "no free name is left for it in the store") \
    /* system's reason */ \
    X(66, ReasonBackupFolder, "the Backup folder cannot be created (%1)") \
    /* system's reason */ \
    X(67, ReasonNotMoved, "it cannot be moved into Backup (%1)") \
    X(68, ReasonBackupDiffers, "its copy in Backup does not read back the same") \
    X(69, ReasonNoBackupName, "no free name is left for it in Backup") \
    X(70, ReasonChanged, "it changed while it was being imported") \
    /* system's reason */ \
    X(71, ReasonNotDeleted, "it cannot be deleted after its backup (%1)") \
    /* in the middle of a chart with every series hidden */ \
    X(72, ChartAllHidden, "Every series is hidden: check them in the list on the right, or press \u201cCheck all\u201d.") \
    /* the names of the seven burner events, by code 1..7 */ \
    X(73, EventWorking, "Burner working") \
    X(74, EventFlame, "Flame") \
    X(75, EventCooling, "Cooling to temperature") \
    X(76, EventFault, "Fault") \
    X(77, EventPurge, "Purge") \
    X(78, EventMainsFailure, "Mains failure") \
    X(79, EventIgnition, "Ignition") \
    /* a marker's tooltip: burner, event name */ \
    X(80, EventTooltip, "Burner %1: %2") \
    /* ... clock time, time since the start */ \
    X(81, EventTime, "at %1, %2 from the start") \
    /* ... exchanger temperature */ \
    X(82, EventExchanger, "exchanger %1 \u00b0C") \
    /* the title of the key of event pictures and the button that opens it */ \
    X(83, EventKey, "Event pictures") \
    /* above the outputs that are on, in the readout beside the hair line */ \
    X(84, ReadoutOutputsOn, "Outputs on:") \
    /* the cursors' table: first column */ \
    X(85, CursorSeries, "Series") \
    X(86, CursorMinimum, "min") \
    X(87, CursorMaximum, "max") \
    X(88, CursorMean, "mean") \
    /* the row of fuel used between the cursors */ \
    X(89, CursorFuelUsed, "Fuel used [kg]") \
    /* the same for an electric oven */ \
    X(90, CursorEnergyUsed, "Energy used [kWh]") \
    /* the button that removes the cursors */ \
    X(91, CursorRemove, "Remove cursors (Esc)") \
    /* under the chart's title: oven, cycle number, date, start, end */ \
    X(92, ChartIdentityStored, "Oven %1 \u00b7 cycle %2 \u00b7 %3 \u00b7 %4\u2013%5") \
    /* the same for an opened file: file name, date, start, end */ \
    X(93, ChartIdentityFile, "%1 \u00b7 %2 \u00b7 %3\u2013%4") \
    /* the export button of the drawn cycle's table */ \
    X(94, SaveCsv, "Save as CSV") \
    /* the table's header: the record's time of day */ \
    X(95, CsvClockTime, "Clock time") \
    /* ... the time since the first drawn record */ \
    X(96, CsvElapsed, "Time from the start") \
    X(97, CsvT1, "T1 [\u00b0C]") \
    X(98, CsvT2, "T2 [\u00b0C]") \
    X(99, CsvWorkingTemperature, "Working temperature [\u00b0C]") \
    /* electric ovens */ \
    X(100, CsvPower, "P [%]") \
    /* burner number */ \
    X(101, CsvExchanger, "Exchanger %1 [\u00b0C]") \
    /* burner number */ \
    X(102, CsvEvent, "Burner %1 event code") \
    /* the five outputs, 0 or 1 */ \
    X(103, CsvBurner1, "Burner 1 [0/1]") \
    X(104, CsvFan, "Fan [0/1]") \
    X(105, CsvAiring, "Airing [0/1]") \
    X(106, CsvBurner2, "Burner 2 [0/1]") \
    X(107, CsvFan2, "Fan 2 [0/1]") \
    /* the first output of an electric oven */ \
    X(108, CsvHeaters, "Heaters [0/1]") \
    /* its fourth, the second channel's heaters */ \
    X(109, CsvHeaters2, "Heaters CH2 [0/1]") \
    /* the trend button's tooltip on the first tab */ \
    X(110, TrendButtonHint, "Trend of the listed cycles") \
    /* title of the trend window: oven, first day, last day */ \
    X(111, TrendTitle, "Trend of oven %1, %2 \u2013 %3") \
    /* label before the trend window's choice of figure */ \
    X(112, TrendFigure, "Figure:") \
    /* the trend table's columns: start */ \
    X(113, TrendStart, "Start") \
    /* … cycle number */ \
    X(114, TrendCycle, "Cycle") \
    /* … fuel or energy used */ \
    X(115, TrendConsumption, "Fuel or energy used") \
    /* … set temperature reached after */ \
    X(116, TrendReachedAfter, "Set temperature reached after [min]") \
    /* … held for */ \
    X(117, TrendHeldFor, "Held for [min]") \
    /* … highest working temperature */ \
    X(118, TrendHighestWorking, "Highest working temperature [\u00b0C]") \
    /* … mean T1–T2 difference */ \
    X(119, TrendMeanDifference, "Mean T1\u2013T2 difference [\u00b0C]") \
    /* … duration */ \
    X(120, TrendDuration, "Duration [min]") \
    /* label of the mean line of the trend chart: the mean */ \
    X(121, TrendMean, "mean %1") \
    /* … of the line two standard deviations above it: the value */ \
    X(122, TrendUpperBand, "mean + 2\u03c3 %1") \
    /* … two standard deviations below it: the value */ \
    X(123, TrendLowerBand, "mean \u2212 2\u03c3 %1") \
    /* the trend window's button that saves the table */ \
    X(124, TrendSaveCsv, "Save as CSV") \
    /* the progress dialog's text while the cycles' figures are read */ \
    X(125, TrendReading, "Reading the figures of the cycles\u2026") \
    /* tooltip of the trend chart: click a point to draw its cycle */ \
    X(126, TrendPointHint, "Click a point to draw its cycle") \
    /* the cycle list's menu: lay the cycle over the drawn one */ \
    X(127, CompareWithDrawn, "Compare with the drawn cycle") \
    /* ... take it away again */ \
    X(128, RemoveComparison, "Remove comparison") \
    /* a compared series' name: the series' title, cycle number */ \
    X(129, ComparedSeries, "%1 (nr %2)") \
    /* the readout's column of second minus first value */ \
    X(130, ReadoutDifference, "difference") \
    /* the export tab's buttons: the drawn cycle's report */ \
    X(131, ReportSave, "PDF report") \
    /* ... the listed cycles' batch report */ \
    X(132, BatchReportSave, "Batch report") \
    /* a cycle report's title, then its header's names */ \
    X(133, ReportTitle, "Cycle report") \
    X(134, ReportOven, "Oven") \
    X(135, ReportCycle, "Cycle") \
    X(136, ReportFile, "File") \
    X(137, ReportDate, "Date") \
    X(138, ReportStart, "Start") \
    X(139, ReportEnd, "End") \
    X(140, ReportDuration, "Duration") \
    X(141, ReportHeating, "Heating") \
    /* the heating types */ \
    X(142, ReportHeatingOil, "oil") \
    X(143, ReportHeatingGas, "gas") \
    X(144, ReportHeatingElectric, "electric") \
    X(145, ReportBurners, "Burners") \
    X(146, ReportOptions, "Options") \
    /* the options */ \
    X(147, ReportSecondChannel, "second channel") \
    X(148, ReportAiring, "airing") \
    X(149, ReportPowerRegulation, "power regulation") \
    /* no option, no event, no output period */ \
    X(150, ReportNone, "none") \
    /* the figures' title and names */ \
    X(151, ReportFigures, "Summary") \
    X(152, ReportProgrammedTime, "Programmed time") \
    X(153, ReportSetTemperature, "Set temperature [\u00b0C]") \
    X(154, ReportReachedAfter, "Reached after") \
    X(155, ReportHeldFor, "Held for") \
    X(156, ReportNotReached, "not reached") \
    X(157, ReportMeanDifference, "Mean T1\u2013T2 difference") \
    X(158, ReportHighestWorking, "Highest working temperature [\u00b0C]") \
    /* burner */ \
    X(159, ReportHighestExchanger, "Highest exchanger temperature, burner %1 [\u00b0C]") \
    /* the events' table: title and columns */ \
    X(160, ReportEvents, "Burner events") \
    X(161, ReportSinceStart, "Since start") \
    X(162, ReportClockTime, "Clock time") \
    X(163, ReportBurner, "Burner") \
    X(164, ReportEvent, "Event") \
    X(165, ReportExchanger, "Exchanger [\u00b0C]") \
    /* the output periods' table: title and columns */ \
    X(166, ReportOutputs, "Output on-periods") \
    X(167, ReportOutput, "Output") \
    X(168, ReportFrom, "From") \
    X(169, ReportTo, "To") \
    X(170, ReportLength, "Length") \
    /* a table's title on the pages it goes on to */ \
    X(171, ReportContinued, "%1 (continued)") \
    /* page number */ \
    X(172, ReportPage, "Page %1") \
    /* oven, first day, last day */ \
    X(173, BatchTitle, "Batch report: oven %1, %2 \u2013 %3") \
    /* the cover's columns and its total line */ \
    X(174, BatchConsumption, "Consumption") \
    X(175, BatchProgress, "Progress") \
    X(176, BatchTotal, "Total") \
    /* why a cycle could not be read */ \
    X(177, BatchFailed, "cannot be read: %1") \
    /* the progress dialog: cycle, cycles */ \
    X(178, BatchWorking, "Batch report: cycle %1 of %2") \
    /* the progress dialog's button for work that can be stopped */ \
    X(179, Cancel, "Cancel") \
    /* the status bar: a controller drive was plugged in (its folder) */ \
    X(180, DriveArrived, "Controller drive connected: %1. Press the import button to read it.") \
    /* a control's tooltip when a key presses it: its name, the key */ \
    X(181, ShortcutTip, "%1 (%2)") \
    /* names for tooltips and screen readers: the import button */ \
    X(182, ImportButtonName, "Import from the controller drive") \
    /* ... the open button */ \
    X(183, OpenFileName, "Open a cycle file") \
    /* ... the zoom buttons "-", "+" and "X" */ \
    X(184, ZoomOutName, "Zoom out") \
    X(185, ZoomInName, "Zoom in") \
    X(186, ZoomResetName, "Whole chart") \
    /* ... the filter list's two buttons, spelt out */ \
    X(187, CheckAllName, "Check all series") \
    X(188, UncheckAllName, "Uncheck all series") \
    /* ... the two language buttons, each in its own language */ \
    X(189, PolishName, "Polski") \
    X(190, EnglishName, "English") \
    /* ... the chart */ \
    X(191, CycleChartName, "Cycle chart") \
    /* the report's figure and the batch cover's column: the mean of |T1 - T2| */ \
    X(192, MeanAbsT1T2, "Mean |T1 \u2212 T2|") \
    /* ... the trend's column and figure, with its unit */ \
    X(193, TrendMeanAbsT1T2, "Mean |T1 \u2212 T2| [\u00b0C]") \
    /* a file that cannot be written: its path, the system's reason */ \
    X(194, CannotWrite, "Cannot write %1: %2") \
    /* a batch or trend of a range without cycles: oven, first day, last day */ \
    X(195, RangeHoldsNoCycles, "Oven %1 has no cycles from %2 to %3: nothing was written.") \
    /* the foot of a report's page: page, pages */ \
    X(196, ReportPageOf, "Page %1 of %2") \
    /* the sign-off block at the end of a cycle's report: title, names */ \
    X(197, ReportSignOff, "Sign-off") \
    X(198, ReportGeneratedOn, "Generated on") \
    X(199, ReportProgramVersion, "Program version") \
    X(200, ReportSourceFile, "From file") \
    X(201, ReportCheckedBy, "Checked by") \
    /* the cover's foot line: what its progress column is */ \
    X(202, BatchProgressNote, "Progress: time at temperature / cycle time") \
    /* the trend window's button that closes it */ \
    X(203, TrendClose, "Close") \
    /* the working temperature's name in the legends, the lanes' readout and the hover box */ \
    X(204, WorkingTemperatureName, "Working T") \
    /* the status bar: the chart was copied to the clipboard */ \
    X(205, ChartCopied, "Chart copied to the clipboard") \
    /* ... a picture of the chart was saved: its path */ \
    X(206, SavedPicture, "Picture saved: %1") \
    /* ... a table of records was saved: its path */ \
    X(207, SavedTable, "Table saved: %1") \
    /* ... a report was saved: its path */ \
    X(208, SavedReport, "Report saved: %1") \
    /* end of the table */
// clang-format on
