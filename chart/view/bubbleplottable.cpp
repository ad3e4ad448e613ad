#include "chart/view/bubbleplottable.h"

#include "chart/view/eventpicture.h"

#include <QPixmapCache>

#include <algorithm>
#include <cmath>

namespace kvaro {

BubblePlottable::BubblePlottable(QCPAxis* keyAxis, QCPAxis* valueAxis)
    : QCPAbstractPlottable(keyAxis, valueAxis)
{
    setSelectable(QCP::stNone);
    setPen(QPen(Qt::red));
    setBrush(Qt::NoBrush);
}

void BubblePlottable::setBubbles(const QVector<ChartBubble>& bubbles)
{
    m_bubbles = bubbles;
}

void BubblePlottable::setEventKind(int eventKind)
{
    m_eventKind = eventKind;
}

void BubblePlottable::setColor(const QColor& color)
{
    setPen(QPen(color));
}

void BubblePlottable::setShifts(const QVector<double>& shifts)
{
    m_shifts = shifts;
}

QRectF BubblePlottable::markerRect(int index) const
{
    const QCPAxis* keyAxis = mKeyAxis.data();
    const QCPAxis* valueAxis = mValueAxis.data();
    if (!keyAxis || !valueAxis || index < 0 || index >= m_bubbles.size())
        return QRectF();
    const ChartBubble& bubble = m_bubbles.at(index);
    const double axisRadius = std::abs(valueAxis->coordToPixel(bubble.y + bubble.radius) -
                                       valueAxis->coordToPixel(bubble.y));
    // Limited: an axis squeezed by extreme values gives any radius.
    const double diameter = std::clamp(2 * axisRadius, MinimumDiameter, 2048.0);
    const double shift = index < m_shifts.size() ? m_shifts.at(index) : 0.0;
    const QPointF centre(keyAxis->coordToPixel(bubble.x) + shift * diameter,
                         valueAxis->coordToPixel(bubble.y));
    return QRectF(centre.x() - diameter / 2, centre.y() - diameter / 2, diameter, diameter);
}

int BubblePlottable::markerAt(const QPointF& pixel) const
{
    for (int i = int(m_bubbles.size()) - 1; i >= 0; --i) {
        const QRectF rect = markerRect(i);
        const QPointF d = pixel - rect.center();
        if (d.x() * d.x() + d.y() * d.y() <= rect.width() * rect.width() / 4)
            return i;
    }
    return -1;
}

double BubblePlottable::selectTest(const QPointF&, bool, QVariant*) const
{
    return -1;
}

QCPRange BubblePlottable::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const
{
    QCPRange range;
    foundRange = false;
    for (const ChartBubble& bubble : m_bubbles) {
        if ((inSignDomain == QCP::sdPositive && bubble.x <= 0) ||
            (inSignDomain == QCP::sdNegative && bubble.x >= 0))
            continue;
        range = foundRange
                    ? QCPRange(std::min(range.lower, bubble.x), std::max(range.upper, bubble.x))
                    : QCPRange(bubble.x, bubble.x);
        foundRange = true;
    }
    return range;
}

QCPRange BubblePlottable::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain,
                                        const QCPRange& inKeyRange) const
{
    const bool anyKey = inKeyRange == QCPRange();
    QCPRange range;
    foundRange = false;
    for (const ChartBubble& bubble : m_bubbles) {
        if (!anyKey && !inKeyRange.contains(bubble.x))
            continue;
        // The whole marker, not only its centre, belongs in view.
        double low = bubble.y - std::abs(bubble.radius);
        double high = bubble.y + std::abs(bubble.radius);
        if (inSignDomain == QCP::sdPositive) {
            if (high <= 0)
                continue;
            low = std::max(low, bubble.y > 0 ? bubble.y : high);
        } else if (inSignDomain == QCP::sdNegative) {
            if (low >= 0)
                continue;
            high = std::min(high, bubble.y < 0 ? bubble.y : low);
        }
        range = foundRange ? QCPRange(std::min(range.lower, low), std::max(range.upper, high))
                           : QCPRange(low, high);
        foundRange = true;
    }
    return range;
}

QPixmap BubblePlottable::marker(int diameter, qreal devicePixelRatio) const
{
    const QString key = QStringLiteral("kvaro-bubble/%1/%2/%3/%4")
                            .arg(m_eventKind)
                            .arg(diameter)
                            .arg(devicePixelRatio)
                            .arg(mPen.color().rgba());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

    const int side = int(std::ceil(diameter * devicePixelRatio));
    pixmap = QPixmap(side, side);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        paintEventMarker(&painter, QRectF(0, 0, side, side), m_eventKind, mPen.color());
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void BubblePlottable::draw(QCPPainter* painter)
{
    if (!mKeyAxis || !mValueAxis || m_bubbles.isEmpty())
        return;
    const QRect clip = clipRect();
    const bool vector = painter->modes().testFlag(QCPPainter::pmVectorized);
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;

    // A series' markers mostly share one size: the picture is looked up once per size
    // change rather than once per marker, which a long cycle with many events notices.
    int shownDiameter = -1;
    QPixmap shown;
    for (int i = 0; i < m_bubbles.size(); ++i) {
        const QRectF circle = markerRect(i);
        if (!circle.intersects(clip))
            continue;
        if (vector) {
            paintEventMarker(painter, circle, m_eventKind, mPen.color());
            continue;
        }
        const int diameter = int(std::lround(circle.width()));
        if (diameter != shownDiameter) {
            shown = marker(diameter, ratio);
            shownDiameter = diameter;
        }
        painter->drawPixmap(
            QPointF(circle.center().x() - diameter / 2.0, circle.center().y() - diameter / 2.0),
            shown);
    }
}

void BubblePlottable::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const
{
    const double side = std::min(rect.width(), rect.height());
    paintEventMarker(painter,
                     QRectF(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side),
                     m_eventKind, mPen.color());
}

} // namespace kvaro
