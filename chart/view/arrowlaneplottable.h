#pragma once

#include "chart/chartmodel.h"

#include <qcustomplot.h>

namespace kvaro {

// All the on-periods of one output as flat filled horizontal arrows. The shaft's thickness
// follows the temperature scale (the lanes lie one degree apart), within pixel limits, so
// the lanes read as one coloured band in the full view and separate when zoomed in.
class ArrowLanePlottable : public QCPAbstractPlottable
{
    Q_OBJECT
public:
    ArrowLanePlottable(QCPAxis* keyAxis, QCPAxis* valueAxis);

    void setArrows(const QVector<ChartArrow>& arrows);
    void setColor(const QColor& color);
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
};

} // namespace kvaro
