#pragma once

#include "app/appservices.h"
#include "base/language.h"
#include "catalogue/catalogue.h"
#include "trend/trendbuild.h"
#include "trend/trendtable.h"

#include <QDate>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace kvaro {

class ProgressDialog;
class StatusNote;
class TrendChartView;
class WorkerThread;

// The trend of the listed cycles of an oven, in a window of its own: one figure per cycle
// (chosen in TrendFigure) drawn against the cycle's start, with its mean and the band of
// two standard deviations around it, and below it a table of every figure per cycle that
// sorts by any column and saves as a spreadsheet table.
//
// The figures need whole reads of the files: they are read on a worker thread (taken from
// the per-oven index where a file is unchanged) while a progress dialog counts the cycles;
// closing the dialog or the window stops the reading.
class TrendWindow : public QWidget
{
    Q_OBJECT

public:
    // What the trend is of: the chosen oven's catalogue and the range its list shows.
    struct Subject {
        Catalogue catalogue;
        QString oven; // as the chooser names it
        QDate from;
        QDate to;
    };

    TrendWindow(Subject subject, const Language& language, const AppServices& services,
                QWidget* parent = nullptr);
    ~TrendWindow() override;

    // Starts reading the figures; ready() follows once they are shown.
    void start();
    bool isReading() const { return bool(m_worker); }
    const QList<TrendCycle>& cycles() const { return m_trend.cycles; }
    // The table as a spreadsheet table at path; a failure is shown as a message.
    void saveCsv(const QString& path);
    // The figure drawn: a column from FirstTrendFigure on.
    TrendColumn shownFigure() const;
    // The interface language was switched: every text of the window follows.
    void setLanguage(const Language& language);

signals:
    // A point was clicked: the cycle of that file is to be drawn in the main window.
    void cycleChosen(const QString& file);
    // The figures read (or what was read of them before the reading stopped) are shown.
    void ready();

private:
    void built(Trend trend);
    void fillTable();
    void drawFigure();
    void saveCsvClicked();
    void relabel();

    Subject m_subject;
    Language m_language;
    AppServices m_services;
    Trend m_trend;
    QList<QString> m_pointFiles; // the file of each point of the chart, in key order
    QComboBox* m_figure;
    TrendChartView* m_chart;
    QTableView* m_table;
    QStandardItemModel* m_model;
    QPushButton* m_save;
    QPushButton* m_close;
    StatusNote* m_note;
    QLabel* m_figureLabel;
    ProgressDialog* m_progress;
    std::unique_ptr<WorkerThread> m_worker;
    int m_progressDone = 0;
};

} // namespace kvaro
