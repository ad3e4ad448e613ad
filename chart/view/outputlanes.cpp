#include "chart/view/outputlanes.h"

#include "chart/view/arrowlaneplottable.h"
#include "chart/view/chartstyle.h"

#include <qcustomplot.h>

#include <algorithm>

namespace kvaro {

OutputLanes::OutputLanes(QCustomPlot* plot, QCPAxisRect* temperatures,
                         QSharedPointer<QCPAxisTicker> time)
    : m_rect(new QCPAxisRect(plot, true)), m_names(new QCPAxisTickerText)
{
    plot->plotLayout()->addElement(2, 0, m_rect);
    plot->plotLayout()->setRowSpacing(4);
    m_rect->setBackground(QColor(255, 255, 255, 235));
    m_rect->setRangeDrag(Qt::Orientations());
    m_rect->setRangeZoom(Qt::Orientations());
    auto* margins = new QCPMarginGroup(plot);
    temperatures->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    m_rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);

    QCPAxis* laneTime = timeAxis();
    QCPAxis* laneNames = laneAxis();
    styleAxis(laneTime, true);
    styleAxis(laneNames, true);
    styleAxis(m_rect->axis(QCPAxis::atTop), false);
    styleAxis(m_rect->axis(QCPAxis::atRight), false);
    laneTime->setTicker(time);
    laneNames->grid()->setVisible(false);
    // The names are tick labels; the ticks themselves have no length.
    laneNames->setTickLength(0, 0);
    laneNames->setSubTicks(false);
    laneNames->setRangeReversed(true); // the first output on top
    laneNames->setTicker(m_names);
    QCPAxis* temperatureTime = temperatures->axis(QCPAxis::atBottom);
    for (QCPAxis* axis : {laneTime, m_rect->axis(QCPAxis::atTop)})
        QObject::connect(temperatureTime, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), axis,
                         qOverload<const QCPRange&>(&QCPAxis::setRange));
    QObject::connect(laneNames, qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
                     m_rect->axis(QCPAxis::atRight),
                     qOverload<const QCPRange&>(&QCPAxis::setRange));
}

QCPAxis* OutputLanes::timeAxis() const
{
    return m_rect->axis(QCPAxis::atBottom);
}

QCPAxis* OutputLanes::laneAxis() const
{
    return m_rect->axis(QCPAxis::atLeft);
}

void OutputLanes::layOut(const std::vector<QCPAbstractPlottable*>& plottables)
{
    m_names->clear();
    int lanes = 0;
    for (QCPAbstractPlottable* plottable : plottables) {
        auto* lane = qobject_cast<ArrowLanePlottable*>(plottable);
        if (!lane || !lane->visible())
            continue;
        lane->setLane(lanes);
        m_names->addTick(lanes, lane->name());
        ++lanes;
    }
    const int height = int(lanes * ArrowLanePlottable::LanePitch);
    m_rect->setMinimumSize(0, height);
    m_rect->setMaximumSize(QWIDGETSIZE_MAX, height);
    laneAxis()->setRange(-0.5, std::max(0, lanes) - 0.5);
}

} // namespace kvaro
