#include "app/chartdrawing.h"

#include "app/cycleopening.h"
#include "app/progressdialog.h"
#include "app/widgets/cursortable.h"
#include "app/widgets/eventkey.h"
#include "app/widgets/filterlistdelegate.h"
#include "app/widgets/picturebox.h"
#include "app/widgets/statusnote.h"
#include "app/windowjobs.h"
#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "chart/cursorstats.h"
#include "chart/cycleidentity.h"
#include "chart/eventmarker.h"
#include "chart/filterlistmodel.h"
#include "chart/navigation.h"
#include "chart/view/chartview.h"
#include "chart/view/cursoroverlay.h"
#include "store/storepaths.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <cmath>

namespace kvaro {

ChartDrawing::ChartDrawing(const Controls& controls, const State& state,
                           const AppServices& services, WindowJobs& jobs, QObject* parent)
    : QObject(parent), m_controls(controls), m_state(state), m_services(services), m_jobs(jobs),
      m_filterModel(new FilterListModel(state.filters, state.chart, this)),
      m_filterDelegate(new FilterListDelegate(this))
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
            &ChartDrawing::showCursorTable);
    connect(m_filterModel, &FilterListModel::seriesChanged, this, &ChartDrawing::showCursorTable);
    connect(m_cursorTable, &CursorTable::removeRequested, c.Chart1->cursors(),
            &CursorOverlay::clearCursors);

    c.Chart1->setScrollPermission([this](Qt::Orientation axis, double newMin, double newMax) {
        // A compared cycle longer than the drawn one can be panned to its end.
        double extent = double(m_state.chart.at(series::T1).points.size());
        const Comparison* compared = m_controls.Chart1->comparison();
        if (const std::optional<double> last = compared ? compared->lastPosition() : std::nullopt)
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

    connect(c.AdvSmoothButton2, &QPushButton::clicked, this, &ChartDrawing::AdvSmoothButton2Click);
    connect(c.AdvSmoothButton3, &QPushButton::clicked, this, &ChartDrawing::AdvSmoothButton3Click);
    connect(c.AdvSmoothButton1, &QPushButton::clicked, this, &ChartDrawing::AdvSmoothButton1Click);
    connect(c.Chart1, &ChartView::mouseMoved, this, &ChartDrawing::Chart1MouseMove);
    connect(c.AdvSmoothButton9, &QPushButton::clicked, this, &ChartDrawing::AdvSmoothButton9Click);
    connect(c.AdvSmoothButton10, &QPushButton::clicked, this,
            &ChartDrawing::AdvSmoothButton10Click);
    languageLoaded();
}

bool ChartDrawing::isChartShown() const
{
    return !m_controls.Chart1->isHidden();
}

bool ChartDrawing::isDrawn() const
{
    return isChartShown() && !m_state.chart.records().isEmpty();
}

void ChartDrawing::cycleOpened(const OpenedCycle& cycle)
{
    m_memo1 = cycle.lines;
    if (cycle.drawable)
        drawCycle();
}

void ChartDrawing::drawCycle()
{
    emit loadStarted();
    emit drawnChanged(false);
    const int request = ++m_request;
    if (m_job != 0)
        m_jobs.finish(m_job);
    m_job = m_jobs.start();
    const int records = m_memo1.trimmedCount() - 3;
    if (ProgressDialog* dialog = m_jobs.dialog(m_job)) {
        dialog->setBusy();
        if (records > LargeCycleRecords)
            dialog->showCentred(m_controls.Chart1->window());
        else
            dialog->showCentredAfter(ProgressDialog::ShortWorkMs, m_controls.Chart1->window());
    }

    // The loader works on copies while the window goes on drawing what it holds; they
    // replace the window's own once it has ended. The figures start from the window as it
    // opens, so a load that stops part-way shows none of the last cycle's; only the chart's
    // visibility carries over, so what the load drew before it stopped stays on screen.
    ChartLoad start{m_state.chart, {}, m_state.filters, {}, {}};
    start.summary.shown.chart = m_summary.shown.chart;
    m_controls.DolnyBarNote->clearNote();
    clearReadouts();
    // The list stays clickable meanwhile; what the user changes goes into the result.
    m_marksBefore = m_state.filters;
    m_relabelledWhileLoading = false;
    m_work.start<ChartLoad>(
        [memo1 = m_memo1, language = m_state.language,
         start = std::move(start)](const CancelCheck&) mutable {
            return WczytajWykres(memo1, language, std::move(start));
        },
        [this, request](ChartLoad&& load, std::exception_ptr failure) {
            if (failure) {
                // Not a Failure of the cycle (those are in the load): the system's own.
                guarded(m_services.messages, [&] { std::rethrow_exception(failure); });
                load = {};
            }
            loaded(request, std::move(load));
        });
}

void ChartDrawing::loaded(int request, ChartLoad load)
{
    if (request != m_request)
        return; // another cycle is being drawn
    const int job = std::exchange(m_job, 0);

    load.filters.takeMarksChanged(m_marksBefore, m_state.filters, load.chart);
    m_state.chart = std::move(load.chart);
    m_summary = std::move(load.summary);
    m_state.filters = std::move(load.filters);
    if (m_relabelledWhileLoading) {
        m_state.filters.setCaptions(m_state.language);
        titleHeatingArrows(m_state.chart, m_summary.LoadedOvenKind, m_state.language);
    }
    m_jobs.finish(job);
    QStringList said = load.messages;
    try {
        load.rethrowFailure();
    } catch (const Failure& failure) {
        said.append(failure.message());
    }
    for (const QString& message : said)
        m_services.messages.show(message);
    // The chart may hold part of a cycle: why, stays in sight while it does.
    if (!load.complete() && !said.isEmpty())
        m_controls.DolnyBarNote->showUntilCleared(said.constLast());
    // A load stopped part-way keeps what it drew and wrote so far, on screen too; only a
    // load that ran to its end returns to the full view.
    applySummary();
    showFilterList();
    showIdentity();
    m_controls.Chart1->refresh();
    if (load.complete())
        ChartZoomReset();
    // Only a cycle drawn to its end has a table: the export would stop where the load did.
    emit cycleDrawn({m_memo1, m_summary,
                     load.complete() && isDrawableOvenKind(m_summary.LoadedOvenKind),
                     isStoredCycle()});
    emit drawnChanged(isDrawn());
}

void ChartDrawing::chartCleared()
{
    // A load under way was for the cycle that goes now.
    ++m_request;
    if (m_job != 0)
        m_jobs.finish(std::exchange(m_job, 0));
    m_work.cancelAll();
    clearReadouts();
    m_controls.DolnyBarNote->clearNote();
    emit drawnChanged(false);
}

QList<QLabel*> ChartDrawing::summaryLabelControls() const
{
    const Controls& c = m_controls;
    return QList<QLabel*>{
        c.Label1, c.Label2, c.Label3, c.SrRoznicaGrzania, c.CzasOsiagnieciaLabel, c.PalnikStatus};
}

void ChartDrawing::applySummary()
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
    c.PalnikImg->setVisible(shown.burners);
    c.PalnikStatus->setVisible(shown.burnerCount);
    c.GrodzImg->setVisible(shown.secondChannel);
    c.PrzewietrzanieImg->setVisible(shown.airing);
    c.RegulacjaMocyImg->setVisible(shown.powerRegulation);
    c.regulacjaMocyBar->setValue(s.powerLevel);
    c.regulacjaMocyBar->setVisible(shown.powerBar);
    c.Olej->setVisible(shown.oil);
    c.Gaz->setVisible(shown.gas);
    c.Prad->setVisible(shown.electricity);
    const QString fuel = fuelPictureName(s.fuel);
    c.FooterImage->setPicture(fuel.isEmpty() ? QString() : fuel + QStringLiteral(".svg"));
    c.FooterImage->setVisible(shown.fuelFooter);
    // Only the pages that describe a drawn cycle: disabling the whole pager would also lock
    // away the open, import and language buttons, and with them the way out.
    for (QWidget* page : {c.AdvSmoothTabPager11, c.AdvSmoothTabPager12, c.AdvSmoothTabPager13})
        c.Advsmoothtabpager1->setTabEnabled(c.Advsmoothtabpager1->indexOf(page),
                                            s.cycleTabsEnabled);
    c.Chart1->setVisible(shown.chart);
}

