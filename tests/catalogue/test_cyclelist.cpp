#include "fixtures.h"
#include "tests/testfiles.h"

#include "base/failure.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"
#include "catalogue/cyclestatistics.h"
#include "catalogue/rangepicker.h"

#include <QTemporaryDir>
#include <QTest>

#include <time.h>

using kvaro::testing::numberedText;

using namespace kvaro;
using fixtures::header;
using fixtures::record;

using Dates = QList<QDate>;

namespace {

const FixedClock fixedClock(QDateTime(QDate(2024, 5, 20), QTime(12, 0)));

// A record line at h:m:s with a working temperature and the programmed length.
QString sample(int h, int m, int s, const QString& temperature = QStringLiteral("20"),
               const QString& minutes = QStringLiteral("90"),
               const QString& seconds = QStringLiteral("30"))
{
    return record({{3, QString::number(h)},
                   {4, QString::number(m)},
                   {5, QString::number(s)},
                   {8, temperature},
                   {44, minutes},
                   {45, seconds}});
}

QString failureText(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Failure& failure) {
        return reportLine(failure);
    }
    return {};
}

// One oven with cycles dated 7 April 2019 unless given otherwise.
struct Oven {
    QTemporaryDir dir;
    void add(const QString& name, const QStringList& lines)
    {
        fixtures::writeLines(dir.filePath(name), lines);
    }
    Catalogue build()
    {
        return buildCatalogue(dir.path(), fixtures::language(), fixedClock).catalogue;
    }
};

} // namespace

class TestCycleList : public QObject
{
    Q_OBJECT

private slots:
    // Summer time must move nothing: the controller's clock knows no zone.
    void initTestCase()
    {
        qputenv("TZ", "Europe/Warsaw");
        tzset();
    }

    void statistics_data();
    void statistics();
    void statisticsFailures_data();
    void statisticsFailures();

    void itemOfTheExample();
    void listedCycle_data();
    void listedCycle();
    void rangeSelectsByDay_data();
    void rangeSelectsByDay();
    void sumUsesTheLocaleSeparator();
    void cycleWithoutEndIsListedWithoutSection();
    void fileTextsAreEscaped();
    void failingCycleKeepsItsItemAndIsReported();
    void ovenBReplacesOvenA();

    void pickerClicks_data();
    void pickerClicks();
    void pickerRefusesDaysAfterToday();
    void timeLineRange();
};

void TestCycleList::statistics_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("temperatura");
    QTest::addColumn<int>("atTemperature");
    QTest::addColumn<int>("length");

    QTest::newRow("3 lines: only the header is looked at")
        << QStringList{header(), sample(8, 0, 0, "200"), sample(9, 0, 0, "200")} << 80 << 0 << 0;
    QTest::newRow("4 lines: line 1 gives the length")
        << QStringList{header(), sample(8, 0, 0), sample(9, 0, 0), sample(10, 0, 0)} << 80 << 0
        << 5430;
    QTest::newRow("75 reaches 80")
        << QStringList{header(), sample(10, 0, 0, "75"), sample(11, 0, 0), sample(12, 30, 15)} << 80
        << 9015 << 5430;
    QTest::newRow("74.9 does not reach 80")
        << QStringList{header(), sample(10, 0, 0, "74.9"), sample(11, 0, 0), sample(12, 30, 15)}
        << 80 << 0 << 5430;
    QTest::newRow("0 is no temperature even at 3")
        << QStringList{header(), sample(10, 0, 0, "0"), sample(11, 0, 0), sample(12, 30, 15)} << 3
        << 0 << 5430;
    QTest::newRow("first reaching line counts") << QStringList{header(),
                                                               sample(9, 0, 0, "50"),
                                                               sample(10, 0, 0, "90"),
                                                               sample(11, 0, 0, "95"),
                                                               sample(11, 30, 0),
                                                               sample(12, 30, 15)}
                                                << 80 << 9015 << 5430;
    QTest::newRow("reaching among the last two lines is not looked at")
        << QStringList{header(), sample(9, 0, 0), sample(10, 0, 0, "90"), sample(12, 0, 0, "90")}
        << 80 << 0 << 5430;
    QTest::newRow("past midnight adds a day")
        << QStringList{header(), sample(23, 30, 0, "90"), sample(23, 59, 0), sample(0, 30, 0)} << 80
        << 3600 << 5430;
    QTest::newRow("never reached: the last line is not read")
        << QStringList{header(), sample(9, 0, 0), sample(10, 0, 0), "garbage"} << 80 << 0 << 5430;
    // The records after the reaching one are walked: only a step back of more than 12
    // hours is midnight.
    QTest::newRow("clock set back after reaching")
        << QStringList{header(), sample(10, 0, 0, "90"), sample(10, 30, 0), sample(9, 50, 0),
                       sample(9, 55, 0)}
        << 80 << 300 << 5430;
    QTest::newRow("two midnights after reaching")
        << QStringList{header(),        sample(10, 0, 0, "90"), sample(23, 0, 0),
                       sample(9, 0, 0), sample(23, 0, 0),       sample(8, 0, 0)}
        << 80 << 165600 << 5430;
    QTest::newRow("walked lines that are no records are passed over")
        << QStringList{header(), sample(10, 0, 0, "90"), "x;y", sample(11, 0, 0), sample(12, 0, 0)}
        << 80 << 7200 << 5430;
    QTest::newRow("blank lines after the last line")
        << QStringList{header(), sample(10, 0, 0, "75"), sample(11, 0, 0), sample(12, 30, 15), "",
                       ""}
        << 80 << 9015 << 5430;
}

