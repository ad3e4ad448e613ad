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
    if (lines.size() < 2 || width <= 1 || painter->pen().style() != Qt::SolidLine) {
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

    const double half = width / 2;
    painter->save();
    painter->setBrush(painter->pen().color());
    painter->setPen(Qt::NoPen);
    if (!painter->modes().testFlag(QCPPainter::pmVectorized)) {
        // On pixels, one rectangle per column covers exactly what the outline below does
        // (the columns' sides lie on pixel edges) and fills faster. A PDF
        // keeps the one outline, which no viewer can show with seams between columns.
        QVector<QRectF> rects;
        rects.reserve(columns);
        for (int column = 0; column < columns; ++column) {
            const Column& c = band[std::size_t(column)];
            if (c.used)
                rects.append(QRectF(first + column, c.top - half, 1, c.bottom - c.top + width));
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
