#include "chart/view/chartview.h"

#include "chart/view/arrowlaneplottable.h"
#include "chart/view/bubbleplottable.h"
#include "chart/view/chartpanel.h"
#include "chart/view/elapsedticker.h"
#include "chart/view/linegraph.h"
#include "chart/view/seriesstyle.h"

#include <QPdfWriter>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include <algorithm>

namespace kvaro {

namespace {

QFont chartFont(int pointSize, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
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
    axis->setTickLabelFont(chartFont(9));
    axis->setTickLabelColor(QColor(45, 52, 64));
    axis->setLabelFont(chartFont(10, true));
    axis->setLabelColor(QColor(45, 52, 64));
}

QBrush powerFill(const QColor& color)
{
    // Spread over each drawn area, the power's own outline stays in the full colour.
    QLinearGradient fill(0, 0, 0, 1);
    fill.setCoordinateMode(QGradient::ObjectMode);
    fill.setColorAt(0, color);
    fill.setColorAt(1, QColor(255, 255, 255, 0));
    return fill;
}

// A series' points as graph data; the loader adds them in ascending x, which the graph's
// per-pixel sampling relies on (anything else is sorted first).
void fillGraph(QCPGraph* graph, const QVector<ChartPoint>& points)
{
    QVector<QCPGraphData> data;
    data.reserve(points.size());
    bool sorted = true;
    for (const ChartPoint& point : points) {
        if (!data.isEmpty() && point.x < data.constLast().key)
            sorted = false;
        data.append(QCPGraphData(point.x, point.y));
    }
    graph->data()->set(data, sorted);
}

} // namespace

ChartView::ChartView(QWidget* parent)
    : QWidget(parent)
    , m_plot(new QCustomPlot(this))
    , m_ticker(new ElapsedTicker)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);

    m_plot->setBackground(Qt::NoBrush);
    m_plot->setAntialiasedElements(QCP::aeAll);
    m_plot->setInteractions(QCP::Interactions());
    m_plot->setSelectionRectMode(QCP::srmNone);
    m_plot->setMouseTracking(true);
    m_plot->installEventFilter(this);

    m_plot->addLayer(QStringLiteral("panel"), m_plot->layer(QStringLiteral("background")),
                     QCustomPlot::limBelow);
    new ChartPanel(m_plot, QStringLiteral("panel"));

    m_plot->plotLayout()->setMargins(QMargins(14, 8, 18, 10));
    m_plot->plotLayout()->insertRow(0);
    m_title = new QCPTextElement(m_plot, QStringLiteral("Komora robocza"), chartFont(12, true));
    m_title->setTextColor(QColor(35, 42, 54));
    m_plot->plotLayout()->addElement(0, 0, m_title);

    QCPAxisRect* rect = m_plot->axisRect();
    rect->setBackground(QColor(255, 255, 255, 235));
    styleAxis(m_plot->xAxis, true);
    styleAxis(m_plot->yAxis, true);
    styleAxis(m_plot->xAxis2, false);
    styleAxis(m_plot->yAxis2, false);
    m_plot->yAxis->setNumberFormat(QStringLiteral("f"));
    m_plot->yAxis->setNumberPrecision(1);
    m_plot->yAxis->setLabel(QStringLiteral("Temperatura"));
    m_plot->xAxis->setLabel(QStringLiteral("Czas"));
    m_ticker->setTickCount(7);
    m_plot->xAxis->setTicker(m_ticker);
    m_plot->yAxis->ticker()->setTickCount(8);
    // Keep the frame's right and top sides on the same ranges as the series axes.
    connect(m_plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
            m_plot->xAxis2, qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(m_plot->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged),
            m_plot->yAxis2, qOverload<const QCPRange&>(&QCPAxis::setRange));

    connect(m_plot, &QCustomPlot::mousePress, this, &ChartView::onMousePress);
    connect(m_plot, &QCustomPlot::mouseMove, this, &ChartView::onMouseMove);
    connect(m_plot, &QCustomPlot::mouseRelease, this, &ChartView::onMouseRelease);

    buildPlottables();
}

ChartView::~ChartView() = default;

