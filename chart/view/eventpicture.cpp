#include "chart/view/eventpicture.h"

#include "assets/assets.h"
#include "chart/eventmarker.h"

#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <algorithm>
#include <map>
#include <memory>

namespace kvaro {

QString eventPicturePath(int code)
{
    return picturePath(QStringLiteral("S%1.svg").arg(std::clamp(code, 1, 7)));
}

namespace {

// Each picture read and parsed once per thread: a report draws every marker as vector
// drawing, thousands of them in a month's batch.
QSvgRenderer& eventPicture(int code)
{
    thread_local std::map<int, std::unique_ptr<QSvgRenderer>> pictures;
    std::unique_ptr<QSvgRenderer>& picture = pictures[std::clamp(code, 1, 7)];
    if (!picture)
        picture = std::make_unique<QSvgRenderer>(eventPicturePath(code));
    return *picture;
}

} // namespace

void paintEventMarker(QPainter* painter, const QRectF& circle, int code, const QColor& rim)
{
    QSvgRenderer& picture = eventPicture(code);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    QPainterPath round;
    round.addEllipse(circle);
    painter->setClipPath(round, Qt::IntersectClip);
    painter->fillPath(round, Qt::white);
    const double inset = circle.width() * 0.06;
    picture.render(painter, circle.adjusted(inset, inset, -inset, -inset));
    painter->restore();

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const double rimWidth = std::max(1.0, circle.width() / 18);
    painter->setPen(QPen(rim, rimWidth));
    painter->setBrush(Qt::NoBrush);
    const double half = rimWidth / 2;
    painter->drawEllipse(circle.adjusted(half, half, -half, -half));
    painter->restore();
}

std::vector<QVector<double>> markerShifts(const ChartModel& model, bool perBurner)
{
    std::vector<QVector<double>> shifts(std::size_t(model.count()));
    // Each record's shown markers in series order: (series, marker) pairs, by burner and
    // record where each burner has a row, else by record.
    QMap<std::pair<int, double>, QVector<std::pair<int, int>>> byRecord;
    for (int s = 0; s < model.count(); ++s) {
        const ChartSeries& series = model.at(s);
        shifts[std::size_t(s)].fill(0.0, series.bubbles.size());
        if (series.kind != SeriesKind::Bubble || !series.active)
            continue;
        const int burner = perBurner ? burnerEventOf(s).value_or(BurnerEvent()).burner : 0;
        for (int i = 0; i < series.bubbles.size(); ++i)
            byRecord[{burner, series.bubbles.at(i).x}].append({s, i});
    }
    for (const QVector<std::pair<int, int>>& markers : std::as_const(byRecord)) {
        const double middle = (markers.size() - 1) / 2.0;
        for (int k = 0; k < markers.size(); ++k)
            shifts[std::size_t(markers.at(k).first)][markers.at(k).second] = k - middle;
    }
    return shifts;
}

} // namespace kvaro
