#include "chart/view/bubbleplottable.h"

#include "assets/assets.h"

#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace kvaro {

namespace {

QString pictureOf(int eventKind)
{
    return picturePath(QStringLiteral("S%1.svg").arg(std::clamp(eventKind, 1, 7)));
}

// The picture inside a round frame: white behind it, so the marker stays readable over the
// lines, and the series colour as its rim.
void paintMarker(QPainter* painter, const QRectF& circle, QSvgRenderer& picture, const QColor& rim)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    QPainterPath round;
    round.addEllipse(circle);
    painter->setClipPath(round, Qt::IntersectClip);
    painter->fillPath(round, Qt::white);
    const double inset = circle.width() * 0.06;
    picture.render(painter, circle.adjusted(inset, inset, -inset, -inset));
    painter->restore();

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const double rimWidth = std::max(1.0, circle.width() / 18);
    painter->setPen(QPen(rim, rimWidth));
    painter->setBrush(Qt::NoBrush);
    const double half = rimWidth / 2;
    painter->drawEllipse(circle.adjusted(half, half, -half, -half));
    painter->restore();
}

} // namespace

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
        QSvgRenderer picture(pictureOf(m_eventKind));
        paintMarker(&painter, QRectF(0, 0, side, side), picture, mPen.color());
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void BubblePlottable::draw(QCPPainter* painter)
{
    QCPAxis* keyAxis = mKeyAxis.data();
    QCPAxis* valueAxis = mValueAxis.data();
    if (!keyAxis || !valueAxis || m_bubbles.isEmpty())
        return;

    const QCPRange visible = keyAxis->range();
    const bool vector = painter->modes().testFlag(QCPPainter::pmVectorized);
    std::unique_ptr<QSvgRenderer> picture;
    if (vector)
        picture = std::make_unique<QSvgRenderer>(pictureOf(m_eventKind));
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;

    for (const ChartBubble& bubble : m_bubbles) {
        const double radius = std::abs(valueAxis->coordToPixel(bubble.y + bubble.radius) -
                                       valueAxis->coordToPixel(bubble.y));
        const double keyRadius =
            radius / std::max(1e-9, std::abs(keyAxis->coordToPixel(1) - keyAxis->coordToPixel(0)));
        if (bubble.x + keyRadius < visible.lower || bubble.x - keyRadius > visible.upper)
            continue;
        const QPointF centre(keyAxis->coordToPixel(bubble.x), valueAxis->coordToPixel(bubble.y));
        if (radius < 1.5) {
            // Too small for a picture: a dot in the series colour still marks the event.
            painter->setPen(Qt::NoPen);
            painter->setBrush(mPen.color());
            painter->drawEllipse(centre, 1.5, 1.5);
            continue;
        }
        const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
        if (vector) {
            paintMarker(painter, circle, *picture, mPen.color());
            continue;
        }
        // Limited before rounding: an axis squeezed by extreme values gives any radius.
        const int diameter = int(std::lround(std::min(2048.0, 2 * radius)));
        painter->drawPixmap(QPointF(centre.x() - diameter / 2.0, centre.y() - diameter / 2.0),
                            marker(diameter, ratio));
    }
}

void BubblePlottable::drawLegendIcon(QCPPainter* painter, const QRectF& rect) const
{
    const double side = std::min(rect.width(), rect.height());
    QSvgRenderer picture(pictureOf(m_eventKind));
    paintMarker(painter,
                QRectF(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side),
                picture, mPen.color());
}

} // namespace kvaro
