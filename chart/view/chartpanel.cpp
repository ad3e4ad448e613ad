#include "chart/view/chartpanel.h"

namespace kvaro {

ChartPanel::ChartPanel(QCustomPlot* plot, const QString& layer) : QCPLayerable(plot, layer) {}

void ChartPanel::applyDefaultAntialiasingHint(QCPPainter* painter) const
{
    applyAntialiasingHint(painter, true, QCP::aeOther);
}

void ChartPanel::draw(QCPPainter* painter)
{
    const QRectF board = QRectF(mParentPlot->viewport()).adjusted(1, 1, -1, -1);
    QLinearGradient shade(board.topLeft(), board.bottomLeft());
    shade.setColorAt(0, QColor(250, 251, 253));
    shade.setColorAt(1, QColor(232, 237, 244));
    QPen rim(QColor(150, 160, 175), 1, Qt::DashLine);
    painter->setPen(rim);
    painter->setBrush(shade);
    painter->drawRoundedRect(board, cornerRadius, cornerRadius);
}

} // namespace kvaro
