#pragma once

#include <QStringList>

#include <vector>

class QCustomPlot;
class QCPAbstractPlottable;
class QCPLegend;

namespace kvaro {

// The compact legend of a picture that leaves the window (clipboard, PNG, PDF, the command
// line's PNG): there the filter list does not stand beside it to name the lines. It is
// laid into the plot's foot only while such a picture is drawn.
class ExportLegend
{
public:
    explicit ExportLegend(QCustomPlot* plot);

    // Names every visible line or area among plottables that holds data, in their order;
    // the output lanes carry their names on their own axis, the event markers their
    // pictures.
    void attach(const std::vector<QCPAbstractPlottable*>& plottables);
    void detach();
    // The entries' names, for tests.
    QStringList entries() const;
    // The entries' names and icons at this many times their usual size.
    void setTextScale(qreal scale);

private:
    QCustomPlot* m_plot;
    QCPLegend* m_legend;
    bool m_attached = false;
};

} // namespace kvaro
