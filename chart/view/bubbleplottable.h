#pragma once

#include "chart/chartmodel.h"

#include <qcustomplot.h>

namespace kvaro {

// All the event markers of one series: round markers filled with the event's picture.
// The radius is in units of the value (temperature) axis, so a marker grows as the view
// zooms in, like the bubbles the chart has always drawn.
class BubblePlottable : public QCPAbstractPlottable
{
    Q_OBJECT
public:
    BubblePlottable(QCPAxis* keyAxis, QCPAxis* valueAxis);

    void setBubbles(const QVector<ChartBubble>& bubbles);
    void setEventKind(int eventKind); // 1..7: which picture fills the markers
    void setColor(const QColor& color);
    const QVector<ChartBubble>& bubbles() const { return m_bubbles; }

    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;
    QCPRange getKeyRange(bool& foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;

protected:
    void draw(QCPPainter* painter) override;
    void drawLegendIcon(QCPPainter* painter, const QRectF& rect) const override;

private:
    QPixmap marker(int diameter, qreal devicePixelRatio) const;

    QVector<ChartBubble> m_bubbles;
    int m_eventKind = 1;
};

} // namespace kvaro
