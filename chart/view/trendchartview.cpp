#include "chart/view/trendchartview.h"

#include <QLocale>
#include <QTimeZone>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include <algorithm>

namespace kvaro {

TrendChartView::TrendChartView(QWidget* parent) : QWidget(parent), m_plot(new QCustomPlot(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);

    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    // Starts are the controllers' wall-clock times, held as UTC: shown as they are.
    ticker->setTimeZone(QTimeZone::utc());
    ticker->setDateTimeFormat(QStringLiteral("yyyy-MM-dd\nHH:mm"));
    m_plot->xAxis->setTicker(ticker);
    setDecimalSeparator(QLatin1Char('.'));
    // The legend in a row of its own under the chart, where it hides no point.
    m_plot->legend->setVisible(true);
    m_plot->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    m_plot->legend->setBorderPen(Qt::NoPen);
    m_plot->plotLayout()->addElement(1, 0, m_plot->legend);
    m_plot->plotLayout()->setRowStretchFactor(1, 0.001);
    m_plot->setInteractions(QCP::iSelectPlottables);

    connect(m_plot, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable* plottable, int index, QMouseEvent*) {
                if (plottable == m_points && index >= 0 && index < m_points->dataCount())
                    emit pointClicked(index);
            });
}

TrendChartView::~TrendChartView() = default;

void TrendChartView::setDecimalSeparator(QChar separator)
{
    QLocale numbers =
        separator == QLatin1Char(',') ? QLocale(QLocale::Polish, QLocale::Poland) : QLocale::c();
    numbers.setNumberOptions(QLocale::OmitGroupSeparator);
    m_plot->setLocale(numbers);
}

void TrendChartView::setStartTitle(const QString& title)
{
    m_plot->xAxis->setLabel(title);
}

void TrendChartView::draw(const TrendChartData& data)
{
    m_plot->clearGraphs();
    QVector<double> keys;
    QVector<double> values;
    for (const TrendChartPoint& point : data.points) {
        keys.append(double(point.start.toSecsSinceEpoch()));
        values.append(point.value);
    }

    m_points = m_plot->addGraph();
    m_points->setName(data.figure);
    m_points->setData(keys, values, true);
    m_points->setPen(QPen(QColor(0x2c, 0x6c, 0xb0), 1.2));
    m_points->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(0x2c, 0x6c, 0xb0), 7));
    m_points->setSelectable(QCP::stSingleData);
    m_plot->yAxis->setLabel(data.figure);

    if (!data.levels.isEmpty() && !keys.isEmpty()) {
        // Lines across the whole range, a little beyond the first and the last point.
        const double margin = std::max(3600.0, (keys.last() - keys.first()) * 0.02);
        const double left = keys.first() - margin;
        const double right = keys.last() + margin;
        for (const TrendChartLevel& level : data.levels) {
            QCPGraph* graph = m_plot->addGraph();
            graph->setName(level.name);
            graph->setData({left, right}, {level.value, level.value}, true);
            graph->setPen(level.kind == TrendChartLevel::Kind::Mean
                              ? QPen(QColor(0xe0, 0x46, 0x1a), 1.8)
                              : QPen(QColor(0x80, 0x80, 0x80), 1.2, Qt::DashLine));
            graph->setSelectable(QCP::stNone);
        }
        m_plot->xAxis->setRange(left, right);
        m_plot->yAxis->rescale();
        const QCPRange y = m_plot->yAxis->range();
        const double pad = std::max(y.size() * 0.08, 1.0);
        m_plot->yAxis->setRange(y.lower - pad, y.upper + pad);
    } else {
        // No figure to draw: the days asked for, rather than the start of the epoch.
        const double from = QDateTime(data.from, QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
        m_plot->xAxis->setRange(from, from + 86400.0 * (data.from.daysTo(data.to) + 1));
        m_plot->yAxis->setRange(QCPRange(0, 1));
    }
    m_plot->replot();
}

} // namespace kvaro