void TestCycleList::statistics()
{
    QFETCH(QStringList, lines);
    QFETCH(int, temperatura);
    QFETCH(int, atTemperature);
    QFETCH(int, length);
    QTemporaryDir dir;
    const QString path = dir.filePath("P1.csv");
    QVERIFY(fixtures::writeLines(path, lines));
    for (const Reading reading : {Reading::Partial, Reading::Whole}) {
        QCOMPARE(getSekundWtemperaturze(path, temperatura, reading), atTemperature);
        QCOMPARE(getCyklSekund(path, reading), length);
    }
}

void TestCycleList::statisticsFailures_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("failure");
    QTest::newRow("short record in range")
        << QStringList{header(), record({}, 6), sample(9, 0, 0), sample(10, 0, 0)}
        << "P1.csv, line 2: List index out of bounds (8)";
    QTest::newRow("empty line in range")
        << QStringList{header(), "", sample(9, 0, 0), sample(10, 0, 0)}
        << "P1.csv, line 2: List index out of bounds (0)";
    QTest::newRow("hour 24") << QStringList{header(), sample(24, 0, 0), sample(9, 0, 0),
                                            sample(10, 0, 0)}
                             << "P1.csv, line 2: Invalid argument to time encode";
    QTest::newRow("temperature not a number")
        << QStringList{header(), sample(8, 0, 0, "hot"), sample(9, 0, 0), sample(10, 0, 0)}
        << "P1.csv, line 2: 'hot' is not a valid floating point value";
    QTest::newRow("short last line once reached")
        << QStringList{header(), sample(8, 0, 0, "90"), sample(9, 0, 0), "1;2"}
        << "P1.csv, line 4: List index out of bounds (3)";
    QTest::newRow("walked record with hour 25")
        << QStringList{header(), sample(8, 0, 0, "90"), sample(25, 0, 0), sample(9, 0, 0)}
        << "P1.csv, line 3: Invalid argument to time encode";
}

void TestCycleList::statisticsFailures()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, failure);
    QTemporaryDir dir;
    const QString path = dir.filePath("P1.csv");
    QVERIFY(fixtures::writeLines(path, lines));
    for (const Reading reading : {Reading::Partial, Reading::Whole})
        QCOMPARE(failureText([&] { getSekundWtemperaturze(path, 80, reading); }), failure);
}

