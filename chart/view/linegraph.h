#pragma once

#include <qcustomplot.h>

namespace kvaro {

// A line series. Where the graph's per-pixel sampling leaves more vertices than there are
// pixel columns, a wide pen would be stroked along every tiny zigzag, which is what makes a
// long, noisy cycle slow to pan. Such a line is drawn instead as the filled band each
// column's lowest and highest point span, widened by the pen: the same pixels, no peak
// lost, a fraction of the work.
class LineGraph : public QCPGraph
{
    Q_OBJECT
public:
    LineGraph(QCPAxis* keyAxis, QCPAxis* valueAxis);

protected:
    void drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const override;
};

} // namespace kvaro
