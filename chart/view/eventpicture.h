#pragma once

#include "chart/chartmodel.h"

#include <QColor>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace kvaro {

// The picture of an event code 1..7 (codes outside are held to the nearest).
QString eventPicturePath(int code);

// An event marker as the chart draws it: the picture inside a round frame, white behind it
// so it stays readable over the lines, and the series colour as its rim. The list's swatches
// and the key of pictures draw the same.
void paintEventMarker(QPainter* painter, const QRectF& circle, int code, const QColor& rim);

// Markers of one record stand side by side, not on top of each other: for every series (by
// position) and each of its markers, its shift from the record in marker widths. The shown
// markers of a record are laid out in series order around it; a lone one stays put.
// With perBurner, only the markers of one burner share a record's place (each burner's
// markers on a row of their own).
std::vector<QVector<double>> markerShifts(const ChartModel& model, bool perBurner = false);

} // namespace kvaro
