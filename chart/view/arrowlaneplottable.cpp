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
QPolygonF arrowShape(double from, double to, double y, double thickness)
{
    const double direction = to >= from ? 1.0 : -1.0;
    const double length = std::abs(to - from);
    const double head = std::min(length, thickness * 1.6);
    const double neck = to - direction * head;
    const double half = thickness / 2;
    return QPolygonF({QPointF(from, y - half), QPointF(neck, y - half),
                      QPointF(neck, y - thickness), QPointF(to, y),
                      QPointF(neck, y + thickness), QPointF(neck, y + half),
                      QPointF(from, y + half)});
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
                                           const QCPRange& inKeyRange) const
{
    const bool anyKey = inKeyRange == QCPRange();
    QCPRange range;
    foundRange = false;
    for (const ChartArrow& arrow : m_arrows) {
        if (!anyKey && std::max(arrow.x0, arrow.x1) < inKeyRange.lower)
            continue;
        if (!anyKey && std::min(arrow.x0, arrow.x1) > inKeyRange.upper)
            continue;
        for (double y : {arrow.y0, arrow.y1}) {
            if (inDomain(y, inSignDomain))
                extend(range, foundRange, y);
        }
    }
    return range;
}

void ArrowLanePlottable::draw(QCPPainter* painter)
{
    QCPAxis* keyAxis = mKeyAxis.data();
    QCPAxis* valueAxis = mValueAxis.data();
    if (!keyAxis || !valueAxis || m_arrows.isEmpty())
        return;

    const double unit = std::abs(valueAxis->coordToPixel(1) - valueAxis->coordToPixel(0));
    const double thickness = std::clamp(unit * 0.6, 3.0, 14.0);
    const QCPRange visible = keyAxis->range();

    applyFillAntialiasingHint(painter);
    painter->setPen(Qt::NoPen);
    painter->setBrush(mBrush);

    // Arrows narrower than a pixel or two would only smear their heads together: such runs
    // are merged into one shaft so a long cycle with a busy output stays quick to draw.
    double runFrom = 0;
    double runTo = 0;
    double runY = 0;
    bool inRun = false;
    auto flushRun = [&] {
        if (inRun)
            painter->drawRect(QRectF(QPointF(runFrom, runY - thickness / 2),
                                     QPointF(runTo, runY + thickness / 2)));
        inRun = false;
    };

    for (const ChartArrow& arrow : m_arrows) {
        if (std::max(arrow.x0, arrow.x1) < visible.lower
            || std::min(arrow.x0, arrow.x1) > visible.upper)
            continue;
        const double from = keyAxis->coordToPixel(arrow.x0);
        const double to = keyAxis->coordToPixel(arrow.x1);
        const double y = valueAxis->coordToPixel((arrow.y0 + arrow.y1) / 2);
        const double left = std::min(from, to);
        const double right = std::max(from, to);
        if (right - left < 2.0) {
            if (inRun && y == runY && left <= runTo + 1.0) {
                runTo = std::max(runTo, right);
                continue;
            }
            flushRun();
            runFrom = left;
            runTo = std::max(right, left + 1.0);
            runY = y;
            inRun = true;
            continue;
        }
        flushRun();
        painter->drawPolygon(arrowShape(from, to, y, thickness));
    }
    flushRun();
}

void ArrowLanePlottable::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const
{
    painter->setPen(Qt::NoPen);
    painter->setBrush(mBrush);
    const QPointF centre = rect.center();
    painter->drawPolygon(arrowShape(rect.left(), rect.right(), centre.y(), rect.height() / 2));
}

} // namespace kvaro
