#include "chart/comparison.h"

#include "base/language.h"
#include "chart/cursorstats.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace kvaro {

bool isComparedSeries(int series)
{
    return std::find(ComparedSeries.begin(), ComparedSeries.end(), series) != ComparedSeries.end();
}

std::optional<double> ElapsedPositions::secondsPerRecord(const QVector<RecordTotals>& records)
{
    if (records.size() < 2)
        return std::nullopt;
    const double seconds = double(records.last().elapsed - records.first().elapsed);
    const double steps = records.last().x - records.first().x;
    if (!(seconds > 0) || !(steps > 0))
        return std::nullopt;
    return seconds / steps;
}

ElapsedPositions::ElapsedPositions(const QVector<RecordTotals>& records,
                                   double fallbackSecondsPerRecord)
{
    m_x.reserve(std::size_t(records.size()));
    m_elapsed.reserve(std::size_t(records.size()));
    for (const RecordTotals& record : records) {
        // A clock that went back (a controller reset mid-cycle) must not fold the axis onto
        // itself: such a record keeps the time of the one before it.
        const double elapsed = m_elapsed.empty()
                                   ? double(record.elapsed)
                                   : std::max(m_elapsed.back(), double(record.elapsed));
        m_x.push_back(record.x);
        m_elapsed.push_back(elapsed);
    }
    m_secondsPerRecord = secondsPerRecord(records).value_or(
        fallbackSecondsPerRecord > 0 ? fallbackSecondsPerRecord : 1.0);
}

double ElapsedPositions::positionOf(double elapsedSeconds) const
{
    if (m_x.empty())
        return 0;
    if (m_x.size() == 1 || elapsedSeconds <= m_elapsed.front())
        return m_x.front() + (elapsedSeconds - m_elapsed.front()) / m_secondsPerRecord;
    if (elapsedSeconds >= m_elapsed.back())
        return m_x.back() + (elapsedSeconds - m_elapsed.back()) / m_secondsPerRecord;
    // The last record at or before the time; the one after it is later (upper_bound).
    const auto after = std::upper_bound(m_elapsed.begin(), m_elapsed.end(), elapsedSeconds);
    const std::size_t i = std::size_t(after - m_elapsed.begin()) - 1;
    const double span = m_elapsed[i + 1] - m_elapsed[i];
    return m_x[i] + (elapsedSeconds - m_elapsed[i]) / span * (m_x[i + 1] - m_x[i]);
}

const ChartPoints* Comparison::pointsOf(int seriesIndex) const
{
    for (const ComparedPoints& compared : series) {
        if (compared.series == seriesIndex)
            return &compared.points;
    }
    return nullptr;
}

std::optional<double> Comparison::lastPosition() const
{
    std::optional<double> last;
    for (const ComparedPoints& compared : series) {
        for (const double x : compared.points.xs())
            last = last ? std::max(*last, x) : x;
    }
    return last;
}

Comparison compareCycles(const ChartModel& drawn, const ChartModel& compared, const QString& number)
{
    Comparison comparison;
    comparison.number = number;
    if (drawn.records().isEmpty())
        return comparison;
    const ElapsedPositions positions(
        drawn.records(), ElapsedPositions::secondsPerRecord(compared.records()).value_or(1.0));

    // Most temperatures of a cycle share T1's times (the loader appends them alongside it):
    // those are placed once and share the placed columns too, as they do in the cycle's own
    // chart. Any other series is placed on its own.
    struct Placing {
        int series;
        const ChartPoints* source;
        ChartPoints aligned;
    };
    const ChartPoints& leaderSource = compared.at(series::T1).points;
    std::vector<Placing> alongside;
    std::vector<Placing> apart;
    for (const int index : ComparedSeries) {
        const ChartPoints& source = compared.at(index).points;
        if (source.isEmpty())
            continue;
        const bool sharesTimes =
            index == series::T1 || (source.xs().data() == leaderSource.xs().data() &&
                                    source.size() <= leaderSource.size());
        (sharesTimes && !leaderSource.isEmpty() ? alongside : apart)
            .push_back(Placing{index, &source, {}});
    }

    // T1, when it is there, leads: it comes first in ComparedSeries.
    if (!alongside.empty()) {
        Placing& leader = alongside.front();
        // Room for every key at once: a leader whose keys moved would stop sharing them.
        leader.aligned.reserve(leaderSource.size());
        for (qsizetype i = 0; i < leaderSource.size(); ++i) {
            const qint64 elapsed = leaderSource.elapsed(i);
            if (elapsed < 0)
                continue; // the followers share the key, so they leave it out too
            leader.aligned.appendElapsed(positions.positionOf(double(elapsed)), leaderSource.y(i),
                                         elapsed);
            for (std::size_t f = 1; f < alongside.size(); ++f) {
                if (i < alongside[f].source->size())
                    alongside[f].aligned.appendAlongside(leader.aligned, alongside[f].source->y(i));
            }
        }
    }
    for (Placing& placing : apart) {
        const ChartPoints& source = *placing.source;
        for (qsizetype i = 0; i < source.size(); ++i) {
            const qint64 elapsed = source.elapsed(i);
            if (elapsed >= 0)
                placing.aligned.appendElapsed(positions.positionOf(double(elapsed)), source.y(i),
                                              elapsed);
        }
    }

    for (const int index : ComparedSeries) {
        for (std::vector<Placing>* group : {&alongside, &apart}) {
            for (Placing& placing : *group) {
                if (placing.series == index && !placing.aligned.isEmpty())
                    comparison.series.append(ComparedPoints{index, std::move(placing.aligned)});
            }
        }
    }
    return comparison;
}

QString cycleNumberOf(const QString& path)
{
    // As the cycle list and the chart's identity line take it.
    QString number = QFileInfo(path).fileName();
    number.remove(QLatin1Char('P')).remove(QStringLiteral(".csv"));
    return number;
}

QString comparedTitle(const QString& form, const QString& title, const QString& number)
{
    return fillIn(form, {title, number});
}

std::optional<double> comparedValueAt(const ChartPoints& points, double x)
{
    const std::span<const double> xs = points.xs();
    if (xs.empty() || !std::isfinite(x) || x < xs.front() - 0.5 || x > xs.back() + 0.5)
        return std::nullopt;
    if (x <= xs.front())
        return points.y(0);
    if (x >= xs.back())
        return points.y(points.size() - 1);
    const auto after = std::lower_bound(xs.begin(), xs.end(), x);
    const qsizetype j = after - xs.begin();
    if (*after == x)
        return points.y(j);
    const qsizetype i = j - 1;
    const double span = xs[std::size_t(j)] - xs[std::size_t(i)];
    if (!(span > 0))
        return points.y(i);
    return points.y(i) + (x - xs[std::size_t(i)]) / span * (points.y(j) - points.y(i));
}

QVector<ComparedValue> comparedValuesAt(const ChartModel& drawn, const Comparison& comparison,
                                        double x)
{
    QVector<ComparedValue> values;
    for (const ComparedPoints& compared : comparison.series) {
        const ChartSeries& series = drawn.at(compared.series);
        if (!series.active)
            continue;
        const std::optional<double> first = seriesValueAt(series, x);
        const std::optional<double> second = comparedValueAt(compared.points, x);
        if (first && second)
            values.append(ComparedValue{compared.series, *first, *second});
    }
    return values;
}

} // namespace kvaro
