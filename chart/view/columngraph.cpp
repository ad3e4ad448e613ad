#include "chart/view/columngraph.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace kvaro {

ColumnGraph::ColumnGraph(QCPAxis* keyAxis, QCPAxis* valueAxis) : LineGraph(keyAxis, valueAxis) {}

void ColumnGraph::setPoints(const ChartPoints& points)
{
    if (points.isSharedWith(m_points))
        return;
    m_points = points;
    m_sortedX.clear();
    m_sortedY.clear();
    m_blockLeast.clear();
    m_blockGreatest.clear();
    const std::span<const double> xs = m_points.xs();
    const std::span<const double> ys = m_points.ys();
    m_count = qsizetype(xs.size());
    m_x = xs.data();
    m_y = ys.data();
    if (!std::is_sorted(xs.begin(), xs.end())) {
        // Only points set by hand come out of order; they are few.
        std::vector<qsizetype> order(xs.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return xs[std::size_t(a)] < xs[std::size_t(b)];
        });
        m_sortedX.reserve(order.size());
        m_sortedY.reserve(order.size());
        for (qsizetype i : order) {
            m_sortedX.push_back(xs[std::size_t(i)]);
            m_sortedY.push_back(ys[std::size_t(i)]);
        }
        m_x = m_sortedX.data();
        m_y = m_sortedY.data();
    }
    const qsizetype blocks = m_count / BlockSize;
    m_blockLeast.resize(std::size_t(blocks));
    m_blockGreatest.resize(std::size_t(blocks));
    for (qsizetype b = 0; b < blocks; ++b) {
        double least = std::numeric_limits<double>::infinity();
        double greatest = -std::numeric_limits<double>::infinity();
        for (const double* y = m_y + b * BlockSize; y != m_y + (b + 1) * BlockSize; ++y) {
            // NaN fails both tests and stays out, as it does point by point.
            if (*y < least)
                least = *y;
            if (*y > greatest)
                greatest = *y;
        }
        m_blockLeast[std::size_t(b)] = least;
        m_blockGreatest[std::size_t(b)] = greatest;
    }
}

void ColumnGraph::extremes(qsizetype from, qsizetype to, double& least, double& greatest) const
{
    least = m_y[from];
    greatest = m_y[from];
    qsizetype i = from + 1;
    auto take = [&](double low, double high) {
        if (low < least)
            least = low;
        if (high > greatest)
            greatest = high;
    };
    for (; i < to && i % BlockSize != 0; ++i)
        take(m_y[i], m_y[i]);
    for (; i + BlockSize <= to; i += BlockSize)
        take(m_blockLeast[std::size_t(i / BlockSize)], m_blockGreatest[std::size_t(i / BlockSize)]);
    for (; i < to; ++i)
        take(m_y[i], m_y[i]);
}