void ChartDrawing::showFilterList()
{
    QListView* list = m_controls.Listboxprawy;
    m_filterModel->itemsChanged();
    for (int row = 0; row < m_filterModel->rowCount(); ++row)
        list->setRowHidden(row, !m_filterModel->isShown(row));
}

void ChartDrawing::showIdentity()
{
    if (m_memo1.fileName().isEmpty()) {
        m_controls.Chart1->setIdentity(QString());
        return;
    }
    m_controls.Chart1->setIdentity(cycleIdentityLine(m_memo1, isStoredCycle(), m_state.language));
}

bool ChartDrawing::isStoredCycle() const
{
    // A file in an oven's folder of the store is named by its oven and number.
    QDir folder = QFileInfo(m_memo1.fileName()).absoluteDir();
    return folder.cdUp() && QDir(StorePaths(m_services.storeHome).storeRoot()) == folder;
}

void ChartDrawing::showZoomLevel()
{
    m_controls.AdvSmoothLabel5->setText(navigation::zoomLabel(m_zoomLevel));
}

void ChartDrawing::ChartZoomReset()
{
    m_controls.Chart1->resetZoom();
    m_zoomLevel = navigation::ZoomReset;
    showZoomLevel();
}

void ChartDrawing::AdvSmoothButton2Click()
{
    if (!isChartShown() || !navigation::canZoomIn(m_zoomLevel))
        return;
    m_controls.Chart1->zoomBy(navigation::ZoomInPercent);
    m_zoomLevel = navigation::zoomedIn(m_zoomLevel);
    showZoomLevel();
}

