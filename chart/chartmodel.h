#pragma once

#include "chart/chartpoints.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>

namespace kvaro {

// What one cycle's chart holds: 73 series in a fixed order that every other part of the
// program addresses by position. The loader fills it, the filter list sets each series'
// shown state, the view draws it and the command line prints it.
enum class SeriesKind { Line, Area, Arrow, Bubble };

struct ChartBubble {
    double x = 0;
    double y = 0;
    double radius = 0; // in units of the temperature axis
    // When the event happened, for the marker's tooltip: the record's time of day and the
    // time since the cycle start, in seconds.
    int timeOfDay = 0;
    qint64 elapsed = 0;
    bool operator==(const ChartBubble&) const = default;
};

struct ChartArrow {
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;
    bool operator==(const ChartArrow&) const = default;
};

struct ChartSeries {
    SeriesKind kind = SeriesKind::Line;
    QString title;
    int eventKind = 0;  // 1..7 for bubble series: which event picture fills the markers
    bool active = true; // shown; a hidden series is not drawn and does not count for ranges
    ChartPoints points;
    QVector<ChartBubble> bubbles;
    QVector<ChartArrow> arrows;

    void clear()
    {
        points.clear();
        bubbles.clear();
        arrows.clear();
    }
    bool isEmpty() const { return points.isEmpty() && bubbles.isEmpty() && arrows.isEmpty(); }
};

// What the loader keeps of each drawn record beside the points: its elapsed time and the
// consumption counter the file carries (kg of fuel since the start for burner ovens, kWh
// for electric ones). No series holds them, so the chart's JSON stays as it is.
struct RecordTotals {
    enum class Unit { None, Kilograms, KilowattHours };
    double x = 0;
    qint64 elapsed = 0; // seconds since the first drawn record
    std::optional<double> consumed;
    Unit unit = Unit::None;
    bool operator==(const RecordTotals&) const = default;
};

// The set temperature as the summary judges it: the band from which on the working
// temperature counts as reached, the record where it was reached and the record where the
// hold ends (the last drawn one). Elapsed times are seconds since the cycle start.
struct SetPointTrace {
    double temperature = 0; // 0: the cycle sets none
    double band = 0;        // reached from temperature - band on
    std::optional<double> reachedX;
    qint64 reachedElapsed = 0;
    std::optional<double> holdEndX;
    qint64 holdEndElapsed = 0;
    bool operator==(const SetPointTrace&) const = default;
};

// The file's last line, which closes the cycle: the catalogue's end, the cycle list's
// consumption. The chart does not draw it; its clock time is counted on from the last drawn
// record with the drawn records' own clock, so midnights are counted as they are between
// records, and a cycle of more than a day keeps its days.
struct CycleEndLine {
    int timeOfDay = 0;  // seconds since midnight
    qint64 elapsed = 0; // seconds since the first drawn record
    // The consumption counter for the whole cycle, as the line's heating type writes it:
    // kWh for an electric line, kg of fuel otherwise. None where it does not read as a number.
    std::optional<double> consumed;
    RecordTotals::Unit unit = RecordTotals::Unit::None;
    bool operator==(const CycleEndLine&) const = default;
};

inline constexpr int SeriesCount = 73;

// Positions the rest of the program names.
namespace series {
inline constexpr int T1 = 0;
inline constexpr int T2 = 1;
inline constexpr int Power = 2;
inline constexpr int ArrowFirst = 3; // lanes 1..5: series 3..7
inline constexpr int ArrowLast = 7;
inline constexpr int BurnerTemperatureFirst = 8; // W1..W8: series 8..15
inline constexpr int WorkingTemperature = 23;
// The series of event code k (1..7) of burner b (1..8).
constexpr int event(int burner, int code)
{
    return burner == 1 ? 15 + code : 7 * burner + 9 + code;
}
} // namespace series

class ChartModel
{
public:
    ChartModel(); // the 73 series with their kinds and titles, empty and shown

    ChartSeries& at(int index) { return m_series[std::size_t(index)]; }
    const ChartSeries& at(int index) const { return m_series[std::size_t(index)]; }
    int count() const { return SeriesCount; }

    // Kept beside the series for drawing only; the command line's output does not carry it.
    SetPointTrace& setPoint() { return m_setPoint; }
    const SetPointTrace& setPoint() const { return m_setPoint; }

    // Empties every series, the record totals, the set point, the mean and the end line; titles
    // and shown states stay.
    void clearAll();

    // By record, in x order.
    QVector<RecordTotals>& records() { return m_records; }
    const QVector<RecordTotals>& records() const { return m_records; }

    // The mean of |T1 - T2| over the drawn records, °C: the figure reports, the trend and the
    // command line give. (The summary's own label states another one: half of it, rounded
    // down.) None when no record was drawn.
    std::optional<double>& meanAbsT1T2() { return m_meanAbsT1T2; }
    const std::optional<double>& meanAbsT1T2() const { return m_meanAbsT1T2; }

    // The cycle's end line as the catalogue takes it; none where it is no record line or its
    // time does not read.
    std::optional<CycleEndLine>& endLine() { return m_endLine; }
    const std::optional<CycleEndLine>& endLine() const { return m_endLine; }

private:
    std::array<ChartSeries, SeriesCount> m_series;
    QVector<RecordTotals> m_records;
    SetPointTrace m_setPoint;
    std::optional<double> m_meanAbsT1T2;
    std::optional<CycleEndLine> m_endLine;
};

} // namespace kvaro
