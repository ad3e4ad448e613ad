#pragma once

#include "chart/chartmodel.h"

#include <qcustomplot.h>

namespace kvaro {

// All the on-periods of one output as flat filled horizontal arrows, drawn in a lane of their
// own: the value axis counts lanes, and the arrows sit on this output's lane whatever height
// the model gives them. Bars keep a fixed pixel height, so every output reads at any zoom.
class ArrowLanePlottable : public QCPAbstractPlottable
{
    Q_OBJECT
public:
    ArrowLanePlottable(QCPAxis* keyAxis, QCPAxis* valueAxis);

    void setArrows(const QVector<ChartArrow>& arrows);
    void setColor(const QColor& color);
    void setLane(double lane) { m_lane = lane; }
    double lane() const { return m_lane; }

    // The bar's height in pixels; the arrow head stands out a little above and below it.
    static constexpr double BarHeight = 8;
    static constexpr double HeadHeight = 11;
    // From one lane's centre to the next: the heads of neighbouring lanes stay 3 px apart.
    static constexpr double LanePitch = HeadHeight + 3;
    const QVector<ChartArrow>& arrows() const { return m_arrows; }

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
    QVector<ChartArrow> m_arrows;
    double m_lane = 0;
};

} // namespace kvaro
