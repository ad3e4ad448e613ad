#pragma once

#include "cycles/linebuffer.h"

#include <array>
#include <utility>

namespace kvaro {

// Every line of a language file, by name: line N is the text of Text(N). Lines 47 and
// after came later; older language files end before them, and each then reads as its
// built-in English text (englishText), so no message and no caption is ever empty for
// want of a line.
enum class Text : int {
    ExportTab, // the tab pages, in the order the window relabels them
    FilesTab,
    CycleTab,         // a page never shown
    CycleAnalysisTab, // a page never shown
    LanguageTab,
    InputParametersTab,
    CombustionTab,
    Temperature, // also the temperature tab, filter item and axis
    CycleListHeader,
    Cycles,         // the word after a count under the cycle list
    WorkingChamber, // the chart's title
    SeriesFilters,
    Confirm,
    ChooseLastDay,
    ChooseFirstDay,
    SetTemperatureReachedAfter,
    SetTemperatureReachedAtStart,
    NotDrawable,
    MeanHeatingDifference,
    HeldFor,
    End,
    Consumption,
    Start,
    Burner,
    HeatersArrows, // the heaters' arrows on the chart
    LoadingCaption,
    LoadingBody,
    HeatExchanger,
    Events,
    Heaters, // the heaters' filter item
    Fan,
    Airing,
    Unused32,
    Channel, // "CH" before a channel's number
    Outputs,
    Power,
    ChooseDateRange,
    Unused37,
    CheckAll,
    UncheckAll,
    ChooseOven,
    OvenChooserHint,
    CopyToClipboard,
    Time, // the time axis
    NoControllerDrive,
    NoValidRecord, // followed by the file's name
    SetTemperatureNotReached,
    CycleCountOne, // the word after "1" under the cycle list
    CycleCountFew, // after 2-4, 22-24, ... but not 12-14
    TimeLineHint,  // number, start hour, start minute, end hour, end minute
    SavePng,
    SavePdf,
    SaveFailed,         // path
    ImportSummary,      // cycles stored, ovens they went to
    ImportFileFailed,   // file, reason
    ImportStoredLeft,   // file, oven, reason
    ImportStoredAs,     // file, oven, name in the store
    ImportStoredAsLeft, // file, name in the store, oven, reason
    ImportLeftOnDrive,  // files left, files handled, drive
    ReasonUnreadable,   // system's reason
    ReasonEmpty,
    ReasonEmptyLine, // line number
    ReasonNoRecord,
    ReasonStoreFolder, // folder, system's reason
    ReasonStoreWrite,  // system's reason
    ReasonNoStoreName,
    ReasonBackupFolder, // system's reason
    ReasonNotMoved,     // system's reason
    ReasonBackupDiffers,
    ReasonNoBackupName,
    ReasonChanged,
    ReasonNotDeleted, // system's reason
    ChartAllHidden,   // in the middle of a chart with every series hidden
    EventWorking,     // the names of the seven burner events, by code 1..7
    EventFlame,
    EventCooling,
    EventFault,
    EventPurge,
    EventMainsFailure,
    EventIgnition,
    EventTooltip,     // a marker's tooltip: burner, event name
    EventTime,        // ... clock time, time since the start
    EventExchanger,   // ... exchanger temperature
    EventKey,         // the title of the key of event pictures and the button that opens it
    ReadoutOutputsOn, // above the outputs that are on, in the readout beside the hair line
    CursorSeries,     // the cursors' table: first column
    CursorMinimum,
    CursorMaximum,
    CursorMean,
    CursorFuelUsed,      // the row of fuel used between the cursors
    CursorEnergyUsed,    // the same for an electric oven
    CursorRemove,        // the button that removes the cursors
    ChartIdentityStored, // under the chart's title: oven, cycle number, date, start, end
    ChartIdentityFile,   // the same for an opened file: file name, date, start, end
    SaveCsv,             // the export button of the drawn cycle's table
    CsvClockTime,        // the table's header: the record's time of day
    CsvElapsed,          // ... the time since the first drawn record
    CsvT1,
    CsvT2,
    CsvWorkingTemperature,
    CsvPower,     // electric ovens
    CsvExchanger, // burner number
    CsvEvent,     // burner number
    CsvBurner1,   // the five outputs, 0 or 1
    CsvFan,
    CsvAiring,
    CsvBurner2,
    CsvFan2,
    CsvHeaters,          // the first output of an electric oven
    CsvHeaters2,         // its fourth, the second channel's heaters
    TrendButtonHint,     // the trend button's tooltip on the first tab
    TrendTitle,          // title of the trend window: oven, first day, last day
    TrendFigure,         // label before the trend window's choice of figure
    TrendStart,          // the trend table's columns: start
    TrendCycle,          // … cycle number
    TrendConsumption,    // … fuel or energy used
    TrendReachedAfter,   // … set temperature reached after
    TrendHeldFor,        // … held for
    TrendHighestWorking, // … highest working temperature
    TrendMeanDifference, // … mean T1–T2 difference
    TrendDuration,       // … duration
    TrendMean,           // label of the mean line of the trend chart: the mean
    TrendUpperBand,      // … of the line two standard deviations above it: the value
    TrendLowerBand,      // … two standard deviations below it: the value
    TrendSaveCsv,        // the trend window's button that saves the table
    TrendReading,        // the progress dialog's text while the cycles' figures are read
    TrendPointHint,      // tooltip of the trend chart: click a point to draw its cycle
    CompareWithDrawn,    // the cycle list's menu: lay the cycle over the drawn one
    RemoveComparison,    // ... take it away again
    ComparedSeries,      // a compared series' name: the series' title, cycle number
    ReadoutDifference,   // the readout's column of second minus first value
    ReportSave,          // the export tab's buttons: the drawn cycle's report
    BatchReportSave,     // ... the listed cycles' batch report
    ReportTitle,         // a cycle report's title, then its header's names
    ReportOven,
    ReportCycle,
    ReportFile,
    ReportDate,
    ReportStart,
    ReportEnd,
    ReportDuration,
    ReportHeating,
    ReportHeatingOil, // the heating types
    ReportHeatingGas,
    ReportHeatingElectric,
    ReportBurners,
    ReportOptions,
    ReportSecondChannel, // the options
    ReportAiring,
    ReportPowerRegulation,
    ReportNone,    // no option, no event, no output period
    ReportFigures, // the figures' title and names
    ReportProgrammedTime,
    ReportSetTemperature,
    ReportReachedAfter,
    ReportHeldFor,
    ReportNotReached,
    ReportMeanDifference,
    ReportHighestWorking,
    ReportHighestExchanger, // burner
    ReportEvents,           // the events' table: title and columns
    ReportSinceStart,
    ReportClockTime,
    ReportBurner,
    ReportEvent,
    ReportExchanger,
    ReportOutputs, // the output periods' table: title and columns
    ReportOutput,
    ReportFrom,
    ReportTo,
    ReportLength,
    ReportContinued,  // a table's title on the pages it goes on to
    ReportPage,       // page number
    BatchTitle,       // oven, first day, last day
    BatchConsumption, // the cover's columns and its total line
    BatchProgress,
    BatchTotal,
    BatchFailed,      // why a cycle could not be read
    BatchWorking,     // the progress dialog: cycle, cycles
    Cancel,           // the progress dialog's button for work that can be stopped
    DriveArrived,     // the status bar: a controller drive was plugged in (its folder)
    ShortcutTip,      // a control's tooltip when a key presses it: its name, the key
    ImportButtonName, // names for tooltips and screen readers: the import button
    OpenFileName,     // ... the open button
    ZoomOutName,      // ... the zoom buttons "-", "+" and "X"
    ZoomInName,
    ZoomResetName,
    CheckAllName, // ... the filter list's two buttons, spelt out
    UncheckAllName,
    PolishName, // ... the two language buttons, each in its own language
    EnglishName,
    CycleChartName,     // ... the chart
    MeanAbsT1T2,        // the report's figure and the batch cover's column: the mean of |T1 - T2|
    TrendMeanAbsT1T2,   // ... the trend's column and figure, with its unit
    CannotWrite,        // a file that cannot be written: its path, the system's reason
    RangeHoldsNoCycles, // a batch or trend of a range without cycles: oven, first day, last day
    ReportPageOf,       // the foot of a report's page: page, pages
    ReportSignOff,      // the sign-off block at the end of a cycle's report: title, names
    ReportGeneratedOn,
    ReportProgramVersion,
    ReportSourceFile,
    ReportCheckedBy,
    BatchProgressNote,      // the cover's foot line: what its progress column is
    TrendClose,             // the trend window's button that closes it
    WorkingTemperatureName, // the working temperature's name in the legends, the lanes' readout and
                            // the hover box
    ChartCopied,            // the status bar: the chart was copied to the clipboard
    SavedPicture,           // ... a picture of the chart was saved: its path
    SavedTable,             // ... a table of records was saved: its path
    SavedReport,            // ... a report was saved: its path
};

// The first line that has a built-in text: the lines before it were in every language
// file from the start.
inline constexpr int FirstNamedText = int(Text::CycleCountOne);
static_assert(FirstNamedText == 47, "a language file's lines keep their numbers");
inline constexpr int LastNamedText = int(Text::SavedReport);

// The built-in text of a named line: English, and the stable wording the command line's
// JSON carries whatever the interface language. The two cycle-count words fall back to
// language text 9 instead (see cycleCount), so a language file without them shows what it
// always showed; the hint falls back to the form the time line has always had.
inline QString englishText(Text text)
{
    static const std::array<const char*, LastNamedText - FirstNamedText + 1> texts{
        nullptr,
        nullptr,
        "(nr %1) %2:%3 \u2013 %4:%5",
        "Save PNG\u2026",
        "Save PDF\u2026",
        "The file %1 could not be saved.",
        "Cycles: %1, ovens: %2",
        "%1: %2. The file stays on the drive.",
        "%1: stored for oven %2, but it stays on the drive: %3.",
        "%1: another cycle of that name was already stored for oven %2; this one was stored "
        "as %3.",
        "%1: stored as %2 for oven %3 (another cycle of that name was already stored), but it "
        "stays on the drive: %4.",
        "Files left on the drive %3: %1 of %2.",
        "it cannot be read (%1)",
        "the file is empty",
        "line %1 is empty, before any record",
        "it holds no record line",
        "the store folder %1 cannot be created (%2)",
        "the stored copy cannot be written (%1)",
        "no free name is left for it in the store",
        "the Backup folder cannot be created (%1)",
        "it cannot be moved into Backup (%1)",
        "its copy in Backup does not read back the same",
        "no free name is left for it in Backup",
        "it changed while it was being imported",
        "it cannot be deleted after its backup (%1)",
        "Every series is hidden: check them in the list on the right, or press \u201cCheck "
        "all\u201d.",
        "Burner working",
        "Flame",
        "Cooling to temperature",
        "Fault",
        "Purge",
        "Mains failure",
        "Ignition",
        "Burner %1: %2",
        "at %1, %2 from the start",
        "exchanger %1 \u00b0C",
        "Event pictures",
        "Outputs on:",
        "Series",
        "min",
        "max",
        "mean",
        "Fuel used [kg]",
        "Energy used [kWh]",
        "Remove cursors (Esc)",
        "Oven %1 \u00b7 cycle %2 \u00b7 %3 \u00b7 %4\u2013%5",
        "%1 \u00b7 %2 \u00b7 %3\u2013%4",
        "Save as CSV",
        "Clock time",
        "Time from the start",
        "T1 [\u00b0C]",
        "T2 [\u00b0C]",
        "Working temperature [\u00b0C]",
        "P [%]",
        "Exchanger %1 [\u00b0C]",
        "Burner %1 event code",
        "Burner 1 [0/1]",
        "Fan [0/1]",
        "Airing [0/1]",
        "Burner 2 [0/1]",
        "Fan 2 [0/1]",
        "Heaters [0/1]",
        "Heaters CH2 [0/1]",
        "Trend of the listed cycles",
        "Trend of oven %1, %2 \u2013 %3",
        "Figure:",
        "Start",
        "Cycle",
        "Fuel or energy used",
        "Set temperature reached after [min]",
        "Held for [min]",
        "Highest working temperature [\u00b0C]",
        "Mean T1\u2013T2 difference [\u00b0C]",
        "Duration [min]",
        "mean %1",
        "mean + 2\u03c3 %1",
        "mean \u2212 2\u03c3 %1",
        "Save as CSV",
        "Reading the figures of the cycles\u2026",
        "Click a point to draw its cycle",
        "Compare with the drawn cycle",
        "Remove comparison",
        "%1 (nr %2)",
        "difference",
        "PDF report",
        "Batch report",
        "Cycle report",
        "Oven",
        "Cycle",
        "File",
        "Date",
        "Start",
        "End",
        "Duration",
        "Heating",
        "oil",
        "gas",
        "electric",
        "Burners",
        "Options",
        "second channel",
        "airing",
        "power regulation",
        "none",
        "Summary",
        "Programmed time",
        "Set temperature [\u00b0C]",
        "Reached after",
        "Held for",
        "not reached",
        "Mean T1\u2013T2 difference",
        "Highest working temperature [\u00b0C]",
        "Highest exchanger temperature, burner %1 [\u00b0C]",
        "Burner events",
        "Since start",
        "Clock time",
        "Burner",
        "Event",
        "Exchanger [\u00b0C]",
        "Output on-periods",
        "Output",
        "From",
        "To",
        "Length",
        "%1 (continued)",
        "Page %1",
        "Batch report: oven %1, %2 \u2013 %3",
        "Consumption",
        "Progress",
        "Total",
        "cannot be read: %1",
        "Batch report: cycle %1 of %2",
        "Cancel",
        "Controller drive connected: %1. Press the import button to read it.",
        "%1 (%2)",
        "Import from the controller drive",
        "Open a cycle file",
        "Zoom out",
        "Zoom in",
        "Whole chart",
        "Check all series",
        "Uncheck all series",
        "Polski",
        "English",
        "Cycle chart",
        "Mean |T1 \u2212 T2|",
        "Mean |T1 \u2212 T2| [\u00b0C]",
        "Cannot write %1: %2",
        "Oven %1 has no cycles from %2 to %3: nothing was written.",
        "Page %1 of %2",
        "Sign-off",
        "Generated on",
        "Program version",
        "From file",
        "Checked by",
        "Progress: time at temperature / cycle time",
        "Close",
        "Working T",
        "Chart copied to the clipboard",
        "Picture saved: %1",
        "Table saved: %1",
        "Report saved: %1",
    };
    if (int(text) < FirstNamedText)
        return QString();
    const char* english = texts.at(std::size_t(int(text) - FirstNamedText));
    return english ? QString::fromUtf8(english) : QString();
}

// The text with %1 to %9 replaced by the values, in one pass: a value that itself holds
// "%1" (a file name, a system's message) is taken as it is. A placeholder without a value
// stays as written.
inline QString fillIn(const QString& form, const QStringList& values)
{
    QString text;
    text.reserve(form.size());
    for (qsizetype i = 0; i < form.size(); ++i) {
        const QChar c = form.at(i);
        if (c == QLatin1Char('%') && i + 1 < form.size()) {
            const int n = form.at(i + 1).digitValue();
            if (n >= 1 && n <= values.size()) {
                text += values.at(n - 1);
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

// The interface texts of one language: text N is line N of the language file, read at the
// moment it is shown. A short file leaves the missing texts of lines 0 to 46 empty; the
// named lines after them fall back as englishText says.
class Language
{
public:
    Language() = default;
    explicit Language(const QStringList& lines) { m_lines.setLines(lines); }

    QString text(Text name) const
    {
        const QString line = m_lines.line(int(name));
        if (!line.isEmpty() || int(name) < FirstNamedText)
            return line;
        if (name == Text::CycleCountOne || name == Text::CycleCountFew)
            return text(Text::Cycles);
        return englishText(name);
    }
    LineBuffer& buffer() { return m_lines; } // JezykMemo
    const LineBuffer& buffer() const { return m_lines; }

    // "5 cykli", "1 cykl", "22 cykle": the count, a blank and the word that fits it. The
    // Polish rule, which also serves English as long as its "few" word is the plural.
    QString cycleCount(qsizetype count) const
    {
        const qsizetype last = count % 10;
        const qsizetype lastTwo = count % 100;
        QString word;
        if (count == 1)
            word = text(Text::CycleCountOne);
        else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
            word = text(Text::CycleCountFew);
        else
            word = text(Text::Cycles);
        return QString::number(count) + QLatin1Char(' ') + word;
    }

private:
    LineBuffer m_lines;
};

} // namespace kvaro
