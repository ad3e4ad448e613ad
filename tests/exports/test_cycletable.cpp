// A cycle as a spreadsheet table: every cell of small cycles in both kinds of locale, the
// failures it shares with the chart, and the file read back by another program's CSV reader.
#include "tests/chart/cyclefixture.h"
#include "tests/chart/loadedcycle.h"
#include "tests/testfiles.h"

#include "base/failure.h"
#include "chart/openedcycle.h"
#include "exports/cycletable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(kvaro::LineBuffer)

using kvaro::testing::shippedEnglish;
using namespace kvaro;
using namespace kvaro::test;

namespace {

using Rows = QList<QStringList>;

OpenedCycle opened(const LineBuffer& lines)
{
    return OpenedCycle{lines, lines.trimmedCount() >= line::MinimumCount};
}

// The table's rows cut at the field separator; the fixtures hold no field that is quoted.
Rows cut(const CsvTable& table)
{
    const QByteArray bytes = table.bytes();
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {};
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    if (lines.constLast().isEmpty())
        lines.removeLast();
    Rows rows;
    for (const QString& line : lines)
        rows.append(line.split(table.fieldSeparator()));
    return rows;
}

// The expected rows with a locale's decimal separator in place of the point.
Rows withDecimal(Rows rows, QChar decimal)
{
    for (QStringList& row : rows)
        row.replaceInStrings(QStringLiteral("."), QString(decimal));
    return rows;
}

// The outputs as the chart's arrows and the report name them.
// Named in the table's language, as the report and the chart's lanes name them.
const QStringList Outputs{"Burner 1 [0/1]", "Fan [0/1]", "Airing [0/1]", "Burner 2 [0/1]",
                          "Fan CH2 [0/1]"};
const QStringList Measured{"Clock time", "Time from the start", "T1 [°C]", "T2 [°C]",
                           "Working temperature [°C]"};

// Two burners over midnight and on into the next evening, past 24 hours from the start.
LineBuffer pastMidnight()
{
    QList<Rec> list = records(4);
    list[0].time = QTime(22, 0, 0);
    list[0].t1 = QStringLiteral("20.5");
    list[0].t2 = QStringLiteral("19");
    list[0].working = QStringLiteral("21.25");
    list[0].exchanger = {QStringLiteral("100.5"), QStringLiteral("90")};
    list[0].events = {1, 0};
    list[0].outputs = {QStringLiteral("1")};
    list[1].time = QTime(23, 59, 59);
    list[1].t1 = QStringLiteral("150");
    list[1].t2 = QStringLiteral("-0.5");
    list[1].working = QStringLiteral("149");
    list[1].exchanger = {QStringLiteral("200")};
    list[1].events = {2, 4};
    list[1].outputs = {QStringLiteral("1"), QStringLiteral("1"), QString(), QStringLiteral("1")};
    list[2].time = QTime(0, 0, 1);
    list[2].t1 = QStringLiteral("151.75");
    list[2].exchanger = {QStringLiteral("201"), QStringLiteral("3.5")};
    list[2].events = {2, 4};
    list[2].outputs = {QString(), QString(), QStringLiteral("1"), QString(), QStringLiteral("1")};
    list[3].time = QTime(23, 30, 0);
    list[3].t1 = QStringLiteral("180");
    list[3].events = {0, 7};
    return cycle(list);
}

LineBuffer electric()
{
    QList<Rec> list = records(3, QStringLiteral("3"));
    list[0].outputs = {QStringLiteral("1"), QString(), QString(), QStringLiteral("1")};
    list[1].t1 = QStringLiteral("30.25");
    list[1].power = QStringLiteral("55.5");
    list[1].outputs = {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")};
    list[2].power = QStringLiteral("0");
    return cycle(list);
}

// One burner; a line that is no record between two that are, and an electric record in a
// burner cycle.
LineBuffer mixed()
{
    QList<Rec> list = records(3);
    list[0].exchanger = {QStringLiteral("55")};
    list[0].events = {3};
    list[1].code = QStringLiteral("9");
    list[2].code = QStringLiteral("3");
    FirstSettings settings;
    settings.burners = QStringLiteral("1");
    return cycle(list, settings);
}

// A first record that claims more burners than a record holds.
LineBuffer twelveBurners()
{
    FirstSettings settings;
    settings.burners = QStringLiteral("12");
    QList<Rec> list = records(1);
    list[0].exchanger[7] = QStringLiteral("8.5");
    list[0].events = {0, 0, 0, 0, 0, 0, 0, 6};
    return cycle(list, settings);
}

// Records written with the decimals the controller chose, and an electric cycle with one
// burner-coded record: the chart draws no power point there, the table writes no power.
LineBuffer writtenDecimals()
{
    QList<Rec> list = records(3, QStringLiteral("3"));
    list[0].t1 = QStringLiteral("22.0");
    list[0].working = QStringLiteral("180.50");
    list[0].energy = QStringLiteral("0.10");
    list[1].code = QStringLiteral("0");
    list[1].fuel = QStringLiteral("7.0");
    list[2].power = QStringLiteral("40.0");
    list[2].energy = QStringLiteral("1.250");
    return cycle(list);
}

QStringList numbered(const QString& form, int count)
{
    QStringList names;
    for (int n = 1; n <= count; ++n)
        names.append(form.arg(n));
    return names;
}

} // namespace

class TestCycleTable : public QObject
{
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void failsAsTheChartFails_data();
    void failsAsTheChartFails();
    void readBackByPython_data();
    void readBackByPython();
};

void TestCycleTable::cells_data()
{
    QTest::addColumn<LineBuffer>("lines");
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<Rows>("rows");

    const QStringList fuel{QStringLiteral("Fuel used [kg]")};
    const QString energy = QStringLiteral("Energy used [kWh]");
    const QStringList heaterOutputs{"Heaters [0/1]", "Fan [0/1]", "Airing [0/1]",
                                    "Heaters CH2 [0/1]", "Fan CH2 [0/1]"};
    const Rows burners{
        Measured + numbered(QStringLiteral("Exchanger %1 [°C]"), 2) + fuel + Outputs +
            numbered(QStringLiteral("Burner %1 event code"), 2),
        {"22:00:00", "00:00:00", "20.5", "19", "21.25", "100.5", "90", "1.5", "1", "0", "0", "0",
         "0", "1", "0"},
        {"23:59:59", "01:59:59", "150", "-0.5", "149", "200", "0", "1.5", "1", "1", "0", "1", "0",
         "2", "4"},
        {"00:00:01", "02:00:01", "151.75", "20", "20", "201", "3.5", "1.5", "0", "0", "1", "0", "1",
         "2", "4"},
        {"23:30:00", "25:30:00", "180", "20", "20", "0", "0", "1.5", "0", "0", "0", "0", "0", "0",
         "7"},
    };
    const Rows heaters{
        Measured + QStringList{"P [%]", energy} + heaterOutputs,
        {"10:00:00", "00:00:00", "20", "20", "20", "40", "3.25", "1", "0", "0", "1", "0"},
        {"10:00:01", "00:00:01", "30.25", "20", "20", "55.5", "3.25", "1", "1", "1", "0", "0"},
        {"10:00:02", "00:00:02", "20", "20", "20", "0", "3.25", "0", "0", "0", "0", "0"},
    };
    const Rows oneBurner{
        Measured + QStringList{"Exchanger 1 [°C]"} + fuel + Outputs +
            QStringList{"Burner 1 event code"},
        {"10:00:00", "00:00:00", "20", "20", "20", "55", "1.5", "0", "0", "0", "0", "0", "3"},
        {"10:00:02", "00:00:02", "20", "20", "20", "", "", "0", "0", "0", "0", "0", ""},
    };
    const Rows eight{
        Measured + numbered(QStringLiteral("Exchanger %1 [°C]"), 8) + fuel + Outputs +
            numbered(QStringLiteral("Burner %1 event code"), 8),
        QStringList{"10:00:00", "00:00:00", "20", "20", "20", "0", "0", "0", "0", "0", "0", "0",
                    "8.5", "1.5", "0", "0", "0", "0", "0"} +
            QStringList{"0", "0", "0", "0", "0", "0", "0", "6"},
    };
    const Rows decimals{
        Measured + QStringList{"P [%]", energy} + heaterOutputs,
        {"10:00:00", "00:00:00", "22.0", "20", "180.50", "40", "0.10", "0", "0", "0", "0", "0"},
        {"10:00:01", "00:00:01", "20", "20", "20", "", "", "0", "0", "0", "0", "0"},
        {"10:00:02", "00:00:02", "20", "20", "20", "40.0", "1.250", "0", "0", "0", "0", "0"},
    };
    for (const QChar decimal : {QLatin1Char('.'), QLatin1Char(',')}) {
        const char* locale = decimal == QLatin1Char(',') ? "comma locale" : "point locale";
        QTest::addRow("burners past midnight, %s", locale)
            << pastMidnight() << decimal << withDecimal(burners, decimal);
        QTest::addRow("electric, %s", locale)
            << electric() << decimal << withDecimal(heaters, decimal);
        QTest::addRow("a line that is no record, an electric record, %s", locale)
            << mixed() << decimal << withDecimal(oneBurner, decimal);
        QTest::addRow("twelve burners claimed, %s", locale)
            << twelveBurners() << decimal << withDecimal(eight, decimal);
        QTest::addRow("decimals as written, a burner record in an electric cycle, %s", locale)
            << writtenDecimals() << decimal << withDecimal(decimals, decimal);
    }
}

void TestCycleTable::cells()
{
    QFETCH(LineBuffer, lines);
    QFETCH(QChar, decimal);
    QFETCH(Rows, rows);
    const CsvTable table = cycleTable(opened(lines), shippedEnglish(), decimal);
    QCOMPARE(table.fieldSeparator(), decimal == QLatin1Char(',') ? u';' : u',');
    const Rows written = cut(table);
    QCOMPARE(written.size(), rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r)
        QCOMPARE(written.at(r), rows.at(r));
}

void TestCycleTable::failsAsTheChartFails_data()
{
    QTest::addColumn<LineBuffer>("lines");
    QTest::addColumn<QString>("message");

    QList<Rec> bad = records(3);
    bad[1].t1 = QStringLiteral("2x");
    QTest::newRow("a field that does not convert")
        << cycle(bad) << QStringLiteral("'2x' is not a valid floating point value\nP7.csv, line 3");

    // Every field the records are read for is there; the fourth output, read only when the
    // arrows are laid out after the records, is not.
    LineBuffer cutShort = cycle(records(3));
    QStringList lines = cutShort.lines();
    lines[2] = lines[2].section(QLatin1Char(';'), 0, field::OutputAiring);
    cutShort.setLines(lines);
    QTest::newRow("an output field missing")
        << cutShort << QStringLiteral("List index out of bounds (33)\nP7.csv, line 3");

    QTest::newRow("a heating type it cannot draw")
        << cycle(records(3, QStringLiteral("7"))) << QStringLiteral("L17\nP7.csv, line 2");

    LineBuffer twoLines(LineBuffer::Case::Lower);
    twoLines.setLines(cycle(records(1)).lines().mid(0, 2));
    twoLines.setFileName(QStringLiteral("P7.csv"));
    QTest::newRow("too few lines") << twoLines << QStringLiteral("L17\nP7.csv");
}

void TestCycleTable::failsAsTheChartFails()
{
    QFETCH(LineBuffer, lines);
    QFETCH(QString, message);
    const Language language = numberedLanguage();
    QString failed;
    try {
        cycleTable(opened(lines), language, QLatin1Char(','));
    } catch (const Failure& failure) {
        failed = failure.message();
    }
    QCOMPARE(failed, message);

    // Where the chart's load stops, it stops with the same words.
    if (opened(lines).drawable) {
        Window window;
        QString loaderFailed;
        try {
            window.load(lines);
        } catch (const Failure& failure) {
            loaderFailed = failure.message();
        }
        if (!loaderFailed.isEmpty())
            QCOMPARE(loaderFailed, message);
    }
}

void TestCycleTable::readBackByPython_data()
{
    QTest::addColumn<QChar>("decimal");
    QTest::newRow("comma locale") << QChar(u',');
    QTest::newRow("point locale") << QChar(u'.');
}

void TestCycleTable::readBackByPython()
{
    QFETCH(QChar, decimal);
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        QSKIP("python3 is not installed");

    // A translation whose header word holds both separators and a quote: the reader must
    // get it back whole.
    QStringList texts(LastNamedText + 1);
    texts[int(Text::CsvT1)] = QStringLiteral("T1 \"góra\"; [°C], A");
    const CsvTable table = cycleTable(opened(pastMidnight()), Language(texts), decimal);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("P7.csv"));
    table.save(path);

