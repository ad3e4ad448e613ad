#include "chart/cursorstats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kvaro {

namespace {

// The index of the element nearest to x within half a record, found with one binary
// search (x grows along the series), or -1.
template <typename Items, typename KeyOf>
qsizetype nearestIndex(const Items& items, double x, KeyOf keyOf)
{
    if (items.empty() || !std::isfinite(x))
        return -1;
    const auto it = std::lower_bound(items.begin(), items.end(), x,
                                     [&](const auto& item, double v) { return keyOf(item) < v; });
    qsizetype best = -1;
    double distance = std::numeric_limits<double>::infinity();
    for (auto candidate : {it - 1, it}) {
        if (candidate < items.begin() || candidate >= items.end())
            continue;
        const double d = std::abs(keyOf(*candidate) - x);
        if (d < distance) {
            distance = d;
            best = candidate - items.begin();
        }
    }
    return distance <= 0.5 ? best : -1;
}

qsizetype nearestIndex(const QVector<RecordTotals>& records, double x)
{
    return nearestIndex(records, x, [](const RecordTotals& r) { return r.x; });
}

qsizetype nearestIndex(const ChartPoints& points, double x)
{
    return nearestIndex(points.xs(), x, [](double key) { return key; });
}

bool carriesValues(const ChartSeries& series)
{
    return series.active && (series.kind == SeriesKind::Line || series.kind == SeriesKind::Area);
}

const RecordTotals* totalsAt(const ChartModel& chart, double x)
{
    const qsizetype i = nearestIndex(chart.records(), x);
    return i < 0 ? nullptr : &chart.records().at(i);
}

} // namespace

std::optional<double> seriesValueAt(const ChartSeries& series, double x)
{
    const qsizetype i = nearestIndex(series.points, x);
    if (i < 0)
        return std::nullopt;
    return series.points.y(i);
}

QVector<SeriesValue> shownValuesAt(const ChartModel& chart, double x)
{
    QVector<SeriesValue> values;
    for (int i = 0; i < chart.count(); ++i) {
        if (!carriesValues(chart.at(i)))
            continue;
        if (const auto value = seriesValueAt(chart.at(i), x))
            values.append(SeriesValue{i, *value});
    }
    return values;
}

QVector<int> outputsOnAt(const ChartModel& chart, double x)
{
    QVector<int> on;
    for (int i = series::ArrowFirst; i <= series::ArrowLast; ++i) {
        const ChartSeries& lane = chart.at(i);
        if (!lane.active)
            continue;
        // An on-period covers its records from the first to the last, both included.
        const bool covered =
            std::any_of(lane.arrows.cbegin(), lane.arrows.cend(), [x](const auto& a) {
                return x >= std::min(a.x0, a.x1) - 0.5 && x <= std::max(a.x0, a.x1) + 0.5;
            });
        if (covered)
            on.append(i);
    }
    return on;
}

double nearestRecord(const ChartModel& chart, double x)
{
    const QVector<RecordTotals>& records = chart.records();
    if (records.isEmpty() || !std::isfinite(x))
        return x;
    // Outside the drawn records a cursor stops at the first or the last one.
    if (x <= records.constFirst().x)
        return records.constFirst().x;
    if (x >= records.constLast().x)
        return records.constLast().x;
    const qsizetype i = nearestIndex(records, x);
    return i < 0 ? x : records.at(i).x;
}

CursorStats cursorStats(const ChartModel& chart, double a, double b)
{
    CursorStats stats;
    stats.a = nearestRecord(chart, a);
    stats.b = nearestRecord(chart, b);
    const RecordTotals* atA = totalsAt(chart, stats.a);
    const RecordTotals* atB = totalsAt(chart, stats.b);
    if (atA)
        stats.elapsedA = atA->elapsed;
    if (atB)
        stats.elapsedB = atB->elapsed;
    // Counters grow through the cycle: the fuel used is the later reading less the earlier
    // one, whichever cursor stands first.
    if (atA && atB && atA->consumed && atB->consumed && atA->unit == atB->unit) {
        const bool aFirst = atA->x <= atB->x;
        stats.consumed = aFirst ? *atB->consumed - *atA->consumed : *atA->consumed - *atB->consumed;
        stats.unit = atA->unit;
    }

    const double from = std::min(stats.a, stats.b) - 0.5;
    const double to = std::max(stats.a, stats.b) + 0.5;
    for (int i = 0; i < chart.count(); ++i) {
        const ChartSeries& series = chart.at(i);
        if (!carriesValues(series))
            continue;
        const auto valueA = seriesValueAt(series, stats.a);
        const auto valueB = seriesValueAt(series, stats.b);
        if (!valueA || !valueB)
            continue;
        const std::span<const double> xs = series.points.xs();
        const std::span<const double> ys = series.points.ys();
        SeriesSpan span{i, *valueA, *valueB, *valueA, *valueA, 0};
        double sum = 0;
        int count = 0;
        for (auto p = std::size_t(std::lower_bound(xs.begin(), xs.end(), from) - xs.begin());
             p < xs.size() && xs[p] <= to; ++p) {
            span.minimum = std::min(span.minimum, ys[p]);
            span.maximum = std::max(span.maximum, ys[p]);
            sum += ys[p];
            ++count;
        }
        span.mean = count > 0 ? sum / count : *valueA;
        stats.series.append(span);
    }
    return stats;
}

} // namespace kvaro
