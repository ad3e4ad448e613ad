#include "app/chartcontroller.h"

#include "app/cycleopening.h"
#include "app/progressdialog.h"
#include "app/widgets/cursortable.h"
#include "app/widgets/eventkey.h"
#include "app/widgets/filterlistdelegate.h"
#include "app/widgets/picturebox.h"
#include "app/widgets/statusnote.h"
#include "app/workerthread.h"
#include "assets/assets.h"
#include "base/failure.h"
#include "base/language.h"
#include "base/linebuffer.h"
#include "chart/chartloader.h"
#include "chart/comparison.h"
#include "chart/cursorstats.h"
#include "chart/cycleidentity.h"
#include "chart/eventmarker.h"
#include "chart/filterlist.h"
#include "chart/filterlistmodel.h"
#include "chart/navigation.h"
#include "chart/openedcycle.h"
#include "chart/view/chartview.h"
#include "chart/view/cursoroverlay.h"
#include "store/storepaths.h"

#include "base/platform.h"
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

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

ChartController::ChartController(const Controls& controls, const State& state,
                                 const AppServices& services, QObject* parent)
    : QObject(parent), m_controls(controls), m_state(state), m_services(services),
      m_filterModel(new FilterListModel(state.filters, state.chart, this)),
      m_filterDelegate(new FilterListDelegate(this)), m_savePng(exportButton("SavePngButton")),
      m_savePdf(exportButton("SavePdfButton")), m_saveCsv(exportButton("SaveCsvButton")),
      m_saveReport(exportButton("SaveReportButton")),
      m_saveBatchReport(exportButton("SaveBatchReportButton"))
{
    const Controls& c = m_controls;

    // Texts that come from the cycle file are never read as markup.
    for (QLabel* label : summaryLabelControls())
        label->setTextFormat(Qt::PlainText);
    for (QLabel* label : {c.AdvSmoothLabel3, c.CzasLabel})
        label->setTextFormat(Qt::PlainText);

    c.Listboxprawy->setModel(m_filterModel);
    c.Listboxprawy->setItemDelegate(m_filterDelegate);
    c.Listboxprawy->setSelectionMode(QAbstractItemView::NoSelection);
    c.Listboxprawy->setMouseTracking(true);
    c.Listboxprawy->viewport()->setAttribute(Qt::WA_Hover);
    c.Listboxprawy->setUniformItemSizes(false);
    showFilterList();
    connect(m_filterModel, &FilterListModel::seriesChanged, c.Chart1, &ChartView::refresh);

    m_cursorTable = new CursorTable(c.Chart1);
    // Below the title and the identity line, so the picture still says which cycle it is.
    m_cursorTable->move(70, 62);
    connect(c.Chart1->cursors(), &CursorOverlay::cursorsChanged, this,
            &ChartController::showCursorTable);
    connect(m_filterModel, &FilterListModel::seriesChanged, this,
            &ChartController::showCursorTable);
    connect(m_cursorTable, &CursorTable::removeRequested, c.Chart1->cursors(),
            &CursorOverlay::clearCursors);

    c.Chart1->setScrollPermission([this](Qt::Orientation axis, double newMin, double newMax) {
        // A compared cycle longer than the drawn one can be panned to its end.
        double extent = double(m_state.chart.at(series::T1).points.size());
        if (const std::optional<double> last =
                m_comparison ? m_comparison->lastPosition() : std::nullopt)
            extent = std::max(extent, std::ceil(*last) + 1);
        return navigation::scrollAllowed(axis == Qt::Vertical ? navigation::Axis::Left
                                                              : navigation::Axis::Bottom,
                                         newMin, newMax, int(extent));
    });
    c.Chart1->setMarkerTip([this](int series, const ChartBubble& marker) {
        const std::optional<BurnerEvent> event = burnerEventOf(series);
        return event ? eventTooltip(m_state.language, *event, marker) : QString();
    });
    connect(m_filterDelegate, &FilterListDelegate::eventKeyRequested, this, [this] {
        auto* key = new EventKey(m_state.language, m_controls.Listboxprawy->window());
        key->setAttribute(Qt::WA_DeleteOnClose);
        key->show();
    });

    connect(c.AdvSmoothButton2, &QPushButton::clicked, this,
            &ChartController::AdvSmoothButton2Click);
    connect(c.AdvSmoothButton3, &QPushButton::clicked, this,
            &ChartController::AdvSmoothButton3Click);
    connect(c.AdvSmoothButton1, &QPushButton::clicked, this,
            &ChartController::AdvSmoothButton1Click);
    connect(c.Chart1, &ChartView::mouseMoved, this, &ChartController::Chart1MouseMove);
    connect(c.AdvSmoothButton11, &QPushButton::clicked, this,
            &ChartController::AdvSmoothButton11Click);
    connect(c.AdvSmoothButton9, &QPushButton::clicked, this,
            &ChartController::AdvSmoothButton9Click);
    connect(c.AdvSmoothButton10, &QPushButton::clicked, this,
            &ChartController::AdvSmoothButton10Click);

    connect(m_savePng, &QPushButton::clicked, this, &ChartController::savePngClick);
    connect(m_savePdf, &QPushButton::clicked, this, &ChartController::savePdfClick);
    connect(m_saveCsv, &QPushButton::clicked, this, &ChartController::saveCsvClick);
    showSaveCsvState();
    connect(m_saveReport, &QPushButton::clicked, this, &ChartController::saveReportClick);
    connect(m_saveBatchReport, &QPushButton::clicked, this, &ChartController::saveBatchReportClick);
    updateExportButtons();
    languageLoaded();
}

