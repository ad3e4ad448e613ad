#include "../catalogue/fixtures.h"
#include "tests/app/windowfixture.h"
#include "tests/testfiles.h"

#include "app/appservices.h"
#include "app/cataloguecontroller.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/widgets/cyclelistdelegate.h"
#include "app/widgets/timeline.h"
#include "app/windowparts.h"
#include "base/platform.h"
#include "catalogue/cyclelistmodel.h"
#include "catalogue/rangepicker.h"
#include "chart/navigation.h"
#include "store/drives.h"
#include "store/mountwatch.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <memory>

using kvaro::testing::numberedText;

using namespace kvaro;
using fixtures::first;
using fixtures::header;
using fixtures::record;

namespace {

// Two ovens, the first with four cycles of which one cannot be drawn.
struct Machine : kvaro::testing::WindowMachine {
    Machine()
    {
        kvaro::testing::writeFile(working("PL.dat"),
                                  kvaro::testing::numberedLanguage(QStringLiteral("T%1"), 46));
        const auto cycle = [&](const QString& oven, const QString& name, const QString& day,
                               const QString& fuel) {
            fixtures::writeLines(program("Data/" + oven + "/" + name),
                                 {header(), first("8", "5", fixtures::startDate("24", "5", day)),
                                  record({{field::Hour, "9"}, {field::Minute, "0"}}),
                                  fixtures::end("10", "2", "7", fuel)});
        };
        cycle("1000001", "P1.csv", "7", "1,5");
        cycle("1000001", "P2.csv", "7", "2,27");
        cycle("1000001", "P3.csv", "3", "1");
        fixtures::writeLines(program("Data/1000001/P4.csv"),
                             {header(), first("8", "5", fixtures::startDate("24", "5", "7"))});
        cycle("1000002", "P9.csv", "7", "4");
    }
};

// The first oven chosen and the date-range popup opened by a click on its button.
CatalogueController* openPicker(TForm2& form)
{
    auto* controller = attachCatalogue(form);
    controller->ComboPiecItemSelected(0);
    // What the caller asserts fails too when the list does not come.
    kvaro::testing::settle(controller);
    QTest::mouseClick(form.findChild<QPushButton*>("DataButton"), Qt::LeftButton);
    return controller;
}

// Runs a test in another time zone and puts the old one back; an empty name changes nothing.
class TimeZone
{
public:
    explicit TimeZone(const QByteArray& zone) : m_changed(!zone.isEmpty())
    {
        if (!m_changed)
            return;
        m_had = qEnvironmentVariableIsSet("TZ");
        m_old = qgetenv("TZ");
        qputenv("TZ", zone);
        apply();
    }
    ~TimeZone()
    {
        if (!m_changed)
            return;
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        apply();
    }
    TimeZone(const TimeZone&) = delete;
    TimeZone& operator=(const TimeZone&) = delete;

private:
    static void apply()
    {
#ifdef Q_OS_WIN
        _tzset();
#else
        tzset();
#endif
    }
    bool m_changed;
    bool m_had = false;
    QByteArray m_old;
};

} // namespace

class TestCatalogueWindow : public QObject
{
    Q_OBJECT

private slots:
    void choosingAnOvenListsToday();
    void clickingACycleAsksToDrawIt();
    void clickedCycleIsDrawnInTheWholeWindow();
    void pickerListsTheConfirmedRange();
    void pickerTakesTheKeyboard();
    void timeLineFindsSectionsAndSteps();
    void timeLineDivisions_data();
    void timeLineDivisions();
};

