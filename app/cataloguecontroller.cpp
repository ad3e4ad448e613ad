#include "app/cataloguecontroller.h"

#include "app/msgdialog.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/widgets/cyclelistdelegate.h"
#include "app/widgets/cyclelistmodel.h"
#include "app/widgets/timeline.h"
#include "catalogue/cyclelist.h"
#include "catalogue/rangepicker.h"
#include "cycles/platform.h"
#include "store/storepaths.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kvaro
{

CatalogueController::CatalogueController(TForm2& form, Reading reading)
    : QObject(&form), m_form(form), m_reading(reading)
{
    const TForm2Controls& c = form.controls();
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
    const QDate today = form.services().clock.today();
    m_timeLine->setRange(QDateTime(today, QTime(0, 0)), QDateTime(today.addDays(1), QTime(0, 0)));
    auto* cell = new QVBoxLayout(c.TimeLine);
    cell->setContentsMargins(0, 0, 0, 0);
    cell->addWidget(m_timeLine);

    m_popup = new QFrame(&form, Qt::Popup);
    m_popup->setObjectName(QStringLiteral("Popup1"));
    m_popup->setFrameShape(QFrame::Box);
    auto* column = new QVBoxLayout(m_popup);
    column->setContentsMargins(0, 0, 0, 5);
    auto* header = new QLabel(form.text(Text::ChooseDateRange), m_popup);
    header->setObjectName(QStringLiteral("Popup1Header"));
    header->setStyleSheet(QStringLiteral(
        "font: bold 12pt \"Tahoma\"; color: white; background: #4682b4; padding: 4px;"));
    column->addWidget(header);
    m_form1 = new TForm1(form.JezykMemo(), today, m_popup);
    column->addWidget(m_form1);
    connect(&form, &TForm2::languageLoaded, header,
            [this, header] { header->setText(m_form.text(Text::ChooseDateRange)); });

    connect(c.ComboPiec, qOverload<int>(&QComboBox::activated), this,
            &CatalogueController::ComboPiecItemSelected);
    connect(c.ListBox1, &QListView::clicked, this, &CatalogueController::ListBox1ItemClick);
    connect(c.DataButton, &QPushButton::clicked, this, &CatalogueController::DataButtonClick);
    connect(m_form1, &TForm1::rangeConfirmed, this, &CatalogueController::AdvSmoothButton1Click);
}

void CatalogueController::ComboPiecItemSelected(int itemindex)
{
    const TForm2Controls& c = m_form.controls();
    if (itemindex < 0 || itemindex >= c.ComboPiec->count())
        return;
    c.ComboPiec->setCurrentIndex(itemindex);
    c.ListBox1->setEnabled(true);
    c.DataButton->setEnabled(true);
    m_model->clear();
    buildCatalogueOf(
        StorePaths(m_form.services().programFolder).ovenFolder(c.ComboPiec->itemText(itemindex)));
    const QDate today = m_form.services().clock.today();
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
    kvaro::MsgDialog* dialog = m_form.MsgDialog();
    dialog->setProgress(0);
    if (QScreen* screen = m_form.screen())
        dialog->move(screen->geometry().center() - dialog->rect().center());
    dialog->show();

    CatalogueBuild build = buildCatalogue(
        ovenFolder, m_form.JezykMemo(), m_form.services().clock,
        [dialog](int done, int total) {
            dialog->setProgress(total > 0 ? 100.0 * done / total : 100);
        },
        m_reading);
    m_catalogue = std::move(build.catalogue);
    m_form.ListBox3 = m_catalogue.ListBox3;
    dialog->close();
    if (!build.report.isEmpty())
        m_form.showMessage(build.report.message());
}

void CatalogueController::wczytajKalendarz(const QDate& dataOd, const QDate& dataDo)
{
    const TForm2Controls& c = m_form.controls();
    m_listedFrom = dataOd;
    m_listedTo = dataDo;
    const CycleListing listing = kvaro::wczytajKalendarz(
        m_catalogue, dataOd, dataDo, m_form.JezykMemo(), m_form.services().locale, m_reading);
    m_model->setItems(listing.items);
    m_timeLine->clearSections();
    for (const CycleListItem& item : listing.items) {
        if (item.section)
            m_timeLine->addSection(*item.section);
    }
    m_form.setListBox1Footer(int(listing.items.size()));
    c.FooterConsLabel->setText(listing.footerConsLabel);
    c.DataButton->setText(listing.dataButton);
    if (!listing.report.isEmpty())
        m_form.showMessage(listing.report.message());
}

void CatalogueController::ListBox1ItemClick(const QModelIndex& index)
{
    Q_UNUSED(index);
    const QModelIndex selected = m_form.controls().ListBox1->currentIndex();
    if (!selected.isValid() || m_model->rowCount() == 0)
        return;
    const QString file = selected.data(CycleListModel::FileNameRole).toString();
    // Emptied on screen too: a file too short to draw must not leave the last cycle shown.
    m_form.clearChart();
    m_form.guard([&] {
        m_form.Memo1.loadFile(QDir(m_catalogue.OvenFolder).filePath(file));
        if (m_form.Memo1.count() >= 3)
            emit m_form.cycleReadyToDraw();
        else
            m_form.showMessage(m_form.text(Text::NotDrawable));
    });
}

void CatalogueController::DataButtonClick()
{
    const TForm2Controls& c = m_form.controls();
    const QRect frame = m_form.frameGeometry();
    const QPoint inColumn = c.DataButton->mapTo(c.DataButton->parentWidget(), QPoint(0, 0));
    const QPoint at(frame.left() + c.DataButton->width() + 5,
                    frame.top() + inColumn.y() + c.Advsmoothtabpager1->height() + 5);
    m_form1->prepareOpening(m_form.services().clock.today());
    m_popup->adjustSize();
    m_popup->move(at);
    m_popup->show();
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
