#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <optional>

class QCustomPlot;
class QLabel;

namespace kvaro {

class ChartModel;
class CursorLines;
struct Comparison;

// What the pointer adds to the plot: a hair line with the value of every shown series and
// the outputs that are on beside it, and the two cursors A and B that Ctrl+click places.
class CursorOverlay : public QObject
{
    Q_OBJECT
public:
    explicit CursorOverlay(QCustomPlot* plot);

    // A new model: the cursors of the old one mean nothing for it.
    void setModel(const ChartModel* model);
    // The series' names as a person reads them; an empty one keeps the series' title.
    void setSeriesNames(const QStringList& names) { m_seriesNames = names; }
    void setTexts(QChar decimalSeparator, const QString& outputsOn);
    // A second cycle laid over the model: its series' rows show its value and the
    // difference too. nullptr for none; it stays the caller's.
    void setComparison(const Comparison* comparison);
    void setComparisonTexts(const QString& titleForm, const QString& difference);

    // The pointer at a pixel of the plot; outside the temperatures' area nothing is shown.
    void hover(QPoint pixel);
    void leave();
    // A first click places A, a second B; the next one starts a new pair at A.
    void place(QPoint pixel);
    void clearCursors();

    std::optional<double> cursorA() const { return m_a; }
    std::optional<double> cursorB() const { return m_b; }
    QLabel* readout() const { return m_readout; }

signals:
    void cursorsChanged();

private:
    QString nameOf(int series) const;
    bool inPlot(QPoint pixel) const;
    void showLines();

    QCustomPlot* m_plot;
    const ChartModel* m_model = nullptr;
    QStringList m_seriesNames;
    const Comparison* m_comparison = nullptr;
    QString m_comparedTitleForm;
    QString m_difference;
    CursorLines* m_lines; // drawn on the plot, so the copied picture carries the cursors
    QLabel* m_readout;
    QChar m_decimalSeparator = QLatin1Char('.');
    QString m_outputsOn;
    std::optional<double> m_hair;
    std::optional<double> m_a;
    std::optional<double> m_b;
};

} // namespace kvaro
