#include "chart/view/chartview.h"

#include "chart/eventmarker.h"
#include "chart/view/arrowlaneplottable.h"
#include "chart/view/bubbleplottable.h"
#include "chart/view/chartpanel.h"
#include "chart/view/chartstyle.h"
#include "chart/view/columngraph.h"
#include "chart/view/cursoroverlay.h"
#include "chart/view/elapsedticker.h"
#include "chart/view/eventpicture.h"
#include "chart/view/exportlegend.h"
#include "chart/view/outputlanes.h"
#include "chart/view/seriesstyle.h"
#include "chart/view/setpointoverlay.h"

#include <QPdfWriter>
#include <QResizeEvent>
#include <QToolTip>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include <algorithm>
#include <array>
#include <optional>

namespace kvaro {

namespace {

// Words on lines no wider than room pixels; a single word wider than that keeps its line.
QString wrappedText(const QString& text, const QFontMetrics& metrics, int room)
{
    QStringList lines;
    QString line;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > room) {
            lines.append(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty())
        lines.append(line);
    return lines.join(u'\n');
}

// Temperatures carry one decimal: a finer step would print one label several times.
class TemperatureTicker : public QCPAxisTicker
{
protected:
    double getTickStep(const QCPRange& range) override
    {
        return std::max(0.1, QCPAxisTicker::getTickStep(range));
    }
};

QBrush powerFill(const QColor& color)
{
    // Spread over each drawn area, the power's own outline stays in the full colour.
    QLinearGradient fill(0, 0, 0, 1);
    fill.setCoordinateMode(QGradient::ObjectMode);
    fill.setColorAt(0, color);
    fill.setColorAt(1, QColor(255, 255, 255, 0));
    return fill;
}

} // namespace

ChartView::ChartView(QWidget* parent)
    : QWidget(parent), m_plot(new QCustomPlot(this)), m_ticker(new ElapsedTicker)
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
    m_plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new TemperatureTicker));
    m_plot->yAxis->ticker()->setTickCount(8);
    // The temperatures' bottom side marks the times with grid lines only; the labels are
    // written once, under the output lanes.
    m_plot->xAxis->setTicker(m_ticker);
    m_plot->xAxis->setTickLabels(false);
    m_ticker->setAxisLength([plot = m_plot] {
        // The marks are made before the layout that follows them: the length of the last
        // layout, which layOutAt keeps current across size changes.
        const int length = plot->axisRect()->width();
        return double(length > 1 ? length : plot->viewport().width());
    });
    // Keep the frame's right and top sides on the same ranges as the series axes.
    connect(m_plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), m_plot->xAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
    connect(m_plot->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), m_plot->yAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));

    // The output lanes at the foot share the temperatures' time axis and write its marks.
    m_lanes = std::make_unique<OutputLanes>(m_plot, rect, m_ticker);

    // Without a word, a plot with every series hidden looks broken.
    m_hint = new QCPTextElement(m_plot, QString(), chartFont(11));
    m_hint->setTextColor(QColor(90, 98, 112));
    m_hint->setVisible(false);
    rect->insetLayout()->addElement(m_hint, Qt::AlignCenter);
    // Broken into lines as wide as the plot at most, so it never runs over the axes.
    connect(m_plot, &QCustomPlot::beforeReplot, this, [this] {
        if (!m_hint->visible())
            return;
        const int room = m_plot->axisRect()->width() - 20;
        const QString wrapped = wrappedText(m_hintText, QFontMetrics(m_hint->font()), room);
        if (wrapped != m_hint->text())
            m_hint->setText(wrapped);
    });

    m_identity = new QCPTextElement(m_plot, QString(), chartFont(9));
    m_identity->setTextColor(QColor(70, 78, 92));
    m_identity->setVisible(false);
    m_setPoint = std::make_unique<SetPointOverlay>(m_plot, rect);
    m_legend = std::make_unique<ExportLegend>(m_plot);

    connect(m_plot, &QCustomPlot::mousePress, this, &ChartView::onMousePress);
    connect(m_plot, &QCustomPlot::mouseMove, this, &ChartView::onMouseMove);
    connect(m_plot, &QCustomPlot::mouseRelease, this, &ChartView::onMouseRelease);

    buildPlottables();
    m_cursors = new CursorOverlay(m_plot);
}