void ChartView::buildPlottables()
{
    const ChartModel shape;
    m_plottables.assign(std::size_t(shape.count()), nullptr);
    auto create = [&](int index) {
        const ChartSeries& series = shape.at(index);
        QCPAbstractPlottable* plottable = nullptr;
        switch (series.kind) {
        case SeriesKind::Line:
        case SeriesKind::Area: {
            auto* graph = new LineGraph(m_plot->xAxis, m_plot->yAxis);
            graph->setLineStyle(QCPGraph::lsLine);
            graph->setScatterStyle(QCPScatterStyle::ssNone);
            // Per pixel column only the extremes are drawn: long cycles pan smoothly and
            // no peak is lost.
            graph->setAdaptiveSampling(true);
            plottable = graph;
            break;
        }
        case SeriesKind::Arrow:
            plottable = new ArrowLanePlottable(m_plot->xAxis, m_plot->yAxis);
            break;
        case SeriesKind::Bubble:
            plottable = new BubblePlottable(m_plot->xAxis, m_plot->yAxis);
            break;
        }
        plottable->setName(series.title);
        plottable->setSelectable(QCP::stNone);
        m_plottables[std::size_t(index)] = plottable;
    };
    // Drawing order: the power area underneath, then lines and arrows in series order, the
    // event markers on top of the lines they sit on.
    create(series::Power);
    for (int i = 0; i < shape.count(); ++i) {
        if (i != series::Power && shape.at(i).kind != SeriesKind::Bubble)
            create(i);
    }
    for (int i = 0; i < shape.count(); ++i) {
        if (shape.at(i).kind == SeriesKind::Bubble)
            create(i);
    }
    m_shownPoints.assign(m_plottables.size(), {});
}

void ChartView::setModel(const ChartModel* model)
{
    m_model = model;
    m_shownPoints.assign(m_plottables.size(), {});
    refresh();
}

