#pragma once

#include <QFont>

class QCPAxis;

namespace kvaro {

// The chart's one typeface: titles, tick labels, marks and the picture legend.
QFont chartFont(qreal pointSize, bool bold = false);
// The look of every axis: a dashed frame, dotted grid lines where series are drawn; an
// axis that carries no series only closes the frame.
void styleAxis(QCPAxis* axis, bool carriesSeries);
// The axis' tick labels and title at textScale times their usual size.
void scaleAxisText(QCPAxis* axis, qreal textScale);

} // namespace kvaro