// The rows' markers go before the rows' axes do.
ChartView::~ChartView()
{
    for (BubblePlottable* markers : m_rowMarkers) {
        if (markers)
            m_plot->removePlottable(markers);
    }
}

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
            auto* graph = new ColumnGraph(m_plot->xAxis, m_plot->yAxis);
            graph->setLineStyle(QCPGraph::lsLine);
            graph->setScatterStyle(QCPScatterStyle::ssNone);
            // Per pixel column only the extremes are drawn: long cycles pan smoothly and
            // no peak is lost.
            graph->setAdaptiveSampling(true);
            plottable = graph;
            break;
        }
        case SeriesKind::Arrow:
            plottable = new ArrowLanePlottable(m_lanes->timeAxis(), m_lanes->laneAxis());
            break;
        case SeriesKind::Bubble:
            plottable = new BubblePlottable(m_plot->xAxis, m_plot->yAxis);
            break;
        }
        plottable->setName(seriesName(index));
        plottable->setSelectable(QCP::stNone);
        m_plottables[std::size_t(index)] = plottable;
    };
    // Drawing order: the power area underneath, then lines and arrows in series order
    // except T1 and T2, which lie close to the broad working temperature and would vanish
    // under it, then those two, the event markers on top of the lines they sit on.
    create(series::Power);
    for (int i = 0; i < shape.count(); ++i) {
        if (i != series::Power && i != series::T1 && i != series::T2 &&
            shape.at(i).kind != SeriesKind::Bubble)
            create(i);
    }
    create(series::T2);
    create(series::T1);
    for (int i = 0; i < shape.count(); ++i) {
        if (shape.at(i).kind == SeriesKind::Bubble)
            create(i);
    }
}

void ChartView::setModel(const ChartModel* model)
{
    m_model = model;
    m_cursors->setModel(model);
    // The graphs let go of the old model's points here, whatever the new one holds.
    for (QCPAbstractPlottable* plottable : m_plottables) {
        if (auto* graph = qobject_cast<ColumnGraph*>(plottable))
            graph->setPoints(ChartPoints());
    }
    refresh();
}