bool ChartController::chartShown() const
{
    return !m_controls.Chart1->isHidden();
}

bool ChartController::isDrawn() const
{
    return chartShown() && !m_state.chart.records().isEmpty();
}

void ChartController::drawCycle()
{
    // What was compared with the last cycle says nothing about this one.
    removeComparison();
    updateExportButtons();
    emit drawnChanged(false);
    const int turn = cycleturn::take();
    const int records = m_state.Memo1.trimmedCount() - 3;
    // A dialog an import holds goes on showing the import.
    const QPointer<ProgressDialog> dialog(
        m_controls.MsgDialog && !m_controls.MsgDialog->isHeld() ? m_controls.MsgDialog : nullptr);
    if (dialog) {
        dialog->setBusy();
        if (records > LargeCycleRecords)
            dialog->showCentred(m_controls.Chart1->window());
        else
            dialog->showCentredAfter(ProgressDialog::ShortWorkMs, m_controls.Chart1->window());
    }

    // The loader works on copies while the window goes on drawing what it holds; they
    // replace the window's own once it has ended. Messages wait for that moment too.
    struct Load {
        LineBuffer memo1;
        Language language;
        ChartModel chart;
        ChartSummary summary;
        FilterList filters;
        RecordingMessages messages;
        bool loaded = false;
    };
    // The figures start from the window as it opens, so a load that stops part-way shows
    // none of the last cycle's; only the chart's visibility carries over, so what the load
    // drew before it stopped stays on screen.
    ChartSummary summary;
    summary.shown.Chart1 = m_summary.shown.Chart1;
    Load load{m_state.Memo1, m_state.language, m_state.chart, summary, m_state.filters, {}};
    m_controls.DolnyBarNote->clearNote();
    clearReadouts();
    // The list stays clickable meanwhile; what the user changes goes into the result.
    const FilterList marksBefore = m_state.filters;
    m_relabelledWhileLoading = false;
    emit loadStarted();
    const bool ended = runAside(this, [&load](const CancelCheck&) {
        load.loaded = guarded(load.messages, [&load] {
            WczytajWykres(load.memo1, load.language, load.chart, load.summary, load.filters,
                          load.messages);
        });
    });
    if (!ended || !cycleturn::isLatest(turn))
        return; // the window is closing, or another cycle is being drawn
    if (dialog)
        dialog->finish();

    load.filters.takeMarksChanged(marksBefore, m_state.filters, load.chart);
    m_state.chart = std::move(load.chart);
    m_summary = std::move(load.summary);
    // Only a cycle drawn to its end has a table: the export would stop where the load did.
    if (load.loaded && isDrawableOvenKind(m_summary.LoadedOvenKind))
        m_drawnCycle = std::move(load.memo1);
    else
        m_drawnCycle.reset();
    showSaveCsvState();
    m_state.filters = std::move(load.filters);
    if (m_relabelledWhileLoading) {
        m_state.filters.setCaptions(m_state.language);
        titleHeatingArrows(m_state.chart, m_summary.LoadedOvenKind, m_state.language);
    }
    for (const QString& message : load.messages.texts())
        m_services.messages.show(message);
    // The chart may hold part of a cycle: why, stays in sight while it does.
    if (!load.loaded && !load.messages.texts().isEmpty())
        m_controls.DolnyBarNote->showUntilCleared(load.messages.texts().constLast());
    // A load stopped part-way keeps what it drew and wrote so far, on screen too; only a
    // load that ran to its end returns to the full view.
    applySummary();
    showFilterList();
    showIdentity();
    m_controls.Chart1->refresh();
    if (load.loaded)
        ChartZoomReset();
    updateExportButtons();
    emit drawnChanged(isDrawn());
}

