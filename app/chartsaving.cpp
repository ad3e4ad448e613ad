// The chart's saving: the picture as PNG or PDF, the records as a spreadsheet table, and
// the cycle and batch reports, each through a file dialog and a message on failure.
#include "app/chartcontroller.h"

#include "app/progressdialog.h"
#include "app/widgets/statusnote.h"
#include "app/workerthread.h"
#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/view/chartview.h"
#include "exports/cycletable.h"
#include "report/batchreport.h"
#include "report/reportdocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPushButton>
#include <QStandardPaths>

namespace kvaro {

QString ChartController::suggestedFileName(const QString& suffix) const
{
    const QString cycle = QFileInfo(m_state.Memo1.fileName()).completeBaseName();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath((cycle.isEmpty() ? QStringLiteral("Kvaro") : cycle) + suffix);
}

void ChartController::savePngClick()
{
    exportClick(m_savePng, QStringLiteral(".png"), &ChartController::saveChartPng);
}

void ChartController::savePdfClick()
{
    exportClick(m_savePdf, QStringLiteral(".pdf"), &ChartController::saveChartPdf);
}

void ChartController::saveCsvClick()
{
    exportClick(m_saveCsv, QStringLiteral(".csv"), &ChartController::saveChartCsv);
}

void ChartController::exportClick(const QPushButton* button, const QString& suffix,
                                  bool (ChartController::*save)(const QString&))
{
    if (!chartShown())
        return;
    const QString filter = suffix.mid(1).toUpper() + QStringLiteral(" (*") + suffix + u')';
    QString path = QFileDialog::getSaveFileName(m_controls.Chart1->window(), button->text(),
                                                suggestedFileName(suffix), filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    (this->*save)(path);
}

bool ChartController::saveChartPng(const QString& path)
{
    return reportSave(m_controls.Chart1->savePng(path), path, Text::SavedPicture);
}

bool ChartController::saveChartPdf(const QString& path)
{
    return reportSave(m_controls.Chart1->savePdf(path), path, Text::SavedPicture);
}

bool ChartController::saveChartCsv(const QString& path)
{
    if (!m_drawnCycle || m_savingCsv)
        return false;
    // Copies for the worker: the window may open another cycle or change its language
    // while the table is built.
    const OpenedCycle cycle{*m_drawnCycle, true};
    const Language language = m_state.language;
    const QChar separator = m_state.decimalSeparator;
    std::optional<CsvTable> table;
    m_savingCsv = true;
    showSaveCsvState();
    // A cycle of a million records takes seconds; the window stays usable meanwhile.
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    bool ended = true;
    const bool built = guarded(m_services.messages, [&] {
        ended = runAside(
            this, [&](const CancelCheck&) { table = cycleTable(cycle, language, separator); });
    });
    QGuiApplication::restoreOverrideCursor();
    if (!ended)
        return false; // the window is closing
    m_savingCsv = false;
    showSaveCsvState();
    if (!built || !table)
        return false;
    try {
        table->save(path);
    } catch (const WriteFailure& failure) {
        m_services.messages.show(cannotWrite(m_state.language, failure.file(), failure.reason()));
        return false;
    }
    m_controls.DolnyBarNote->showFor(
        fillIn(m_state.language.text(Text::SavedTable), {shortPath(path)}));
    return true;
}

void ChartController::showSaveCsvState()
{
    m_saveCsv->setEnabled(m_drawnCycle.has_value() && !m_savingCsv);
}

void ChartController::setBatchSource(std::function<BatchSource()> source)
{
    m_batchSource = std::move(source);
    updateExportButtons();
}

void ChartController::updateExportButtons()
{
    // A hidden chart has no picture to save: before the first cycle, after one that could
    // not be drawn.
    m_savePng->setEnabled(chartShown());
    m_savePdf->setEnabled(chartShown());
    m_saveReport->setEnabled(chartShown() && !m_state.chart.records().isEmpty());
    m_saveBatchReport->setEnabled(!m_batchRunning && m_batchSource &&
                                  !m_batchSource().cycles.isEmpty());
}

void ChartController::saveReportClick()
{
    if (!m_saveReport->isEnabled())
        return;
    exportClick(m_saveReport, QStringLiteral(".pdf"), &ChartController::saveCycleReport);
}

bool ChartController::saveCycleReport(const QString& path)
{
    const CycleReport report =
        describeCycle(m_state.Memo1, m_state.chart, m_summary, isStoredCycle(), m_state.language);
    return reportSave(
        writeCycleReport(path, report, m_state.chart, m_state.language, m_state.decimalSeparator),
        path, Text::SavedReport);
}

void ChartController::saveBatchReportClick()
{
    if (!m_saveBatchReport->isEnabled() || !m_batchSource)
        return;
    const BatchSource source = m_batchSource();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = QDir(source.ovenFolder).dirName() + QLatin1Char('_') +
                         source.from.toString(Qt::ISODate) + QLatin1Char('_') +
                         source.to.toString(Qt::ISODate) + QStringLiteral(".pdf");
    QString path =
        QFileDialog::getSaveFileName(m_controls.Chart1->window(), m_saveBatchReport->text(),
                                     QDir(folder).filePath(name), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    saveBatchReport(path);
}

void ChartController::showBatchProgress(int done, int total)
{
    emit batchReportProgress(done, total);
    ProgressDialog* dialog = m_controls.MsgDialog;
    if (!dialog || dialog->isHeld() || total == 0)
        return;
    const int cycles = total / 2;
    // Each cycle is read once for the cover and once for its pages.
    const int cycle = std::min(cycles, (done >= cycles ? done - cycles : done) + 1);
    dialog->setBody(fillIn(m_state.language.text(Text::BatchWorking),
                           {QString::number(cycle), QString::number(cycles)}));
    dialog->setProgress(100.0 * done / total);
}

bool ChartController::saveBatchReport(const QString& path)
{
    if (m_batchRunning || !m_batchSource)
        return false;
    const BatchSource source = m_batchSource();
    if (source.cycles.isEmpty())
        return false;
    m_batchRunning = true;
    updateExportButtons();
    const QPointer<ChartController> self(this);
    // Copies: the window may be relabelled while the worker reads.
    const Language language = m_state.language;
    const QChar separator = m_state.decimalSeparator;
    const int total = int(source.cycles.size()) * 2;

    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    const QPointer<ProgressDialog> dialog(
        m_controls.MsgDialog && !m_controls.MsgDialog->isHeld() ? m_controls.MsgDialog : nullptr);
    QMetaObject::Connection cancel;
    if (dialog) {
        dialog->setCaption(m_saveBatchReport->text());
        dialog->setCancellable(true, language.text(Text::Cancel));
        cancel = connect(dialog, &ProgressDialog::cancelRequested, this,
                         [cancelled] { *cancelled = true; });
        showBatchProgress(0, total);
        dialog->showCentred(m_controls.Chart1->window());
    }

    // The cover needs every cycle's figures before the first page: the cycles are read
    // on a worker first, their progress reaching the dialog on this thread.
    BatchContents contents;
    const bool ended = runAside(this, [&](const CancelCheck& stopped) {
        contents = readBatch(
            source.cycles, CycleSource::Stored, separator, language,
            [this, total](int done, int) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { showBatchProgress(done, total); },
                    Qt::QueuedConnection);
            },
            [&] { return *cancelled || stopped(); });
    });
    if (!ended || !self)
        return false; // the window is closing

    bool written = false;
    if (!*cancelled) {
        // Pages are drawn by the chart view, which lives on this thread: one cycle at a
        // time, the window's events (a click on cancel among them) handled in between.
        BatchReportWriter writer(path, CycleSource::Stored, language, separator);
        bool ok = writer.begin(QDir(source.ovenFolder).dirName(), source.from, source.to,
                               std::move(contents));
        while (ok && !*cancelled && writer.addNext()) {
            showBatchProgress(total / 2 + writer.done(), total);
            QCoreApplication::processEvents();
            if (!self)
                return false;
        }
        if (ok && !*cancelled) {
            written = writer.finish();
            reportSave(written, path, Text::SavedReport);
        } else if (!ok) {
            reportSave(false, path, Text::SavedReport);
        }
    }
    if (dialog) {
        disconnect(cancel);
        dialog->setCancellable(false);
        dialog->finish();
    }
    m_batchRunning = false;
    updateExportButtons();
    return written;
}

bool ChartController::reportSave(bool saved, const QString& path, Text savedNote)
{
    if (saved)
        m_controls.DolnyBarNote->showFor(
            fillIn(m_state.language.text(savedNote), {shortPath(path)}));
    else
        m_services.messages.show(
            fillIn(m_state.language.text(Text::SaveFailed), {QDir::toNativeSeparators(path)}));
    return saved;
}

} // namespace kvaro