// The points of [begin, end) as QCPGraph's adaptive sampling reduces them: the same pixel
// intervals and the same vertices, each interval found by binary search.
QVector<QCPGraphData> ColumnGraph::sampled(qsizetype begin, qsizetype end) const
{
    QVector<QCPGraphData> lineData;
    QCPAxis* keyAxis = mKeyAxis.data();
    const int reversedFactor = keyAxis->pixelOrientation();
    const int reversedRound = reversedFactor == -1 ? 1 : 0;
    const double step = m_samplingStep;
    auto intervalStart = [&](double key) {
        return keyAxis->pixelToCoord(
            std::floor((keyAxis->coordToPixel(key) + reversedRound * step) / step) * step);
    };
    auto epsilonAt = [&](double start) {
        return qAbs(start -
                    keyAxis->pixelToCoord(keyAxis->coordToPixel(start) + step * reversedFactor));
    };
    const bool epsilonVariable = keyAxis->scaleType() == QCPAxis::stLogarithmic;
    double start = intervalStart(m_x[begin]);
    double lastIntervalEnd = start;
    double epsilon = epsilonAt(start);
    qsizetype first = begin;
    for (;;) {
        const double limit = start + epsilon;
        const qsizetype next = std::lower_bound(m_x + first + 1, m_x + end, limit) - m_x;
        if (next - first >= 2) {
            double least = 0;
            double greatest = 0;
            extremes(first, next, least, greatest);
            if (lastIntervalEnd < start - epsilon)
                lineData.append(QCPGraphData(start + epsilon * 0.2, m_y[first]));
            // Wider intervals take their extremes in the order the line passes them, or a
            // steep slope would be drawn as a zigzag.
            const bool falling = step > 1 && m_y[first] > m_y[next - 1];
            lineData.append(QCPGraphData(start + epsilon * 0.25, falling ? greatest : least));
            lineData.append(QCPGraphData(start + epsilon * 0.75, falling ? least : greatest));
            if (next != end && m_x[next] > start + epsilon * 2)
                lineData.append(QCPGraphData(start + epsilon * 0.8, m_y[next - 1]));
        } else {
            lineData.append(QCPGraphData(m_x[first], m_y[first]));
        }
        if (next == end)
            break;
        lastIntervalEnd = m_x[next - 1];
        first = next;
        start = intervalStart(m_x[first]);
        if (epsilonVariable)
            epsilon = epsilonAt(start);
    }
    return lineData;
}

QVector<QPointF> ColumnGraph::lineVertices() const
{
    QCPAxis* keyAxis = mKeyAxis.data();
    if (!keyAxis || !mValueAxis || m_count == 0)
        return {};
    const qsizetype begin = findBegin(keyAxis->range().lower);
    const qsizetype end = findEnd(keyAxis->range().upper);
    if (begin >= end)
        return {};
    QVector<QCPGraphData> lineData;
    if (mLineStyle != lsNone) {
        const double pixelSpan =
            qAbs(keyAxis->coordToPixel(m_x[begin]) - keyAxis->coordToPixel(m_x[end - 1]));
        qsizetype most = std::numeric_limits<int>::max();
        if (2 * pixelSpan + 2 < double(std::numeric_limits<int>::max()))
            most = qsizetype(2 * pixelSpan / m_samplingStep + 2);
        if (mAdaptiveSampling && end - begin >= most) {
            lineData = sampled(begin, end);
        } else {
            lineData.reserve(end - begin);
            for (qsizetype i = begin; i < end; ++i)
                lineData.append(QCPGraphData(m_x[i], m_y[i]));
        }
    }
    if (keyAxis->rangeReversed() != (keyAxis->orientation() == Qt::Vertical))
        std::reverse(lineData.begin(), lineData.end());
    return dataToLines(lineData);
}

void ColumnGraph::draw(QCPPainter* painter)
{
    if (!mKeyAxis || !mValueAxis || mKeyAxis->range().size() <= 0 || m_count == 0)
        return;
    if (mLineStyle == lsNone && mScatterStyle.isNone())
        return;
    QVector<QPointF> lines = lineVertices();
    painter->setBrush(mBrush);
    painter->setPen(Qt::NoPen);
    drawFill(painter, &lines);
    if (mLineStyle != lsNone) {
        painter->setPen(mPen);
        painter->setBrush(Qt::NoBrush);
        drawLinePlot(painter, lines);
    }
    if (!mScatterStyle.isNone()) {
        // The points themselves inside the value range, as the graph marks a lone record.
        QVector<QPointF> scatters;
        const QCPRange values = mValueAxis->range();
        const qsizetype end = findEnd(mKeyAxis->range().upper);
        for (qsizetype i = findBegin(mKeyAxis->range().lower); i < end; ++i) {
            if (values.contains(m_y[i]))
                scatters.append(
                    QPointF(mKeyAxis->coordToPixel(m_x[i]), mValueAxis->coordToPixel(m_y[i])));
        }
        drawScatterPlot(painter, scatters, mScatterStyle);
    }
}

int ColumnGraph::dataCount() const
{
    return int(m_count);
}