void TestCatalogueWindow::choosingAnOvenListsToday()
{
    Machine machine;
    auto form = machine.start();
    auto* controller = attachCatalogue(*form);
    auto* combo = form->findChild<QComboBox*>("ComboPiec");
    auto* list = form->findChild<QListView*>("ListBox1");
    QVERIFY(!list->isEnabled());
    QCOMPARE(combo->count(), 2);
    controller->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(controller));
    QVERIFY(list->isEnabled());
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(form->findChild<QLabel*>("FooterConsLabel")->text(), "3,77");
    QCOMPARE(form->findChild<QPushButton*>("DataButton")->text(), "07.05.2024 - 07.05.2024");
    auto* timeLine = form->findChild<TimeLine*>("TimeLine");
    QCOMPARE(timeLine->sections().size(), 3); // P4 starts and ends at 8:05
    QCOMPARE(timeLine->sections().first().hint, "(nr 1) 08:05 – 10:02");
    QVERIFY(machine.messages.texts().isEmpty());

    // The items fit the list's column, however wide the window: their texts wrap, and
    // there is nothing to scroll sideways to. An item asked for its size before the list
    // knows it (an empty rectangle) takes the list's width too.
    for (const QSize size : {QSize(1117, 830), QSize(1024, 720), QSize(1600, 900)}) {
        form->resize(size);
        QCoreApplication::processEvents();
        QVERIFY(!list->horizontalScrollBar()->isVisible());
        QStyleOptionViewItem unsized;
        unsized.widget = list;
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            QVERIFY(list->viewport()->rect().contains(list->visualRect(index)));
            QCOMPARE(list->itemDelegate()->sizeHint(unsized, index).width(),
                     list->viewport()->width());
        }
    }

    controller->ComboPiecItemSelected(1);
    QVERIFY(kvaro::testing::settle(controller));
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(timeLine->sections().size(), 1);
    QCOMPARE(timeLine->sections().first().hint, "(nr 9) 08:05 – 10:02");
}

void TestCatalogueWindow::clickingACycleAsksToDrawIt()
{
    Machine machine;
    auto form = machine.start();
    auto* controller = attachCatalogue(*form);
    controller->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(controller));
    auto* list = form->findChild<QListView*>("ListBox1");
    QSignalSpy opened(&form->opener(), &CycleOpener::opened);
    const auto click = [&](int row) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        QVERIFY(kvaro::testing::settle(form));
    };
    click(0);
    QCOMPARE(kvaro::testing::drawableCount(opened), 1);
    QCOMPARE(kvaro::testing::openedCycle(opened, 0).lines.count(), 4);
    click(2); // P4.csv: two lines only
    QCOMPARE(kvaro::testing::drawableCount(opened), 1);
    QCOMPARE(machine.messages.texts(), QStringList{numberedText(Text::NotDrawable)});
}

// The list and the chart are separate parts: only the window's wiring takes a clicked
// cycle to the chart, and empties the chart for a file too short to draw.
void TestCatalogueWindow::clickedCycleIsDrawnInTheWholeWindow()
{
    Machine machine;
    auto form = machine.start();
    attachWindowParts(*form, std::make_unique<FakeDrives>(QStringList{}),
                      std::make_unique<MountWatch>());
    auto* catalogue = form->findChild<CatalogueController*>();
    QVERIFY(catalogue);
    catalogue->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(catalogue));
    auto* list = form->findChild<QListView*>("ListBox1");
    const auto click = [&](int row) {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        QVERIFY(kvaro::testing::settle(list));
    };
    click(0);
    QVERIFY(!form->chartModel().at(series::T1).points.empty());
    QCOMPARE(form->findChild<QLabel*>("AdvSmoothLabel5")->text(), navigation::zoomLabel(100));
    click(2); // P4.csv: two lines only
    QVERIFY(form->chartModel().at(series::T1).points.empty());
    QCOMPARE(machine.messages.texts(), QStringList{numberedText(Text::NotDrawable)});
}

void TestCatalogueWindow::pickerListsTheConfirmedRange()
{
    Machine machine;
    auto form = machine.start();
    auto* controller = openPicker(*form);
    QFrame* popup = controller->Popup1();
    QVERIFY(popup->isVisible());
    auto* calendar = popup->findChild<QCalendarWidget*>("CalendarOd");
    QCOMPARE(calendar->maximumDate(), QDate(2024, 5, 7));
    TForm1* picker = controller->form1();
    picker->CalendarOdSelectDate(QDate(2024, 5, 8)); // after today: refused
    QCOMPARE(picker->picker().RangeClickState(), 0);
    picker->CalendarOdSelectDate(QDate(2024, 5, 7));
    QCOMPARE(popup->findChild<QLabel*>("CalendarOdFooter")->text(),
             numberedText(Text::ChooseLastDay));
    picker->CalendarOdSelectDate(QDate(2024, 5, 3));
    QCOMPARE(popup->findChild<QLabel*>("CalendarOdFooter")->text(),
             numberedText(Text::ChooseFirstDay));
    QTest::mouseClick(popup->findChild<QPushButton*>("AdvSmoothButton1"), Qt::LeftButton);
    QVERIFY(kvaro::testing::settle(popup));
    QVERIFY(!popup->isVisible());
    QCOMPARE(form->findChild<QListView*>("ListBox1")->model()->rowCount(), 4);
    QCOMPARE(form->findChild<QPushButton*>("DataButton")->text(), "03.05.2024 - 07.05.2024");
    auto* timeLine = controller->timeLine();
    QCOMPARE(timeLine->rangeStart(), QDateTime(QDate(2024, 5, 3), QTime(0, 0)));
    QCOMPARE(timeLine->rangeEnd(), QDateTime(QDate(2024, 5, 8), QTime(0, 0)));
    QCOMPARE(timeLine->sections().size(), 4);
}

