#pragma once

#include "chart/chartmodel.h"
#include "chart/comparison.h"

#include <QImage>
#include <QPicture>
#include <QPoint>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QCustomPlot;
class QCPAbstractPlottable;
class QCPPainter;
class QCPAxis;
class QCPTextElement;
class QMouseEvent;
class QPainter;

namespace kvaro {

class ColumnGraph;
class CursorOverlay;
class ElapsedTicker;
class ExportLegend;
class MarkerRows;
class OutputLanes;
class BubblePlottable;
class SetPointOverlay;

// The cycle chart: draws a ChartModel (one plottable per series, in series order), pans by
// dragging with the left button under a permission the window supplies, zooms only when
// asked, and renders itself as a picture for the clipboard and the exports.
class ChartView : public QWidget
{
    Q_OBJECT
public:
    // Asked before every pan step of each axis with the range the step would produce;
    // the step is applied only when it answers true.
    using ScrollPermission =
        std::function<bool(Qt::Orientation axis, double newMin, double newMax)>;

    explicit ChartView(QWidget* parent = nullptr);
    ~ChartView() override;

    // The model stays the caller's; it must outlive the view or be replaced first.
    void setModel(const ChartModel* model);
    // Takes the model's points and shown states again; axes in automatic mode follow them.
    void refresh();

    void setTitles(const QString& title, const QString& leftAxisTitle,
                   const QString& bottomAxisTitle);
    // Shown in the middle of the plot while every series is hidden.
    void setEmptyHint(const QString& hint);
    // A second cycle's temperatures over the model's, each shown while the model's series of
    // its kind is shown; nullptr for none. Like the model, it stays the caller's.
    void setComparison(const Comparison* comparison);
    const Comparison* comparison() const { return m_comparison; }
    // The language's texts for it: the compared series' name (title, cycle number) and
    // the readout's column of differences.
    void setComparisonTexts(const QString& titleForm, const QString& difference);
    // The line under the title that says which oven and cycle this is; none when empty.
    void setIdentity(const QString& identity);
    // The names a person reads for the series (by series; an empty or missing one keeps the
    // series' own title): the lanes, the legends and the readout under the mouse use them.
    void setSeriesNames(const QStringList& names);
    QString seriesName(int series) const;
    QString identity() const;
    // The set point's marks as drawn (reached, hold ended); empty while it is not drawn.
    QStringList setPointMarks() const;
    // The entries of the legend that pictures leaving the window carry.
    QStringList exportLegendEntries() const;

    // Both axes back to automatic: their ranges follow the shown series.
    void resetZoom();
    // Moves both ends of each axis inwards by (percent - 100) % of its span (outwards for
    // percent below 100); the axes then keep that range.
    void zoomBy(double percent);
    // One pan step as a drag by this many pixels would make it, each axis judged apart.
    void panStep(int dxPixels, int dyPixels);
    void setScrollPermission(ScrollPermission permission);

    // The tooltip of an event marker: its series and the marker itself.
    using MarkerTip = std::function<QString(int series, const ChartBubble& marker)>;
    void setMarkerTip(MarkerTip tip);
    // The shown event marker under a pixel of this widget: its series and its index there,
    // or -1 and -1.
    std::pair<int, int> markerAt(QPoint pixel) const;

    // The bottom axis value at a pixel column of this widget, unrounded.
    double bottomValueAt(int pixelX) const;

    // Current axis ranges and modes, for the window's rules and for tests.
    double bottomMin() const;
    double bottomMax() const;
    double leftMin() const;
    double leftMax() const;
    bool isAutomatic(Qt::Orientation axis) const;

    // The whole chart at its on-screen size, on the window's background colour.
    QImage grabImage() const;
    bool savePng(const QString& fileName) const;
    bool savePdf(const QString& fileName);

    // The chart at any size, drawn offscreen the same way.
    QImage renderImage(QSize size) const;
    // The same as vector drawing commands, for documents that keep lines and text sharp.
    QPicture renderPicture(QSize size) const;
    // The chart laid out at size, drawn straight onto painter (in its coordinates, from its
    // origin) as vector drawing: for a document whose device resolves fonts as the screen
    // does, a picture it draws once costs no recording. The view stays laid out for size
    // until it is drawn again.
    void paintInto(QCPPainter* painter, QSize size) const;

