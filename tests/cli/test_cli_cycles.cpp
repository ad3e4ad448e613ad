#include "../catalogue/fixtures.h"
#include "tests/testfiles.h"

#include <QCoreApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::numberedText;

using fixtures::first;
using fixtures::header;
using fixtures::record;

namespace {

struct Run {
    bool crashed = true;
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
    void refusesABadCommandLine_data();
    void refusesABadCommandLine();
    void everyCommandHasHelp_data();
    void everyCommandHasHelp();
    void onlyRenderingNeedsAWindowSystem_data();
    void onlyRenderingNeedsAWindowSystem();

private:
    // Runs kvaro-cli with --home after the command name, on the given Qt platform (none:
    // the variable is not set).
    Run run(const QStringList& arguments, const QString& platform = "offscreen");
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

Run TestCliCycles::run(const QStringList& arguments, const QString& platform)
{
    QProcess process;
    process.setWorkingDirectory(m_home.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "pl_PL.UTF-8");
    environment.remove("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        environment.insert("QT_QPA_PLATFORM", platform);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KVARO_CLI),
                  arguments.mid(0, 1) + QStringList{"--home", m_home.path()} + arguments.mid(1));
    Run result;
    if (!process.waitForFinished(30000))
        return result;
    result.crashed = process.exitStatus() != QProcess::NormalExit;
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
             QJsonArray{QStringLiteral("P20.csv, line 2: Invalid argument to date encode\n") +
                        numberedText(kvaro::Text::NoValidRecord) + QStringLiteral("P124.csv")});
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
    QCOMPARE(
        item["notes"].toString(),
        QStringLiteral(
            "<b>T22:</b> 08:05<br><b>T20:</b> 10:02:07<br><i>T21: 1,5<br>T7: 80°C</i><br><br>"));
    QCOMPARE(item["progress"], QJsonValue(66));
    QCOMPARE(item["section"].toObject(), (QJsonObject{{"start", "2019-04-07T08:05:00"},
                                                      {"end", "2019-04-07T10:02:00"},
                                                      {"hint", "(nr 123) 08:05 – 10:02"}}));
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

// Every command's refusal, word for word: scripts and people read these.
void TestCliCycles::refusesABadCommandLine_data()
{
    const QString cyclesUsage =
        "usage: kvaro-cli cycles OVEN [--from YYYY-MM-DD] [--to YYYY-MM-DD] "
        "[--today YYYY-MM-DD] [--json]\n";
    const QString allUsages =
        "usage: kvaro-cli COMMAND [--home DIR] ...\n"
        "  chart FILE [--stored] [--check-all] [--json] [--png OUT.png] [--size WxH]\n"
        "  cycles OVEN [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--today YYYY-MM-DD] [--json]\n"
        "  export FILE --csv OUT.csv [--stored]\n"
        "  import --drive DIR [--home DIR] [--json]\n"
        "  ovens\n"
        "  report FILE... --pdf OUT.pdf | report --oven OVEN ... --pdf OUT.pdf\n"
        "  trend OVEN [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--csv FILE] [--json]\n";
    const QString importUsage = "usage: kvaro-cli import --drive DIR [--home DIR] [--json]\n";
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown oven") << QStringList{"cycles", "nope"} << 1
                                  << "no oven \"nope\" in " + m_home.filePath("Data") + "\n";
    QTest::newRow("no oven") << QStringList{"cycles"} << 2 << "which oven?\n" + cyclesUsage;
    QTest::newRow("bad date") << QStringList{"cycles", "1234567", "--from", "7.4.2019"} << 2
                              << "not a date YYYY-MM-DD: 7.4.2019\n" + cyclesUsage;
    QTest::newRow("date without a value") << QStringList{"cycles", "1234567", "--to"} << 2
                                          << "--to needs a date YYYY-MM-DD\n" + cyclesUsage;
    QTest::newRow("two ovens") << QStringList{"cycles", "1234567", "9"} << 2
                               << "unexpected argument: 9\n" + cyclesUsage;
    QTest::newRow("unknown option") << QStringList{"cycles", "1234567", "--colour"} << 2
                                    << "unexpected argument: --colour\n" + cyclesUsage;
    QTest::newRow("value for a switch") << QStringList{"cycles", "1234567", "--json=1"} << 2
                                        << "unexpected argument: --json=1\n" + cyclesUsage;
    QTest::newRow("no command") << QStringList{} << 2 << allUsages;
    QTest::newRow("unknown command") << QStringList{"list"} << 2 << allUsages;
    QTest::newRow("home without a folder")
        << QStringList{"ovens", "--colour", "--home"} << 2 << "--home needs a folder\n";
    QTest::newRow("ovens with an argument")
        << QStringList{"ovens", "9"} << 2 << "usage: kvaro-cli ovens [--home DIR]\n";
    QTest::newRow("ovens with an option")
        << QStringList{"ovens", "--json"} << 2 << "usage: kvaro-cli ovens [--home DIR]\n";
    QTest::newRow("import without a drive") << QStringList{"import", "--json"} << 2 << importUsage;
    QTest::newRow("import, drive without a folder")
        << QStringList{"import", "--drive"} << 2 << importUsage;
    QTest::newRow("import with an argument")
        << QStringList{"import", "x", "--drive", "."} << 2 << importUsage;
}

void TestCliCycles::refusesABadCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(result.out.isEmpty());
    QCOMPARE(QString::fromUtf8(result.err), error);
}

void TestCliCycles::everyCommandHasHelp_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("chart") << QStringList{"chart", "--help"}
                           << "usage: kvaro-cli chart FILE [--stored] [--check-all] [--json] "
                              "[--png OUT.png] [--size WxH]"
                           << QStringList{"--home <DIR>", "--stored",        "--check-all",
                                          "--json",       "--png <OUT.png>", "--size <WxH>"};
    QTest::newRow("cycles") << QStringList{"cycles", "-h"}
                            << "usage: kvaro-cli cycles OVEN [--from YYYY-MM-DD] [--to "
                               "YYYY-MM-DD] [--today YYYY-MM-DD] [--json]"
                            << QStringList{"--home <DIR>", "--from <YYYY-MM-DD>",
                                           "--to <YYYY-MM-DD>", "--today <YYYY-MM-DD>", "--json"};
    QTest::newRow("import") << QStringList{"import", "--help"}
                            << "usage: kvaro-cli import --drive DIR [--home DIR] [--json]"
                            << QStringList{"--home <DIR>", "--drive <DIR>", "--json"};
    QTest::newRow("ovens") << QStringList{"ovens", "--help"}
                           << "usage: kvaro-cli ovens [--home DIR]" << QStringList{"--home <DIR>"};
    QTest::newRow("every command")
        << QStringList{"--help"} << "usage: kvaro-cli COMMAND [--home DIR] ..."
        << QStringList{"  chart FILE", "  ovens", "COMMAND --help"};
}

