#pragma once

#include "app/appservices.h"
#include "app/chartdrawing.h"
#include "app/workerthread.h"
#include "base/language.h"
#include "report/batchreport.h"
#include "report/cyclereport.h"

#include <QDate>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QPushButton;

namespace kvaro {

class BatchReportWriter;
class ChartModel;
class ChartView;
class StatusNote;
class WindowJobs;

// What leaves the window from its chart: the clipboard copy, the picture as PNG or PDF, the
// drawn cycle's records as a table, its report, and the batch report of the listed cycles;
// each through a file dialog, a note in the status bar when written and a message naming
// the file when not. The export buttons are made here; the window places them.
class ChartSaving : public QObject
{
    Q_OBJECT

public:
    struct Controls {
        ChartView* Chart1;
        QPushButton* AdvSmoothButton11; // "Kopiuj do schowka"
        StatusNote* DolnyBarNote;
    };
    struct State {
        const QChar& decimalSeparator;
        const Language& language;
        const ChartModel& chart; // the drawn cycle's, as the view shows it
    };
    // The cycles a batch report covers: those the cycle list shows, of that oven and range.
    struct BatchSource {
        QString ovenFolder;
        QDate from;
        QDate to;
        QList<BatchCycle> cycles;
    };

    ChartSaving(const Controls& controls, const State& state, const AppServices& services,
                WindowJobs& jobs, QObject* parent);
    ~ChartSaving() override;

    QPushButton* savePngButton() const { return m_savePng; }
    QPushButton* savePdfButton() const { return m_savePdf; }
    // Enabled while a cycle drawn to its end is shown: it saves that cycle's records.
    QPushButton* saveCsvButton() const { return m_saveCsv; }
    QPushButton* saveReportButton() const { return m_saveReport; }
    QPushButton* saveBatchReportButton() const { return m_saveBatchReport; }
    void setBatchSource(std::function<BatchSource()> source);
    // A table or a batch report is being made.
    bool isBusy() const { return m_csvJob != 0 || m_batch != nullptr; }

signals:
    // A save has ended: the file at path was written, or not (and said so).
    void saved(const QString& path, bool written);
    // While a batch report runs: cycles read, then cycles written, of twice the cycles.
    void batchReportProgress(int done, int total);

public slots:
    void AdvSmoothButton11Click();
    // The exports: the dialog, then the save.
    void savePngClick();
    void savePdfClick();
    void saveCsvClick();
    void saveReportClick();
    void saveBatchReportClick();
    bool saveChartPng(const QString& path);
    bool saveChartPdf(const QString& path);
    bool saveCycleReport(const QString& path);
    // The drawn cycle's records as a table, built on a worker thread; saved() follows. A
    // cycle the loader stopped on has none.
    void saveChartCsv(const QString& path);
    // The listed cycles read on a worker thread, then written a cycle at a time between the
    // window's events; saved() follows. A batch cancelled from the progress dialog writes
    // no file.
    void saveBatchReport(const QString& path);

    void cycleDrawn(const kvaro::DrawnCycle& cycle);
    // Nothing is drawn (another cycle is being opened or drawn).
    void drawnCycleGoes();
    // A chart on screen enables the PNG and PDF buttons, a drawn cycle the report button,
    // a listed cycle the batch button.
    void updateExportButtons();
    void languageLoaded();

private:
    struct Batch;
    bool chartShown() const;
    QString suggestedFileName(const QString& suffix) const;
    void exportClick(const QPushButton* button, const QString& suffix,
                     const std::function<void(const QString&)>& save);
    // A file written is named in the status bar, one not written in a message.
    bool reportSave(bool saved, const QString& path, Text savedNote);
    void showSaveCsvState();
    void showBatchProgress(int done, int total);
    void batchRead(BatchContents contents);
    void writeNextBatchCycle();
    void endBatch(bool written);

    Controls m_controls;
    State m_state;
    AppServices m_services;
    WindowJobs& m_jobs;
    QPushButton* m_savePng;
    QPushButton* m_savePdf;
    QPushButton* m_saveCsv;
    QPushButton* m_saveReport;
    QPushButton* m_saveBatchReport;
    // The cycle on the chart; its lines stay as drawn, even once the file has changed or
    // gone. None while no cycle is drawn.
    std::optional<DrawnCycle> m_drawn;
    std::function<BatchSource()> m_batchSource;
    AsideWork m_work{this};
    int m_csvJob = 0;
    std::unique_ptr<Batch> m_batch;
};

} // namespace kvaro
