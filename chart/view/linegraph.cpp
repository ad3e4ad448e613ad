#include "chart/view/linegraph.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kvaro {

namespace {

struct Column {
    double top = 0;
    double bottom = 0;
    bool used = false;
};

} // namespace

LineGraph::LineGraph(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPGraph(keyAxis, valueAxis) {}

void LineGraph::drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const
{
    const double width = painter->pen().widthF();
    const bool solid = painter->pen().style() == Qt::SolidLine;
    const bool vectorized = painter->modes().testFlag(QCPPainter::pmVectorized);
    // A dashed pen is stroked dash by dash along every zigzag, even at width 1: on pixels it
    // is drawn as the band too, its dashes as runs of columns. A PDF keeps the real dashes.
    if (lines.size() < 2 || (solid && width <= 1) || (!solid && vectorized)) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    const auto [leftmost, rightmost] =
        std::minmax_element(lines.cbegin(), lines.cend(),
                            [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    const double first = std::floor(leftmost->x());
    const double span = std::floor(rightmost->x()) - first;
    // Sparse lines (zoomed in) are cheap to stroke and look better with real joins; the
    // span is checked as a real number first, since far-off points fit no integer.
    if (!(span < 100000) || lines.size() <= qsizetype(span) + 1) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    const int columns = int(span) + 1;

    std::vector<Column> band(static_cast<std::size_t>(columns));
    auto cover = [&](int column, double y0, double y1) {
        Column& c = band[std::size_t(std::clamp(column, 0, columns - 1))];
        const double low = std::min(y0, y1);
        const double high = std::max(y0, y1);
        c.top = c.used ? std::min(c.top, low) : low;
        c.bottom = c.used ? std::max(c.bottom, high) : high;
        c.used = true;
    };
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QPointF a = lines[i - 1];
        QPointF b = lines[i];
        if (std::isnan(a.y()) || std::isnan(b.y()))
            continue;
        if (a.x() > b.x())
            std::swap(a, b);
        const int from = int(std::floor(a.x()) - first);
        const int to = int(std::floor(b.x()) - first);
        if (from == to) {
            cover(from, a.y(), b.y());
            continue;
        }
        // A segment over several columns gives each column the part of it that lies there.
        const double slope = (b.y() - a.y()) / (b.x() - a.x());
        for (int column = from; column <= to; ++column) {
            const double x0 = std::max(a.x(), first + column);
            const double x1 = std::min(b.x(), first + column + 1);
            cover(column, a.y() + slope * (x0 - a.x()), a.y() + slope * (x1 - a.x()));
        }
    }

    // The dash pattern in pixels, counted from the plot's left edge so dashes keep their
    // place from one column to the next.
    std::vector<double> dashes;
    double period = 0;
    if (!solid) {
        const double unit = std::max(1.0, width);
        for (const double length : painter->pen().dashPattern()) {
            dashes.push_back(length * unit);
            period += length * unit;
        }
    }
    auto inDash = [&](int column) {
        if (!(period > 0))
            return true;
        double at = std::fmod(first + column, period);
        if (at < 0)
            at += period;
        for (std::size_t i = 0; i < dashes.size(); ++i) {
            if (at < dashes[i])
                return i % 2 == 0; // even entries are dashes, odd ones the gaps
            at -= dashes[i];
        }
        return true;
    };

    const double half = std::max(1.0, width) / 2;
    painter->save();
    painter->setBrush(painter->pen().color());
    painter->setPen(Qt::NoPen);
    if (!vectorized) {
        // On pixels, one rectangle per column covers exactly what the outline below does
        // (the columns' sides lie on pixel edges) and fills faster. A PDF
        // keeps the one outline, which no viewer can show with seams between columns.
        QVector<QRectF> rects;
        rects.reserve(columns);
        for (int column = 0; column < columns; ++column) {
            const Column& c = band[std::size_t(column)];
            if (c.used && inDash(column))
                rects.append(QRectF(first + column, c.top - half, 1, c.bottom - c.top + 2 * half));
        }
        painter->drawRects(rects);
        painter->restore();
        return;
    }
    QPolygonF outline;
    outline.reserve(4 * columns);
    for (int column = 0; column < columns; ++column) {
        const Column& c = band[std::size_t(column)];
        if (!c.used)
            continue;
        outline.append(QPointF(first + column, c.top - half));
        outline.append(QPointF(first + column + 1, c.top - half));
    }
    for (int column = columns - 1; column >= 0; --column) {
        const Column& c = band[std::size_t(column)];
        if (!c.used)
            continue;
        outline.append(QPointF(first + column + 1, c.bottom + half));
        outline.append(QPointF(first + column, c.bottom + half));
    }
    painter->drawPolygon(outline, Qt::WindingFill);
    painter->restore();
}

} // namespace kvaro
