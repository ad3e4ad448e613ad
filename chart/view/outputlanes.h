#pragma once

#include <QSharedPointer>
#include <QStringList>

#include <vector>

class QCPAbstractPlottable;
class QCPAxis;
class QCPAxisRect;
class QCPAxisTicker;
class QCPAxisTickerText;
class QCustomPlot;

namespace kvaro {

// An axis rect under the temperatures, lined up with them, whose time axis follows the
// temperatures' one (pan and zoom included) and marks its times with `time`; its left
// axis names rows by the names ticker, the first row on top. Not yet placed in a layout.
QCPAxisRect* makeFootRect(QCustomPlot* plot, QCPAxisRect* temperatures,
                          QSharedPointer<QCPAxisTicker> time,
                          QSharedPointer<QCPAxisTickerText> names);

// The output lanes at the foot of the chart: an axis rect of their own under the
// temperatures, lined up with them, whose time axis follows the temperatures' one (pan and
// zoom included) and carries the time marks; its left axis names the lanes.
class OutputLanes
{
public:
    OutputLanes(QCustomPlot* plot, QCPAxisRect* temperatures, QSharedPointer<QCPAxisTicker> time);

    QCPAxis* timeAxis() const;
    QCPAxis* laneAxis() const;
    // One lane per shown arrow series, in series order, each as high as its bar needs: the
    // lanes keep their height whatever the temperature scale or the window's size.
    void layOut(const std::vector<QCPAbstractPlottable*>& plottables);
    // The lanes' names at this many times their usual size, the lanes spaced to match.
    void setTextScale(qreal scale);
    // The names of the lanes of the last layout, top first.
    QStringList names() const;

private:
    QCPAxisRect* m_rect;
    QSharedPointer<QCPAxisTickerText> m_names;
    qreal m_pitch;
};

// The event markers of each burner on a row of their own, between the temperatures and the
// output lanes: with many burners, markers on their exchanger curves pile up. Shown only
// while asked for; otherwise out of the layout, taking no room.
class MarkerRows
{
public:
    MarkerRows(QCustomPlot* plot, QCPAxisRect* temperatures, QSharedPointer<QCPAxisTicker> time);
    ~MarkerRows();
    MarkerRows(const MarkerRows&) = delete;
    MarkerRows& operator=(const MarkerRows&) = delete;

    QCPAxis* timeAxis() const;
    QCPAxis* rowAxis() const;
    // Placed right under the temperatures, or taken out of the layout.
    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    // One row per name, top first, each high enough for a marker at its smallest.
    void layOut(const QStringList& names);
    void setTextScale(qreal scale);
    QStringList names() const { return m_shown ? m_rowNames : QStringList(); }

    static constexpr double RowPitch = 24; // pixels

private:
    QCustomPlot* m_plot;
    QCPAxisRect* m_temperatures;
    QCPAxisRect* m_rect;
    QSharedPointer<QCPAxisTickerText> m_names;
    QStringList m_rowNames;
    bool m_shown = false;
};

} // namespace kvaro