void TestCycleList::itemOfTheExample()
{
    Oven oven;
    // 3600 s at temperature of a programmed 5430 s.
    oven.add("P123.csv", {header(), fixtures::first("8", "5", {{48, "80"}, {44, "90"}, {45, "30"}}),
                          sample(9, 2, 7, "75"), sample(9, 30, 0),
                          record({{3, "10"}, {4, "2"}, {5, "7"}, {6, "1,5"}})});
    oven.add("P124.csv", {header(), fixtures::first("9", "0", {{54, "5"}}), sample(10, 0, 0)});
    const Catalogue catalogue = oven.build();
    const FixedLocale locale(QLatin1Char(','), QStringLiteral("dd.MM.yyyy"));
    const CycleListing listing = wczytajKalendarz(catalogue, QDate(2019, 4, 7), QDate(2019, 4, 7),
                                                  fixtures::language(), locale);
    QCOMPARE(listing.items.size(), 1);
    const CycleListItem& item = listing.items.first();
    QCOMPARE(item.file, "P123.csv");
    QCOMPARE(item.info, "nr 123");
    QCOMPARE(item.caption, "<b><font face=\"Calibri\" color=\"red\">07.04.2019</b></font>");
    QCOMPARE(item.notes,
             QStringLiteral("<b>T22:</b> 08:05<br><b>T20:</b> 10:02:07<br><i>T21: 1,5<br>"
                            "T7: 80°C</i><br><br>"));
    QVERIFY(item.section);
    QCOMPARE(item.section->start, QDateTime(QDate(2019, 4, 7), QTime(8, 5), Qt::UTC));
    QCOMPARE(item.section->end, QDateTime(QDate(2019, 4, 7), QTime(10, 2), Qt::UTC));
    QCOMPARE(item.section->hint, "(nr 123) 08:05 – 10:02");
    QCOMPARE(item.progress, 66);
    QCOMPARE(listing.footer, "1 T9");
    QCOMPARE(listing.footerConsLabel, "1,5");
    QCOMPARE(listing.dataButton, "07.04.2019 - 07.04.2019");
    QVERIFY(listing.report.isEmpty());
}

void TestCycleList::listedCycle_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QDateTime>("start"); // of the section; invalid: none
    QTest::addColumn<QDateTime>("end");
    QTest::addColumn<int>("progress");
    QTest::addColumn<QString>("consumption");
    QTest::addColumn<QString>("hint"); // clock times with two digits: "6:1" reads as 6:10

    const auto wallClock = [](int y, int mo, int d, int h, int mi) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
    };
    // Programmed 60:00 (or 90:00), set to 80 °C, dated from the fields.
    const auto starting = [](int h, int m, const QString& y, const QString& mo, const QString& d,
                             const QString& minutes = QStringLiteral("60")) {
        return fixtures::first(QString::number(h), QString::number(m),
                               {{53, y}, {54, mo}, {55, d}, {48, "80"}, {44, minutes}, {45, "0"}});
    };
    const auto ending = [](int h, int m, const QString& fuel) {
        return record({{3, QString::number(h)}, {4, QString::number(m)}, {6, fuel}});
    };
    QTest::newRow("summer time begins: starts in the skipped hour")
        << QStringList{header(), starting(2, 30, "26", "3", "29"), sample(2, 40, 0, "75"),
                       sample(3, 0, 0), ending(3, 10, "2,5")}
        << wallClock(2026, 3, 29, 2, 30) << wallClock(2026, 3, 29, 3, 10) << 50 << "2,5"
        << "(nr 1) 02:30 – 03:10";
    QTest::newRow("summer time ends: the clock goes back an hour")
        << QStringList{header(),
                       starting(1, 30, "26", "10", "25"),
                       sample(2, 40, 0, "75"),
                       sample(2, 59, 0),
                       sample(2, 5, 0),
                       ending(2, 20, "1")}
        << wallClock(2026, 10, 25, 1, 30) << wallClock(2026, 10, 25, 2, 20) << 33 << "1"
        << "(nr 1) 01:30 – 02:20";
    QTest::newRow("ends past midnight")
        << QStringList{header(), starting(23, 10, "19", "4", "7"), sample(23, 20, 0, "75"),
                       sample(0, 10, 0), ending(0, 50, "3")}
        << wallClock(2019, 4, 7, 23, 10) << wallClock(2019, 4, 8, 0, 50) << 150 << "3"
        << "(nr 1) 23:10 – 00:50";
    // 2 / 3 of the programmed time: 66 rounded down, not 67.
    QTest::newRow("progress is rounded down")
        << QStringList{header(), starting(9, 0, "19", "4", "7", "90"), sample(10, 0, 0, "75"),
                       sample(10, 30, 0), ending(11, 0, "1")}
        << wallClock(2019, 4, 7, 9, 0) << wallClock(2019, 4, 7, 11, 0) << 66 << "1"
        << "(nr 1) 09:00 – 11:00";
}