void ChartController::compareCycle(const QString& path)
{
    if (!isDrawn())
        return;
    guarded(m_services.messages, [&] {
        const std::optional<OpenedCycle> opened =
            openCycleAside(this, path, CycleSource::Stored, m_state.decimalSeparator,
                           m_controls.MsgDialog, m_controls.Chart1->window());
        if (!opened)
            return; // another cycle was opened meanwhile, or the window is closing
        if (!opened->drawable) {
            m_services.messages.show(m_state.language.text(Text::NotDrawable));
            return;
        }

        // Loaded as a drawn cycle is, into a chart of its own; the window's filter list and
        // summary stay the drawn cycle's.
        const int turn = cycleturn::take();
        const QPointer<ProgressDialog> dialog(
            m_controls.MsgDialog && !m_controls.MsgDialog->isHeld() ? m_controls.MsgDialog
                                                                    : nullptr);
        if (dialog) {
            dialog->setBusy();
            dialog->showCentredAfter(ProgressDialog::ShortWorkMs, m_controls.Chart1->window());
        }
        struct Load {
            const LineBuffer& memo1;
            Language language;
            ChartModel chart;
            ChartSummary summary;
            FilterList filters;
            RecordingMessages messages;
        };
        Load load{opened->lines, m_state.language, {}, {}, {}, {}};
        const bool ended = runAside(this, [&load](const CancelCheck&) {
            guarded(load.messages, [&load] {
                WczytajWykres(load.memo1, load.language, load.chart, load.summary, load.filters,
                              load.messages);
            });
        });
        if (!ended || !cycleturn::isLatest(turn))
            return;
        if (dialog)
            dialog->finish();
        for (const QString& message : load.messages.texts())
            m_services.messages.show(message);
        if (!isDrawn())
            return;
        auto comparison = std::make_unique<const Comparison>(
            compareCycles(m_state.chart, load.chart, cycleNumberOf(path)));
        // The view lets go of the old comparison before it is destroyed.
        m_controls.Chart1->setComparison(comparison.get());
        m_comparison = std::move(comparison);
        emit comparisonChanged(true);
    });
}

void ChartController::removeComparison()
{
    if (!m_comparison)
        return;
    m_controls.Chart1->setComparison(nullptr);
    m_comparison.reset();
    emit comparisonChanged(false);
}

void ChartController::chartCleared()
{
    // Nothing is drawn: no table to save, nothing to compare with, nothing to read out.
    m_drawnCycle.reset();
    clearReadouts();
    m_controls.DolnyBarNote->clearNote();
    showSaveCsvState();
    removeComparison();
    emit drawnChanged(false);
}

void ChartController::showComparisonTexts()
{
    m_controls.Chart1->setComparisonTexts(m_state.language.text(Text::ComparedSeries),
                                          m_state.language.text(Text::ReadoutDifference));
}

QList<QLabel*> ChartController::summaryLabelControls() const
{
    const Controls& c = m_controls;
    return QList<QLabel*>{
        c.Label1, c.Label2, c.Label3, c.SrRoznicaGrzania, c.CzasOsiagnieciaLabel, c.PalnikStatus};
}

void ChartController::applySummary()
{
    const Controls& c = m_controls;
    const ChartSummary& s = m_summary;
    for (const SummaryLabel& text : summaryLabels(s)) {
        for (QLabel* label : summaryLabelControls()) {
            if (label->objectName() == text.objectName)
                label->setText(text.text);
        }
    }

    const SummaryShown& shown = s.shown;
    c.PalnikImg->setVisible(shown.PalnikImg);
    c.PalnikStatus->setVisible(shown.PalnikStatus);
    c.GrodzImg->setVisible(shown.GrodzImg);
    c.PrzewietrzanieImg->setVisible(shown.PrzewietrzanieImg);
    c.RegulacjaMocyImg->setVisible(shown.RegulacjaMocyImg);
    c.regulacjaMocyBar->setValue(s.powerLevel);
    c.regulacjaMocyBar->setVisible(shown.regulacjaMocyBar);
    c.Olej->setVisible(shown.Olej);
    c.Gaz->setVisible(shown.Gaz);
    c.Prad->setVisible(shown.Prad);
    const QString fuel = fuelPictureName(s.fuel);
    c.FooterImage->setPicture(fuel.isEmpty() ? QString() : fuel + QStringLiteral(".svg"));
    c.FooterImage->setVisible(shown.FooterImage);
    // Only the pages that describe a drawn cycle: disabling the whole pager would also lock
    // away the open, import and language buttons, and with them the way out.
    for (QWidget* page : {c.AdvSmoothTabPager11, c.AdvSmoothTabPager12, c.AdvSmoothTabPager13})
        c.Advsmoothtabpager1->setTabEnabled(c.Advsmoothtabpager1->indexOf(page),
                                            s.cycleTabsEnabled);
    c.Chart1->setVisible(shown.Chart1);
}

void ChartController::showFilterList()
{
    QListView* list = m_controls.Listboxprawy;
    m_filterModel->itemsChanged();
    for (int row = 0; row < m_filterModel->rowCount(); ++row)
        list->setRowHidden(row, !m_filterModel->isShown(row));
}

