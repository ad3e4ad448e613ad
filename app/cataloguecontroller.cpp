#include "app/cataloguecontroller.h"

#include "app/progressdialog.h"
#include "app/tform1.h"
#include "app/widgets/cyclelistdelegate.h"
#include "app/widgets/timeline.h"
#include "catalogue/catalogueindex.h"
#include "catalogue/cyclelist.h"
#include "catalogue/cyclelistmodel.h"
#include "catalogue/rangepicker.h"
#include "chart/openedcycle.h"
#include "cycles/failure.h"
#include "cycles/language.h"
#include "cycles/platform.h"
#include "store/storepaths.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

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
    connect(c.DataButton, &QPushButton::clicked, this, &CatalogueController::DataButtonClick);
    connect(m_form1, &TForm1::rangeConfirmed, this, &CatalogueController::AdvSmoothButton1Click);
}

void CatalogueController::languageLoaded()
{
    m_popupHeader->setText(m_state.language.text(Text::ChooseDateRange));
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
    buildCatalogueOf(
        StorePaths(m_services.programFolder).ovenFolder(c.ComboPiec->itemText(itemindex)));
    const QDate today = m_services.clock.today();
    wczytajKalendarz(today, today);
}

void CatalogueController::refreshChosenOven()
{
    if (m_catalogue.OvenFolder.isEmpty())
        return;
    buildCatalogueOf(m_catalogue.OvenFolder);
    wczytajKalendarz(m_listedFrom, m_listedTo);
}

void CatalogueController::buildCatalogueOf(const QString& ovenFolder)
{
    ProgressDialog* dialog = m_controls.MsgDialog;
    dialog->setProgress(0);
    if (QScreen* screen = m_controls.Form2->screen())
        dialog->move(screen->geometry().center() - dialog->rect().center());
    dialog->show();

    CatalogueBuild build = buildCatalogue(
        ovenFolder, m_state.language, m_services.clock,
        [dialog](int done, int total) {
            dialog->setProgress(total > 0 ? 100.0 * done / total : 100);
        },
        m_reading, {}, &CatalogueIndex::user());
    m_catalogue = std::move(build.catalogue);
    dialog->close();
    if (!build.report.isEmpty())
        m_services.messages.show(build.report.message());
}

void CatalogueController::wczytajKalendarz(const QDate& dataOd, const QDate& dataDo)
{
    const Controls& c = m_controls;
    m_listedFrom = dataOd;
    m_listedTo = dataDo;
    const CycleListing listing =
        kvaro::wczytajKalendarz(m_catalogue, dataOd, dataDo, m_state.language, m_services.locale,
                                m_reading, {}, {}, &CatalogueIndex::user());
    m_model->setItems(listing.items);
    m_timeLine->clearSections();
    for (const CycleListItem& item : listing.items) {
        if (item.section)
            m_timeLine->addSection(*item.section);
    }
    c.ListBox1Footer->setText(m_state.language.cycleCount(qsizetype(listing.items.size())));
    c.FooterConsLabel->setText(listing.footerConsLabel);
    c.DataButton->setText(listing.dataButton);
    if (!listing.report.isEmpty())
        m_services.messages.show(listing.report.message());
}

void CatalogueController::ListBox1ItemClick(const QModelIndex& index)
{
    Q_UNUSED(index);
    const QModelIndex selected = m_controls.ListBox1->currentIndex();
    if (!selected.isValid() || m_model->rowCount() == 0)
        return;
    const QString file = selected.data(CycleListModel::FileNameRole).toString();
    // Emptied on screen too: a file too short to draw must not leave the last cycle shown.
    emit cycleOpening();
    guarded(m_services.messages, [&] {
        OpenedCycle opened = openCycle(QDir(m_catalogue.OvenFolder).filePath(file),
                                       CycleSource::Stored, m_services.locale.decimalSeparator());
        m_state.Memo1 = std::move(opened.lines);
        if (opened.drawable)
            emit cycleReadyToDraw();
        else
            m_services.messages.show(m_state.language.text(Text::NotDrawable));
    });
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
    m_popup->move(at);
    m_popup->show();
    // Arrows and Enter pick days as clicks do, so the days take the keys from the start.
    m_form1->CalendarOd()->setFocus(Qt::PopupFocusReason);
}

void CatalogueController::AdvSmoothButton1Click(const QDate& from, const QDate& to)
{
    wczytajKalendarz(from, to);
    m_timeLine->setUpdatesEnabled(false);
    const auto [start, end] = RangePicker::timeLineRange(from, to);
    m_timeLine->setRange(start, end);
    m_timeLine->setLook(TimeLine::Look{10, 7, 15, 5, 50});
    m_timeLine->setUpdatesEnabled(true);
    m_timeLine->update();
    m_popup->close();
}

} // namespace kvaro
