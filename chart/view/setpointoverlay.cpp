#include "chart/view/setpointoverlay.h"

#include "chart/view/chartstyle.h"
#include "chart/view/elapsedticker.h"

namespace kvaro {

namespace {

const QColor LineColour(40, 110, 60);
const QColor HoldEndColour(150, 70, 20);

} // namespace

SetPointOverlay::SetPointOverlay(QCustomPlot* plot, QCPAxisRect* rect)
    : QCPLayerable(plot, QStringLiteral("main")), m_rect(rect)
{
    show({}, false);
}

QRect SetPointOverlay::clipRect() const
{
    return m_rect->rect();
}

void SetPointOverlay::show(const SetPointTrace& trace, bool shown)
{
    m_trace = trace;
    m_shown = shown && trace.temperature > 0;
    setVisible(m_shown);
}

QStringList SetPointOverlay::markTexts() const
{
    QStringList texts;
    // Reached: an arrow up to the line; hold ended: a stop bar.
    if (m_trace.reachedX)
        texts.append(QStringLiteral("\u2191 ") + ElapsedTicker::format(m_trace.reachedElapsed));
    if (m_trace.holdEndX)
        texts.append(QStringLiteral("\u2192| ") + ElapsedTicker::format(m_trace.holdEndElapsed));
    return texts;
}

bool SetPointOverlay::inView(double x) const
{
    return m_rect->axis(QCPAxis::atBottom)->range().contains(x);
}

QStringList SetPointOverlay::visibleMarkTexts() const
{
    const QStringList texts = markTexts();
    QStringList visible;
    int next = 0;
    if (m_trace.reachedX && inView(*m_trace.reachedX))
        visible.append(texts.at(next));
    if (m_trace.reachedX)
        ++next;
    if (m_trace.holdEndX && inView(*m_trace.holdEndX))
        visible.append(texts.at(next));
    return visible;
}

void SetPointOverlay::applyDefaultAntialiasingHint(QCPPainter* painter) const
{
    applyAntialiasingHint(painter, true, QCP::aeOther);
}

void SetPointOverlay::draw(QCPPainter* painter)
{
    const QCPAxis* keys = m_rect->axis(QCPAxis::atBottom);
    const QCPAxis* values = m_rect->axis(QCPAxis::atLeft);
    const QRect area = m_rect->rect();
    const double line = values->coordToPixel(m_trace.temperature);
    const double bandFoot = values->coordToPixel(m_trace.temperature - m_trace.band);

    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(LineColour.red(), LineColour.green(), LineColour.blue(), 28));
    painter->drawRect(QRectF(QPointF(area.left(), std::min(line, bandFoot)),
                             QPointF(area.right(), std::max(line, bandFoot))));
    painter->setPen(QPen(LineColour, 1.5, Qt::DashLine));
    painter->drawLine(QPointF(area.left(), line), QPointF(area.right(), line));

    // A mark whose moment is zoomed or panned out of view goes with it; kept at the edge it
    // would point at a moment that is not on screen.
    const QStringList texts = markTexts();
    int next = 0;
    if (m_trace.reachedX && inView(*m_trace.reachedX))
        drawMark(painter, keys->coordToPixel(*m_trace.reachedX), texts.at(next), LineColour);
    if (m_trace.reachedX)
        ++next;
    if (m_trace.holdEndX && inView(*m_trace.holdEndX))
        drawMark(painter, keys->coordToPixel(*m_trace.holdEndX), texts.at(next), HoldEndColour);
}

void SetPointOverlay::drawMark(QCPPainter* painter, double x, const QString& text,
                               const QColor& colour)
{
    const double y = m_rect->axis(QCPAxis::atLeft)->coordToPixel(m_trace.temperature);
    painter->setPen(QPen(colour, 2));
    painter->setBrush(Qt::white);
    painter->drawEllipse(QPointF(x, y), 4.5, 4.5);

    const QFont font = chartFont(8 * m_textScale, true);
    painter->setFont(font);
    const QRectF bounds = QFontMetricsF(font).boundingRect(text).adjusted(-3, -1, 3, 1);
    // Above the dot, kept inside the plot so a mark at either end stays readable.
    QRectF box(QPointF(x - bounds.width() / 2, y - 8 - bounds.height()), bounds.size());
    const QRectF area = m_rect->rect();
    box.moveLeft(std::clamp(box.left(), area.left() + 2, area.right() - box.width() - 2));
    if (box.top() < area.top() + 2)
        box.moveTop(y + 8);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor(255, 255, 255, 215));
    painter->drawRect(box);
    painter->setPen(colour);
    painter->drawText(box, Qt::AlignCenter, text);
}

} // namespace kvaro