void TestCycleList::listedCycle()
{
    QFETCH(QStringList, lines);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, end);
    QFETCH(int, progress);
    QFETCH(QString, consumption);
    QFETCH(QString, hint);
    Oven oven;
    oven.add("P1.csv", lines);
    const Catalogue catalogue = oven.build();
    QCOMPARE(catalogue.size(), 1);
    const QDate day = catalogue.CycleDates.first();
    const CycleListing listing =
        wczytajKalendarz(catalogue, day, day, fixtures::language(), FixedLocale(QLatin1Char(',')));
    QCOMPARE(listing.report.lines, QStringList());
    QCOMPARE(listing.items.size(), 1);
    const CycleListItem& item = listing.items.first();
    QVERIFY(item.section);
    QCOMPARE(item.section->start, start);
    QCOMPARE(item.section->end, end);
    QCOMPARE(item.progress, progress);
    QCOMPARE(listing.footerConsLabel, consumption);
    QCOMPARE(item.section->hint, hint);
    QVERIFY2(item.notes.contains(QStringLiteral("<b>T22:</b> ") + hint.mid(7, 5) + "<br>"),
             qPrintable(item.notes));
}

void TestCycleList::rangeSelectsByDay_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("byStart"); // as a batch report takes them
    QTest::newRow("one day") << QDate(2019, 4, 7) << QDate(2019, 4, 7)
                             << QStringList{"P1.csv", "P3.csv"} << QStringList{"P3.csv", "P1.csv"};
    QTest::newRow("two days") << QDate(2019, 4, 7) << QDate(2019, 4, 8)
                              << QStringList{"P1.csv", "P2.csv", "P3.csv"}
                              << QStringList{"P3.csv", "P1.csv", "P2.csv"};
    QTest::newRow("nothing") << QDate(2019, 5, 1) << QDate(2019, 5, 3) << QStringList{}
                             << QStringList{};
    QTest::newRow("undated is today") << fixedClock.today() << fixedClock.today()
                                      << QStringList{"P4.csv"} << QStringList{"P4.csv"};
}

void TestCycleList::rangeSelectsByDay()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, files);
    QFETCH(QStringList, byStart);
    Oven oven;
    const QString end = sample(11, 0, 0);
    oven.add("P1.csv", {header(), fixtures::first(), end});
    oven.add("P2.csv", {header(), fixtures::first("8", "5", {{55, "8"}}), end});
    oven.add("P3.csv", {header(), fixtures::first("7", "30"), end});
    oven.add("P4.csv", {header(), fixtures::first("8", "5", {{55, "0"}}), end});
    oven.add("P5.csv", {header()});
    const Catalogue catalogue = oven.build();
    const CycleListing listing =
        wczytajKalendarz(catalogue, from, to, fixtures::language(), FixedLocale());
    QStringList listed;
    for (const CycleListItem& item : listing.items)
        listed.append(item.file);
    QCOMPARE(listed, files);
    QStringList ordered;
    for (const CycleListItem& item : itemsByStart(catalogue, listing.items))
        ordered.append(item.file);
    QCOMPARE(ordered, byStart);
    QCOMPARE(listing.footer, QString::number(files.size()) + " T9");
    QCOMPARE(listing.footerConsLabel, "0");
    QCOMPARE(listing.dataButton,
             FixedLocale().shortDate(from) + " - " + FixedLocale().shortDate(to));
}