void TestCliCycles::everyCommandHasHelp()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, firstLine);
    QFETCH(QStringList, options);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.err.isEmpty());
    const QString help = QString::fromUtf8(result.out);
    QCOMPARE(help.section('\n', 0, 0), firstLine);
    for (const QString& option : options)
        QVERIFY2(help.contains(option), qPrintable(option + " is not in\n" + help));
}

// A command that draws nothing runs where no window system can be reached; only a chart
// rendered to a picture starts one, offscreen when none is named.
void TestCliCycles::onlyRenderingNeedsAWindowSystem_data()
{
    const QString cycle = m_home.filePath("Data/1234567/P123.csv");
    const QString png = m_home.filePath("chart.png");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("picture");
    QTest::newRow("ovens") << QStringList{"ovens"} << "no-such-platform" << 0 << QString();
    QTest::newRow("cycles") << QStringList{"cycles", "1234567", "--today", "2024-05-20"}
                            << "no-such-platform" << 0 << QString();
    QTest::newRow("chart") << QStringList{"chart", cycle, "--json"} << "no-such-platform" << 0
                           << QString();
    QTest::newRow("import") << QStringList{"import", "--drive", m_home.filePath("Data")}
                            << "no-such-platform" << 1 << QString();
    QTest::newRow("chart to a picture")
        << QStringList{"chart", cycle, "--png", png, "--size", "300x200"} << QString() << 0 << png;
}

void TestCliCycles::onlyRenderingNeedsAWindowSystem()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(int, exitCode);
    QFETCH(QString, picture);
    const Run result = run(arguments, platform);
    QVERIFY2(!result.crashed, result.err.constData());
    QCOMPARE(result.exitCode, exitCode);
    if (!picture.isEmpty())
        QCOMPARE(QImage(picture).size(), QSize(300, 200));
}

QTEST_GUILESS_MAIN(TestCliCycles)
#include "test_cli_cycles.moc"