    // Every text of the chart drawn scale times its usual size, for a picture printed smaller
    // than the screen shows it; the output lanes spaced to match.
    void setTextScale(qreal scale);
    // The smallest text of the chart at scale 1, in points.
    static constexpr qreal SmallestTextPoints = 8;
    // Arrow series given a lane whatever their shown state, while they have periods: a
    // report names every output period in its table and draws each one.
    void setLanesForAllPeriods(bool all);
    // The lines keep each interval's extremes, intervals this many pixels wide (1, the
    // screen's, by default).
    void setSamplingStep(double pixels);
    // The names of the output lanes as last laid out, top first.
    QStringList laneNames() const;
    // Each burner's event markers on a row of their own under the temperatures rather than
    // on its exchanger curve; rowName is the rows' name with %1 for the burner.
    void setMarkerRows(bool rows, const QString& rowName = QStringLiteral("%1"));
    // The rows' names as last laid out, top first; none while the markers sit on the curves.
    QStringList markerRowNames() const;
    // Where marker `marker` of event series `series` is drawn now, in this widget's pixels;
    // empty when it is not drawn.
    QRectF markerRect(int series, int marker) const;
    // The temperatures' plot area, in this widget's pixels.
    QRect temperatureArea() const;

    // The hair line with its readout and the cursors A and B.
    CursorOverlay* cursors() const { return m_cursors; }

signals:
    void mouseMoved(QPoint pixel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPlottables();
    void buildComparedGraphs();
    void refreshComparison();
    // What the exported legend names: the model's plottables, then the compared ones.
    std::vector<QCPAbstractPlottable*> legendPlottables() const;
    void applyAutomaticRanges();
    // The rows' markers and names from the model's event series.
    void layOutMarkerRows();
    // One layout pass at this size, so the time marks that follow are spaced for it.
    void layOutAt(QSize size) const;
    void onMousePress(QMouseEvent* event);
    void onMouseMove(QMouseEvent* event);
    void onMouseRelease(QMouseEvent* event);
    bool offerStep(QCPAxis* axis, Qt::Orientation orientation, double shift);

    QCustomPlot* m_plot = nullptr;
    QCPTextElement* m_title = nullptr;
    QCPTextElement* m_hint = nullptr;
    QString m_hintText; // the hint unbroken, as set
    CursorOverlay* m_cursors = nullptr;
    QCPTextElement* m_identity = nullptr;
    std::unique_ptr<SetPointOverlay> m_setPoint;
    std::unique_ptr<ExportLegend> m_legend;
    std::unique_ptr<OutputLanes> m_lanes;
    std::unique_ptr<MarkerRows> m_rows;         // made when first asked for
    std::vector<BubblePlottable*> m_rowMarkers; // by series position, on the rows
    QString m_rowName;
    qreal m_textScale = 1;
    QSharedPointer<ElapsedTicker> m_ticker;
    std::vector<QCPAbstractPlottable*> m_plottables; // by series position
    std::vector<ColumnGraph*> m_comparedGraphs;      // in the order of ComparedSeries, once needed
    const Comparison* m_comparison = nullptr;
    QString m_comparedTitleForm = QStringLiteral("%1 (nr %2)");
    const ChartModel* m_model = nullptr;
    QStringList m_seriesNames;
    ScrollPermission m_permission;
    MarkerTip m_markerTip;
    bool m_markerTipShown = false;
    bool m_lanesForAllPeriods = false;
    bool m_automaticBottom = true;
    bool m_automaticLeft = true;
    bool m_dragging = false;
    QPoint m_lastDrag;
};

// Documents lay a chart's picture out in pixels of this resolution, the view's own.
inline constexpr int PictureResolution = 96;

// A picture renderPicture laid out at laidOut, drawn scaled into target of painter's
// coordinates (a PDF page's or a report's).
void drawPictureInto(QPainter* painter, const QPicture& picture, QSize laidOut,
                     const QRectF& target);

// The chart as the window draws it, rendered offscreen at the given size (needs a
// QApplication; works with the offscreen platform).
QImage renderChartImage(const ChartModel& model, const QString& title, const QString& leftAxisTitle,
                        const QString& bottomAxisTitle, QSize size, const QString& emptyHint = {},
                        const QString& identity = {}, const QStringList& seriesNames = {});

} // namespace kvaro
