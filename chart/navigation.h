#pragma once

#include <QString>

namespace kvaro {

class ChartModel;

// The rules behind zooming, panning and the readout under the mouse, apart from any
// widget so they can be checked as tables.
namespace navigation {

// ZoomLevel counts zoom steps, shown as a percentage; it is not the axes' actual span.
inline constexpr int ZoomReset = 100;
inline constexpr int ZoomMaximum = 200;
inline constexpr int ZoomStep = 5;
inline constexpr double ZoomInPercent = 105.0;
inline constexpr double ZoomOutPercent = 95.0;

bool canZoomIn(int zoomLevel);  // below 200
bool canZoomOut(int zoomLevel); // above 100
// The counter after "+" / "-": unchanged where the step is not allowed.
int zoomedIn(int zoomLevel);
int zoomedOut(int zoomLevel);
// AdvSmoothLabel5: "105%".
QString zoomLabel(int zoomLevel);

struct AxisRange {
    double lower = 0;
    double upper = 0;
    bool operator==(const AxisRange&) const = default;
};

// Both ends move towards the centre by (upper - lower) * (percent - 100) %: 105 shows
// 90 % of the span, 95 widens it by 10 %.
AxisRange zoomed(AxisRange range, double percent);

enum class Axis { Left, Bottom, Other };

// How far the view may be panned: temperatures from -30 to 380 °C, positions from -30 to
// 30 past the last point of series 0. Axes other than these two are never held back.
inline constexpr double LeftAxisMinimum = -30;
inline constexpr double LeftAxisMaximum = 380;
inline constexpr double BottomAxisMinimum = -30;
inline constexpr double BottomAxisMargin = 30;
bool scrollAllowed(Axis axis, double newMin, double newMax, int series0PointCount);

// The readout under the pointer: the point of series 0 nearest to the bottom axis value,
// when the value lies within half a step of the drawn points.
struct Readout {
    int index = -1;      // position in series 0 and series 23; -1 for none
    QString temperature; // AdvSmoothLabel3: series 23's value and "°C"
    QString time;        // CzasLabel: the point's elapsed label
    bool operator==(const Readout&) const = default;
};

// What both readouts show away from the drawn points.
QString noReadout();
// The texts the readouts show when the window opens.
QString initialTemperatureText(); // "0.000°C"
QString initialTimeText();        // "00:00"

// The nearest point by x, found with one binary search (x grows along the series).
int nearestPoint(const ChartModel& chart, double axisValue);
Readout readoutAt(const ChartModel& chart, double axisValue, QChar decimalSeparator);
// "215,5°C" where the separator is a comma.
QString temperatureText(double value, QChar decimalSeparator);

} // namespace navigation
} // namespace kvaro
