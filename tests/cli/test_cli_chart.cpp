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
