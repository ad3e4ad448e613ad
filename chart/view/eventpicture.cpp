#include "chart/view/eventpicture.h"

#include "assets/assets.h"
#include "chart/eventmarker.h"

#include <QImage>
#include <QMap>
#include <QPaintEngine>
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

void paintVectorMarker(QPainter* painter, const QRectF& circle, int code, const QColor& rim);

// A document draws each marker from one picture per kind and colour, made once: the PDF
// then holds that picture once and every marker refers to it, instead of the picture's
// paths over again for each of the thousands of markers of a month's batch. At this size
// a marker printed a centimetre wide is still sharper than the printer.
constexpr int DocumentMarkerPixels = 160;

const QImage& documentMarker(int code, const QColor& rim)
{
    thread_local std::map<std::pair<int, QRgb>, QImage> markers;
    QImage& marker = markers[{std::clamp(code, 1, 7), rim.rgba()}];
    if (marker.isNull()) {
        marker =
            QImage(DocumentMarkerPixels, DocumentMarkerPixels, QImage::Format_ARGB32_Premultiplied);
        marker.fill(Qt::transparent);
        QPainter painter(&marker);
        paintVectorMarker(&painter, QRectF(marker.rect()), code, rim);
    }
    return marker;
}

} // namespace

void paintEventMarker(QPainter* painter, const QRectF& circle, int code, const QColor& rim)
{
    const QPaintEngine* engine = painter->paintEngine();
    if (engine && engine->type() == QPaintEngine::Pdf) {
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(circle, documentMarker(code, rim));
        painter->restore();
        return;
    }
    paintVectorMarker(painter, circle, code, rim);
}

namespace {

void paintVectorMarker(QPainter* painter, const QRectF& circle, int code, const QColor& rim)
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

} // namespace

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