    const QString script = QStringLiteral(
        "import csv, json, sys\n"
        "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
        "    rows = list(csv.reader(f, delimiter=sys.argv[2]))\n"
        "print(json.dumps({'rows': len(rows), 'widths': sorted({len(r) for r in rows}),\n"
        "                  'header': rows[0], 'second': rows[2]}))\n");
    QProcess process;
    process.start(python, {QStringLiteral("-c"), script, path, QString(table.fieldSeparator())});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 0);
    const QJsonObject read = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
    QCOMPARE(read.value("rows").toInt(), 5);
    QCOMPARE(read.value("widths").toArray(), QJsonArray{15});
    const QJsonArray header = read.value("header").toArray();
    QCOMPARE(header.at(0).toString(), QStringLiteral("Clock time"));
    QCOMPARE(header.at(2).toString(), texts.at(int(Text::CsvT1)));
    QCOMPARE(header.at(14).toString(), QStringLiteral("Burner 2 event code"));
    const QJsonArray second = read.value("second").toArray();
    QCOMPARE(second.at(0).toString(), QStringLiteral("23:59:59"));
    QCOMPARE(second.at(1).toString(), QStringLiteral("01:59:59"));
    QCOMPARE(second.at(3).toString(), QStringLiteral("-0") + decimal + QStringLiteral("5"));
    QCOMPARE(second.at(14).toString(), QStringLiteral("4"));
}

QTEST_GUILESS_MAIN(TestCycleTable)
#include "test_cycletable.moc"