void TestCatalogueWindow::pickerTakesTheKeyboard()
{
    Machine machine;
    auto form = machine.start();
    auto* controller = openPicker(*form);
    QFrame* popup = controller->Popup1();
    auto* calendar = popup->findChild<QCalendarWidget*>("CalendarOd");
    auto* days = calendar->findChild<QAbstractItemView*>();
    const RangePicker& picker = controller->form1()->picker();
    auto* footer = popup->findChild<QLabel*>("CalendarOdFooter");
    QCOMPARE(calendar->selectedDate(), QDate(2024, 5, 7));
    QCOMPARE(popup->focusWidget(), days); // the keys reach the days without a click first

    // Arrows only move the cursor; Enter clicks the day under it.
    QTest::keyClick(days, Qt::Key_Left);
    QTest::keyClick(days, Qt::Key_Up);
    QCOMPARE(picker.RangeClickState(), 0);
    QTest::keyClick(days, Qt::Key_Return);
    QCOMPARE(picker.RangeClickState(), 1);
    QCOMPARE(picker.RangeFirstDate(), QDate(2024, 4, 29));
    QCOMPARE(footer->text(), numberedText(Text::ChooseLastDay));

    // Past the latest day the cursor stays on it.
    QTest::keyClick(days, Qt::Key_Down);
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Enter);
    QCOMPARE(picker.RangeClickState(), 0);
    QCOMPARE(picker.rangeStart(), QDate(2024, 4, 29));
    QCOMPARE(picker.rangeEnd(), QDate(2024, 5, 7));
    QCOMPARE(footer->text(), numberedText(Text::ChooseFirstDay));

    QTest::mouseClick(popup->findChild<QPushButton*>("AdvSmoothButton1"), Qt::LeftButton);
    QVERIFY(kvaro::testing::settle(popup));
    QCOMPARE(form->findChild<QPushButton*>("DataButton")->text(), "29.04.2024 - 07.05.2024");
}

void TestCatalogueWindow::timeLineFindsSectionsAndSteps()
{
    TimeLine timeLine;
    timeLine.resize(800, 80);
    timeLine.setRange(QDateTime(QDate(2024, 5, 3), QTime(0, 0)),
                      QDateTime(QDate(2024, 5, 4), QTime(0, 0)));
    timeLine.addSection({QDateTime(QDate(2024, 5, 3), QTime(6, 0)),
                         QDateTime(QDate(2024, 5, 3), QTime(12, 0)), "(nr 1) 06:00 – 12:00"});
    QCOMPARE(timeLine.xFor(timeLine.rangeStart()), 50.0);
    QCOMPARE(timeLine.xFor(timeLine.rangeEnd()), 750.0);
    QCOMPARE(timeLine.sectionAt(QPoint(300, 10)), 0);
    QCOMPARE(timeLine.sectionAt(QPoint(100, 10)), -1);
    QCOMPARE(TimeLine::subDivisionStep(24 * 3600, 700), 3 * 3600);
    QCOMPARE(TimeLine::subDivisionStep(8 * 24 * 3600, 700), 24 * 3600);
    QCOMPARE(CycleListDelegate::progressText(129), "129%");

    // A stamp in the hour that spring-forward skips is no valid local time, yet has its
    // place on the wall clock: 2:30 to 3:30 of the second of three days.
    TimeZone warsaw("Europe/Warsaw");
    timeLine.setRange(QDateTime(QDate(2026, 3, 28), QTime(0, 0)),
                      QDateTime(QDate(2026, 3, 31), QTime(0, 0)));
    timeLine.clearSections();
    timeLine.addSection({QDateTime(QDate(2026, 3, 29), QTime(2, 30)),
                         QDateTime(QDate(2026, 3, 29), QTime(3, 30)), "(nr 2) 2:30 - 3:30"});
    const double third = 700.0 / 3;
    QCOMPARE(timeLine.xFor(QDateTime(QDate(2026, 3, 30), QTime(0, 0))), 50 + 2 * third);
    QCOMPARE(timeLine.sectionAt(QPoint(int(50 + third * (1 + 3.0 / 24)), 10)), 0);
    QCOMPARE(timeLine.sectionAt(QPoint(int(50 + third * (1 + 2.0 / 24)), 10)), -1);
}

