#pragma once

#include "chart/chartmodel.h"

#include <QString>
#include <QVector>

#include <array>
#include <optional>
#include <vector>

namespace kvaro {

// A second cycle laid over the drawn one, aligned at their starts: each of its points stands
// where the drawn cycle was at the same time since its start, so a load is read against a
// reference at equal elapsed times whatever either controller's sampling period was.

// The series a comparison carries: the temperatures (T1, T2, the exchangers W1..W8 and the
// working temperature). Power, outputs and events of two cycles on one chart would only
// hide each other.
inline constexpr std::array<int, 11> ComparedSeries{
    series::T1,
    series::T2,
    series::BurnerTemperatureFirst,
    series::BurnerTemperatureFirst + 1,
    series::BurnerTemperatureFirst + 2,
    series::BurnerTemperatureFirst + 3,
    series::BurnerTemperatureFirst + 4,
    series::BurnerTemperatureFirst + 5,
    series::BurnerTemperatureFirst + 6,
    series::BurnerTemperatureFirst + 7,
    series::WorkingTemperature,
};
bool isComparedSeries(int series);

// The drawn cycle's bottom axis as a function of the time since its start: linear between
// two records, and before the first or past the last record on at the cycle's mean seconds
// per record. A cycle of one record has no mean of its own: fallbackSecondsPerRecord
// stands in for it (the compared cycle's own, so its points keep their spacing).
class ElapsedPositions
{
public:
    ElapsedPositions(const QVector<RecordTotals>& records, double fallbackSecondsPerRecord);

    bool isEmpty() const { return m_x.empty(); }
    double positionOf(double elapsedSeconds) const;

    // The mean seconds per record from the first to the last record; nothing for fewer
    // than two records or none elapsed between them.
    static std::optional<double> secondsPerRecord(const QVector<RecordTotals>& records);

private:
    std::vector<double> m_x;
    std::vector<double> m_elapsed;
    double m_secondsPerRecord = 1;
};

struct ComparedPoints {
    int series = -1;
    ChartPoints points; // at the drawn cycle's positions, labelled with their own times
};

struct Comparison {
    QString number; // the compared cycle's number, for its series' names
    QVector<ComparedPoints> series;

    bool isEmpty() const { return series.isEmpty(); }
    // The points of a compared series, or nullptr where the compared cycle has none.
    const ChartPoints* pointsOf(int series) const;
    // The greatest position any compared point lies at; nothing without points.
    std::optional<double> lastPosition() const;
};

// The compared cycle's temperatures placed on the drawn cycle's positions. Series the
// compared cycle holds no points of are left out; points without an elapsed time too.
Comparison compareCycles(const ChartModel& drawn, const ChartModel& compared,
                         const QString& number);

// The number of a stored cycle from its file's name: "P123.csv" is cycle 123.
QString cycleNumberOf(const QString& path);

// The name of a compared series: form is a language text with the drawn series' title for
// %1 and the cycle number for %2.
QString comparedTitle(const QString& form, const QString& title, const QString& number);

// The value of compared points at a position: linear between the two points around it,
// the end point's value up to half a record beyond either end, nothing farther away.
std::optional<double> comparedValueAt(const ChartPoints& points, double x);

struct ComparedValue {
    int series = -1;
    double first = 0;  // the drawn cycle's value
    double second = 0; // the compared cycle's
    double difference() const { return second - first; }
    bool operator==(const ComparedValue&) const = default;
};

// For the hair line: every shown compared series that both cycles have a value of at x,
// in series order. The drawn cycle's value is its point nearest x, as the readout takes it.
QVector<ComparedValue> comparedValuesAt(const ChartModel& drawn, const Comparison& comparison,
                                        double x);

} // namespace kvaro