// Every change asks for one queued replot: a load followed by the zoom reset draws once,
// and nothing is drawn for a view that is only rendered offscreen.
void ChartView::refresh()
{
    if (!m_model) {
        for (QCPAbstractPlottable* plottable : m_plottables)
            plottable->setVisible(false);
        m_ticker->setPoints({});
        m_plot->replot(QCustomPlot::rpQueuedReplot);
        return;
    }
    const int count = std::min<int>(m_model->count(), int(m_plottables.size()));
    for (int i = 0; i < count; ++i) {
        const ChartSeries& series = m_model->at(i);
        QCPAbstractPlottable* plottable = m_plottables[std::size_t(i)];
        plottable->setName(series.title);
        plottable->setVisible(series.active);
        if (auto* graph = qobject_cast<QCPGraph*>(plottable)) {
            // Points that did not change keep their copy: switching a series on or off
            // costs nothing for a long cycle.
            QVector<ChartPoint>& shown = m_shownPoints[std::size_t(i)];
            if (!shown.isSharedWith(series.points)) {
                fillGraph(graph, series.points);
                shown = series.points;
            }
            if (series.kind == SeriesKind::Area) {
                graph->setPen(Qt::NoPen);
                graph->setBrush(powerFill(seriesColour(i)));
            } else {
                graph->setPen(seriesPen(i));
                graph->setBrush(Qt::NoBrush);
            }
        } else if (auto* lane = qobject_cast<ArrowLanePlottable*>(plottable)) {
            lane->setArrows(series.arrows);
            lane->setColor(seriesColour(i));
        } else if (auto* bubbles = qobject_cast<BubblePlottable*>(plottable)) {
            bubbles->setBubbles(series.bubbles);
            bubbles->setEventKind(series.eventKind);
            bubbles->setColor(seriesColour(i));
        }
    }
    m_ticker->setPoints(m_model->at(series::T1).points);
    applyAutomaticRanges();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::setTitles(const QString& title, const QString& leftAxisTitle,
                          const QString& bottomAxisTitle)
{
    m_title->setText(title);
    m_plot->yAxis->setLabel(leftAxisTitle);
    m_plot->xAxis->setLabel(bottomAxisTitle);
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::applyAutomaticRanges()
{
    if (m_automaticBottom)
        m_plot->xAxis->rescale(true);
    if (m_automaticLeft) {
        bool found = false;
        QCPRange range;
        for (QCPAbstractPlottable* plottable : m_plottables) {
            if (!plottable->visible())
                continue;
            bool has = false;
            const QCPRange own = plottable->getValueRange(has);
            if (!has)
                continue;
            range = found ? QCPRange(std::min(range.lower, own.lower),
                                     std::max(range.upper, own.upper))
                          : own;
            found = true;
        }
        if (found) {
            // A little air above and below, so the arrow lanes at the foot and the highest
            // temperature do not sit on the frame.
            const double margin = range.size() > 0 ? range.size() * 0.03 : 1.0;
            m_plot->yAxis->setRange(range.lower - margin, range.upper + margin);
        }
    }
}

void ChartView::resetZoom()
{
    m_automaticBottom = true;
    m_automaticLeft = true;
    applyAutomaticRanges();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::zoomBy(double percent)
{
    for (QCPAxis* axis : {m_plot->yAxis, m_plot->xAxis}) {
        const QCPRange range = axis->range();
        const double d = (range.upper - range.lower) * (percent - 100) * 0.01;
        axis->setRange(range.lower + d, range.upper - d);
    }
    m_automaticBottom = false;
    m_automaticLeft = false;
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

bool ChartView::offerStep(QCPAxis* axis, Qt::Orientation orientation, double shift)
{
    const double newMin = axis->range().lower + shift;
    const double newMax = axis->range().upper + shift;
    if (m_permission && !m_permission(orientation, newMin, newMax))
        return false;
    axis->setRange(newMin, newMax);
    (orientation == Qt::Horizontal ? m_automaticBottom : m_automaticLeft) = false;
    return true;
}

void ChartView::panStep(int dxPixels, int dyPixels)
{
    bool moved = false;
    // Dragging the picture right brings earlier positions into view, dragging it down
    // higher temperatures: the shift is the axis distance the pixels cover, reversed.
    if (dxPixels != 0) {
        QCPAxis* axis = m_plot->xAxis;
        moved |= offerStep(axis, Qt::Horizontal, axis->pixelToCoord(0) - axis->pixelToCoord(dxPixels));
    }
    if (dyPixels != 0) {
        QCPAxis* axis = m_plot->yAxis;
        moved |= offerStep(axis, Qt::Vertical, axis->pixelToCoord(0) - axis->pixelToCoord(dyPixels));
    }
    if (moved)
        m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::setScrollPermission(ScrollPermission permission)
{
    m_permission = std::move(permission);
}

double ChartView::bottomValueAt(int pixelX) const
{
    return m_plot->xAxis->pixelToCoord(m_plot->mapFrom(this, QPoint(pixelX, 0)).x());
}

double ChartView::bottomMin() const
{
    return m_plot->xAxis->range().lower;
}

double ChartView::bottomMax() const
{
    return m_plot->xAxis->range().upper;
}

double ChartView::leftMin() const
{
    return m_plot->yAxis->range().lower;
}

double ChartView::leftMax() const
{
    return m_plot->yAxis->range().upper;
}

bool ChartView::isAutomatic(Qt::Orientation axis) const
{
    return axis == Qt::Horizontal ? m_automaticBottom : m_automaticLeft;
}

void ChartView::onMousePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_lastDrag = event->pos();
    // While the picture moves under the pointer, speed counts more than smooth edges.
    m_plot->setAntialiasedElements(QCP::aeNone);
    m_plot->setNotAntialiasedElements(QCP::aeAll);
}

void ChartView::onMouseMove(QMouseEvent* event)
{
    emit mouseMoved(m_plot->mapTo(this, event->pos()));
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint step = event->pos() - m_lastDrag;
    m_lastDrag = event->pos();
    panStep(step.x(), step.y());
}

void ChartView::onMouseRelease(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    m_plot->setNotAntialiasedElements(QCP::aeNone);
    m_plot->setAntialiasedElements(QCP::aeAll);
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

bool ChartView::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel neither zooms nor pans the chart, nor scrolls anything around it.
    if (watched == m_plot && event->type() == QEvent::Wheel) {
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QImage ChartView::renderImage(QSize size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(palette().color(QPalette::Window));
    {
        QCPPainter painter(&image);
        m_plot->toPainter(&painter, size.width(), size.height());
    }
    // Rendering lays the plot out for the picture's size: lay it out for the screen again.
    if (size != m_plot->viewport().size())
        m_plot->replot();
    return image;
}

QImage ChartView::grabImage() const
{
    return renderImage(m_plot->size());
}

bool ChartView::savePng(const QString& fileName) const
{
    return grabImage().save(fileName, "PNG");
}

bool ChartView::savePdf(const QString& fileName)
{
    const QSize size = m_plot->size();
    QPdfWriter writer(fileName);
    writer.setCreator(QStringLiteral("kvaro"));
    writer.setTitle(m_title->text());
    writer.setPageLayout(QPageLayout(QPageSize(size, QPageSize::Point, QString(),
                                               QPageSize::ExactMatch),
                                     QPageLayout::Portrait, QMarginsF()));
    QCPPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setWindow(QRect(QPoint(0, 0), size));
    m_plot->toPainter(&painter, size.width(), size.height());
    if (painter.isActive())
        painter.end();
    m_plot->replot();
    return true;
}

QImage renderChartImage(const ChartModel& model, const QString& title,
                        const QString& leftAxisTitle, const QString& bottomAxisTitle,
                        QSize size)
{
    ChartView view;
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(size);
    view.setTitles(title, leftAxisTitle, bottomAxisTitle);
    view.setModel(&model);
    view.resetZoom();
    QImage image = view.renderImage(size);
    view.setModel(nullptr);
    return image;
}

} // namespace kvaro
