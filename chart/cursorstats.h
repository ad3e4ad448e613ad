#pragma once

#include "chart/chartmodel.h"

#include <QVector>

#include <optional>

namespace kvaro {

// What the chart shows at one record and between two records: the readout beside the hair
// line and the table of the two cursors A and B. Positions are record positions (the
// bottom axis values); a value is taken at the point of a series nearest to the position,
// within half a record.

// The value of a line or area series at a position, or nothing where it has no point there.
std::optional<double> seriesValueAt(const ChartSeries& series, double x);

struct SeriesValue {
    int series = -1;
    double value = 0;
    bool operator==(const SeriesValue&) const = default;
};

// Every shown line and area series that has a point at x, in series order.
QVector<SeriesValue> shownValuesAt(const ChartModel& chart, double x);
// The shown output lanes (arrow series) on at x, in series order.
QVector<int> outputsOnAt(const ChartModel& chart, double x);

// One shown series between the cursors: its values at A and at B and the least, the
// greatest and the mean of its points from the earlier cursor to the later, both included.
struct SeriesSpan {
    int series = -1;
    double atA = 0;
    double atB = 0;
    double minimum = 0;
    double maximum = 0;
    double mean = 0;
    double difference() const { return atB - atA; }
    bool operator==(const SeriesSpan&) const = default;
};

struct CursorStats {
    double a = 0; // the cursors, moved onto the nearest record
    double b = 0;
    std::optional<qint64> elapsedA; // seconds since the cycle start
    std::optional<qint64> elapsedB;
    QVector<SeriesSpan> series;
    // Fuel (kg) or energy (kWh) used from A to B, where the file counts it at both.
    std::optional<double> consumed;
    RecordTotals::Unit unit = RecordTotals::Unit::None;

    std::optional<qint64> elapsedDifference() const
    {
        if (!elapsedA || !elapsedB)
            return std::nullopt;
        return *elapsedB - *elapsedA;
    }
    bool operator==(const CursorStats&) const = default;
};

// The record position nearest to x among the drawn records; x itself when none is drawn.
double nearestRecord(const ChartModel& chart, double x);
CursorStats cursorStats(const ChartModel& chart, double a, double b);

} // namespace kvaro