void TestCycleList::sumUsesTheLocaleSeparator()
{
    Oven oven;
    oven.add("P1.csv", {header(), fixtures::first(), record({{3, "9"}, {6, "1,5"}})});
    oven.add("P2.csv", {header(), fixtures::first(), record({{3, "9"}, {6, "2,27"}})});
    const Catalogue catalogue = oven.build();
    const QDate day(2019, 4, 7);
    QCOMPARE(
        wczytajKalendarz(catalogue, day, day, fixtures::language(), FixedLocale(QLatin1Char(',')))
            .footerConsLabel,
        "3,77");
    QCOMPARE(
        wczytajKalendarz(catalogue, day, day, fixtures::language(), FixedLocale(QLatin1Char('.')))
            .footerConsLabel,
        "3.77");
}

void TestCycleList::cycleWithoutEndIsListedWithoutSection()
{
    Oven oven;
    oven.add("P1.csv", {header(), fixtures::first(), "footer"});
    oven.add("P2.csv",
             {header(), fixtures::first("8", "5", {{53, "0"}}), record({{3, "9"}, {6, "2"}})});
    const QDate day(2019, 4, 7);
    const CycleListing listing = wczytajKalendarz(oven.build(), day, fixedClock.today(),
                                                  fixtures::language(), FixedLocale());
    QCOMPARE(listing.items.size(), 2);
    QVERIFY(!listing.items.at(0).section);
    QVERIFY(!listing.items.at(1).section);
    // The dateless cycle still has its consumption.
    QCOMPARE(listing.footerConsLabel, "2");
    QVERIFY(listing.report.isEmpty());
}

void TestCycleList::fileTextsAreEscaped()
{
    Oven oven;
    oven.add("P1.csv",
             {header(), fixtures::first(), record({{3, "9"}, {5, "<img src=x>"}, {6, "1"}})});
    const QDate day(2019, 4, 7);
    const CycleListing listing =
        wczytajKalendarz(oven.build(), day, day, fixtures::language(), FixedLocale());
    QVERIFY(listing.items.first().notes.contains("09:00:&lt;img src=x&gt;<br>"));
}

void TestCycleList::failingCycleKeepsItsItemAndIsReported()
{
    Oven oven;
    oven.add("P1.csv",
             {header(), fixtures::first("8", "5", {{48, "x"}}), record({{3, "9"}, {6, "1"}})});
    oven.add("P2.csv", {header(), fixtures::first("24", "5"), record({{3, "9"}, {6, "2"}})});
    oven.add("P3.csv", {header(), fixtures::first(), record({{3, "9"}, {6, "4"}})});
    const QDate day(2019, 4, 7);
    const CycleListing listing =
        wczytajKalendarz(oven.build(), day, day, fixtures::language(), FixedLocale());
    QCOMPARE(listing.items.size(), 3);
    QVERIFY(listing.items.at(0).section);
    QVERIFY(!listing.items.at(1).section);
    QCOMPARE(listing.footerConsLabel, "5");
    QCOMPARE(listing.report.lines,
             (QStringList{"P1.csv: 'x' is not a valid floating point value",
                          "P2.csv: '2019-4-7 24:05' is not a valid date and time"}));
}

void TestCycleList::ovenBReplacesOvenA()
{
    Oven a;
    Oven b;
    for (int i = 1; i <= 3; ++i)
        a.add(QStringLiteral("P%1.csv").arg(i), {header(), fixtures::first(), sample(9, 0, 0)});
    b.add("P9.csv", {header(), fixtures::first(), sample(9, 0, 0)});
    Catalogue catalogue = a.build();
    catalogue = b.build();
    const QDate day(2019, 4, 7);
    const CycleListing listing =
        wczytajKalendarz(catalogue, day, day, fixtures::language(), FixedLocale());
    QCOMPARE(catalogue.CycleFileNames, QStringList{"P9.csv"});
    QCOMPARE(listing.items.size(), 1);
    QCOMPARE(listing.items.first().section->hint, "(nr 9) 08:05 – 09:00");
}