void ChartDrawing::AdvSmoothButton3Click()
{
    if (!isChartShown() || !navigation::canZoomOut(m_zoomLevel))
        return;
    m_controls.Chart1->zoomBy(navigation::ZoomOutPercent);
    m_zoomLevel = navigation::zoomedOut(m_zoomLevel);
    showZoomLevel();
}

void ChartDrawing::AdvSmoothButton1Click()
{
    if (isChartShown())
        ChartZoomReset();
}

void ChartDrawing::Chart1MouseMove(QPoint pixel)
{
    if (!isChartShown())
        return;
    const Controls& c = m_controls;
    const navigation::Readout readout = navigation::readoutAt(
        m_state.chart, c.Chart1->bottomValueAt(pixel.x()), m_state.decimalSeparator);
    c.AdvSmoothLabel3->setText(readout.temperature);
    c.CzasLabel->setText(readout.time);
}

void ChartDrawing::clearReadouts()
{
    m_controls.AdvSmoothLabel3->setText(navigation::noReadout());
    m_controls.CzasLabel->setText(navigation::noReadout());
}

void ChartDrawing::AdvSmoothButton9Click()
{
    m_state.filters.checkAllShown(m_state.chart);
    showFilterList();
    m_controls.Chart1->refresh();
}

void ChartDrawing::AdvSmoothButton10Click()
{
    m_state.filters.uncheckAllShown(m_state.chart);
    showFilterList();
    m_controls.Chart1->refresh();
}

void ChartDrawing::languageLoaded()
{
    m_relabelledWhileLoading = true;
    // The heating's own arrows take their names from the oven kind the load found.
    if (isDrawn()) {
        titleHeatingArrows(m_state.chart, m_summary.LoadedOvenKind, m_state.language);
        m_controls.Chart1->refresh();
    }
    // The window has set the new captions into the filter list and the chart's titles.
    m_filterModel->itemsChanged();
    m_cursorTable->retranslate(m_state.language);
    m_controls.Chart1->cursors()->setTexts(m_state.decimalSeparator,
                                           m_state.language.text(Text::ReadoutOutputsOn));
    showCursorTable();
    if (!m_controls.Chart1->identity().isEmpty())
        showIdentity();
}

void ChartDrawing::showCursorTable()
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
