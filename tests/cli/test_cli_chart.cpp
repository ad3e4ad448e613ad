#include "tests/chart/cyclefixture.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kvaro::test;

namespace {

struct Run {
    int status = -1;
    QJsonObject json;
    QString stdErr;
};

} // namespace

// kvaro-cli chart run on files written into a folder of its own, with a language file
// whose text N reads "LN".
class TestCliChart : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const QString& name, const QStringList& lines)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
        return path;
    }

    // locale: the LC_ALL the program runs under; empty for the test's own.
    Run run(const QStringList& arguments, const QString& locale = {})
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        if (!locale.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("LC_ALL"), locale);
            process.setProcessEnvironment(environment);
        }
        process.start(QStringLiteral(KVARO_CLI),
                      QStringList{"chart", "--home", m_dir.path()} + arguments);
        Run result;
        if (!process.waitForFinished(30000))
            return result;
        result.status = process.exitCode();
        result.json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        result.stdErr = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QStringList texts;
        for (int n = 0; n <= 46; ++n)
            texts.append(QStringLiteral("L%1").arg(n));
        QVERIFY(!write(QStringLiteral("EN.dat"), texts).isEmpty());
        QVERIFY(!write(QStringLiteral("Data.dat"), {QStringLiteral("EN")}).isEmpty());
    }

    void drawsACycle()
    {
        QList<Rec> list = records(3);
        list[1].events[0] = 2;
        list[1].outputs[0] = QStringLiteral("1");
        FirstSettings settings;
        settings.minutes = QStringLiteral("5");
        settings.seconds = QStringLiteral("30");
        const QString file = write(QStringLiteral("P1.csv"), cycle(list, settings).lines());
        const Run r = run({file, QStringLiteral("--json")});
        QCOMPARE(r.status, 0);
        QVERIFY(r.json.value("error").isNull());
        QCOMPARE(r.json.value("messages").toArray().size(), 0);
        const QJsonArray series = r.json.value("series").toArray();
        QCOMPARE(series.size(), 73);
        QCOMPARE(series.at(0)["points"].toArray().at(1).toArray(),
                 (QJsonArray{1, 20, QStringLiteral("00:01")}));
        QCOMPARE(series.at(3)["title"].toString(), QStringLiteral("L23 1"));
        QCOMPARE(series.at(3)["arrows"].toArray().at(0).toArray(), (QJsonArray{1, 1, 1, 1}));
        QCOMPARE(series.at(17)["bubbles"].toArray().at(0).toArray(), (QJsonArray{1, 0, 5}));
        QCOMPARE(series.at(0)["active"].toBool(), false);
        QCOMPARE(r.json["labels"]["Label1"].toString(), QStringLiteral("05:30"));
        QCOMPARE(r.json["labels"]["AdvSmoothLabel5"].toString(), QStringLiteral("100%"));
        QCOMPARE(r.json["shown"]["Olej"].toBool(), true);
        QCOMPARE(r.json["FooterImage"].toString(), QStringLiteral("Olej"));
        QCOMPARE(r.json["results"]["LoadedBurnerCount"].toInt(), 2);
        const QJsonArray filters = r.json.value("filters").toArray();
        QCOMPARE(filters.size(), 45);
        QCOMPARE(filters.at(0)["caption"].toString(), QStringLiteral("L7"));

        const Run all = run({file, QStringLiteral("--json"), QStringLiteral("--check-all")});
        QCOMPARE(all.json["series"].toArray().at(0)["active"].toBool(), true);
        QCOMPARE(all.json["filters"].toArray().at(1)["checked"].toBool(), true);
    }

    void messagesAndExitStatus_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // the first message, also on standard error
        QTest::addColumn<bool>("error");
        const QStringList good = cycle(records(3)).lines();
        QStringList bad = good;
        bad[2].replace(QStringLiteral("0;20;20;"), QStringLiteral("0;2x;20;"));
        QStringList kind7 = cycle(records(3, QStringLiteral("7"))).lines();
        QTest::newRow("failure") << bad << 1
                                 << "'2x' is not a valid floating point value\nP9.csv, line 3"
                                 << true;
        QTest::newRow("two lines") << good.mid(0, 2) << 1 << "L17" << true;
        QTest::newRow("heating type 7") << kind7 << 1 << "L17" << true;
    }
    void messagesAndExitStatus()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(bool, error);
        const QString file = write(QStringLiteral("P9.csv"), lines);
        const Run r = run({file, QStringLiteral("--json")});
        QCOMPARE(r.status, status);
        QCOMPARE(r.json.value("messages").toArray().at(0).toString(), message);
        QCOMPARE(r.json.value("error").isString(), error);
        QVERIFY2(r.stdErr.contains(message), qPrintable(r.stdErr));
    }

    // Whatever form of the file is picked, a "," locale reads the same figures from it.
    void decimalsOnACommaLocale_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("stored"); // --stored: taken as it is, not normalised
        QTest::newRow("controller file") << "," << false;
        QTest::newRow("controller file cut at ';'") << ";" << false;
        QTest::newRow("stored copy picked as a file") << ";," << false;
        QTest::newRow("stored copy") << ";," << true;
    }
    void decimalsOnACommaLocale()
    {
        QFETCH(QString, form);
        QFETCH(bool, stored);
        QList<Rec> list = records(3);
        for (Rec& r : list)
            r.t1 = QStringLiteral("21.5");
        FirstSettings settings;
        settings.setTemperature = QStringLiteral("180.5");
        QStringList lines = cycle(list, settings).lines();
        for (QString& line : lines) {
            // "," between fields, or ";" with decimal commas.
            if (form == QLatin1String(","))
                line.replace(QLatin1Char(';'), QLatin1Char(','));
            else if (form == QLatin1String(";,"))
                line.replace(QLatin1Char('.'), QLatin1Char(','));
        }
        QStringList arguments{write(QStringLiteral("P3.csv"), lines), QStringLiteral("--json")};
        if (stored)
            arguments.append(QStringLiteral("--stored"));
        const Run r = run(arguments, QStringLiteral("pl_PL.UTF-8"));
        QCOMPARE(r.status, 0);
        QCOMPARE(r.json["series"].toArray().at(0)["points"].toArray().at(0).toArray().at(1),
                 QJsonValue(21.5));
        QCOMPARE(r.json["labels"]["Label2"].toString(), QStringLiteral("180,5 °C"));
        QCOMPARE(r.json["results"]["LoadedBurnerCount"].toInt(), 2);
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error"); // the line above the usage line
        QTest::newRow("no file") << QStringList{"--json"} << "chart needs a cycle file";
        QTest::newRow("two files") << QStringList{"a.csv", "b.csv"} << "unexpected argument b.csv";
        QTest::newRow("unknown option")
            << QStringList{"a.csv", "--colour"} << "unexpected argument --colour";
        QTest::newRow("value for a switch")
            << QStringList{"a.csv", "--stored=1"} << "unexpected argument --stored=1";
        QTest::newRow("bad size") << QStringList{"a.csv", "--size", "1200"}
                                  << "--size takes WIDTHxHEIGHT, for example 1200x700, not 1200";
        QTest::newRow("bad size given first")
            << QStringList{"a.csv", "--size", "0x5", "--size", "300x200"}
            << "--size takes WIDTHxHEIGHT, for example 1200x700, not 0x5";
        QTest::newRow("png without a name")
            << QStringList{"a.csv", "--png"} << "--png needs a value";
    }
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const Run r = run(arguments);
        QCOMPARE(r.status, 2);
        QCOMPARE(r.stdErr, error + "\nusage: kvaro-cli chart FILE [--stored] [--check-all] "
                                   "[--json] [--png OUT.png] [--size WxH]\n");
    }

    void missingFile()
    {
        const Run r = run({m_dir.filePath(QStringLiteral("none.csv")), QStringLiteral("--json")});
        QCOMPARE(r.status, 1);
        QVERIFY(r.json.value("error").isString());
    }

    // The summary's figures against numbers worked out by hand from each file: every one
    // is the file's field, or plain arithmetic over its records, in the unit its key names.
    void summaryFigures_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("locale"); // LC_ALL; empty for the test's own
        QTest::addColumn<QJsonObject>("summary");

        // An oil oven of two burners with power regulation at 40 %, set to 180 °C for 5:30.
        // Drawn are the records at 10:00:00, 10:01:00 and 10:02:30; the line before the last
        // repeats the last record and the end line says 10:04:10 and 3.5 kg.
        QList<Rec> oil = records(3);
        oil[1].time = QTime(10, 1, 0);
        oil[2].time = QTime(10, 2, 30);
        const double t[3][3] = {{20, 10, 20}, {100, 90, 176}, {30, 37, 190}}; // T1, T2, working
        const char* fuel[3] = {"0.5", "1.25", "2.75"};
        for (int i = 0; i < 3; ++i) {
            oil[i].t1 = QString::number(t[i][0]);
            oil[i].t2 = QString::number(t[i][1]);
            oil[i].working = QString::number(t[i][2]);
            oil[i].fuel = QLatin1String(fuel[i]);
        }
        FirstSettings regulated;
        regulated.minutes = QStringLiteral("5");
        regulated.seconds = QStringLiteral("30");
        regulated.regulation = QStringLiteral("1");
        regulated.regulationLevel = QStringLiteral("40");
        Rec oilEnd = oil[2];
        oilEnd.time = QTime(10, 4, 10);
        oilEnd.fuel = QStringLiteral("3.5");
        QStringList oilLines = cycle(oil, regulated).lines();
        oilLines.last() = recordLine(oilEnd);
        const QJsonObject oilSummary{
            {"fuel", "oil"},
            {"consumption", 3.5},              // the end line's counter
            {"consumptionAtLastRecord", 2.75}, // the last drawn record's
            {"consumptionUnit", "kg"},
            {"programmedSeconds", 5 * 60 + 30},
            {"setTemperature", 180},
            {"reachedAfterSeconds", 60},  // 176 >= 180 - 5 at 10:01:00
            {"heldForSeconds", 150 - 60}, // until the last drawn record, 10:02:30
            {"meanAbsT1T2", 9},           // (10 + 10 + 7) / 3
            {"halfMeanAbsT1T2RoundedDown", 4},
            {"highestWorking", 190},
            {"durationSeconds", 250}, // 10:00:00 to 10:04:10
            {"burnerCount", 2},
            {"powerLevelPercent", 40},
        };
        QTest::newRow("oil oven, kg") << oilLines << QString() << oilSummary;
        QTest::newRow("oil oven, kg, on a \",\" locale")
            << oilLines << QStringLiteral("pl_PL.UTF-8") << oilSummary;

        // An electric oven set to 100 °C for 90:00, records at 10:00:00, 10:00:40 and
        // 10:01:20, the end line at 10:02:00 with 4.5 kWh.
        QList<Rec> electric = records(3, QStringLiteral("3"));
        const double e[3][3] = {{20, 20, 20}, {50, 47, 60}, {80, 77, 100}};
        const char* energy[3] = {"0.5", "1.75", "3.25"};
        for (int i = 0; i < 3; ++i) {
            electric[i].time = QTime(10, 0, 0).addSecs(40 * i);
            electric[i].t1 = QString::number(e[i][0]);
            electric[i].t2 = QString::number(e[i][1]);
            electric[i].working = QString::number(e[i][2]);
            electric[i].energy = QLatin1String(energy[i]);
        }
        FirstSettings hundred;
        hundred.setTemperature = QStringLiteral("100");
        Rec electricEnd = electric[2];
        electricEnd.time = QTime(10, 2, 0);
        electricEnd.energy = QStringLiteral("4.5");
        QStringList electricLines = cycle(electric, hundred).lines();
        electricLines.last() = recordLine(electricEnd);
        QTest::newRow("electric oven, kWh")
            << electricLines << QString()
            << QJsonObject{
                   {"fuel", "electricity"},
                   {"consumption", 4.5},
                   {"consumptionAtLastRecord", 3.25},
                   {"consumptionUnit", "kWh"},
                   {"programmedSeconds", 90 * 60},
                   {"setTemperature", 100},
                   {"reachedAfterSeconds", 80}, // 100 >= 95 at 10:01:20
                   {"heldForSeconds", 0},       // which is the last drawn record
                   {"meanAbsT1T2", 2},          // (0 + 3 + 3) / 3
                   {"halfMeanAbsT1T2RoundedDown", 1},
                   {"highestWorking", 100},
                   {"durationSeconds", 120},
                   {"burnerCount", QJsonValue()}, // an electric oven has no burners
                   {"powerLevelPercent", QJsonValue()},
               };

        // A gas oven that never gets within 5 °C of its 250 °C, whose programmed seconds
        // and end line counter are no numbers; records at 10:00:00 and 10:00:10.
        QList<Rec> gas = records(2, QStringLiteral("1"));
        gas[1].time = QTime(10, 0, 10);
        gas[1].t1 = QStringLiteral("25");
        gas[1].working = QStringLiteral("100");
        gas[1].fuel = QStringLiteral("0.25");
        FirstSettings cold;
        cold.setTemperature = QStringLiteral("250");
        cold.seconds = QStringLiteral("x");
        Rec gasEnd = gas[1];
        gasEnd.fuel = QStringLiteral("x");
        QStringList gasLines = cycle(gas, cold).lines();
        gasLines.last() = recordLine(gasEnd);
        QTest::newRow("gas oven, not reached, no end counter")
            << gasLines << QString()
            << QJsonObject{
                   {"fuel", "gas"},
                   {"consumption", QJsonValue()},
                   {"consumptionAtLastRecord", 0.25},
                   {"consumptionUnit", "kg"},
                   {"programmedSeconds", QJsonValue()},
                   {"setTemperature", 250},
                   {"reachedAfterSeconds", QJsonValue()},
                   {"heldForSeconds", QJsonValue()},
                   {"meanAbsT1T2", 2.5}, // (0 + 5) / 2
                   {"halfMeanAbsT1T2RoundedDown", 1},
                   {"highestWorking", 100},
                   {"durationSeconds", 10},
                   {"burnerCount", 2},
                   {"powerLevelPercent", QJsonValue()},
               };

        // A load that stops at the third record keeps what the two before it gave (1.5 kg,
        // 20 °C each), as the labels do; the figures of the steps after the records are none.
        QStringList stopped = cycle(records(3)).lines();
        stopped[3].replace(QStringLiteral("0;20;20;"), QStringLiteral("0;2x;20;"));
        QTest::newRow("stops at a bad field") << stopped << QString()
                                              << QJsonObject{
                                                     {"fuel", QJsonValue()},
                                                     {"consumption", QJsonValue()},
                                                     {"consumptionAtLastRecord", 1.5},
                                                     {"consumptionUnit", "kg"},
                                                     {"programmedSeconds", 90 * 60},
                                                     {"setTemperature", 180},
                                                     {"reachedAfterSeconds", QJsonValue()},
                                                     {"heldForSeconds", QJsonValue()},
                                                     {"meanAbsT1T2", QJsonValue()},
                                                     {"halfMeanAbsT1T2RoundedDown", QJsonValue()},
                                                     {"highestWorking", 20},
                                                     {"durationSeconds", QJsonValue()},
                                                     {"burnerCount", 2},
                                                     {"powerLevelPercent", QJsonValue()},
                                                 };

        // Nothing drawn: every figure is none.
        QJsonObject none;
        for (const QString& key : oilSummary.keys())
            none.insert(key, QJsonValue());
        QTest::newRow("two lines, nothing drawn")
            << cycle(records(3)).lines().mid(0, 2) << QString() << none;
    }
    void summaryFigures()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, locale);
        QFETCH(QJsonObject, summary);
        const Run r =
            run({write(QStringLiteral("P4.csv"), lines), QStringLiteral("--json")}, locale);
        QCOMPARE(r.json.value("schema"), QJsonValue(1));
        QCOMPARE(r.json.value("summary").toObject(), summary);
    }

    void rendersAPicture()
    {
        const QString file = write(QStringLiteral("P2.csv"), cycle(records(5)).lines());
        const QString png = m_dir.filePath(QStringLiteral("chart.png"));
        const Run r = run({file, QStringLiteral("--check-all"), QStringLiteral("--png"), png,
                           QStringLiteral("--size"), QStringLiteral("320x200")});
        QCOMPARE(r.status, 0);
        const QImage image(png);
        QCOMPARE(image.size(), QSize(320, 200));

        // The picture says which file it shows: the line under the title, in its own ink.
        QVERIFY(run({file, QStringLiteral("--png"), png}).status == 0);
        const QImage full(png);
        const QColor ink(70, 78, 92);
        QList<int> rows;
        for (int y = 0; y < full.height(); ++y) {
            for (int x = 0; x < full.width(); ++x) {
                if (full.pixelColor(x, y) == ink) {
                    rows.append(y);
                    break;
                }
            }
        }
        QVERIFY(rows.size() >= 6);
        QVERIFY(rows.constFirst() > 15 && rows.constLast() < 60);
    }
};

QTEST_GUILESS_MAIN(TestCliChart)

#include "test_cli_chart.moc"
