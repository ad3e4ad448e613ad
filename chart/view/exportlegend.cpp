#include "chart/view/exportlegend.h"

#include "chart/view/chartstyle.h"
#include "chart/view/columngraph.h"

#include <qcustomplot.h>

namespace kvaro {

namespace {

constexpr int Columns = 8;

} // namespace

ExportLegend::ExportLegend(QCustomPlot* plot) : m_plot(plot), m_legend(plot->legend)
{
    // The plot's own legend leaves its place inside the plot area for good.
    if (auto* inset = plot->axisRect()->insetLayout(); inset->elements(false).contains(m_legend))
        inset->take(m_legend);
    m_legend->setVisible(false);
    m_legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    m_legend->setWrap(Columns);
    m_legend->setBorderPen(Qt::NoPen);
    m_legend->setBrush(Qt::NoBrush);
    m_legend->setRowSpacing(0);
    setTextScale(1);
}

void ExportLegend::setTextScale(qreal scale)
{
    m_legend->setFont(chartFont(8 * scale));
    m_legend->setIconSize(int(22 * scale), int(10 * scale));
    m_legend->setColumnSpacing(int(10 * scale));
}

void ExportLegend::attach(const std::vector<QCPAbstractPlottable*>& plottables)
{
    detach();
    for (QCPAbstractPlottable* plottable : plottables) {
        auto* graph = qobject_cast<ColumnGraph*>(plottable);
        if (graph && graph->visible() && graph->dataCount() > 0)
            m_legend->addItem(new QCPPlottableLegendItem(m_legend, graph));
    }
    if (m_legend->itemCount() == 0)
        return;
    QCPLayoutGrid* layout = m_plot->plotLayout();
    layout->insertRow(layout->rowCount());
    layout->addElement(layout->rowCount() - 1, 0, m_legend);
    // As high as its entries: the plot keeps the rest.
    layout->setRowStretchFactor(layout->rowCount() - 1, 0.001);
    m_legend->setVisible(true);
    m_attached = true;
}

void ExportLegend::detach()
{
    if (m_attached) {
        QCPLayoutGrid* layout = m_plot->plotLayout();
        layout->take(m_legend);
        layout->simplify();
        m_attached = false;
    }
    m_legend->clearItems();
    m_legend->setVisible(false);
}

QStringList ExportLegend::entries() const
{
    QStringList names;
    for (int i = 0; i < m_legend->itemCount(); ++i) {
        if (auto* item = qobject_cast<QCPPlottableLegendItem*>(m_legend->item(i)))
            names.append(item->plottable()->name());
    }
    return names;
}

} // namespace kvaro
