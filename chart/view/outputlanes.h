#pragma once

#include <QSharedPointer>
#include <QString>

#include <vector>

class QCPAbstractPlottable;
class QCPAxis;
class QCPAxisRect;
class QCPAxisTicker;
class QCPAxisTickerText;
class QCustomPlot;

namespace kvaro {

// The output lanes at the foot of the chart: an axis rect of their own under the
// temperatures, lined up with them, whose time axis follows the temperatures' one (pan and
// zoom included) and carries the time marks; its left axis names the lanes.
class OutputLanes
{
public:
    OutputLanes(QCustomPlot* plot, QCPAxisRect* temperatures, QSharedPointer<QCPAxisTicker> time);

    QCPAxis* timeAxis() const;
    QCPAxis* laneAxis() const;
    // One lane per shown arrow series, in series order, each as high as its bar needs: the
    // lanes keep their height whatever the temperature scale or the window's size.
    void layOut(const std::vector<QCPAbstractPlottable*>& plottables);

private:
    QCPAxisRect* m_rect;
    QSharedPointer<QCPAxisTickerText> m_names;
};

} // namespace kvaro
