#include "app/cataloguecontroller.h"

#include "app/progressdialog.h"
#include "app/tform1.h"
#include "app/widgets/cyclelistdelegate.h"
#include "app/widgets/timeline.h"
#include "app/windowjobs.h"
#include "app/workerthread.h"
#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "catalogue/catalogueindex.h"
#include "catalogue/cyclelist.h"
#include "catalogue/cyclelistmodel.h"
#include "catalogue/rangepicker.h"
#include "chart/openedcycle.h"
#include "store/storepaths.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include <utility>

namespace kvaro {

CatalogueController::CatalogueController(const Controls& controls, const State& state,
                                         const AppServices& services, QObject* parent,
                                         Reading reading)
    : QObject(parent), m_controls(controls), m_state(state), m_services(services),
      m_reading(reading)
{
    const Controls& c = m_controls;
    m_model = new CycleListModel(this);
    c.ListBox1->setModel(m_model);
    c.ListBox1->setItemDelegate(new CycleListDelegate(c.ListBox1));
    c.ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    c.ListBox1->setEnabled(false);
    c.DataButton->setEnabled(false);

    // The window keeps a cell for the time line; ours fills it.
    c.TimeLine->setObjectName(QStringLiteral("TimeLineCell"));
    m_timeLine = new TimeLine(c.TimeLine);
    m_timeLine->setObjectName(QStringLiteral("TimeLine"));
    // Today until a range is confirmed: where choosing an oven puts its sections.
    const QDate today = m_services.clock.today();
    const auto [start, end] = RangePicker::timeLineRange(today, today);
    m_timeLine->setRange(start, end);
    auto* cell = new QVBoxLayout(c.TimeLine);
    cell->setContentsMargins(0, 0, 0, 0);
    cell->addWidget(m_timeLine);

    m_popup = new QFrame(c.Form2, Qt::Popup);
    m_popup->setObjectName(QStringLiteral("Popup1"));
    m_popup->setFrameShape(QFrame::Box);
    auto* column = new QVBoxLayout(m_popup);
    column->setContentsMargins(0, 0, 0, 5);
    m_popupHeader = new QLabel(m_state.language.text(Text::ChooseDateRange), m_popup);
    m_popupHeader->setObjectName(QStringLiteral("Popup1Header"));
    m_popupHeader->setStyleSheet(QStringLiteral(
        "font: bold 12pt \"Tahoma\"; color: white; background: #4682b4; padding: 4px;"));
    column->addWidget(m_popupHeader);
    m_form1 = new TForm1(m_state.language, today, m_popup);
    column->addWidget(m_form1);

    connect(c.ComboPiec, qOverload<int>(&QComboBox::activated), this,
            &CatalogueController::ComboPiecItemSelected);
    connect(c.ListBox1, &QListView::clicked, this, &CatalogueController::ListBox1ItemClick);
    c.ListBox1->installEventFilter(this);
    connect(c.DataButton, &QPushButton::clicked, this, &CatalogueController::DataButtonClick);
    connect(m_form1, &TForm1::rangeConfirmed, this, &CatalogueController::AdvSmoothButton1Click);

    // A right click compares a listed cycle with the drawn one; the chart says when that
    // can be done.
    c.ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    m_listMenu = new QMenu(c.ListBox1);
    m_listMenu->setObjectName(QStringLiteral("ListBox1Menu"));
    m_compareAction = m_listMenu->addAction(m_state.language.text(Text::CompareWithDrawn));
    m_compareAction->setObjectName(QStringLiteral("CompareAction"));
    m_compareAction->setEnabled(false);
    m_removeComparisonAction = m_listMenu->addAction(m_state.language.text(Text::RemoveComparison));
    m_removeComparisonAction->setObjectName(QStringLiteral("RemoveComparisonAction"));
    m_removeComparisonAction->setEnabled(false);
    connect(c.ListBox1, &QWidget::customContextMenuRequested, this,
            &CatalogueController::ListBox1ContextMenu);
    connect(m_compareAction, &QAction::triggered, this, [this] {
        if (!m_menuCycle.isEmpty())
            emit compareRequested(m_menuCycle);
    });
    connect(m_removeComparisonAction, &QAction::triggered, this,
            &CatalogueController::removeComparisonRequested);
}

void CatalogueController::languageLoaded()
{
    m_popupHeader->setText(m_state.language.text(Text::ChooseDateRange));
    m_compareAction->setText(m_state.language.text(Text::CompareWithDrawn));
    m_removeComparisonAction->setText(m_state.language.text(Text::RemoveComparison));
    m_form1->languageLoaded();
    relabelListedCycles();
}

void CatalogueController::relabelListedCycles()
{
    QList<CycleListItem> items = m_model->items();
    if (items.isEmpty())
        return;
    for (CycleListItem& item : items) {
        const int entry = int(m_catalogue.CycleFileNames.indexOf(item.file));
        if (entry < 0)
            continue;
        item.notes = cycleNotes(m_catalogue, entry, m_state.language);
        const auto& start = m_catalogue.CycleStartStamps.value(entry);
        const auto& end = m_catalogue.CycleEndStamps.value(entry);
        if (item.section && start && end)
            item.section->hint =
                sectionHint(m_catalogue.CycleNumbers.value(entry), *start, *end, m_state.language);
    }
    // The same cycles in another language: the highlight and the scroll place stay.
    QListView* list = m_controls.ListBox1;
    const int row = list->currentIndex().row();
    const int scrolled = list->verticalScrollBar()->value();
    m_model->setItems(items);
    if (row >= 0)
        list->setCurrentIndex(m_model->index(row));
    list->verticalScrollBar()->setValue(scrolled);
    m_timeLine->clearSections();
    for (const CycleListItem& item : items) {
        if (item.section)
            m_timeLine->addSection(*item.section);
    }
}

CatalogueController::~CatalogueController()
{
    // A catalogue build stops between two files; the result is dropped with the worker.
    m_worker.reset();
}

bool CatalogueController::isBusy() const
{
    return m_worker || m_catalogueWanted || m_listingWanted;
}

void CatalogueController::ComboPiecItemSelected(int itemindex)
{
    const Controls& c = m_controls;
    if (itemindex < 0 || itemindex >= c.ComboPiec->count())
        return;
    c.ComboPiec->setCurrentIndex(itemindex);
    c.ListBox1->setEnabled(true);
    c.DataButton->setEnabled(true);
    m_model->clear();
    m_timeLine->clearSections();
    // A cycle clicked in the list just emptied is no wish any more.
    m_clickedMeanwhile.reset();
    m_chosenOven = StorePaths(m_services.storeHome).ovenFolder(c.ComboPiec->itemText(itemindex));
    m_listedFrom = m_listedTo = m_services.clock.today();
    buildChosenOven();
}

void CatalogueController::refreshChosenOven()
{
    if (!m_chosenOven.isEmpty())
        buildChosenOven();
}

void CatalogueController::buildChosenOven()
{
    m_catalogueWanted = true;
    m_listingWanted = true;
    // Whatever runs was for another oven, or for a range that is not listed now.
    if (m_worker)
        m_worker->cancel();
    proceed();
}

void CatalogueController::wczytajKalendarz(const QDate& dataOd, const QDate& dataDo)
{
    m_listedFrom = dataOd;
    m_listedTo = dataDo;
    m_listingWanted = true;
    // A catalogue under way is still the chosen oven's: the range is listed from it.
    if (m_worker && m_step == Step::Listing)
        m_worker->cancel();
    proceed();
}

void CatalogueController::proceed()
{
    if (m_worker)
        return; // its end comes back here
    if (m_job == 0 && (m_catalogueWanted || m_listingWanted))
        m_job = m_state.jobs.start();
    if (m_catalogueWanted)
        startCatalogueBuild();
    else if (m_listingWanted)
        startListing();
    else
        settle();
}

void CatalogueController::startCatalogueBuild()
{
    m_catalogueWanted = false;
    m_step = Step::Catalogue;
    if (ProgressDialog* dialog = m_state.jobs.dialog(m_job)) {
        dialog->setProgress(0);
        dialog->showCentred(m_controls.Form2);
    }

    // The worker gets copies: the window may relabel itself while it reads.
    auto build = std::make_shared<CatalogueBuild>();
    const QString ovenFolder = m_chosenOven;
    const Language language = m_state.language;
    const Clock* clock = &m_services.clock;
    const Reading reading = m_reading;
    m_worker = std::make_unique<WorkerThread>(
        [=, progress = progressPoster()](const CancelCheck& cancel) {
            *build = buildCatalogue(ovenFolder, language, *clock, progress, reading, cancel,
                                    &CatalogueIndex::user());
        },
        this, [this, build] { catalogueBuilt(std::move(*build)); });
}

void CatalogueController::startListing()
{
    m_listingWanted = false;
    m_step = Step::Listing;
    if (ProgressDialog* dialog = m_state.jobs.dialog(m_job)) {
        dialog->setProgress(0);
        // Most ranges are listed at once; a dialog that flashed by would only distract.
        dialog->showCentredAfter(ProgressDialog::ShortWorkMs, m_controls.Form2);
    }

    auto listing = std::make_shared<CycleListing>();
    const Catalogue catalogue = m_catalogue;
    const QDate from = m_listedFrom;
    const QDate to = m_listedTo;
    const Language language = m_state.language;
    const Locale* locale = &m_services.locale;
    const Reading reading = m_reading;
    m_worker = std::make_unique<WorkerThread>(
        [=, progress = progressPoster()](const CancelCheck& cancel) {
            *listing = kvaro::wczytajKalendarz(catalogue, from, to, language, *locale, reading,
                                               progress, cancel, &CatalogueIndex::user());
        },
        this, [this, listing] { listed(*listing); });
}

CatalogueProgress CatalogueController::progressPoster()
{
    m_progressDone = 0;
    const int ticket = ++m_ticket;
    return [this, ticket](int done, int total) {
        QMetaObject::invokeMethod(
            this, [this, ticket, done, total] { showProgress(ticket, done, total); },
            Qt::QueuedConnection);
    };
}

void CatalogueController::showProgress(int ticket, int done, int total)
{
    ProgressDialog* dialog = m_state.jobs.dialog(m_job);
    if (ticket != m_ticket || !m_worker || m_worker->isCancelled() || !dialog)
        return;
    // Files may be counted by several threads of the pool: the bar never runs back.
    if (done < m_progressDone)
        return;
    m_progressDone = done;
    dialog->setProgress(total > 0 ? 100.0 * done / total : 100);
}

void CatalogueController::catalogueBuilt(CatalogueBuild build)
{
    const std::unique_ptr<WorkerThread> worker = std::move(m_worker);
    worker->wait();
    if (worker->isCancelled()) {
        proceed();
        return;
    }
    m_catalogue = std::move(build.catalogue);
    if (!build.report.isEmpty()) {
        if (ProgressDialog* dialog = m_state.jobs.dialog(m_job))
            dialog->finish();
        m_services.messages.show(build.report.message());
    }
    proceed();
}

void CatalogueController::listed(const CycleListing& listing)
{
    const std::unique_ptr<WorkerThread> worker = std::move(m_worker);
    worker->wait();
    if (worker->isCancelled()) {
        proceed();
        return;
    }
    const Controls& c = m_controls;
    m_model->setItems(listing.items);
    highlightCycle(m_highlighted);
    m_timeLine->clearSections();
    for (const CycleListItem& item : listing.items) {
        if (item.section)
            m_timeLine->addSection(*item.section);
    }
    c.ListBox1Footer->setText(m_state.language.cycleCount(qsizetype(listing.items.size())));
    c.FooterConsLabel->setText(listing.footerConsLabel);
    c.DataButton->setText(listing.dataButton);
    if (!listing.report.isEmpty()) {
        if (ProgressDialog* dialog = m_state.jobs.dialog(m_job))
            dialog->finish();
        m_services.messages.show(listing.report.message());
    }
    proceed();
}

void CatalogueController::settle()
{
    if (m_job != 0)
        m_state.jobs.finish(std::exchange(m_job, 0));
    if (m_clickedMeanwhile)
        openListedCycle(*std::exchange(m_clickedMeanwhile, std::nullopt));
    emit settled();
}

void CatalogueController::ListBox1ItemClick(const QModelIndex& index)
{
    Q_UNUSED(index);
    const QModelIndex selected = m_controls.ListBox1->currentIndex();
    if (!selected.isValid() || m_model->rowCount() == 0)
        return;
    const QString file = selected.data(CycleListModel::FileNameRole).toString();
    const QString path = QDir(m_catalogue.OvenFolder).filePath(file);
    if (isBusy()) {
        m_clickedMeanwhile = path;
        return;
    }
    openListedCycle(path);
}

void CatalogueController::highlightCycle(const QString& path)
{
    m_highlighted = path;
    QListView* list = m_controls.ListBox1;
    const QList<CycleListItem>& items = m_model->items();
    for (qsizetype row = 0; !path.isEmpty() && row < items.size(); ++row) {
        const QString listed = QDir(m_catalogue.OvenFolder).filePath(items.at(row).file);
        if (QFileInfo(listed) == QFileInfo(path)) {
            list->setCurrentIndex(m_model->index(int(row)));
            return;
        }
    }
    list->selectionModel()->clear();
}

bool CatalogueController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_controls.ListBox1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool opens = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                           key->key() == Qt::Key_Space;
        if (opens && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            m_controls.ListBox1->currentIndex().isValid()) {
            ListBox1ItemClick(m_controls.ListBox1->currentIndex());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void CatalogueController::openStoredCycle(const QString& file)
{
    if (m_catalogue.OvenFolder.isEmpty())
        return;
    const QString path = QDir(m_catalogue.OvenFolder).filePath(file);
    if (isBusy()) {
        m_clickedMeanwhile = path;
        return;
    }
    openListedCycle(path);
}

void CatalogueController::openListedCycle(const QString& path)
{
    emit cycleChosen(path);
}

void CatalogueController::ListBox1ContextMenu(const QPoint& pixel)
{
    QListView* list = m_controls.ListBox1;
    const QModelIndex index = list->indexAt(pixel);
    if (!index.isValid())
        return;
    m_menuCycle =
        QDir(m_catalogue.OvenFolder).filePath(index.data(CycleListModel::FileNameRole).toString());
    // Not exec(): the window goes on with its work while the menu is open.
    m_listMenu->popup(list->viewport()->mapToGlobal(pixel));
}

void CatalogueController::DataButtonClick()
{
    const Controls& c = m_controls;
    const QRect frame = c.Form2->frameGeometry();
    const QPoint inColumn = c.DataButton->mapTo(c.DataButton->parentWidget(), QPoint(0, 0));
    const QPoint at(frame.left() + c.DataButton->width() + 5,
                    frame.top() + inColumn.y() + c.Advsmoothtabpager1->height() + 5);
    m_form1->prepareOpening(m_services.clock.today());
    m_popup->adjustSize();
    // Beside the list, but never past the screen's edge: under a window at its smallest
    // size the calendar would end below the screen, its confirm button out of reach.
    // Placed once shown, when its frame counts in its size.
    m_popup->move(at);
    m_popup->show();
    if (const QScreen* screen = c.Form2->screen()) {
        const QRect room = screen->availableGeometry();
        const QSize size = m_popup->frameGeometry().size();
        QPoint place = m_popup->pos();
        place.setX(std::max(room.left(), std::min(place.x(), room.right() + 1 - size.width())));
        place.setY(std::max(room.top(), std::min(place.y(), room.bottom() + 1 - size.height())));
        m_popup->move(place);
    }
    // Arrows and Enter pick days as clicks do, so the days take the keys from the start.
    m_form1->CalendarOd()->setFocus(Qt::PopupFocusReason);
}

void CatalogueController::AdvSmoothButton1Click(const QDate& from, const QDate& to)
{
    // Not left over the list while it is built.
    m_popup->close();
    wczytajKalendarz(from, to);
    m_timeLine->setUpdatesEnabled(false);
    const auto [start, end] = RangePicker::timeLineRange(from, to);
    m_timeLine->setRange(start, end);
    m_timeLine->setLook(TimeLine::Look{10, 7, 15, 5, 50});
    m_timeLine->setUpdatesEnabled(true);
    m_timeLine->update();
}

} // namespace kvaro