// Every change asks for one queued replot: a load followed by the zoom reset draws once,
// and nothing is drawn for a view that is only rendered offscreen.
void ChartView::refresh()
{
    if (!m_model) {
        for (QCPAbstractPlottable* plottable : m_plottables)
            plottable->setVisible(false);
        refreshComparison();
        m_ticker->setPoints(ChartPoints());
        m_hint->setVisible(false);
        m_setPoint->show({}, false);
        m_lanes->layOut(m_plottables);
        m_plot->replot(QCustomPlot::rpQueuedReplot);
        return;
    }
    const int count = std::min<int>(m_model->count(), int(m_plottables.size()));
    const std::vector<QVector<double>> shifts = markerShifts(*m_model);
    for (int i = 0; i < count; ++i) {
        const ChartSeries& series = m_model->at(i);
        QCPAbstractPlottable* plottable = m_plottables[std::size_t(i)];
        plottable->setName(seriesName(i));
        plottable->setVisible(series.active || (m_lanesForAllPeriods && !series.arrows.isEmpty()));
        if (auto* graph = qobject_cast<ColumnGraph*>(plottable)) {
            // The graph shares the model's columns; points that did not change cost
            // nothing, so switching a series on or off is free for a long cycle.
            graph->setPoints(series.points);
            if (series.kind == SeriesKind::Area) {
                graph->setPen(Qt::NoPen);
                graph->setBrush(powerFill(seriesColour(i)));
            } else {
                graph->setPen(seriesPen(i));
                graph->setBrush(Qt::NoBrush);
            }
            // A lone point makes no line and no area: it is drawn as a dot.
            const QColor colour = seriesColour(i);
            graph->setScatterStyle(series.points.size() == 1
                                       ? QCPScatterStyle(QCPScatterStyle::ssDisc, colour, colour, 7)
                                       : QCPScatterStyle(QCPScatterStyle::ssNone));
        } else if (auto* lane = qobject_cast<ArrowLanePlottable*>(plottable)) {
            lane->setArrows(series.arrows);
            lane->setColor(seriesColour(i));
        } else if (auto* bubbles = qobject_cast<BubblePlottable*>(plottable)) {
            bubbles->setBubbles(series.bubbles);
            bubbles->setEventKind(series.eventKind);
            bubbles->setColor(seriesColour(i));
            bubbles->setShifts(shifts[std::size_t(i)]);
            if (m_rows && m_rows->isShown())
                bubbles->setVisible(false);
        }
    }
    layOutMarkerRows();
    refreshComparison();
    m_ticker->setPoints(m_model->at(series::T1).points);
    bool anyShown = false;
    for (int i = 0; i < count; ++i)
        anyShown = anyShown || m_model->at(i).active;
    m_hint->setVisible(!anyShown);
    m_setPoint->show(m_model->setPoint(), m_model->at(series::WorkingTemperature).active);
    m_lanes->layOut(m_plottables);
    applyAutomaticRanges();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::refreshComparison()
{
    for (std::size_t k = 0; k < m_comparedGraphs.size(); ++k) {
        const int index = ComparedSeries[k];
        ColumnGraph* graph = m_comparedGraphs[k];
        const ChartPoints* points =
            m_model && m_comparison ? m_comparison->pointsOf(index) : nullptr;
        graph->setPoints(points ? *points : ChartPoints());
        graph->setVisible(points && m_model->at(index).active);
        if (!points)
            continue;
        graph->setName(comparedTitle(m_comparedTitleForm, seriesName(index), m_comparison->number));
        const QColor colour = comparedColour(index);
        graph->setScatterStyle(points->size() == 1
                                   ? QCPScatterStyle(QCPScatterStyle::ssCircle, colour, 7)
                                   : QCPScatterStyle(QCPScatterStyle::ssNone));
    }
}

void ChartView::buildComparedGraphs()
{
    // Made with the first comparison, after every series: a compared cycle lies over all
    // the drawn one shows, so no line of it hides behind the power area.
    for (const int index : ComparedSeries) {
        auto* graph = new ColumnGraph(m_plot->xAxis, m_plot->yAxis);
        graph->setLineStyle(QCPGraph::lsLine);
        graph->setScatterStyle(QCPScatterStyle::ssNone);
        graph->setAdaptiveSampling(true);
        graph->setPen(comparedPen(index));
        graph->setSelectable(QCP::stNone);
        graph->setVisible(false);
        m_comparedGraphs.push_back(graph);
    }
}

void ChartView::setComparison(const Comparison* comparison)
{
    if (comparison && m_comparedGraphs.empty())
        buildComparedGraphs();
    m_comparison = comparison;
    m_cursors->setComparison(comparison);
    refresh();
}

void ChartView::setSeriesNames(const QStringList& names)
{
    m_seriesNames = names;
    m_cursors->setSeriesNames(names);
    refresh();
}

QString ChartView::seriesName(int series) const
{
    const QString name = m_seriesNames.value(series);
    if (!name.isEmpty() || !m_model)
        return name;
    return m_model->at(series).title;
}

void ChartView::setComparisonTexts(const QString& titleForm, const QString& difference)
{
    m_comparedTitleForm = titleForm;
    m_cursors->setComparisonTexts(titleForm, difference);
    refresh();
}

std::vector<QCPAbstractPlottable*> ChartView::legendPlottables() const
{
    std::vector<QCPAbstractPlottable*> plottables = m_plottables;
    plottables.insert(plottables.end(), m_comparedGraphs.begin(), m_comparedGraphs.end());
    return plottables;
}

void ChartView::setEmptyHint(const QString& hint)
{
    m_hintText = hint;
    m_hint->setText(hint);
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::setIdentity(const QString& identity)
{
    QCPLayoutGrid* layout = m_plot->plotLayout();
    const bool placed = layout->hasElement(1, 0) && layout->element(1, 0) == m_identity;
    m_identity->setText(identity);
    // Without a text the row goes too, so the plot keeps its height.
    if (!identity.isEmpty() && !placed) {
        layout->insertRow(1);
        layout->addElement(1, 0, m_identity);
    } else if (identity.isEmpty() && placed) {
        layout->take(m_identity);
        layout->simplify();
    }
    m_identity->setVisible(!identity.isEmpty());
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

QString ChartView::identity() const
{
    return m_identity->text();
}

QStringList ChartView::setPointMarks() const
{
    return m_setPoint->isShown() ? m_setPoint->visibleMarkTexts() : QStringList();
}

QStringList ChartView::exportLegendEntries() const
{
    m_legend->attach(legendPlottables());
    const QStringList entries = m_legend->entries();
    m_legend->detach();
    return entries;
}

void ChartView::setTextScale(qreal scale)
{
    m_textScale = scale;
    if (m_rows)
        m_rows->setTextScale(scale);
    m_title->setFont(chartFont(12 * scale, true));
    m_hint->setFont(chartFont(11 * scale));
    m_identity->setFont(chartFont(9 * scale));
    for (QCPAxis* axis : {m_plot->xAxis, m_plot->yAxis})
        scaleAxisText(axis, scale);
    m_lanes->setTextScale(scale);
    m_legend->setTextScale(scale);
    m_setPoint->setTextScale(scale);
    refresh();
}

void ChartView::setMarkerRows(bool rows, const QString& rowName)
{
    if (!rows && !m_rows)
        return;
    if (!m_rows) {
        m_rows = std::make_unique<MarkerRows>(m_plot, m_plot->axisRect(), m_ticker);
        m_rows->setTextScale(m_textScale);
        m_rowMarkers.assign(m_plottables.size(), nullptr);
        for (std::size_t i = 0; i < m_plottables.size(); ++i) {
            if (qobject_cast<BubblePlottable*>(m_plottables[i]))
                m_rowMarkers[i] = new BubblePlottable(m_rows->timeAxis(), m_rows->rowAxis());
        }
    }
    m_rowName = rowName;
    m_rows->setShown(rows);
    refresh();
}

void ChartView::layOutMarkerRows()
{
    if (!m_rows)
        return;
    const bool shown = m_rows->isShown() && m_model;
    // A row for each burner with shown markers, in burner order.
    QStringList names;
    std::array<int, 9> rowOf{};
    rowOf.fill(-1);
    for (int burner = 1; shown && burner <= 8; ++burner) {
        bool any = false;
        for (int code = 1; code <= 7; ++code)
            any = any || m_model->at(series::event(burner, code)).active;
        if (any) {
            rowOf[std::size_t(burner)] = int(names.size());
            names.append(m_rowName.arg(burner));
        }
    }
    const std::vector<QVector<double>> shifts =
        shown ? markerShifts(*m_model, true) : std::vector<QVector<double>>();
    for (std::size_t i = 0; i < m_rowMarkers.size(); ++i) {
        BubblePlottable* markers = m_rowMarkers[i];
        const std::optional<BurnerEvent> event = burnerEventOf(int(i));
        if (!markers || !event)
            continue;
        const int row = shown ? rowOf[std::size_t(event->burner)] : -1;
        markers->setVisible(row >= 0 && m_model->at(int(i)).active);
        if (row < 0) {
            markers->setBubbles({});
            continue;
        }
        const ChartSeries& series = m_model->at(int(i));
        QVector<ChartBubble> placed = series.bubbles;
        for (ChartBubble& bubble : placed) {
            bubble.y = row;
            bubble.radius = 0.45;
        }
        markers->setBubbles(placed);
        markers->setEventKind(series.eventKind);
        markers->setColor(seriesColour(int(i)));
        markers->setShifts(shifts[i]);
    }
    m_rows->layOut(names);
}

QStringList ChartView::markerRowNames() const
{
    return m_rows ? m_rows->names() : QStringList();
}

QRectF ChartView::markerRect(int series, int marker) const
{
    if (series < 0 || std::size_t(series) >= m_plottables.size())
        return QRectF();
    BubblePlottable* markers = qobject_cast<BubblePlottable*>(m_plottables[std::size_t(series)]);
    if (m_rows && m_rows->isShown() && std::size_t(series) < m_rowMarkers.size())
        markers = m_rowMarkers[std::size_t(series)];
    if (!markers || !markers->visible())
        return QRectF();
    return markers->markerRect(marker).translated(m_plot->mapTo(this, QPoint(0, 0)));
}

QRect ChartView::temperatureArea() const
{
    return m_plot->axisRect()->rect().translated(m_plot->mapTo(this, QPoint(0, 0)));
}

void ChartView::setSamplingStep(double pixels)
{
    for (QCPAbstractPlottable* plottable : legendPlottables()) {
        if (auto* graph = qobject_cast<ColumnGraph*>(plottable))
            graph->setSamplingStep(pixels);
    }
}

void ChartView::setLanesForAllPeriods(bool all)
{
    m_lanesForAllPeriods = all;
    refresh();
}

QStringList ChartView::laneNames() const
{
    return m_lanes->names();
}

void ChartView::setTitles(const QString& title, const QString& leftAxisTitle,
                          const QString& bottomAxisTitle)
{
    m_title->setText(title);
    m_plot->yAxis->setLabel(leftAxisTitle);
    m_lanes->timeAxis()->setLabel(bottomAxisTitle);
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void ChartView::applyAutomaticRanges()
{
    // The union of the shown plottables' keys or values; nullopt when none has any.
    auto shownRange = [this](bool keys) -> std::optional<QCPRange> {
        std::optional<QCPRange> range;
        // A compared cycle longer than the drawn one is seen to its end.
        for (QCPAbstractPlottable* plottable : legendPlottables()) {
            // The lanes share the time axis, not the temperature one.
            if (!plottable->visible() || (!keys && plottable->valueAxis() != m_plot->yAxis))
                continue;
            bool has = false;
            const QCPRange own = keys ? plottable->getKeyRange(has) : plottable->getValueRange(has);
            if (has)
                range = range ? QCPRange(std::min(range->lower, own.lower),
                                         std::max(range->upper, own.upper))
                              : own;
        }
        return range;
    };
    if (m_automaticBottom) {
        // A single record stands in the middle of a span of its own.
        if (const auto range = shownRange(true))
            m_plot->xAxis->setRange(
                range->size() > 0 ? *range : QCPRange(range->lower - 1, range->upper + 1));
    }
    if (m_automaticLeft) {
        if (const auto range = shownRange(false)) {
            // A little air above and below, so neither the lowest nor the highest
            // temperature sits on the frame.
            QCPRange shown = *range;
            // The set point stays in view with its band even where the cycle fell short.
            if (m_setPoint->isShown())
                shown = QCPRange(std::min(shown.lower, m_setPoint->bottom()),
                                 std::max(shown.upper, m_setPoint->top()));
            const double margin = shown.size() > 0 ? shown.size() * 0.03 : 1.0;
            m_plot->yAxis->setRange(shown.lower - margin, shown.upper + margin);
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
        moved |=
            offerStep(axis, Qt::Horizontal, axis->pixelToCoord(0) - axis->pixelToCoord(dxPixels));
    }
    if (dyPixels != 0) {
        QCPAxis* axis = m_plot->yAxis;
        moved |=
            offerStep(axis, Qt::Vertical, axis->pixelToCoord(0) - axis->pixelToCoord(dyPixels));
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
    // Ctrl+click places a cursor; only a plain press pans.
    if (event->modifiers() & Qt::ControlModifier) {
        m_cursors->place(event->pos());
        return;
    }
    m_dragging = true;
    m_lastDrag = event->pos();
    // While the picture moves under the pointer, speed counts more than smooth edges.
    m_plot->setAntialiasedElements(QCP::aeNone);
    m_plot->setNotAntialiasedElements(QCP::aeAll);
}

void ChartView::onMouseMove(QMouseEvent* event)
{
    emit mouseMoved(m_plot->mapTo(this, event->pos()));
    if (!m_dragging && m_markerTip) {
        const auto [series, marker] = markerAt(m_plot->mapTo(this, event->pos()));
        if (series >= 0) {
            QToolTip::showText(
                event->globalPosition().toPoint(),
                m_markerTip(series, static_cast<BubblePlottable*>(m_plottables[std::size_t(series)])
                                        ->bubbles()
                                        .at(marker)),
                m_plot);
            m_markerTipShown = true;
        } else if (m_markerTipShown) {
            // Only a marker's own tooltip goes when the pointer leaves it.
            QToolTip::hideText();
            m_markerTipShown = false;
        }
    }
    m_cursors->hover(event->pos());
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint step = event->pos() - m_lastDrag;
    m_lastDrag = event->pos();
    panStep(step.x(), step.y());
}

void ChartView::setMarkerTip(MarkerTip tip)
{
    m_markerTip = std::move(tip);
}

std::pair<int, int> ChartView::markerAt(QPoint pixel) const
{
    const QPointF inPlot = m_plot->mapFrom(this, pixel);
    // The markers drawn last lie on top.
    for (int i = int(m_plottables.size()) - 1; i >= 0; --i) {
        auto* bubbles = qobject_cast<BubblePlottable*>(m_plottables[std::size_t(i)]);
        if (!bubbles || !bubbles->visible() || !m_model)
            continue;
        const int marker = bubbles->markerAt(inPlot);
        if (marker >= 0)
            return {i, marker};
    }
    return {-1, -1};
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

void ChartView::layOutAt(QSize size) const
{
    QCPLayoutGrid* layout = m_plot->plotLayout();
    layout->setOuterRect(QRect(QPoint(0, 0), size));
    for (auto phase :
         {QCPLayoutElement::upPreparation, QCPLayoutElement::upMargins, QCPLayoutElement::upLayout})
        layout->update(phase);
}

bool ChartView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_plot && event->type() == QEvent::Resize)
        layOutAt(static_cast<QResizeEvent*>(event)->size());
    if (watched == m_plot && event->type() == QEvent::Leave)
        m_cursors->leave();
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
    m_legend->attach(legendPlottables());
    layOutAt(size);
    {
        QCPPainter painter(&image);
        m_plot->toPainter(&painter, size.width(), size.height());
    }
    m_legend->detach();
    // Rendering lays the plot out for the picture's size and its legend: lay it out for the
    // screen again.
    m_plot->replot();
    return image;
}

QPicture ChartView::renderPicture(QSize size) const
{
    QPicture picture;
    {
        QCPPainter painter(&picture);
        paintInto(&painter, size);
    }
    m_plot->replot();
    return picture;
}

void ChartView::paintInto(QCPPainter* painter, QSize size) const
{
    m_legend->attach(legendPlottables());
    layOutAt(size);
    const bool vectorized = painter->modes().testFlag(QCPPainter::pmVectorized);
    painter->setMode(QCPPainter::pmVectorized, true);
    m_plot->toPainter(painter, size.width(), size.height());
    painter->setMode(QCPPainter::pmVectorized, vectorized);
    m_legend->detach();
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
    // The same picture as the PNG: laid out at the chart's size in pixels as vector drawing,
    // then played onto a page of that many points. Painting the plot straight onto the
    // writer resolved its fonts at the writer's resolution and blew every label up.
    const QSize size = m_plot->size();
    const QPicture picture = renderPicture(size);
    QPdfWriter writer(fileName);
    writer.setCreator(QStringLiteral("kvaro"));
    writer.setTitle(m_title->text());
    writer.setResolution(PictureResolution);
    writer.setPageLayout(
        QPageLayout(QPageSize(size, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const QRectF page(QPointF(0, 0), writer.pageLayout().paintRectPixels(PictureResolution).size());
    painter.fillRect(page, palette().color(QPalette::Window));
    drawPictureInto(&painter, picture, size, page);
    return painter.end();
}

void drawPictureInto(QPainter* painter, const QPicture& picture, QSize laidOut,
                     const QRectF& target)
{
    painter->save();
    painter->translate(target.topLeft());
    painter->scale(target.width() / laidOut.width(), target.height() / laidOut.height());
    painter->setClipRect(QRect(QPoint(0, 0), laidOut));
    painter->drawPicture(0, 0, picture);
    painter->restore();
}

QImage renderChartImage(const ChartModel& model, const QString& title, const QString& leftAxisTitle,
                        const QString& bottomAxisTitle, QSize size, const QString& emptyHint,
                        const QString& identity, const QStringList& seriesNames)
{
    ChartView view;
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(size);
    view.setTitles(title, leftAxisTitle, bottomAxisTitle);
    view.setSeriesNames(seriesNames);
    view.setEmptyHint(emptyHint);
    view.setIdentity(identity);
    view.setModel(&model);
    view.resetZoom();
    QImage image = view.renderImage(size);
    view.setModel(nullptr);
    return image;
}

} // namespace kvaro
