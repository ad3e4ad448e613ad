#include "app/chartsaving.h"

#include "app/progressdialog.h"
#include "app/widgets/statusnote.h"
#include "app/windowjobs.h"
#include "assets/assets.h"
#include "base/failure.h"
#include "base/platform.h"
#include "chart/chartmodel.h"
#include "chart/view/chartview.h"
#include "exports/cycletable.h"
#include "report/batchreport.h"
#include "report/reportdocument.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <atomic>

namespace kvaro {

namespace {

QPushButton* exportButton(const char* name)
{
    auto* button = new QPushButton;
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(picturePath(QStringLiteral("TabEksport.svg"))));
    button->setIconSize(QSize(22, 22));
    button->setMinimumSize(130, 44);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

// A batch report under way: read on a worker, then written a cycle at a time.
struct ChartSaving::Batch {
    QString path;
    int job = 0;
    int total = 0; // twice the cycles: each is read once for the cover, once for its pages
    // Copies: the window may be relabelled meanwhile.
    Language language;
    QChar separator;
    QString oven;
    QDate from;
    QDate to;
    std::shared_ptr<std::atomic<bool>> cancelled = std::make_shared<std::atomic<bool>>(false);
    std::unique_ptr<BatchReportWriter> writer;
    QMetaObject::Connection cancel;
};

ChartSaving::ChartSaving(const Controls& controls, const State& state, const AppServices& services,
                         WindowJobs& jobs, QObject* parent)
    : QObject(parent), m_controls(controls), m_state(state), m_services(services), m_jobs(jobs),
      m_savePng(exportButton("SavePngButton")), m_savePdf(exportButton("SavePdfButton")),
      m_saveCsv(exportButton("SaveCsvButton")), m_saveReport(exportButton("SaveReportButton")),
      m_saveBatchReport(exportButton("SaveBatchReportButton"))
{
    connect(m_controls.AdvSmoothButton11, &QPushButton::clicked, this,
            &ChartSaving::AdvSmoothButton11Click);
    connect(m_savePng, &QPushButton::clicked, this, &ChartSaving::savePngClick);
    connect(m_savePdf, &QPushButton::clicked, this, &ChartSaving::savePdfClick);
    connect(m_saveCsv, &QPushButton::clicked, this, &ChartSaving::saveCsvClick);
    connect(m_saveReport, &QPushButton::clicked, this, &ChartSaving::saveReportClick);
    connect(m_saveBatchReport, &QPushButton::clicked, this, &ChartSaving::saveBatchReportClick);
    showSaveCsvState();
    updateExportButtons();
    languageLoaded();
}

ChartSaving::~ChartSaving() = default;

bool ChartSaving::chartShown() const
{
    return !m_controls.Chart1->isHidden();
}

void ChartSaving::cycleDrawn(const DrawnCycle& cycle)
{
    m_drawn = cycle;
    showSaveCsvState();
    updateExportButtons();
}

void ChartSaving::drawnCycleGoes()
{
    m_drawn.reset();
    showSaveCsvState();
    updateExportButtons();
}

void ChartSaving::languageLoaded()
{
    m_savePng->setText(m_state.language.text(Text::SavePng));
    m_savePdf->setText(m_state.language.text(Text::SavePdf));
    m_saveCsv->setText(m_state.language.text(Text::SaveCsv));
    m_saveReport->setText(m_state.language.text(Text::ReportSave));
    m_saveBatchReport->setText(m_state.language.text(Text::BatchReportSave));
}

void ChartSaving::AdvSmoothButton11Click()
{
    if (!chartShown())
        return;
    QGuiApplication::clipboard()->setImage(m_controls.Chart1->grabImage());
    m_controls.DolnyBarNote->showFor(m_state.language.text(Text::ChartCopied));
}

QString ChartSaving::suggestedFileName(const QString& suffix) const
{
    const QString cycle =
        m_drawn ? QFileInfo(m_drawn->lines.fileName()).completeBaseName() : QString();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath((cycle.isEmpty() ? QStringLiteral("Kvaro") : cycle) + suffix);
}

void ChartSaving::savePngClick()
{
    exportClick(m_savePng, QStringLiteral(".png"), [this](const QString& p) { saveChartPng(p); });
}

void ChartSaving::savePdfClick()
{
    exportClick(m_savePdf, QStringLiteral(".pdf"), [this](const QString& p) { saveChartPdf(p); });
}

void ChartSaving::saveCsvClick()
{
    exportClick(m_saveCsv, QStringLiteral(".csv"), [this](const QString& p) { saveChartCsv(p); });
}

void ChartSaving::saveReportClick()
{
    if (!m_saveReport->isEnabled())
        return;
    exportClick(m_saveReport, QStringLiteral(".pdf"),
                [this](const QString& p) { saveCycleReport(p); });
}

void ChartSaving::exportClick(const QPushButton* button, const QString& suffix,
                              const std::function<void(const QString&)>& save)
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
    save(path);
}

bool ChartSaving::saveChartPng(const QString& path)
{
    return reportSave(m_controls.Chart1->savePng(path), path, Text::SavedPicture);
}

bool ChartSaving::saveChartPdf(const QString& path)
{
    return reportSave(m_controls.Chart1->savePdf(path), path, Text::SavedPicture);
}

bool ChartSaving::saveCycleReport(const QString& path)
{
    if (!m_drawn)
        return false;
    const CycleReport report = describeCycle(m_drawn->lines, m_state.chart, m_drawn->summary,
                                             m_drawn->stored, m_state.language);
    return reportSave(
        writeCycleReport(path, report, m_state.chart, m_state.language, m_state.decimalSeparator),
        path, Text::SavedReport);
}

void ChartSaving::saveChartCsv(const QString& path)
{
    if (!m_drawn || !m_drawn->complete || m_csvJob != 0) {
        emit saved(path, false);
        return;
    }
    m_csvJob = m_jobs.start();
    showSaveCsvState();
    // A cycle of a million records takes seconds; the window stays usable meanwhile. The
    // worker gets copies: the window may open another cycle or change its language.
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_work.start<std::optional<CsvTable>>(
        [cycle = OpenedCycle{m_drawn->lines, true}, language = m_state.language,
         separator = m_state.decimalSeparator](const CancelCheck&) {
            return std::optional<CsvTable>(cycleTable(cycle, language, separator));
        },
        [this, path](std::optional<CsvTable>&& table, std::exception_ptr failure) {
            QGuiApplication::restoreOverrideCursor();
            m_jobs.finish(std::exchange(m_csvJob, 0));
            showSaveCsvState();
            bool written = false;
            guarded(m_services.messages, [&] {
                if (failure)
                    std::rethrow_exception(failure);
                try {
                    table->save(path);
                    written = true;
                } catch (const WriteFailure& failure) {
                    m_services.messages.show(
                        cannotWrite(m_state.language, failure.file(), failure.reason()));
                }
            });
            if (written)
                m_controls.DolnyBarNote->showFor(
                    fillIn(m_state.language.text(Text::SavedTable), {shortPath(path)}));
            emit saved(path, written);
        });
}

void ChartSaving::showSaveCsvState()
{
    m_saveCsv->setEnabled(m_drawn && m_drawn->complete && m_csvJob == 0);
}

void ChartSaving::setBatchSource(std::function<BatchSource()> source)
{
    m_batchSource = std::move(source);
    updateExportButtons();
}

void ChartSaving::updateExportButtons()
{
    // A hidden chart has no picture to save: before the first cycle, after one that could
    // not be drawn.
    m_savePng->setEnabled(chartShown());
    m_savePdf->setEnabled(chartShown());
    m_saveReport->setEnabled(chartShown() && m_drawn && !m_state.chart.records().isEmpty());
    m_saveBatchReport->setEnabled(!m_batch && m_batchSource && !m_batchSource().cycles.isEmpty());
}

void ChartSaving::saveBatchReportClick()
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

void ChartSaving::showBatchProgress(int done, int total)
{
    if (!m_batch)
        return;
    emit batchReportProgress(done, total);
    ProgressDialog* dialog = m_jobs.dialog(m_batch->job);
    if (!dialog || total == 0)
        return;
    const int cycles = total / 2;
    const int cycle = std::min(cycles, (done >= cycles ? done - cycles : done) + 1);
    dialog->setBody(fillIn(m_batch->language.text(Text::BatchWorking),
                           {QString::number(cycle), QString::number(cycles)}));
    dialog->setProgress(100.0 * done / total);
}

void ChartSaving::saveBatchReport(const QString& path)
{
    const BatchSource source = m_batchSource ? m_batchSource() : BatchSource{};
    if (m_batch || source.cycles.isEmpty()) {
        emit saved(path, false);
        return;
    }
    m_batch = std::make_unique<Batch>();
    Batch& batch = *m_batch;
    batch.path = path;
    batch.job = m_jobs.start();
    batch.total = int(source.cycles.size()) * 2;
    batch.language = m_state.language;
    batch.separator = m_state.decimalSeparator;
    batch.oven = QDir(source.ovenFolder).dirName();
    batch.from = source.from;
    batch.to = source.to;
    updateExportButtons();
    if (ProgressDialog* dialog = m_jobs.dialog(batch.job)) {
        dialog->setCaption(m_saveBatchReport->text());
        dialog->setCancellable(true, batch.language.text(Text::Cancel));
        batch.cancel = connect(dialog, &ProgressDialog::cancelRequested, this,
                               [cancelled = batch.cancelled] { *cancelled = true; });
        showBatchProgress(0, batch.total);
        dialog->showCentred(m_controls.Chart1->window());
    }

    // The cover needs every cycle's figures before the first page: the cycles are read
    // on a worker first, their progress reaching the dialog on this thread.
    const int total = batch.total;
    m_work.start<BatchContents>(
        [this, cycles = source.cycles, separator = batch.separator, language = batch.language,
         cancelled = batch.cancelled, total](const CancelCheck& stopped) {
            return readBatch(
                cycles, CycleSource::Stored, separator, language,
                [this, total](int done, int) {
                    QMetaObject::invokeMethod(
                        this, [this, done, total] { showBatchProgress(done, total); },
                        Qt::QueuedConnection);
                },
                [&] { return *cancelled || stopped(); });
        },
        [this](BatchContents&& contents, std::exception_ptr failure) {
            if (failure) {
                guarded(m_services.messages, [&] { std::rethrow_exception(failure); });
                endBatch(false);
                return;
            }
            batchRead(std::move(contents));
        });
}

void ChartSaving::batchRead(BatchContents contents)
{
    Batch& batch = *m_batch;
    if (*batch.cancelled) {
        endBatch(false);
        return;
    }
    batch.writer = std::make_unique<BatchReportWriter>(batch.path, CycleSource::Stored,
                                                       batch.language, batch.separator);
    if (!batch.writer->begin(batch.oven, batch.from, batch.to, std::move(contents))) {
        reportSave(false, batch.path, Text::SavedReport);
        endBatch(false);
        return;
    }
    writeNextBatchCycle();
}

void ChartSaving::writeNextBatchCycle()
{
    // Pages are drawn by the chart view, which lives on this thread: one cycle at a time,
    // the window's events (a click on cancel among them) handled in between.
    Batch& batch = *m_batch;
    if (*batch.cancelled) {
        endBatch(false);
        return;
    }
    if (batch.writer->addNext()) {
        showBatchProgress(batch.total / 2 + batch.writer->done(), batch.total);
        QTimer::singleShot(0, this, &ChartSaving::writeNextBatchCycle);
        return;
    }
    const bool written = batch.writer->finish();
    reportSave(written, batch.path, Text::SavedReport);
    endBatch(written);
}

void ChartSaving::endBatch(bool written)
{
    const std::unique_ptr<Batch> batch = std::move(m_batch);
    disconnect(batch->cancel);
    m_jobs.finish(batch->job);
    updateExportButtons();
    emit saved(batch->path, written);
}

bool ChartSaving::reportSave(bool saved, const QString& path, Text savedNote)
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
