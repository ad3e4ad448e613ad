#pragma once

#include "chart/chartmodel.h"

#include <QDebug>
#include <QString>

#include <optional>

namespace kvaro {

class Language;

// The figures of one cycle that leave the program: the report and its batch cover, the
// trend, its table and CSV, and kvaro-cli print these and no other definition of them.
struct CycleTrendFigures {
    // The end line's consumption counter, the whole cycle's use as the cycle list sums it:
    // kg of fuel, or kWh for an electric line. None where the end line has none that reads.
    std::optional<double> consumed;
    RecordTotals::Unit unit = RecordTotals::Unit::None;
    // Seconds from the start until the set temperature was reached; none when it was not.
    std::optional<qint64> reachedAfter;
    // Seconds the set temperature was held, as the summary states it: from reaching it to
    // the last drawn record.
    std::optional<qint64> heldFor;
    std::optional<double> highestWorking; // highest working temperature, °C
    std::optional<double> meanAbsT1T2;    // the mean of |T1 - T2| over the drawn records, °C
    // Seconds from the first record to the end line; none without an end line.
    std::optional<qint64> duration;

    friend bool operator==(const CycleTrendFigures&, const CycleTrendFigures&) = default;
};
QDebug operator<<(QDebug debug, const CycleTrendFigures& figures);

// The figures of a cycle the loader has drawn into chart.
CycleTrendFigures trendFiguresOf(const ChartModel& chart);

// One stored cycle file read and drawn as the window draws it, for its figures alone, or
// the reason it has none.
struct CycleTrendReading {
    std::optional<CycleTrendFigures> figures;
    QString failure; // a report line naming the file; empty when there are figures
};
// Never throws: a file that cannot be read, is too short to draw, holds a heating type
// the chart cannot draw or stops the loader on a bad field gives its reason instead.
CycleTrendReading readTrendFigures(const QString& path, const Language& language);

} // namespace kvaro
