#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QWidget>

class QCPGraph;
class QCustomPlot;

namespace kvaro {

// One cycle's figure on a trend: when the cycle started and the figure's value.
struct TrendChartPoint {
    QDateTime start; // the controller's wall-clock time, held as UTC
    double value = 0;
};

// A level drawn across the whole trend: the figures' mean or an edge of the band around it.
struct TrendChartLevel {
    enum class Kind { Mean, Band };
    Kind kind = Kind::Mean;
    double value = 0;
    QString name; // its legend entry
};

// What the trend chart shows of one figure.
struct TrendChartData {
    QString figure;                // the points' legend entry and the left axis title
    QList<TrendChartPoint> points; // in start order
    QList<TrendChartLevel> levels; // drawn only with points
    // The days shown while there is nothing to draw.
    QDate from;
    QDate to;
};

// The trend of one figure across an oven's cycles: a point per cycle against its start,
// joined by a line, with the levels drawn across the range and a legend in a row under
// the chart. A click on a point names it by its index.
class TrendChartView : public QWidget
{
    Q_OBJECT
public:
    explicit TrendChartView(QWidget* parent = nullptr);
    ~TrendChartView() override;

    // The axis numbers with this decimal separator, as the rest of the window writes them.
    void setDecimalSeparator(QChar separator);
    // The bottom axis title; like the decimal separator, drawn from the next repaint on.
    void setStartTitle(const QString& title);
    void draw(const TrendChartData& data);

signals:
    // A point was clicked: its index in the points last drawn.
    void pointClicked(int index);

private:
    QCustomPlot* m_plot;
    QCPGraph* m_points = nullptr;
};

} // namespace kvaro
