#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kvaro {

class ChartModel;
class Language;
struct CursorStats;

// The figures of the two cursors over the chart's corner: the elapsed time between them
// and, per shown series, the values at A and B, their difference and the least, greatest
// and mean value between them, then the fuel or energy used. Esc or its button asks for
// the cursors to go.
class CursorTable : public QFrame
{
    Q_OBJECT
public:
    explicit CursorTable(QWidget* parent);

    void retranslate(const Language& language);
    // With only A placed the B columns stay empty.
    void showStats(const CursorStats& stats, bool hasB, const ChartModel& chart,
                   QChar decimalSeparator);

signals:
    void removeRequested();

private:
    QLabel* m_elapsed;
    QTableWidget* m_table;
    QPushButton* m_remove;
    QString m_header[4]; // series, min, max, mean
    QString m_fuelUsed;
    QString m_energyUsed;
};

} // namespace kvaro
