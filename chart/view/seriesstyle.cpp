#include "chart/view/seriesstyle.h"

#include "chart/chartmodel.h"

#include <algorithm>

namespace kvaro {

namespace {

int lineWidth(int index)
{
    if (index == series::T1 || index == series::T2)
        return 2;
    if (index == series::WorkingTemperature)
        return 4;
    return 1;
}

} // namespace

QColor seriesColour(int index)
{
    // The line colours are the pens the curves are drawn with.
    if (index == series::T1)
        return QColor(255, 13, 19);
    if (index == series::T2)
        return QColor(80, 43, 253);
    // The area has no border; its fill runs from transparent white to this yellow.
    if (index == series::Power)
        return QColor(255, 255, 168);
    if (index >= series::ArrowFirst && index <= series::ArrowLast) {
        static const QColor arrowColours[] = {QColor(255, 132, 135), QColor(128, 0, 64),
                                              QColor(44, 160, 44), QColor(255, 127, 14),
                                              QColor(23, 190, 207)};
        return arrowColours[index - series::ArrowFirst];
    }
    if (index >= series::BurnerTemperatureFirst && index < series::BurnerTemperatureFirst + 8) {
        static const QColor burnerColours[] = {QColor(31, 119, 180),  QColor(148, 103, 189),
                                               QColor(140, 86, 75),   QColor(227, 119, 194),
                                               QColor(127, 127, 127), QColor(188, 189, 34),
                                               QColor(0, 128, 128),   QColor(255, 187, 120)};
        return burnerColours[index - series::BurnerTemperatureFirst];
    }
    if (index == series::WorkingTemperature)
        return QColor(255, 17, 23);
    // The event markers of every burner.
    return QColor(255, 0, 0);
}

QPen seriesPen(int index)
{
    // Plain joins: round ones cost curves at every vertex of a long polyline.
    return QPen(seriesColour(index), std::max(1, lineWidth(index)));
}

QColor comparedColour(int index)
{
    const QColor colour = seriesColour(index);
    // Halfway to white keeps the hue and stays readable on the plot's white.
    return QColor((colour.red() + 255) / 2, (colour.green() + 255) / 2, (colour.blue() + 255) / 2);
}

QPen comparedPen(int index)
{
    QPen pen = seriesPen(index);
    pen.setColor(comparedColour(index));
    // Dashes in pixels whatever the width: the broad working temperature keeps short ones.
    const double width = pen.widthF();
    pen.setDashPattern({6 / width, 4 / width});
    return pen;
}

} // namespace kvaro
