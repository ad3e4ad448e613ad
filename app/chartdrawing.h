#pragma once

#include "app/appservices.h"
#include "app/workerthread.h"
#include "base/linebuffer.h"
#include "chart/chartloader.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "chart/openedcycle.h"

#include <QObject>
#include <QPoint>

class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;

namespace kvaro {

class ChartModel;
class ChartView;
class CursorTable;
class FilterListDelegate;
class FilterListModel;
class Language;
class PictureBox;
class StatusNote;
class WindowJobs;

// A cycle on the chart, as those who save or describe it take it: the lines drawn, with
// their file's path, and the figures the load wrote. `complete`: the load ran to the
// cycle's end, so its records can be saved as a table.
struct DrawnCycle {
    LineBuffer lines{LineBuffer::Case::Lower};
    ChartSummary summary;
    bool complete = false;
    bool stored = false; // a copy in an oven's folder of the store
};

// Drawing a cycle in the main window: the load behind an opened cycle and the summary it
// writes to the tabs, the filter list Listboxprawy with its two buttons, the zoom buttons,
// panning within bounds, the readout under the mouse and the cursors' table.
//
// It owns the cycle opened last (Memo1), the zoom level and the summary. The load runs on
// a worker thread with copies of the window's chart and filter list and an empty summary;
// one value comes back and replaces them, unless a newer cycle was opened meanwhile.
class ChartDrawing : public QObject
{
    Q_OBJECT

public:
    // The main window's controls this part drives, by their object names.
    struct Controls {
        ChartView* Chart1;
        // The summary of a drawn cycle on the tabs, and the pages that describe it.
        QTabWidget* Advsmoothtabpager1;
        QWidget* AdvSmoothTabPager11;
        QWidget* AdvSmoothTabPager12;
        QWidget* AdvSmoothTabPager13;
        QLabel* Label1;
        QLabel* Label2;
        QLabel* Label3;
        QLabel* SrRoznicaGrzania;
        QLabel* CzasOsiagnieciaLabel;
        QLabel* PalnikStatus;
        PictureBox* PalnikImg;
        PictureBox* GrodzImg;
        PictureBox* PrzewietrzanieImg;
        PictureBox* RegulacjaMocyImg;
        QProgressBar* regulacjaMocyBar;
        PictureBox* Olej;
        PictureBox* Gaz;
        PictureBox* Prad;
        PictureBox* FooterImage;
        // The filter list and its two buttons.
        QListView* Listboxprawy;
        QPushButton* AdvSmoothButton9;
        QPushButton* AdvSmoothButton10;
        // Zoom and readout.
        QPushButton* AdvSmoothButton1;
        QPushButton* AdvSmoothButton2;
        QPushButton* AdvSmoothButton3;
        QLabel* AdvSmoothLabel5;
        QLabel* AdvSmoothLabel3;
        QLabel* CzasLabel;
        // Says why the last load stopped.
        StatusNote* DolnyBarNote;
    };
    // The window's state this part draws into; the window owns it and the view shows it.
    struct State {
        const QChar& decimalSeparator;
        const Language& language;
        ChartModel& chart;
        FilterList& filters;
    };

    ChartDrawing(const Controls& controls, const State& state, const AppServices& services,
                 WindowJobs& jobs, QObject* parent);

    // The cycle opened last, drawn or being drawn (empty before the first).
    const LineBuffer& Memo1() const { return m_memo1; }
    int ZoomLevel() const { return m_zoomLevel; }
    // What the last load wrote.
    const ChartSummary& summary() const { return m_summary; }
    FilterListModel* filterModel() const { return m_filterModel; }
    // A cycle is on screen.
    bool isDrawn() const;
    bool isChartShown() const;
    // A load has been started and its answer has not come.
    bool isBusy() const { return m_job != 0; }

signals:
    // A load has taken its copies and runs aside until its result replaces the window's
    // own: what the user does to the filter list from now on is merged into it.
    void loadStarted();
    // A load's result is on screen, whole or as far as it got.
    void cycleDrawn(const kvaro::DrawnCycle& cycle);
    void drawnChanged(bool drawn);

public slots:
    // An opened cycle becomes Memo1; one that can be drawn is drawn.
    void cycleOpened(const kvaro::OpenedCycle& cycle);
    // Memo1 holds a cycle and the series are empty: load, show the figures, full view.
    void drawCycle();
    // The window emptied the chart: nothing is drawn, nothing read out.
    void chartCleared();
    void ChartZoomReset();

    void AdvSmoothButton2Click(); // "+"
    void AdvSmoothButton3Click(); // "-"
    void AdvSmoothButton1Click(); // "X"
    void Chart1MouseMove(QPoint pixel);
    void AdvSmoothButton9Click();  // "Zaznacz wsz."
    void AdvSmoothButton10Click(); // "Odznacz wsz."
    // The window was relabelled: the filter captions and the heating's arrows follow.
    void languageLoaded();

private:
    void loaded(int request, ChartLoad load);
    bool isStoredCycle() const;
    // The labels summaryLabels() fills, found by their object names.
    QList<QLabel*> summaryLabelControls() const;
    void applySummary();
    void showFilterList();
    void showZoomLevel();
    // The chart's identity line for the cycle in Memo1.
    void showIdentity();
    // The readout under the mouse describes no cycle until the mouse moves over the next.
    void clearReadouts();
    // The figures of the cursors placed on the chart; hidden while there is none.
    void showCursorTable();

    Controls m_controls;
    State m_state;
    AppServices m_services;
    WindowJobs& m_jobs;
    LineBuffer m_memo1{LineBuffer::Case::Lower};
    int m_zoomLevel = 100;
    ChartSummary m_summary;
    FilterListModel* m_filterModel;
    FilterListDelegate* m_filterDelegate;
    CursorTable* m_cursorTable;
    AsideWork m_work{this};
    int m_request = 0; // the load asked for last
    int m_job = 0;     // its job while it runs
    // The filter list as the load copied it: what the user changes meanwhile is merged.
    FilterList m_marksBefore;
    // The window was relabelled while a load ran on copies of the filter list.
    bool m_relabelledWhileLoading = false;
};

} // namespace kvaro