void TestCatalogueWindow::timeLineDivisions_data()
{
    QTest::addColumn<QByteArray>("zone"); // "" for the one the tests run in
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("one day, every three hours")
        << QByteArray() << QDate(2024, 5, 3) << QDate(2024, 5, 3)
        << QStringList{"[05/03]",  "03:00:00", "06:00:00", "09:00:00", "12:00:00",
                       "15:00:00", "18:00:00", "21:00:00", "[05/04]"};
    QTest::newRow("twenty days, every other day")
        << QByteArray() << QDate(2024, 5, 1) << QDate(2024, 5, 20)
        << QStringList{"[05/01]", "[05/03]", "[05/05]", "[05/07]", "[05/09]", "[05/11]",
                       "[05/13]", "[05/15]", "[05/17]", "[05/19]", "[05/21]"};
    QTest::newRow("half a year, the first of each month")
        << QByteArray() << QDate(2024, 1, 1) << QDate(2024, 6, 30)
        << QStringList{"[01/01]", "[02/01]", "[03/01]", "[04/01]", "[05/01]", "[06/01]", "[07/01]"};
    // The clock falls back at 3:00 on 25 October and springs forward at 2:00 on 29 March:
    // those days are 25 and 23 hours long, yet the divisions go by the calendar and the clock.
    QTest::newRow("fall-back day in Warsaw")
        << QByteArray("Europe/Warsaw") << QDate(2026, 10, 24) << QDate(2026, 10, 26)
        << QStringList{"[10/24]",  "08:00:00", "16:00:00", "[10/25]",  "08:00:00",
                       "16:00:00", "[10/26]",  "08:00:00", "16:00:00", "[10/27]"};
    QTest::newRow("spring-forward day in Warsaw")
        << QByteArray("Europe/Warsaw") << QDate(2026, 3, 28) << QDate(2026, 3, 30)
        << QStringList{"[03/28]",  "08:00:00", "16:00:00", "[03/29]",  "08:00:00",
                       "16:00:00", "[03/30]",  "08:00:00", "16:00:00", "[03/31]"};
}

// The labels under the axis, as the picker's range puts them, on a strip 800 pixels wide.
void TestCatalogueWindow::timeLineDivisions()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, labels);
    TimeZone inZone(zone);
    TimeLine timeLine;
    timeLine.resize(800, 80);
    const auto [start, end] = RangePicker::timeLineRange(from, to);
    timeLine.setRange(start, end);

    QStringList texts;
    QList<double> days;
    for (const TimeLine::Division& division : timeLine.divisions()) {
        if (!division.text.isEmpty())
            texts.append(division.text);
        if (division.day)
            days.append(division.x);
    }
    QCOMPARE(texts, labels);
    // The range runs from a midnight to a midnight: its ends are labelled days, at the
    // margins, and no two day labels overlap.
    QCOMPARE(days.first(), 50.0);
    QCOMPARE(days.last(), 750.0);
    for (qsizetype i = 1; i < days.size(); ++i)
        QVERIFY2(days.at(i) - days.at(i - 1) >= timeLine.dayLabelWidth(),
                 qPrintable(QString::number(days.at(i) - days.at(i - 1))));
}

QTEST_MAIN(TestCatalogueWindow)
#include "test_catalogue_window.moc"
