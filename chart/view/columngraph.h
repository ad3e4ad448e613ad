#pragma once

#include <algorithm>

#include "chart/chartpoints.h"
#include "chart/view/linegraph.h"

#include <vector>

namespace kvaro {

// A line or area series drawn straight from the model's columns: the graph shares them
// instead of holding a copy of its own, so a long cycle is in memory once. The graph's own
// data container stays empty.
//
// Only the points in the key range (and one beyond each end) are looked at, found by
// binary search. Where more than two points fall on one pixel column, the column is drawn
// as its first, lowest, highest and last value, the way QCPGraph's adaptive sampling does;
// the lowest and highest come from a summary of each block of points built once per set of
// columns, so a zoomed-out redraw of a million points costs per pixel column, not per point.
class ColumnGraph : public LineGraph
{
    Q_OBJECT
public:
    ColumnGraph(QCPAxis* keyAxis, QCPAxis* valueAxis);

    // Shares points; the summary is built again only when they are other columns than the
    // ones held.
    // The width in pixels of the intervals adaptive sampling keeps the extremes of (1 by
    // default): a printed chart needs no finer line than its print shows.
    void setSamplingStep(double pixels) { m_samplingStep = std::max(1.0, pixels); }
    void setPoints(const ChartPoints& points);
    const ChartPoints& points() const { return m_points; }

    // The polyline drawn for the axes' current ranges, in pixels.
    QVector<QPointF> lineVertices() const;

    static constexpr qsizetype BlockSize = 64;

    int dataCount() const override;
    double dataMainKey(int index) const override;
    double dataSortKey(int index) const override;
    double dataMainValue(int index) const override;
    QCPRange dataValueRange(int index) const override;
    QPointF dataPixelPosition(int index) const override;
    int findBegin(double sortKey, bool expandedRange = true) const override;
    int findEnd(double sortKey, bool expandedRange = true) const override;
    QCPRange getKeyRange(bool& foundRange,
                         QCP::SignDomain inSignDomain = QCP::sdBoth) const override;
    QCPRange getValueRange(bool& foundRange, QCP::SignDomain inSignDomain = QCP::sdBoth,
                           const QCPRange& inKeyRange = QCPRange()) const override;
    // Nothing in the chart is picked by pointer: the series never claim a click.
    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;
    QCPDataSelection selectTestRect(const QRectF& rect, bool onlySelectable) const override;

protected:
    void draw(QCPPainter* painter) override;

private:
    // The least and greatest value of points [from, to), NaN left out unless the first is
    // one, as the adaptive sampling compares them.
    void extremes(qsizetype from, qsizetype to, double& least, double& greatest) const;
    QVector<QCPGraphData> sampled(qsizetype begin, qsizetype end) const;

    ChartPoints m_points;
    // Sorted copies, only for points that were not added in ascending x.
    std::vector<double> m_sortedX;
    std::vector<double> m_sortedY;
    const double* m_x = nullptr;
    const double* m_y = nullptr;
    qsizetype m_count = 0;
    std::vector<double> m_blockLeast;
    std::vector<double> m_blockGreatest;
    double m_samplingStep = 1;
};

} // namespace kvaro
