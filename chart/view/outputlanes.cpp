#include "chart/view/outputlanes.h"

#include "chart/view/arrowlaneplottable.h"
#include "chart/view/chartstyle.h"

#include <qcustomplot.h>

#include <algorithm>

namespace kvaro {

QCPAxisRect* makeFootRect(QCustomPlot* plot, QCPAxisRect* temperatures,
                          QSharedPointer<QCPAxisTicker> time,
                          QSharedPointer<QCPAxisTickerText> names)
{
    auto* rect = new QCPAxisRect(plot, true);
    rect->setBackground(QColor(255, 255, 255, 235));
    rect->setRangeDrag(Qt::Orientations());
    rect->setRangeZoom(Qt::Orientations());
    QCPMarginGroup* margins = temperatures->marginGroup(QCP::msLeft);
    if (!margins) {
        margins = new QCPMarginGroup(plot);
        temperatures->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    }
    rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);

    QCPAxis* rowTime = rect->axis(QCPAxis::atBottom);
    QCPAxis* rowNames = rect->axis(QCPAxis::atLeft);
    styleAxis(rowTime, true);
    styleAxis(rowNames, true);
    styleAxis(rect->axis(QCPAxis::atTop), false);
    styleAxis(rect->axis(QCPAxis::atRight), false);
    rowTime->setTicker(time);
    rowNames->grid()->setVisible(false);
    // The names are tick labels; the ticks themselves have no length.
    rowNames->setTickLength(0, 0);
    rowNames->setSubTicks(false);
    rowNames->setRangeReversed(true); // the first row on top
    rowNames->setTicker(names);
    QCPAxis* temperatureTime = temperatures->axis(QCPAxis::atBottom);
    for (QCPAxis* axis : {rowTime, rect->axis(QCPAxis::atTop)})
        QObject::connect(temperatureTime, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), axis,
                         qOverload<const QCPRange&>(&QCPAxis::setRange));
    QObject::connect(rowNames, qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
                     rect->axis(QCPAxis::atRight), qOverload<const QCPRange&>(&QCPAxis::setRange));
    return rect;
}

OutputLanes::OutputLanes(QCustomPlot* plot, QCPAxisRect* temperatures,
                         QSharedPointer<QCPAxisTicker> time)
    : m_names(new QCPAxisTickerText), m_pitch(ArrowLanePlottable::LanePitch)
{
    m_rect = makeFootRect(plot, temperatures, std::move(time), m_names);
    plot->plotLayout()->addElement(2, 0, m_rect);
    plot->plotLayout()->setRowSpacing(4);
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
    const int height = int(lanes * m_pitch);
    m_rect->setMinimumSize(0, height);
    m_rect->setMaximumSize(QWIDGETSIZE_MAX, height);
    laneAxis()->setRange(-0.5, std::max(0, lanes) - 0.5);
}

void OutputLanes::setTextScale(qreal scale)
{
    for (QCPAxis* axis : {timeAxis(), laneAxis()})
        scaleAxisText(axis, scale);
    m_pitch = ArrowLanePlottable::LanePitch * std::max<qreal>(1, scale);
}

QStringList OutputLanes::names() const
{
    QStringList names;
    for (const QString& name : m_names->ticks())
        names.append(name);
    return names;
}

MarkerRows::MarkerRows(QCustomPlot* plot, QCPAxisRect* temperatures,
                       QSharedPointer<QCPAxisTicker> time)
    : m_plot(plot), m_temperatures(temperatures), m_names(new QCPAxisTickerText)
{
    m_rect = makeFootRect(plot, temperatures, std::move(time), m_names);
    // The output lanes under the rows write the times.
    timeAxis()->setTickLabels(false);
}

// Back in the layout, the rows go with the plot like every other part of it.
MarkerRows::~MarkerRows()
{
    setShown(true);
}

QCPAxis* MarkerRows::timeAxis() const
{
    return m_rect->axis(QCPAxis::atBottom);
}

QCPAxis* MarkerRows::rowAxis() const
{
    return m_rect->axis(QCPAxis::atLeft);
}

void MarkerRows::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    QCPLayoutGrid* layout = m_plot->plotLayout();
    if (shown) {
        for (int row = 0; row < layout->rowCount(); ++row) {
            if (layout->element(row, 0) == m_temperatures) {
                layout->insertRow(row + 1);
                layout->addElement(row + 1, 0, m_rect);
                break;
            }
        }
    } else {
        layout->take(m_rect);
        layout->simplify();
    }
    m_rect->setVisible(shown);
    m_shown = shown;
}

void MarkerRows::layOut(const QStringList& names)
{
    m_rowNames = names;
    m_names->clear();
    for (int row = 0; row < names.size(); ++row)
        m_names->addTick(row, names.at(row));
    const int height = int(names.size() * RowPitch);
    m_rect->setMinimumSize(0, height);
    m_rect->setMaximumSize(QWIDGETSIZE_MAX, height);
    rowAxis()->setRange(-0.5, std::max<qsizetype>(1, names.size()) - 0.5);
}

void MarkerRows::setTextScale(qreal scale)
{
    for (QCPAxis* axis : {timeAxis(), rowAxis()})
        scaleAxisText(axis, scale);
}

} // namespace kvaro
