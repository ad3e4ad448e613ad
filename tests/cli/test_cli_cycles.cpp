#include "../catalogue/fixtures.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using fixtures::first;
using fixtures::header;
using fixtures::record;

namespace
{

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

} // namespace

class TestCliCycles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ovensListsVisibleFoldersInNaturalOrder();
    void cyclesJsonShowsWhatTheWindowShows();
    void cyclesRangeDefaultsToToday();
    void cyclesRefusesUnknownOvenAndBadDates_data();
    void cyclesRefusesUnknownOvenAndBadDates();

private:
    Run run(const QStringList& arguments);
    QTemporaryDir m_home;
};

void TestCliCycles::initTestCase()
{
    QVERIFY(m_home.isValid());
    QStringList texts;
    for (int n = 0; n <= 45; ++n)
        texts.append(QStringLiteral("T%1").arg(n));
    QVERIFY(fixtures::writeLines(m_home.filePath("PL.dat"), texts));
    const QString oven = m_home.filePath("Data/1234567/");
    QVERIFY(fixtures::writeLines(oven + "P123.csv",
                                 {header(), first("8", "5", {{48, "80"}, {44, "90"}, {45, "30"}}),
                                  record({{3, "9"}, {4, "2"}, {5, "7"}, {8, "75"}}),
                                  record({{3, "9"}, {4, "30"}}),
                                  record({{3, "10"}, {4, "2"}, {5, "7"}, {6, "1,5"}})}));
    QVERIFY(
        fixtures::writeLines(oven + "P124.csv", {header(), first("9", "0", {{55, "0"}}), first()}));
    QVERIFY(fixtures::writeLines(oven + "P20.csv", {header(), first("8", "5", {{54, "13"}})}));
    QVERIFY(fixtures::writeLines(m_home.filePath("Data/10/x.csv"), {header()}));
    QVERIFY(fixtures::writeLines(m_home.filePath("Data/9/x.csv"), {header()}));
    QVERIFY(fixtures::writeLines(m_home.filePath("Data/.hidden/x.csv"), {header()}));
    QVERIFY(fixtures::writeLines(m_home.filePath("Data/loose.csv"), {header()}));
}

Run TestCliCycles::run(const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(m_home.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "pl_PL.UTF-8");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KVARO_CLI), QStringList(arguments) << "--home" << m_home.path());
    Run result;
    if (!process.waitForFinished(30000))
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TestCliCycles::ovensListsVisibleFoldersInNaturalOrder()
{
    const Run result = run({"ovens"});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts),
             (QStringList{"9", "10", "1234567"}));
}

void TestCliCycles::cyclesJsonShowsWhatTheWindowShows()
{
    const Run result = run({"cycles", "1234567", "--today", "2024-05-20", "--from", "2019-04-07",
                            "--to", "2019-04-07", "--json"});
    QCOMPARE(result.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(result.out).object();
    QCOMPARE(json["messages"].toArray(),
             QJsonArray{"P20.csv, line 2: Invalid argument to date encode\nT45P124.csv"});
    const QJsonArray catalogue = json["catalogue"].toArray();
    QCOMPARE(catalogue.size(), 2);
    QCOMPARE(catalogue.at(0).toObject(), (QJsonObject{{"file", "P123.csv"},
                                                      {"number", "123"},
                                                      {"date", "2019-04-07"},
                                                      {"startTime", "8:5"},
                                                      {"start", "2019-04-07T08:05"},
                                                      {"end", "2019-04-07T10:02"}}));
    QCOMPARE(catalogue.at(1).toObject()["date"], QJsonValue("2024-05-20"));
    QCOMPARE(catalogue.at(1).toObject()["start"], QJsonValue());
    const QJsonArray items = json["items"].toArray();
    QCOMPARE(items.size(), 1);
    const QJsonObject item = items.at(0).toObject();
    QCOMPARE(item["file"], QJsonValue("P123.csv"));
    QCOMPARE(item["info"], QJsonValue("nr 123"));
    QCOMPARE(item["caption"],
             QJsonValue("<b><font face=\"Calibri\" color=\"red\">7.04.2019</b></font>"));
    QCOMPARE(item["notes"].toString(),
             QStringLiteral(
                 "<b>T22:</b> 8:5<br><b>T20:</b> 10:2:7<br><i>T21: 1,5<br>T7: 80°C</i><br><br>"));
    QCOMPARE(item["progress"], QJsonValue(66));
    QCOMPARE(item["section"].toObject(), (QJsonObject{{"start", "2019-04-07T08:05:00"},
                                                      {"end", "2019-04-07T10:02:00"},
                                                      {"hint", "(nr 123) 8:5 - 10:2"}}));
    QCOMPARE(json["footer"], QJsonValue("1 T9"));
    QCOMPARE(json["FooterConsLabel"], QJsonValue("1,5"));
    QCOMPARE(json["DataButton"], QJsonValue("7.04.2019 - 7.04.2019"));
}

void TestCliCycles::cyclesRangeDefaultsToToday()
{
    const Run result = run({"cycles", "1234567", "--today", "2024-05-20", "--json"});
    QCOMPARE(result.exitCode, 0);
    const QJsonObject json = QJsonDocument::fromJson(result.out).object();
    QCOMPARE(json["items"].toArray().size(), 1);
    QCOMPARE(json["items"].toArray().at(0).toObject()["file"], QJsonValue("P124.csv"));
    QCOMPARE(json["DataButton"], QJsonValue("20.05.2024 - 20.05.2024"));
}

void TestCliCycles::cyclesRefusesUnknownOvenAndBadDates_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("unknown oven") << QStringList{"cycles", "nope"} << 1;
    QTest::newRow("no oven") << QStringList{"cycles"} << 2;
    QTest::newRow("bad date") << QStringList{"cycles", "1234567", "--from", "7.4.2019"} << 2;
}

void TestCliCycles::cyclesRefusesUnknownOvenAndBadDates()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(result.out.isEmpty());
    QVERIFY(!result.err.isEmpty());
}

QTEST_GUILESS_MAIN(TestCliCycles)
#include "test_cli_cycles.moc"
