#pragma once

#include "chart/chartmodel.h"

#include <qcustomplot.h>

#include <functional>

namespace kvaro {

// The bottom axis is a record-position axis whose marks read as elapsed time. A mark stands
// at a round elapsed time (every 5 min, every 2 h, ...) chosen so that marks lie about 80 to
// 200 pixels apart, and sits at the first record whose elapsed time reaches that value: the
// records are not evenly spaced in time, so the marks need not be evenly spaced in x.
class ElapsedTicker : public QCPAxisTicker
{
public:
    // The points' labels carry the elapsed time ("mm:ss" or "hh:mm:ss").
    void setPoints(const ChartPoints& points);
    void setPoints(const QVector<ChartPoint>& points) { setPoints(ChartPoints(points)); }
    // The axis length in pixels at the next layout, asked each time the marks are made.
    void setAxisLength(std::function<double()> length) { m_axisLength = std::move(length); }

    // The round step, in seconds, for marks about minSpacing pixels apart or more when
    // spanSeconds of elapsed time cover the given pixels.
    static qint64 stepFor(double spanSeconds, double pixels, double minSpacing = 80);
    // "hh:nn:ss" of a number of seconds, hours not wrapped at a day.
    static QString format(qint64 seconds);
    // Seconds of an elapsed-time label, or -1 for a text that is none.
    static qint64 parseElapsed(const QString& label);

    // The marks for the records shown between range's ends: their x positions and labels.
    struct Tick {
        double x = 0;
        QString label;
        bool operator==(const Tick&) const = default;
    };
    QVector<Tick> ticksFor(const QCPRange& range, double pixels) const;

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks,
                  QVector<QString>* tickLabels) override;

private:
    // Per point in x order: x and the largest elapsed time up to it, so that "the first
    // record reaching a time" is one binary search even where the clock went back.
    QVector<double> m_xs;
    QVector<qint64> m_reached;
    ChartPoints m_source; // the points the marks were made from
    std::function<double()> m_axisLength;
};

} // namespace kvaro