double ColumnGraph::dataMainKey(int index) const
{
    return index >= 0 && index < m_count ? m_x[index] : 0;
}

double ColumnGraph::dataSortKey(int index) const
{
    return dataMainKey(index);
}

double ColumnGraph::dataMainValue(int index) const
{
    return index >= 0 && index < m_count ? m_y[index] : 0;
}

QCPRange ColumnGraph::dataValueRange(int index) const
{
    const double value = dataMainValue(index);
    return QCPRange(value, value);
}

QPointF ColumnGraph::dataPixelPosition(int index) const
{
    if (index < 0 || index >= m_count || !mKeyAxis || !mValueAxis)
        return {};
    return {mKeyAxis->coordToPixel(m_x[index]), mValueAxis->coordToPixel(m_y[index])};
}

// As the data container finds them: with expandedRange, one point beyond the key so that
// the line leaving the visible range is drawn to its edge.
int ColumnGraph::findBegin(double sortKey, bool expandedRange) const
{
    qsizetype i = std::lower_bound(m_x, m_x + m_count, sortKey) - m_x;
    if (expandedRange && i > 0)
        --i;
    return int(i);
}

int ColumnGraph::findEnd(double sortKey, bool expandedRange) const
{
    qsizetype i = std::upper_bound(m_x, m_x + m_count, sortKey) - m_x;
    if (expandedRange && i < m_count)
        ++i;
    return int(i);
}

QCPRange ColumnGraph::getKeyRange(bool& foundRange, QCP::SignDomain inSignDomain) const
{
    foundRange = false;
    double lower = 0;
    double upper = 0;
    for (qsizetype i = 0; i < m_count; ++i) {
        const double key = m_x[i];
        if ((inSignDomain == QCP::sdPositive && !(key > 0)) ||
            (inSignDomain == QCP::sdNegative && !(key < 0)) || std::isnan(key))
            continue;
        if (!foundRange) {
            lower = key;
            foundRange = true;
        }
        upper = key;
        if (inSignDomain == QCP::sdBoth) {
            // Sorted: the last point closes the range.
            upper = m_x[m_count - 1];
            break;
        }
    }
    return QCPRange(lower, upper);
}

QCPRange ColumnGraph::getValueRange(bool& foundRange, QCP::SignDomain inSignDomain,
                                    const QCPRange& inKeyRange) const
{
    foundRange = false;
    qsizetype from = 0;
    qsizetype to = m_count;
    if (inKeyRange != QCPRange()) {
        from = std::lower_bound(m_x, m_x + m_count, inKeyRange.lower) - m_x;
        to = std::upper_bound(m_x, m_x + m_count, inKeyRange.upper) - m_x;
    }
    double lower = 0;
    double upper = 0;
    auto take = [&](double low, double high) {
        if (inSignDomain == QCP::sdPositive && !(low > 0))
            return false;
        if (inSignDomain == QCP::sdNegative && !(high < 0))
            return false;
        if (!(low <= high))
            return true; // NaN or an empty block
        lower = foundRange ? std::min(lower, low) : low;
        upper = foundRange ? std::max(upper, high) : high;
        foundRange = true;
        return true;
    };
    qsizetype i = from;
    if (inSignDomain == QCP::sdBoth) {
        for (; i < to && i % BlockSize != 0; ++i)
            take(m_y[i], m_y[i]);
        for (; i + BlockSize <= to; i += BlockSize)
            take(m_blockLeast[std::size_t(i / BlockSize)],
                 m_blockGreatest[std::size_t(i / BlockSize)]);
    }
    for (; i < to; ++i)
        take(m_y[i], m_y[i]);
    return QCPRange(lower, upper);
}

double ColumnGraph::selectTest(const QPointF&, bool, QVariant*) const
{
    return -1;
}

QCPDataSelection ColumnGraph::selectTestRect(const QRectF&, bool) const
{
    return QCPDataSelection();
}

} // namespace kvaro
