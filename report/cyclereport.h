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
    QString oven;   // the folder of a stored cycle; empty for a file opened on its own
    QString number; // from a stored cycle's name
    QString fileName;
    QString identity; // the chart's line under its title
    std::optional<QDate> date;
    std::optional<int> startTimeOfDay;
    std::optional<int> endTimeOfDay;
    qint64 duration = 0; // seconds from the first to the last drawn record
    int heatingType = -1;
    int burnerCount = 0;
    bool secondChannel = false;
    bool airing = false;
    bool powerRegulation = false;

    QString programmedTime; // "mm:ss" as the window shows it
    double setTemperature = 0;
    std::optional<qint64> reachedAfter; // seconds since the start
    qint64 heldFor = 0;
    std::optional<double> consumed; // kg or kWh
    RecordTotals::Unit unit = RecordTotals::Unit::None;
    QString meanDifference; // as the window shows it, without its caption
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

// A batch's cover line of one cycle, and its total line.
struct BatchRow {
    QString number;
    std::optional<QDate> date;
    std::optional<int> startTimeOfDay;
    std::optional<int> endTimeOfDay;
    std::optional<double> consumed;
    RecordTotals::Unit unit = RecordTotals::Unit::None;
    double setTemperature = 0;
    std::optional<qint64> reachedAfter;
    qint64 heldFor = 0;
    std::optional<int> progress; // percent, as the cycle list shows it
    QString failure;             // a cycle that could not be read: why
    bool operator==(const BatchRow&) const = default;
};
BatchRow batchRow(const CycleReport& report, std::optional<int> progress);

// A cycle of a batch: its file and the progress the cycle list shows for it, if known.
struct BatchCycle {
    QString path;
    std::optional<int> progress;
};

// The cover lines of a batch, each cycle read and loaded as the window draws it. A cycle
// that cannot be read gets a line that says why. Progress counts cycles read (called from
// the calling thread); a true cancel check stops it early and the lines are then partial.
// Qt Core only: runs on any thread.
QList<BatchRow> readBatchRows(const QList<BatchCycle>& cycles, CycleSource source,
                              QChar decimalSeparator, const Language& language,
                              const std::function<void(int done, int total)>& progress = {},
                              const std::function<bool()>& cancelled = {});

// A number with the locale's decimal separator and a fixed count of decimals.
QString localNumber(double value, int decimals, QChar decimalSeparator);

} // namespace kvaro
