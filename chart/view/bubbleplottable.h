#pragma once

#include "chart/chartmodel.h"

#include <qcustomplot.h>

namespace kvaro {

// All the event markers of one series: round markers filled with the event's picture.
// The radius is in units of the value (temperature) axis, so a marker grows as the view
// zooms in, like the bubbles the chart has always drawn; it never shrinks below a size
// whose picture can still be told apart. Markers that share a record with markers of
// other series stand beside them by the shift they are given.
class BubblePlottable : public QCPAbstractPlottable
{
    Q_OBJECT
public:
    BubblePlottable(QCPAxis* keyAxis, QCPAxis* valueAxis);

    void setBubbles(const QVector<ChartBubble>& bubbles);
    void setEventKind(int eventKind); // 1..7: which picture fills the markers
    void setColor(const QColor& color);
    // In marker widths, one per marker (see markerShifts); missing ones count as 0.
    void setShifts(const QVector<double>& shifts);
    const QVector<ChartBubble>& bubbles() const { return m_bubbles; }

    static constexpr double MinimumDiameter = 20; // pixels
    // Where a marker is drawn now, in the plot's pixels.
    QRectF markerRect(int index) const;
    // The marker under a pixel of the plot (the last drawn wins), or -1.
    int markerAt(const QPointF& pixel) const;

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
    QVector<double> m_shifts;
    int m_eventKind = 1;
};

} // namespace kvaro