void ChartController::showIdentity()
{
    const QString path = m_state.Memo1.fileName();
    if (path.isEmpty()) {
        m_controls.Chart1->setIdentity(QString());
        return;
    }
    m_controls.Chart1->setIdentity(
        cycleIdentityLine(m_state.Memo1, isStoredCycle(), m_state.language));
}

bool ChartController::isStoredCycle() const
{
    // A file in an oven's folder of the store is named by its oven and number.
    QDir folder = QFileInfo(m_state.Memo1.fileName()).absoluteDir();
    return folder.cdUp() && QDir(StorePaths(m_services.storeHome).storeRoot()) == folder;
}

void ChartController::showZoomLevel()
{
    m_controls.AdvSmoothLabel5->setText(navigation::zoomLabel(m_state.ZoomLevel));
}

void ChartController::ChartZoomReset()
{
    m_controls.Chart1->resetZoom();
    m_state.ZoomLevel = navigation::ZoomReset;
    showZoomLevel();
}

void ChartController::AdvSmoothButton2Click()
{
    if (!chartShown() || !navigation::canZoomIn(m_state.ZoomLevel))
        return;
    m_controls.Chart1->zoomBy(navigation::ZoomInPercent);
    m_state.ZoomLevel = navigation::zoomedIn(m_state.ZoomLevel);
    showZoomLevel();
}

void ChartController::AdvSmoothButton3Click()
{
    if (!chartShown() || !navigation::canZoomOut(m_state.ZoomLevel))
        return;
    m_controls.Chart1->zoomBy(navigation::ZoomOutPercent);
    m_state.ZoomLevel = navigation::zoomedOut(m_state.ZoomLevel);
    showZoomLevel();
}

void ChartController::AdvSmoothButton1Click()
{
    if (chartShown())
        ChartZoomReset();
}

void ChartController::Chart1MouseMove(QPoint pixel)
{
    if (!chartShown())
        return;
    const Controls& c = m_controls;
    const navigation::Readout readout = navigation::readoutAt(
        m_state.chart, c.Chart1->bottomValueAt(pixel.x()), m_state.decimalSeparator);
    c.AdvSmoothLabel3->setText(readout.temperature);
    c.CzasLabel->setText(readout.time);
}

void ChartController::AdvSmoothButton11Click()
{
    if (!chartShown())
        return;
    QGuiApplication::clipboard()->setImage(m_controls.Chart1->grabImage());
    m_controls.DolnyBarNote->showFor(m_state.language.text(Text::ChartCopied));
}

void ChartController::clearReadouts()
{
    m_controls.AdvSmoothLabel3->setText(navigation::noReadout());
    m_controls.CzasLabel->setText(navigation::noReadout());
}

void ChartController::AdvSmoothButton9Click()
{
    m_state.filters.checkAllShown(m_state.chart);
    showFilterList();
    m_controls.Chart1->refresh();
}

void ChartController::AdvSmoothButton10Click()
{
    m_state.filters.uncheckAllShown(m_state.chart);
    showFilterList();
    m_controls.Chart1->refresh();
}

void ChartController::languageLoaded()
{
    m_relabelledWhileLoading = true;
    // The heating's own arrows take their names from the oven kind the load found.
    if (isDrawn()) {
        titleHeatingArrows(m_state.chart, m_summary.LoadedOvenKind, m_state.language);
        m_controls.Chart1->refresh();
    }
    // The window has set the new captions into the filter list and the chart's titles;
    // the export buttons carry texts of their own.
    m_filterModel->itemsChanged();
    m_savePng->setText(m_state.language.text(Text::SavePng));
    m_savePdf->setText(m_state.language.text(Text::SavePdf));
    m_saveCsv->setText(m_state.language.text(Text::SaveCsv));
    m_saveReport->setText(m_state.language.text(Text::ReportSave));
    m_saveBatchReport->setText(m_state.language.text(Text::BatchReportSave));
    m_cursorTable->retranslate(m_state.language);
    showComparisonTexts();
    m_controls.Chart1->cursors()->setTexts(m_state.decimalSeparator,
                                           m_state.language.text(Text::ReadoutOutputsOn));
    showCursorTable();
    if (!m_controls.Chart1->identity().isEmpty())
        showIdentity();
}

void ChartController::showCursorTable()
{
    const CursorOverlay* cursors = m_controls.Chart1->cursors();
    const auto a = cursors->cursorA();
    if (!a) {
        m_cursorTable->hide();
        return;
    }
    const auto b = cursors->cursorB();
    m_cursorTable->showStats(cursorStats(m_state.chart, *a, b.value_or(*a)), b.has_value(),
                             m_state.chart, m_state.decimalSeparator);
}

} // namespace kvaro
