#pragma once

#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/openedcycle.h"

#include <QDate>
#include <QDebug>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace kvaro {

class Language;
class LineBuffer;

// One burner event of a cycle: a marker of the chart's bubble series.
struct ReportEvent {
    qint64 elapsed = 0; // seconds since the start
    int timeOfDay = 0;  // seconds since midnight
    int burner = 0;     // 1..8
    int code = 0;       // 1..7
    double exchanger = 0;
    bool operator==(const ReportEvent&) const = default;
};

// One period an output was on: an arrow of the chart's arrow series.
struct ReportOutputPeriod {
    int series = 0; // the arrow series, whose title names the output
    qint64 fromElapsed = 0;
    qint64 toElapsed = 0;
    int fromTimeOfDay = 0;
    int toTimeOfDay = 0;
    bool operator==(const ReportOutputPeriod&) const = default;
};

// What a report says of one cycle, apart from the chart itself: the header, the figures
// and the two tables. Plain values, so a batch can read cycles on one thread and print
// them on another.
struct CycleReport {
    QString path;
    // The folder of a stored cycle; for a file opened on its own, the oven its first record
    // names, as the import would file it.
    QString oven;
    QString number; // from the file's name, as the catalogue takes it
    QString fileName;
    QString identity;          // the chart's line under its title
    std::optional<QDate> date; // of the start
    std::optional<int> startTimeOfDay;
    // The end line's clock time and its day: the start's, or a later one when the cycle
    // runs past midnight.
    std::optional<int> endTimeOfDay;
    std::optional<QDate> endDate;
    std::optional<qint64> duration; // seconds from the first record to the end line
    int heatingType = -1;
    int burnerCount = 0;
    bool secondChannel = false;
    bool airing = false;
    bool powerRegulation = false;
    std::optional<int> powerLevel; // percent, when the power is regulated
    QString sha256;                // of the file's bytes, in hex; empty when it cannot be read

    std::optional<qint64> programmedSeconds; // the programmed cycle time
    double setTemperature = 0;
    std::optional<qint64> reachedAfter; // seconds since the start
    qint64 heldFor = 0;
    std::optional<double> consumed; // the end line's: kg or kWh
    RecordTotals::Unit unit = RecordTotals::Unit::None;
    std::optional<double> meanAbsT1T2; // °C
    std::optional<double> highestWorking;
    QList<std::optional<double>> highestExchanger; // by burner, burner count long

    QList<ReportEvent> events;         // in time order
    QList<ReportOutputPeriod> outputs; // by output, then in time order

    bool operator==(const CycleReport&) const = default;
};

QDebug operator<<(QDebug debug, const CycleReport& report);

// The report of a drawn cycle: its lines, the chart and summary its load made, and
// whether it is a stored copy (named by oven and number) or a file of its own.
CycleReport describeCycle(const LineBuffer& lines, const ChartModel& chart,
                          const ChartSummary& summary, bool stored, const Language& language);

// A cycle file read and loaded as the window draws it, with its report. Throws Failure
// naming the file when it cannot be read, cannot be drawn or its load stops on a bad
// field.
struct LoadedReportCycle {
    std::unique_ptr<ChartModel> chart;
    CycleReport report;
};
LoadedReportCycle loadReportCycle(const QString& path, CycleSource source, QChar decimalSeparator,
                                  const Language& language);
// Only the chart of that load, for pages whose report was made before: nothing is worked
// out twice, the file's checksum least of all.
std::unique_ptr<ChartModel> loadReportChart(const QString& path, CycleSource source,
                                            QChar decimalSeparator, const Language& language);

// A batch's cover line of one cycle, and its total line. The figures are the report's.
struct BatchRow {
    QString number;
    std::optional<QDate> date;
    std::optional<int> startTimeOfDay;
    std::optional<int> endTimeOfDay;
    std::optional<QDate> endDate;
    std::optional<qint64> duration;
    std::optional<double> consumed;
    RecordTotals::Unit unit = RecordTotals::Unit::None;
    double setTemperature = 0;
    std::optional<qint64> reachedAfter;
    qint64 heldFor = 0;
    std::optional<double> meanAbsT1T2;
    std::optional<int> progress; // percent, as the cycle list shows it
    QString failure;             // a cycle that could not be read: why
    bool operator==(const BatchRow&) const = default;
};
BatchRow batchRow(const CycleReport& report, std::optional<int> progress);

// The consumption of a batch's rows summed per unit, kilograms before kilowatt hours: an
// oven whose cycles count in both never gets one sum of the two. Units no row has are left
// out; rows without a figure add nothing.
struct UnitTotal {
    RecordTotals::Unit unit = RecordTotals::Unit::None;
    double sum = 0;
    int cycles = 0; // rows that added to it
    bool operator==(const UnitTotal&) const = default;
};
QList<UnitTotal> consumptionByUnit(const QList<BatchRow>& rows);

// A cycle of a batch: its file and the progress the cycle list shows for it, if known.
struct BatchCycle {
    QString path;
    std::optional<int> progress;
};

// A number with the locale's decimal separator and a fixed count of decimals.
QString localNumber(double value, int decimals, QChar decimalSeparator);

} // namespace kvaro
