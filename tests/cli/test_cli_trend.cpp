// kvaro-cli trend, run as a real process over a small store written by the test.

#include "cycles/fields.h"
#include "tools/cyclegen.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestCliTrend : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QFile english(QStringLiteral(KVARO_SOURCE_DIR "/assets/EN.dat"));
        QVERIFY(english.open(QIODevice::ReadOnly));
        QVERIFY(writeFile(m_home.filePath("EN.dat"), english.readAll()));
        QVERIFY(writeFile(m_home.filePath("Data.dat"), "EN\r\n"));
        // Three cycles in May 2024, the second never reaching its set temperature, and one
        // in June.
        const QDate days[] = {{2024, 5, 3}, {2024, 5, 4}, {2024, 5, 5}, {2024, 6, 1}};
        for (int n = 1; n <= 4; ++n) {
            kvaro::gen::CycleSpec spec;
            spec.number = n;
            spec.seed = quint64(n);
            spec.start = QDateTime(days[n - 1], QTime(7, 30));
            spec.durationSeconds = 3600;
            spec.samplePeriodSeconds = 60;
            spec.reachSetTemperature = n != 2;
            QVERIFY(writeFile(m_home.filePath("Data/1000001/" + kvaro::gen::cycleFileName(n)),
                              kvaro::normalisedCopy(kvaro::gen::writeCycle(spec), '.')));
        }
    }

    void jsonHasEveryFigure()
    {
        const Run result =
            run({"trend", "1000001", "--from", "2024-05-01", "--to", "2024-05-31", "--json"});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(result.out).object();
        QCOMPARE(json["messages"].toArray(), QJsonArray());
        QCOMPARE(json["from"], QJsonValue("2024-05-01"));
        const QJsonArray cycles = json["cycles"].toArray();
        QCOMPARE(cycles.size(), 3);
        const QJsonObject first = cycles.at(0).toObject();
        QCOMPARE(first["file"], QJsonValue("P1.csv"));
        QCOMPARE(first["cycle"], QJsonValue("1"));
        QCOMPARE(first["start"], QJsonValue("2024-05-03T07:30"));
        QCOMPARE(first["unit"], QJsonValue("kg"));
        QCOMPARE(first["durationMinutes"].toDouble(), 60.0);
        for (const char* key : {"consumption", "reachedAfterMinutes", "heldForMinutes",
                                "highestWorking", "meanAbsT1T2", "meanDifference"})
            QVERIFY2(first[QLatin1String(key)].isDouble(), key);
        // The key scripts knew carries the same true mean as the new one.
        QCOMPARE(first["meanDifference"], first["meanAbsT1T2"]);
        QVERIFY(cycles.at(1).toObject()["reachedAfterMinutes"].isNull());
        QVERIFY(cycles.at(1).toObject()["heldForMinutes"].isNull());

        // The second run takes the figures from the index: the same output.
        QCOMPARE(
            run({"trend", "1000001", "--from", "2024-05-01", "--to", "2024-05-31", "--json"}).out,
            result.out);
    }

    void textTableAndCsv()
    {
        const QString csv = m_home.filePath("trend.csv");
        const Run result =
            run({"trend", "1000001", "--from", "2024-06-01", "--to", "2024-05-01", "--csv", csv});
        QCOMPARE(result.exitCode, 0);
        const QStringList lines = QString::fromUtf8(result.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5); // the heading and four cycles: the range turned round
        QVERIFY(lines.at(0).startsWith("Start"));
        QVERIFY(lines.at(0).contains("Held for  "));
        QVERIFY(lines.at(0).contains("Mean |T1 \u2212 T2| [\u00b0C]"));
        // Durations "hh:mm:ss": an hour's cycle ends its row with its duration.
        QVERIFY2(lines.at(1).endsWith(" 01:00:00"), qPrintable(lines.at(1)));
        QVERIFY(lines.at(2).startsWith("2024-05-04 07:30  2 "));
        QVERIFY(lines.at(2).contains(" - "));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(bytes.count("\r\n"), 5);
    }

    void refusals_data()
    {
        const QString usage = "usage: kvaro-cli trend OVEN [--from YYYY-MM-DD] [--to YYYY-MM-DD] "
                              "[--csv FILE] [--json]\n";
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown oven") << QStringList{"trend", "nope"} << 1
                                      << "no oven \"nope\" in " + m_home.filePath("Data") + "\n";
        QTest::newRow("no oven") << QStringList{"trend"} << 2 << "which oven?\n" + usage;
        QTest::newRow("bad date") << QStringList{"trend", "1000001", "--to", "2024-13-01"} << 2
                                  << "not a date YYYY-MM-DD: 2024-13-01\n" + usage;
        QTest::newRow("csv without a file")
            << QStringList{"trend", "1000001", "--csv"} << 2 << "--csv needs a value\n" + usage;
        QTest::newRow("csv file that cannot be written")
            << QStringList{"trend", "1000001",    "--from", "2024-05-01",
                           "--to",  "2024-05-31", "--csv",  m_home.filePath("no/such/x.csv")}
            << 1
            << "Cannot write " + m_home.filePath("no/such/x.csv") + ": No such file or directory\n";
        QTest::newRow("a range without cycles")
            << QStringList{"trend", "1000001",    "--from", "2024-04-01",
                           "--to",  "2024-04-02", "--csv",  m_home.filePath("none.csv")}
            << 1
            << QStringLiteral("Oven 1000001 has no cycles from 2024-04-01 to 2024-04-02: nothing "
                              "was written.\n");
    }
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        const Run result = run(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(result.err), error);
        QVERIFY(!QFile::exists(m_home.filePath("none.csv")));
    }

    void listedInTheHelp()
    {
        const Run result = run({"--help"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("\n  trend OVEN"));
        const Run help = run({"trend", "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("--csv <FILE>"));
    }

private:
    Run run(const QStringList& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(m_home.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", "C.UTF-8");
        process.setProcessEnvironment(environment);
        const QStringList line =
            arguments.isEmpty() || arguments.first().startsWith('-')
                ? arguments
                : arguments.mid(0, 1) + QStringList{"--home", m_home.path()} + arguments.mid(1);
        process.start(QStringLiteral(KVARO_CLI), line);
        Run result;
        if (!process.waitForFinished(60000))
            return result;
        result.exitCode = process.exitCode();
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }

    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(TestCliTrend)
#include "test_cli_trend.moc"
