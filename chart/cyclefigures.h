#pragma once

#include "chart/chartmodel.h"

#include <QDebug>
#include <QString>

#include <optional>

namespace kvaro {

class Language;

// The figures by which cycles of one oven are compared with each other, each with one
// definition: the one the summary beside the drawn cycle uses.
struct CycleTrendFigures {
    // The consumption counter of the last drawn record: kg of fuel, or kWh for an electric
    // oven. None where its field does not read as a number.
    std::optional<double> consumed;
    RecordTotals::Unit unit = RecordTotals::Unit::None;
    // Seconds from the start until the set temperature was reached; none when it was not.
    std::optional<qint64> reachedAfter;
    // Seconds the set temperature was held: from reaching it to the last drawn record.
    std::optional<qint64> heldFor;
    std::optional<double> highestWorking; // highest working temperature, °C
    std::optional<double> meanDifference; // mean T1-T2 difference as the summary states it
    qint64 duration = 0;                  // seconds from the first to the last drawn record

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
