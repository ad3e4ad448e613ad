#pragma once

#include <QPen>

namespace kvaro {

// How a series of a ChartModel is drawn, by its position: the model says what a series
// holds, the view alone decides its colour and pen.
QColor seriesColour(int series);
// The pen of a line series; an area is drawn without one, so its pen is only its colour.
QPen seriesPen(int series);
// A compared cycle's line of the same kind: its colour lighter, the pen dashed, so the two
// cycles tell apart at a glance and the drawn one stays in front.
QColor comparedColour(int series);
QPen comparedPen(int series);

} // namespace kvaro
