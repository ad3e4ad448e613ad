#include "chart/navigation.h"

#include "base/platform.h"
#include "chart/chartmodel.h"

#include <algorithm>
#include <cmath>

namespace kvaro::navigation {

bool canZoomIn(int zoomLevel)
{
    return zoomLevel < ZoomMaximum;
}

bool canZoomOut(int zoomLevel)
{
    return zoomLevel > ZoomReset;
}

int zoomedIn(int zoomLevel)
{
    return canZoomIn(zoomLevel) ? zoomLevel + ZoomStep : zoomLevel;
}

int zoomedOut(int zoomLevel)
{
    return canZoomOut(zoomLevel) ? zoomLevel - ZoomStep : zoomLevel;
}

QString zoomLabel(int zoomLevel)
{
    return QString::number(zoomLevel) + QLatin1Char('%');
}

AxisRange zoomed(AxisRange range, double percent)
{
    const double d = (range.upper - range.lower) * (percent - 100) * 0.01;
    return {range.lower + d, range.upper - d};
}

bool scrollAllowed(Axis axis, double newMin, double newMax, int series0PointCount)
{
    // A lower bound that is not a number is refused; an upper one only when it is too far.
    switch (axis) {
    case Axis::Left:
        return newMin >= LeftAxisMinimum && !(newMax > LeftAxisMaximum);
    case Axis::Bottom:
        return newMin >= BottomAxisMinimum && !(newMax > series0PointCount + BottomAxisMargin);
    case Axis::Other:
        break;
    }
    return true;
}

QString noReadout()
{
    return QStringLiteral("–");
}

QString initialTemperatureText()
{
    return QStringLiteral("0.000°C");
}

QString initialTimeText()
{
    return QStringLiteral("00:00");
}

int nearestPoint(const ChartModel& chart, double axisValue)
{
    const std::span<const double> xs = chart.at(series::T1).points.xs();
    if (xs.empty() || !(axisValue >= xs.front() - 0.5) || !(axisValue <= xs.back() + 0.5))
        return -1;
    const auto after = std::lower_bound(xs.begin(), xs.end(), axisValue);
    if (after == xs.end())
        return int(xs.size() - 1);
    if (after == xs.begin())
        return 0;
    const auto before = after - 1;
    // Halfway between two points belongs to the left one.
    return int((axisValue - *before <= *after - axisValue ? before : after) - xs.begin());
}

QString temperatureText(double value, QChar decimalSeparator)
{
    // One decimal for every value, so "162.0 °C" and "159.5 °C" line up when read one after
    // the other; a value that rounds to zero is never written "-0.0".
    double rounded = std::round(value * 10.0) / 10.0;
    if (rounded == 0.0)
        rounded = 0.0;
    QString text = QString::number(rounded, 'f', 1);
    if (decimalSeparator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), decimalSeparator);
    return text + QStringLiteral(" °C");
}

Readout readoutAt(const ChartModel& chart, double axisValue, QChar decimalSeparator)
{
    const int index = nearestPoint(chart, axisValue);
    if (index < 0)
        return {-1, noReadout(), noReadout()};
    const ChartPoints& working = chart.at(series::WorkingTemperature).points;
    // A load stopped between the two series may leave series 23 one point short.
    const QString temperature =
        index < working.size() ? temperatureText(working.y(index), decimalSeparator) : noReadout();
    return {index, temperature, chart.at(series::T1).points.label(index)};
}

} // namespace kvaro::navigation
