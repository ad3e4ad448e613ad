#include "chart/view/chartstyle.h"

#include <qcustomplot.h>

namespace kvaro {

QFont chartFont(qreal pointSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void styleAxis(QCPAxis* axis, bool carriesSeries)
{
    const QPen frame(QColor(120, 130, 145), 1, Qt::DashLine);
    axis->setBasePen(frame);
    axis->setVisible(true);
    axis->grid()->setVisible(carriesSeries);
    axis->grid()->setPen(QPen(QColor(205, 212, 222), 1, Qt::DotLine));
    axis->grid()->setZeroLinePen(Qt::NoPen);
    if (!carriesSeries) {
        // The top and right axes only close the dashed frame around the plot area.
        axis->setTicks(false);
        axis->setTickLabels(false);
        return;
    }
    axis->setTickPen(QPen(QColor(120, 130, 145)));
    axis->setSubTickPen(QPen(QColor(160, 168, 180)));
    scaleAxisText(axis, 1);
    axis->setTickLabelColor(QColor(45, 52, 64));
    axis->setLabelColor(QColor(45, 52, 64));
}

void scaleAxisText(QCPAxis* axis, qreal textScale)
{
    axis->setTickLabelFont(chartFont(9 * textScale));
    axis->setLabelFont(chartFont(10 * textScale, true));
}

} // namespace kvaro
