#include "chart/view/arrowlaneplottable.h"

#include <algorithm>
#include <cmath>

namespace kvaro {

namespace {

bool inDomain(double value, QCP::SignDomain domain)
{
    switch (domain) {
    case QCP::sdNegative:
        return value < 0;
    case QCP::sdPositive:
        return value > 0;
    case QCP::sdBoth:
        break;
    }
    return true;
}

void extend(QCPRange& range, bool& found, double value)
{
    if (!found) {
        range = QCPRange(value, value);
        found = true;
        return;
    }
    range.lower = std::min(range.lower, value);
    range.upper = std::max(range.upper, value);
}

// One arrow in pixels, pointing from (from, y) to (to, y).
QPolygonF arrowShape(double from, double to, double y, double bar, double head)
{
    const double direction = to >= from ? 1.0 : -1.0;
    const double length = std::abs(to - from);
    const double tip = std::min(length, head * 0.8);
    const double neck = to - direction * tip;
    return QPolygonF({QPointF(from, y - bar / 2), QPointF(neck, y - bar / 2),
                      QPointF(neck, y - head / 2), QPointF(to, y), QPointF(neck, y + head / 2),
                      QPointF(neck, y + bar / 2), QPointF(from, y + bar / 2)});
}

} // namespace

ArrowLanePlottable::ArrowLanePlottable(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPAbstractPlottable(keyAxis, valueAxis)
{
    setSelectable(QCP::stNone);
    setPen(Qt::NoPen);
    setAntialiasedFill(true);
}

void ArrowLanePlottable::setArrows(const QVector<ChartArrow>& arrows)
{
    m_arrows = arrows;
}

void ArrowLanePlottable::setColor(const QColor& color)
{
    setBrush(color);
}

double ArrowLanePlottable::selectTest(const QPointF&, bool, QVariant*) const
{
    return -1;
}

QCPRange ArrowLanePlottable::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const
{
    QCPRange range;
    foundRange = false;
    for (const ChartArrow& arrow : m_arrows) {
        for (double x : {arrow.x0, arrow.x1}) {
            if (inDomain(x, inSignDomain))
                extend(range, foundRange, x);
        }
    }
    return range;
}

QCPRange ArrowLanePlottable::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain,
                                           const QCPRange&) const
{
    const QCPRange range(m_lane - 0.5, m_lane + 0.5);
    foundRange = !m_arrows.isEmpty() && inDomain(m_lane, inSignDomain);
    return range;
}

void ArrowLanePlottable::draw(QCPPainter* painter)
{
    QCPAxis* keyAxis = mKeyAxis.data();
    QCPAxis* valueAxis = mValueAxis.data();
    if (!keyAxis || !valueAxis || m_arrows.isEmpty())
        return;

    const double y = valueAxis->coordToPixel(m_lane);
    const QCPRange visible = keyAxis->range();

    applyFillAntialiasingHint(painter);
    painter->setPen(Qt::NoPen);
    painter->setBrush(mBrush);

    // Arrows narrower than a pixel or two would only smear their heads together: such runs
    // are merged into one shaft so a long cycle with a busy output stays quick to draw.
    double runFrom = 0;
    double runTo = 0;
    bool inRun = false;
    auto flushRun = [&] {
        if (inRun)
            painter->drawRect(
                QRectF(QPointF(runFrom, y - BarHeight / 2), QPointF(runTo, y + BarHeight / 2)));
        inRun = false;
    };

    for (const ChartArrow& arrow : m_arrows) {
        if (std::max(arrow.x0, arrow.x1) < visible.lower ||
            std::min(arrow.x0, arrow.x1) > visible.upper)
            continue;
        const double from = keyAxis->coordToPixel(arrow.x0);
        const double to = keyAxis->coordToPixel(arrow.x1);
        const double left = std::min(from, to);
        const double right = std::max(from, to);
        if (right - left < 2.0) {
            if (inRun && left <= runTo + 1.0) {
                runTo = std::max(runTo, right);
                continue;
            }
            flushRun();
            runFrom = left;
            runTo = std::max(right, left + 1.0);
            inRun = true;
            continue;
        }
        flushRun();
        painter->drawPolygon(arrowShape(from, to, y, BarHeight, HeadHeight));
    }
    flushRun();
}

void ArrowLanePlottable::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const
{
    painter->setPen(Qt::NoPen);
    painter->setBrush(mBrush);
    const QPointF centre = rect.center();
    painter->drawPolygon(
        arrowShape(rect.left(), rect.right(), centre.y(), rect.height() / 2, rect.height()));
}

} // namespace kvaro
