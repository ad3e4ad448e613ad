#include "chart/view/elapsedticker.h"

#include "chart/chartloader.h"
#include "cycles/wallclock.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kvaro {

void ElapsedTicker::setPoints(const ChartPoints& points)
{
    // Every refresh passes the same points again: only new ones are gone through.
    if (points.isSharedWith(m_source))
        return;
    m_source = points;
    m_xs.clear();
    m_reached.clear();
    m_xs.reserve(points.size());
    m_reached.reserve(points.size());
    const std::span<const double> xs = points.xs();
    qint64 reached = -1;
    for (qsizetype i = 0; i < points.size(); ++i) {
        const double x = xs[std::size_t(i)];
        // The loader adds points in ascending x; a point out of order is not a mark's place.
        if (!m_xs.isEmpty() && x <= m_xs.constLast())
            continue;
        reached = std::max(reached, points.elapsed(i));
        m_xs.append(x);
        m_reached.append(reached);
    }
}

qint64 ElapsedTicker::parseElapsed(const QString& label)
{
    return secondsOfLabel(label);
}

QString ElapsedTicker::format(qint64 seconds)
{
    return hoursMinutesSeconds(seconds);
}

qint64 ElapsedTicker::stepFor(double spanSeconds, double pixels, double minSpacing)
{
    static constexpr std::array<qint64, 18> steps{
        1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600, 7200, 10800, 14400, 21600, 43200};
    const double most = std::max(1.0, pixels / minSpacing); // marks that fit
    for (qint64 step : steps) {
        if (spanSeconds / double(step) <= most)
            return step;
    }
    // Beyond a few days: whole days.
    const qint64 day = SecondsPerDay;
    return day * std::max<qint64>(1, qint64(std::ceil(spanSeconds / most / double(day))));
}

QVector<ElapsedTicker::Tick> ElapsedTicker::ticksFor(const QCPRange& range, double pixels) const
{
    QVector<Tick> ticks;
    const auto from = std::lower_bound(m_xs.cbegin(), m_xs.cend(), range.lower);
    const auto to = std::upper_bound(m_xs.cbegin(), m_xs.cend(), range.upper);
    if (from >= to)
        return ticks;
    const qsizetype first = from - m_xs.cbegin();
    const qsizetype last = (to - m_xs.cbegin()) - 1;
    const qint64 start = std::max<qint64>(0, m_reached.at(first));
    const qint64 end = m_reached.at(last);
    if (end < 0)
        return ticks;
    // The time the shown range covers, stretched to the whole axis where the records do not
    // reach its ends.
    const double shownX = std::max(1e-9, m_xs.at(last) - m_xs.at(first));
    const double shownPixels = pixels * std::min(1.0, shownX / std::max(1e-9, range.size()));
    const qint64 step = stepFor(double(std::max<qint64>(1, end - start)), shownPixels);
    for (qint64 value = (start + step - 1) / step * step; value <= end; value += step) {
        // The first record at or past the mark's time. Where records lie further apart than
        // the step, several round times reach the same record: it gets one mark, with the
        // last of them, the one nearest its own time.
        const auto at =
            std::lower_bound(m_reached.cbegin() + first, m_reached.cbegin() + last + 1, value);
        const double x = m_xs.at(at - m_reached.cbegin());
        if (!ticks.isEmpty() && ticks.constLast().x == x)
            ticks.last().label = format(value);
        else
            ticks.append({x, format(value)});
    }
    return ticks;
}

void ElapsedTicker::generate(const QCPRange& range, const QLocale&, QChar, int,
                             QVector<double>& ticks, QVector<double>* subTicks,
                             QVector<QString>* tickLabels)
{
    const QVector<Tick> marks = ticksFor(range, m_axisLength ? m_axisLength() : 800.0);
    ticks.clear();
    if (tickLabels)
        tickLabels->clear();
    for (const Tick& mark : marks) {
        ticks.append(mark.x);
        if (tickLabels)
            tickLabels->append(mark.label);
    }
    if (subTicks)
        subTicks->clear();
}

} // namespace kvaro
