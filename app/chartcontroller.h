#pragma once

#include "app/appservices.h"
#include "base/language.h"
#include "base/linebuffer.h"
#include "chart/chartsummary.h"
#include "chart/comparison.h"
#include "report/cyclereport.h"

#include <QDate>
#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>
#include <optional>

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
class FilterList;
class FilterListDelegate;
class FilterListModel;
class Language;
class LineBuffer;
class PictureBox;
class ProgressDialog;
class StatusNote;

// The drawn cycle in the main window: the load behind cycleReadyToDraw and the summary it
// writes to the tabs, the filter list Listboxprawy with its two buttons, the zoom buttons,
// panning within bounds, the readout under the mouse, the clipboard copy and the PNG, PDF
// and CSV exports on the export tab. Another stored cycle can be laid over the drawn one,
// aligned at their starts, until it is removed or another cycle is drawn.
class ChartController : public QObject
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
        // Zoom, readout and copy.
        QPushButton* AdvSmoothButton1;
        QPushButton* AdvSmoothButton2;
        QPushButton* AdvSmoothButton3;
        QLabel* AdvSmoothLabel5;
        QLabel* AdvSmoothLabel3;
        QLabel* CzasLabel;
        QPushButton* AdvSmoothButton11;
        // Says what a save wrote, or why the last load stopped.
        StatusNote* DolnyBarNote;
        // Shown while a large cycle loads.
        ProgressDialog* MsgDialog;
    };
    // The window's state this part reads and writes; the window owns it.
    struct State {
        const LineBuffer& Memo1;
        int& ZoomLevel;
        const QChar& decimalSeparator;
        const Language& language;
        ChartModel& chart;
        FilterList& filters;
    };

    // The export buttons are made here; the window places them (savePngButton()).
    ChartController(const Controls& controls, const State& state, const AppServices& services,
                    QObject* parent);

    // What the last load wrote.
    const ChartSummary& summary() const { return m_summary; }
    FilterListModel* filterModel() const { return m_filterModel; }
    QPushButton* savePngButton() const { return m_savePng; }
    QPushButton* savePdfButton() const { return m_savePdf; }
    // Enabled while a cycle is drawn: it saves that cycle's records as a table.
    QPushButton* saveCsvButton() const { return m_saveCsv; }
    // The cycle laid over the drawn one, or nullptr.
    const Comparison* comparison() const { return m_comparison.get(); }
    // A cycle is on screen that another can be compared with.
    bool isDrawn() const;
    QPushButton* saveReportButton() const { return m_saveReport; }
    QPushButton* saveBatchReportButton() const { return m_saveBatchReport; }

    // The cycles a batch report covers: those the cycle list shows, of that oven and range.
    struct BatchSource {
        QString ovenFolder;
        QDate from;
        QDate to;
        QList<BatchCycle> cycles;
    };
    void setBatchSource(std::function<BatchSource()> source);

signals:
    void drawnChanged(bool drawn);
    void comparisonChanged(bool shown);
    // A load has taken its copies and runs aside until its result replaces the window's
    // own: what the user does to the filter list from now on is merged into it.
    void loadStarted();

public slots:
    // Memo1 holds a cycle and the series are empty: load, show the figures, full view.
    // The load runs on a worker thread; this returns once the cycle is drawn, or at once
    // without drawing when another cycle was opened meanwhile.
    void drawCycle();
    void ChartZoomReset();

    void AdvSmoothButton2Click(); // "+"
    void AdvSmoothButton3Click(); // "-"
    void AdvSmoothButton1Click(); // "X"
    void Chart1MouseMove(QPoint pixel);
    void AdvSmoothButton11Click(); // "Kopiuj do schowka"
    void AdvSmoothButton9Click();  // "Zaznacz wsz."
    void AdvSmoothButton10Click(); // "Odznacz wsz."
    // The window was relabelled: the filter captions and the export buttons follow.
    void languageLoaded();

    // Reads and loads a stored cycle off the window's thread, as a drawn one is, and lays it
    // over the drawn cycle, in place of any comparison shown. Returns once it is drawn, or
    // without drawing when another cycle was opened meanwhile. Failures become messages.
    void compareCycle(const QString& path);
    void removeComparison();
    // The window emptied the chart (another cycle is being opened): the table to save and
    // whatever was compared with it go too.
    void chartCleared();

    // The exports: the dialog, then the save. A failed save says which file.
    void savePngClick();
    void savePdfClick();
    bool saveChartPng(const QString& path);
    bool saveChartPdf(const QString& path);
    void saveCsvClick();
    // The drawn cycle's records as a table, built aside from the window's thread. A cycle
    // the loader stopped on says so as the load did; a file not written, which file.
    bool saveChartCsv(const QString& path);
    // The reports: the drawn cycle's, and the batch of the listed cycles, which reads the
    // cycles on a worker thread and writes a page at a time between the window's events.
    // A batch cancelled from the progress dialog writes no file.
    void saveReportClick();
    void saveBatchReportClick();
    bool saveCycleReport(const QString& path);
    bool saveBatchReport(const QString& path);
    // A chart on screen enables the PNG and PDF buttons, a drawn cycle the report button,
    // a listed cycle the batch button.
    void updateExportButtons();

signals:
    // While a batch report runs: cycles read, then cycles written, of twice the cycles.
    void batchReportProgress(int done, int total);

private:
    bool chartShown() const;
    // The cycle in Memo1 is a copy in an oven's folder of the store.
    bool isStoredCycle() const;
    void showBatchProgress(int done, int total);
    // The labels summaryLabels() fills, found by their object names.
    QList<QLabel*> summaryLabelControls() const;
    void applySummary();
    void showFilterList();
    void showZoomLevel();
    // The chart's identity line for the cycle in Memo1.
    void showIdentity();
    QString suggestedFileName(const QString& suffix) const;
    void exportClick(const QPushButton* button, const QString& suffix,
                     bool (ChartController::*save)(const QString&));
    // A file written is named in the status bar, one not written in a message.
    bool reportSave(bool saved, const QString& path, Text savedNote);
    // The readout under the mouse describes no cycle until the mouse moves over the next.
    void clearReadouts();
    // The figures of the cursors placed on the chart; hidden while there is none.
    void showCursorTable();
    void showSaveCsvState();
    void showComparisonTexts();

    Controls m_controls;
    State m_state;
    AppServices m_services;
    ChartSummary m_summary;
    FilterListModel* m_filterModel;
    FilterListDelegate* m_filterDelegate;
    QPushButton* m_savePng;
    QPushButton* m_savePdf;
    QPushButton* m_saveCsv;
    // Memo1 as it was when it was drawn, with the path of its file: the CSV export reads
    // the very lines on the chart, even once the file has changed or gone. Empty while no
    // cycle is drawn whole.
    std::optional<LineBuffer> m_drawnCycle;
    bool m_savingCsv = false;
    QPushButton* m_saveReport;
    QPushButton* m_saveBatchReport;
    std::function<BatchSource()> m_batchSource;
    bool m_batchRunning = false;
    CursorTable* m_cursorTable;
    std::unique_ptr<const Comparison> m_comparison;
    // The window was relabelled while a load ran on copies of the filter list.
    bool m_relabelledWhileLoading = false;
};

} // namespace kvaro
