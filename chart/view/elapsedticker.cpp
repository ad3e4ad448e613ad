#include "chart/view/elapsedticker.h"

#include <algorithm>
#include <cmath>

namespace kvaro {

double ElapsedTicker::getTickStep(const QCPRange& range)
{
    // Positions are whole records: a mark between two records would repeat a label.
    return std::max(1.0, std::round(QCPAxisTicker::getTickStep(range)));
}

QString ElapsedTicker::getTickLabel(double tick, const QLocale&, QChar, int)
{
    if (m_points.isEmpty())
        return {};
    const auto after = std::lower_bound(m_points.cbegin(), m_points.cend(), tick,
                                        [](const ChartPoint& p, double x) { return p.x < x; });
    auto nearest = after;
    if (after == m_points.cend()
        || (after != m_points.cbegin() && tick - (after - 1)->x < after->x - tick))
        nearest = after - 1;
    // Beyond the drawn points the axis has no time to show.
    if (std::abs(nearest->x - tick) > 1.0)
        return {};
    return nearest->label;
}

} // namespace kvaro