void TestCycleList::pickerClicks_data()
{
    QTest::addColumn<Dates>("clicks");
    QTest::addColumn<int>("state");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("footer");
    const QDate may3(2024, 5, 3), may10(2024, 5, 10), may12(2024, 5, 12);
    QTest::newRow("none") << Dates{} << 0 << QDate() << QDate() << "Początek";
    QTest::newRow("3 then 10 May")
        << Dates{may3, may10} << 0 << may3 << may10 << numberedText(Text::ChooseFirstDay);
    QTest::newRow("10 then 3 May")
        << Dates{may10, may3} << 0 << may3 << may10 << numberedText(Text::ChooseFirstDay);
    QTest::newRow("one click") << Dates{may3} << 1 << may3 << may3
                               << numberedText(Text::ChooseLastDay);
    QTest::newRow("three clicks") << Dates{may3, may10, may12} << 1 << may12 << may12
                                  << numberedText(Text::ChooseLastDay);
    QTest::newRow("fourth completes from the third")
        << Dates{may3, may10, may12, may10} << 0 << may10 << may12
        << numberedText(Text::ChooseFirstDay);
}

void TestCycleList::pickerClicks()
{
    QFETCH(Dates, clicks);
    QFETCH(int, state);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, footer);
    RangePicker picker;
    picker.setMaximumDate(fixedClock.today());
    for (const QDate& day : clicks)
        QVERIFY(picker.click(day, fixtures::language()));
    QCOMPARE(picker.RangeClickState(), state);
    QCOMPARE(picker.rangeStart(), start);
    QCOMPARE(picker.rangeEnd(), end);
    QCOMPARE(picker.footerCaption(), footer);
    if (!clicks.isEmpty())
        QCOMPARE(picker.RangeFirstDate(),
                 state == 1 ? clicks.last() : clicks.at(clicks.size() - 2));
    const auto range = picker.confirmedRange(fixedClock.today());
    QCOMPARE(range.first, start.isValid() ? start : fixedClock.today());
    QCOMPARE(range.second, end.isValid() ? end : fixedClock.today());
}

void TestCycleList::pickerRefusesDaysAfterToday()
{
    RangePicker picker;
    picker.setMaximumDate(QDate(2024, 5, 20));
    QVERIFY(!picker.click(QDate(2024, 5, 21), fixtures::language()));
    QCOMPARE(picker.RangeClickState(), 0);
    QVERIFY(!picker.rangeStart().isValid());
    QVERIFY(picker.click(QDate(2024, 5, 20), fixtures::language()));
    // After midnight the popup renews the limit and the new day can be chosen.
    picker.setMaximumDate(QDate(2024, 5, 21));
    QVERIFY(picker.click(QDate(2024, 5, 21), fixtures::language()));
    QCOMPARE(picker.rangeEnd(), QDate(2024, 5, 21));
}

void TestCycleList::timeLineRange()
{
    // Wall-clock days, as the sections are: a day of summer time's end is 24 hours too.
    const auto range = RangePicker::timeLineRange(QDate(2026, 10, 24), QDate(2026, 10, 25));
    QCOMPARE(range.first, QDateTime(QDate(2026, 10, 24), QTime(0, 0), Qt::UTC));
    QCOMPARE(range.second, QDateTime(QDate(2026, 10, 26), QTime(0, 0), Qt::UTC));
    QCOMPARE(range.first.secsTo(range.second), 2 * 24 * 3600);
    const auto single = RangePicker::timeLineRange(QDate(2024, 5, 3), QDate(2024, 5, 3));
    QCOMPARE(single.second, QDateTime(QDate(2024, 5, 4), QTime(0, 0), Qt::UTC));
}

QTEST_GUILESS_MAIN(TestCycleList)
#include "test_cyclelist.moc"
