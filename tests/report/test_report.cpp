#include "pdftext.h"

#include "base/failure.h"
#include "chart/chartloader.h"
#include "chart/openedcycle.h"
#include "chart/seriesname.h"
#include "report/batchreport.h"
#include "report/cyclereport.h"
#include "report/reportdocument.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

using namespace kvaro;
using namespace kvaro::testing;

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void describesTheCycle();
    void describesTheOptionsAndHeating_data();
    void describesTheOptionsAndHeating();
    void figuresTellTheDefinitionsApart_data();
    void figuresTellTheDefinitionsApart();
    void fileOpenedOnItsOwnIsNamedAsTheImportFilesIt();
    void batchTotalsArePerUnit();
    void pdfCarriesHeaderFiguresAndEvents_data();
    void pdfCarriesHeaderFiguresAndEvents();
    void longEventTableContinuesOnTheNextPage();
    void refusesACycleItCannotDraw_data();
    void refusesACycleItCannotDraw();
    void batchHasACoverAndOneReportPerCycle();
    void cancelledBatchWritesNothing_data();
    void cancelledBatchWritesNothing();
    void unwritableFileIsReported();
    void chartDrawsEveryOutputTheTableLists_data();
    void chartDrawsEveryOutputTheTableLists();
    void chartTextIsReadableOnThePage();
    void everyPageNamesItsCycleAndCountsPages();
    void lastPageEndsWithASignOff();
    void batchCoverOrdersDatesAndSumsPerUnit();

private:
    QString storedCycle(const QString& oven, const QString& name,
                        const QStringList& lines = smallCycleLines());
    QTemporaryDir m_dir;
    Language m_english;
};

void TestReport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_english = shippedLanguage("EN.dat");
    QCOMPARE(m_english.text(Text::ReportTitle), QStringLiteral("Cycle report"));
}

namespace {

// The lines with a field of every record line changed by change(fields, line index).
QStringList changed(QStringList lines, const std::function<void(QStringList&, int)>& change)
{
    for (int i = 1; i < lines.size(); ++i) {
        QStringList fields = lines[i].split(u';');
        change(fields, i);
        lines[i] = fields.join(u';');
    }
    return lines;
}

// The small cycle moved to start on `date` at `start`, one record a minute as before.
QStringList startingAt(QStringList lines, const QDate& date, const QTime& start)
{
    const int lastRecord = int(lines.size()) - 3;
    return changed(std::move(lines), [&](QStringList& fields, int i) {
        // The two lines after the records repeat the last one.
        const QTime time = start.addSecs(60 * (std::min(i, lastRecord) - 1));
        fields[field::Hour] = QString::number(time.hour());
        fields[field::Minute] = QString::number(time.minute());
        if (i == 1) {
            fields[field::StartYear] = QString::number(date.year() - 2000);
            fields[field::StartMonth] = QString::number(date.month());
            fields[field::StartDay] = QString::number(date.day());
        }
    });
}

// The height of the first word `word` poppler finds on page 1, in points; -1 if none.
double wordHeight(const QString& pdf, const QString& word, double leftOf = 1e9)
{
    const QString html =
        poppler(QStringLiteral("pdftotext"),
                {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                 QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    const QRegularExpression box(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = box.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (QRegularExpression(QStringLiteral("^") + word + QStringLiteral("$"))
                .match(m.captured(5))
                .hasMatch() &&
            m.captured(3).toDouble() < leftOf)
            return m.captured(4).toDouble() - m.captured(2).toDouble();
    }
    return -1;
}

} // namespace

QString TestReport::storedCycle(const QString& oven, const QString& name, const QStringList& lines)
{
    const QString path = m_dir.filePath(QStringLiteral("Data/") + oven + u'/' + name);
    writeCycleFile(path, lines);
    return path;
}

void TestReport::describesTheCycle()
{
    const LoadedReportCycle loaded =
        loadReportCycle(storedCycle(QStringLiteral("PIEC1"), QStringLiteral("P7.csv")),
                        CycleSource::Stored, QLatin1Char('.'), m_english);
    const CycleReport& r = loaded.report;
    QCOMPARE(r.oven, QStringLiteral("PIEC1"));
    QCOMPARE(r.number, QStringLiteral("7"));
    QCOMPARE(r.fileName, QStringLiteral("P7.csv"));
    QCOMPARE(r.date, std::optional<QDate>(QDate(2024, 5, 7)));
    QCOMPARE(r.startTimeOfDay, std::optional<int>(10 * 3600));
    QCOMPARE(r.endTimeOfDay, std::optional<int>(10 * 3600 + 7 * 60));
    QCOMPARE(r.heatingType, 0);
    QCOMPARE(r.burnerCount, 2);
    QCOMPARE(r.setTemperature, 180.0);
    QCOMPARE(r.reachedAfter, std::optional<qint64>(120));
    QCOMPARE(r.duration, std::optional<qint64>(7 * 60));
    QCOMPARE(r.heldFor, 7 * 60 - 120);
    QCOMPARE(r.consumed.value_or(-1), 2.75);
    QCOMPARE(r.unit, RecordTotals::Unit::Kilograms);
    QCOMPARE(r.highestWorking.value_or(-1), 187.0);
    QCOMPARE(r.highestExchanger.size(), 2);
    QCOMPARE(r.highestExchanger.at(0).value_or(-1), 150.5);
    QCOMPARE(r.highestExchanger.at(1).value_or(-1), 99.4);

    // The markers where the event codes change, in time order, as the chart shows them.
    QList<std::pair<int, int>> events; // burner, code
    for (const ReportEvent& e : r.events)
        events.append({e.burner, e.code});
    QVERIFY2(events.contains({1, 2}) && events.contains({2, 4}), qPrintable(QDebug::toString(r)));
    const auto flame = std::find_if(r.events.begin(), r.events.end(),
                                    [](const ReportEvent& e) { return e.code == 2; });
    QCOMPARE(flame->elapsed, 180);
    QCOMPARE(flame->timeOfDay, 10 * 3600 + 180);
    QCOMPARE(flame->exchanger, 150.5);
    QVERIFY(std::is_sorted(
        r.events.begin(), r.events.end(),
        [](const ReportEvent& a, const ReportEvent& b) { return a.elapsed < b.elapsed; }));

    // The heaters' output from its first record on to the last one it is on.
    QCOMPARE(r.outputs.size(), 1);
    QCOMPARE(r.outputs.at(0).series, series::ArrowFirst);
    QCOMPARE(r.outputs.at(0).fromElapsed, 120);
    QCOMPARE(r.outputs.at(0).fromTimeOfDay, 10 * 3600 + 120);
    QVERIFY(r.outputs.at(0).toElapsed > r.outputs.at(0).fromElapsed);
}

void TestReport::describesTheOptionsAndHeating_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("burners");
    QTest::addColumn<QString>("heating");
    QTest::addColumn<QString>("option");
    QTest::newRow("oil, airing") << "0" << int(field::AiringOption) << 2 << "oil"
                                 << "airing";
    QTest::newRow("gas, second channel") << "1" << int(field::SecondChannelOption) << 2 << "gas"
                                         << "second channel";
    QTest::newRow("electric, power regulation at 70 %")
        << "3" << int(field::PowerRegulationOption) << 0 << "electric"
        << "power regulation 70 %";
    // Every option: the cell wraps, nothing is cut short.
    QTest::newRow("gas, every option") << "1" << -1 << 2 << "gas"
                                       << "second channel, airing, power regulation 70 %";
}

void TestReport::describesTheOptionsAndHeating()
{
    QFETCH(QString, code);
    QFETCH(int, field);
    QFETCH(int, burners);
    QFETCH(QString, heating);
    QFETCH(QString, option);
    QStringList lines = smallCycleLines();
    for (int i = 1; i < lines.size(); ++i) {
        QStringList fields = lines[i].split(u';');
        fields[field::HeatingType] = code;
        if (i == 1) {
            fields[field::AiringOption] = QStringLiteral("0");
            for (const int on : field >= 0
                                    ? QList<int>{field}
                                    : QList<int>{field::SecondChannelOption, field::AiringOption,
                                                 field::PowerRegulationOption})
                fields[on] = QStringLiteral("1");
            fields[field::PowerRegulationLevel] = QStringLiteral("70");
        }
        lines[i] = fields.join(u';');
    }
    const QString path = storedCycle(QStringLiteral("OPT"), QStringLiteral("P1.csv"), lines);
    const LoadedReportCycle loaded =
        loadReportCycle(path, CycleSource::Stored, QLatin1Char('.'), m_english);
    QCOMPARE(loaded.report.burnerCount, burners);

    const QString pdf = m_dir.filePath(QStringLiteral("options.pdf"));
    QVERIFY(writeCycleReport(pdf, loaded.report, *loaded.chart, m_english, QLatin1Char('.')));
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("Heating ") + heating), qPrintable(text));
    // A long cell wraps onto the next line: every word is there, none cut short.
    QVERIFY2(text.contains(QStringLiteral("Options")), qPrintable(text));
    for (const QString& word : option.split(u' '))
        QVERIFY2(text.contains(word), qPrintable(word + " is not in\n" + text));
    QVERIFY(!text.contains(QChar(0x2026)));
}

namespace {

// A cycle the test lays out record by record, with its own end line: the file's last
// line, after the one line the chart never draws. The first record carries 7 May 2024.
struct Layout {
    QList<test::Rec> records;
    test::Rec end;
    test::FirstSettings settings;
};

QStringList linesOf(const Layout& layout)
{
    QStringList lines{QStringLiteral("typ;t1;t2;godz;min;sek")};
    for (qsizetype i = 0; i < layout.records.size(); ++i) {
        QStringList fields = (i == 0 ? test::firstRecordLine(layout.records.at(i), layout.settings)
                                     : test::recordLine(layout.records.at(i)))
                                 .split(u';');
        if (i == 0) {
            fields[field::StartYear] = QStringLiteral("24");
            fields[field::StartMonth] = QStringLiteral("5");
            fields[field::StartDay] = QStringLiteral("7");
        }
        lines.append(fields.join(u';'));
    }
    lines.append(test::recordLine(layout.records.constLast()));
    lines.append(test::recordLine(layout.end));
    return lines;
}

// Records a minute apart from `start`, each with fuel counter i / 4 kg, T1 20 + i,
// T2 = T1 - 7.4, working temperature from `working`.
Layout minuteRecords(QTime start, int count, const QList<int>& working = {})
{
    Layout layout;
    for (int i = 0; i < count; ++i) {
        test::Rec r;
        r.time = start.addSecs(60 * i);
        r.t1 = QString::number(20 + i);
        r.t2 = QString::number(20 + i - 7.4, 'f', 1);
        r.fuel = QString::number(i * 0.25, 'f', 2);
        r.working = QString::number(working.value(i, 100 + i));
        layout.records.append(r);
    }
    layout.end = layout.records.constLast();
    return layout;
}

} // namespace

// Rows where each figure's plausible wrong rules give another number than the right one:
// the end line later than the last drawn record and with a larger counter (duration and
// fuel to the end line, not the last record), |T1 - T2| = 7.4 (not half of it, rounded
// down), a cycle past midnight, a single record, a hot start, the programmed time. Every
// expected number is worked out here from the fixture's own values.
void TestReport::figuresTellTheDefinitionsApart_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("start");        // clock time, seconds
    QTest::addColumn<int>("end");          // clock time of the end line
    QTest::addColumn<qint64>("duration");  // first record to end line
    QTest::addColumn<int>("endDayOffset"); // days after the start date
    QTest::addColumn<double>("consumed");  // kg, the end line's
    QTest::addColumn<double>("highestWorking");
    QTest::addColumn<qint64>("programmed");
    QTest::addColumn<int>("outputFrom"); // clock time the first output period starts; -1 none

    {
        Layout l = minuteRecords(QTime(10, 0), 8);
        l.end.time = QTime(10, 30, 20);
        l.end.fuel = QStringLiteral("9.5");
        QTest::newRow("end line later, with more fuel")
            << linesOf(l) << 36000 << 36000 + 30 * 60 + 20 << qint64(30 * 60 + 20) << 0 << 9.5
            << 107.0 << qint64(5400) << -1;
    }
    {
        // The case the cover got wrong: 20:00:00 to the end line's 01:33:20.
        Layout l = minuteRecords(QTime(20, 0), 334);
        l.end.time = QTime(1, 33, 20);
        l.end.fuel = QStringLiteral("90.25");
        QTest::newRow("past midnight")
            << linesOf(l) << 72000 << 5600 << qint64(5 * 3600 + 33 * 60 + 20) << 1 << 90.25 << 433.0
            << qint64(5400) << -1;
    }
    {
        Layout l = minuteRecords(QTime(7, 0), 1);
        l.end.time = QTime(9, 0);
        l.end.fuel = QStringLiteral("4.00");
        QTest::newRow("one record") << linesOf(l) << 7 * 3600 << 9 * 3600 << qint64(7200) << 0
                                    << 4.0 << 100.0 << qint64(5400) << -1;
    }
    {
        // Hot at the start and cooling down: the highest is the first drawn record's.
        Layout l = minuteRecords(QTime(6, 0), 5, {250, 240, 230, 220, 210});
        l.end.time = QTime(6, 5);
        l.settings.minutes = QStringLiteral("79");
        l.settings.seconds = QStringLiteral("5");
        QTest::newRow("hot start, programmed 79:05")
            << linesOf(l) << 6 * 3600 << 6 * 3600 + 300 << qint64(300) << 0 << 1.0 << 250.0
            << qint64(79 * 60 + 5) << -1;
    }
    {
        // An output on from 00:20:00 after a 23:50:00 start is on at 00:10:00, not 24:10:00.
        Layout l = minuteRecords(QTime(23, 50), 40);
        for (int i = 20; i < 25; ++i)
            l.records[i].outputs[1] = QStringLiteral("1");
        l.end.time = QTime(0, 30);
        QTest::newRow("23:50 start, output at 00:20:00 elapsed")
            << linesOf(l) << 23 * 3600 + 50 * 60 << 1800 << qint64(40 * 60) << 1 << 9.75 << 139.0
            << qint64(5400) << 600;
    }
}

void TestReport::figuresTellTheDefinitionsApart()
{
    QFETCH(QStringList, lines);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(qint64, duration);
    QFETCH(int, endDayOffset);
    QFETCH(double, consumed);
    QFETCH(double, highestWorking);
    QFETCH(qint64, programmed);
    QFETCH(int, outputFrom);
    const QString path = storedCycle(QStringLiteral("RULES"), QStringLiteral("P5.csv"), lines);
    const LoadedReportCycle loaded =
        loadReportCycle(path, CycleSource::Stored, QLatin1Char('.'), m_english);
    const CycleReport& r = loaded.report;
    QCOMPARE(r.startTimeOfDay, std::optional<int>(start));
    QCOMPARE(r.endTimeOfDay, std::optional<int>(end));
    QCOMPARE(r.duration, std::optional<qint64>(duration));
    QCOMPARE(r.endDate, std::optional<QDate>(QDate(2024, 5, 7).addDays(endDayOffset)));
    QCOMPARE(r.consumed, std::optional<double>(consumed));
    QCOMPARE(r.unit, RecordTotals::Unit::Kilograms);
    QCOMPARE(r.highestWorking, std::optional<double>(highestWorking));
    QCOMPARE(r.programmedSeconds, std::optional<qint64>(programmed));

    // The mean of |T1 - T2| over the drawn records, from the file's own fields.
    double sum = 0;
    int drawn = 0;
    for (int i = 1; i <= std::max(1, int(lines.size()) - 3); ++i) {
        const QStringList fields = lines.at(i).split(u';');
        sum += std::abs(fields.at(field::T1).toDouble() - fields.at(field::T2).toDouble());
        ++drawn;
    }
    QVERIFY(r.meanAbsT1T2);
    QVERIFY(qFuzzyCompare(*r.meanAbsT1T2, sum / drawn));
    QVERIFY(qFuzzyCompare(*r.meanAbsT1T2, 7.4));

    // The batch cover takes the very same figures.
    const BatchRow row = batchRow(r, std::nullopt);
    QCOMPARE(row.duration, r.duration);
    QCOMPARE(row.endDate, r.endDate);
    QCOMPARE(row.consumed, r.consumed);
    QCOMPARE(row.meanAbsT1T2, r.meanAbsT1T2);

    if (outputFrom >= 0) {
        QVERIFY(!r.outputs.isEmpty());
        QCOMPARE(r.outputs.constFirst().fromTimeOfDay, outputFrom);
        QCOMPARE(r.outputs.constFirst().fromElapsed, 20 * 60);
    }

    // The report prints them: one decimal for the mean, hh:mm:ss for the durations.
    const QString pdf = m_dir.filePath(QStringLiteral("rules.pdf"));
    QVERIFY(writeCycleReport(pdf, r, *loaded.chart, m_english, QLatin1Char('.')));
    const QString text = pdfText(pdf);
    const auto clock = [](qint64 s) {
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600, 2, 10, QLatin1Char('0'))
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    };
    for (const QString& expected : {QStringLiteral("Mean |T1 \u2212 T2| 7.4 \u00b0C"),
                                    QStringLiteral("Duration ") + clock(duration),
                                    QStringLiteral("Programmed time ") + clock(programmed)})
        QVERIFY2(text.contains(expected), qPrintable(expected + " is not in\n" + text));
}

void TestReport::fileOpenedOnItsOwnIsNamedAsTheImportFilesIt()
{
    // Identifier fields 75 to 82 of three characters give their second ones: oven 13572468.
    QStringList lines = smallCycleLines();
    const QStringList ids{"313", "333", "353", "373", "123", "345", "567", "789"};
    for (int i = 1; i < lines.size(); ++i) {
        QStringList fields = lines.at(i).split(u';');
        while (fields.size() <= field::OvenIdLast)
            fields.append(QStringLiteral("0"));
        for (int k = 0; k < ids.size(); ++k)
            fields[field::OvenIdFirst + k] = ids.at(k);
        lines[i] = fields.join(u';');
    }
    const QString path = m_dir.filePath(QStringLiteral("outside/P41.csv"));
    writeCycleFile(path, lines);
    const LoadedReportCycle loaded =
        loadReportCycle(path, CycleSource::Picked, QLatin1Char('.'), m_english);
    QCOMPARE(loaded.report.oven, QStringLiteral("13572468"));
    QCOMPARE(loaded.report.number, QStringLiteral("41"));
}

void TestReport::batchTotalsArePerUnit()
{
    // One oil cycle (the end line's 2.75 kg) and one electric cycle (its end line's 3.25 kWh).
    QList<test::Rec> electric;
    for (int i = 0; i < 5; ++i) {
        test::Rec r;
        r.code = QStringLiteral("3");
        r.time = QTime(12, 0).addSecs(60 * i);
        r.energy = i == 4 ? QStringLiteral("3.25") : QString::number(i * 0.5, 'f', 1);
        electric.append(r);
    }
    QStringList electricLines;
    const LineBuffer buffer = test::cycle(electric);
    for (int i = 0; i < buffer.count(); ++i)
        electricLines.append(buffer.line(i));
    const QList<BatchCycle> cycles{
        {storedCycle(QStringLiteral("MIXED"), QStringLiteral("P1.csv")), {}},
        {storedCycle(QStringLiteral("MIXED"), QStringLiteral("P2.csv"), electricLines), {}},
        {storedCycle(QStringLiteral("MIXED"), QStringLiteral("P3.csv")), {}}};
    const QList<BatchRow> rows =
        readBatch(cycles, CycleSource::Stored, QLatin1Char('.'), m_english).rows;
    QCOMPARE(rows.size(), 3);
    QCOMPARE(consumptionByUnit(rows),
             (QList<UnitTotal>{{RecordTotals::Unit::Kilograms, 5.5, 2},
                               {RecordTotals::Unit::KilowattHours, 3.25, 1}}));
    const auto electricRow = std::find_if(rows.begin(), rows.end(), [](const BatchRow& row) {
        return row.unit == RecordTotals::Unit::KilowattHours;
    });
    QVERIFY(electricRow != rows.end());
    QCOMPARE(consumptionByUnit({*electricRow}),
             (QList<UnitTotal>{{RecordTotals::Unit::KilowattHours, 3.25, 1}}));
}

void TestReport::pdfCarriesHeaderFiguresAndEvents_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("EN, point") << "EN.dat" << QChar(u'.')
                               << QStringList{"Cycle report",
                                              "Oven PIEC1 Cycle 7",
                                              "File P7.csv Date 2024-05-07",
                                              "Start 10:00:00 End 10:07:00",
                                              "Heating oil",
                                              "Burners 2 Options airing",
                                              "Programmed time 01:30:00",
                                              "Set temperature [°C] 180.0",
                                              "Reached after 00:02:00",
                                              "Fuel used [kg] 2.750",
                                              "Highest working temperature [°C] 187.0",
                                              "Highest exchanger temperature, burner 1 [°C] 150.5",
                                              "Highest exchanger temperature, burner 2 [°C] 99.4",
                                              "Burner events",
                                              "Since start Clock time Burner Event Exchanger [°C]",
                                              "00:03:00 10:03:00 1 Flame 150.5",
                                              "00:05:00 10:05:00 2 Fault 99.4",
                                              "Output on-periods",
                                              "Output From To Length",
                                              "10:02:00 (00:02:00)",
                                              "Page 1 of 2"};
    QTest::newRow("PL, comma") << "PL.dat" << QChar(u',')
                               << QStringList{"Raport cyklu",
                                              "Piec PIEC1 Cykl 7",
                                              "Ogrzewanie olej",
                                              "Opcje przewietrzanie",
                                              "Temperatura zadana [°C] 180,0",
                                              "Osiągnięta po 00:02:00",
                                              "2,750",
                                              "00:03:00 10:03:00 1",
                                              "150,5",
                                              "Strona 1 z 2"};
}

void TestReport::pdfCarriesHeaderFiguresAndEvents()
{
    QFETCH(QString, language);
    QFETCH(QChar, separator);
    QFETCH(QStringList, expected);
    const Language words = shippedLanguage(qPrintable(language));
    const LoadedReportCycle loaded =
        loadReportCycle(storedCycle(QStringLiteral("PIEC1"), QStringLiteral("P7.csv")),
                        CycleSource::Stored, separator, words);
    const QString pdf = m_dir.filePath(QStringLiteral("cycle-") + language + ".pdf");
    QVERIFY(writeCycleReport(pdf, loaded.report, *loaded.chart, words, separator));
    // The sign-off block takes the report onto a second page.
    QCOMPARE(pdfPages(pdf), 2);
    const QString text = pdfText(pdf);
    for (const QString& line : expected)
        QVERIFY2(text.contains(line), qPrintable(line + " is not in\n" + text));
}

void TestReport::longEventTableContinuesOnTheNextPage()
{
    const QString path =
        storedCycle(QStringLiteral("LONG"), QStringLiteral("P9.csv"), smallCycleLines(120));
    const LoadedReportCycle loaded =
        loadReportCycle(path, CycleSource::Stored, QLatin1Char('.'), m_english);
    QVERIFY(loaded.report.events.size() > 100);
    const QString pdf = m_dir.filePath(QStringLiteral("long.pdf"));
    QVERIFY(writeCycleReport(pdf, loaded.report, *loaded.chart, m_english, QLatin1Char('.')));
    const int pages = pdfPages(pdf);
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));

    const QString second = pdfText(pdf, 2, 2);
    QVERIFY2(second.contains("Burner events (continued)"), qPrintable(second));
    QVERIFY(second.contains("Since start Clock time Burner Event Exchanger [°C]"));
    QVERIFY(second.contains(QStringLiteral("Page 2 of %1").arg(pages)));
    // Each page names the cycle it belongs to.
    for (int page = 1; page <= pages; ++page)
        QVERIFY(pdfText(pdf, page, page).contains(loaded.report.identity));
    // Every event once over the pages: the last one too.
    const ReportEvent& last = loaded.report.events.constLast();
    QVERIFY(pdfText(pdf).contains(hoursMinutesSeconds(last.timeOfDay)));
    QVERIFY(!pdfText(pdf, 1, 1).contains("(continued)"));

    // The chart's hundred markers refer to one picture per kind and burner (and its
    // transparency mask), held once in the file.
    QSet<std::pair<int, int>> kinds;
    for (const ReportEvent& event : loaded.report.events)
        kinds.insert({event.burner, event.code});
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const qsizetype pictures = file.readAll().count("/Subtype /Image");
    QVERIFY2(
        pictures > 0 && pictures <= 2 * kinds.size(),
        qPrintable(QStringLiteral("%1 pictures for %2 kinds").arg(pictures).arg(kinds.size())));
}

void TestReport::refusesACycleItCannotDraw_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("text");
    QTest::newRow("two lines") << smallCycleLines().mid(0, 2) << m_english.text(Text::NotDrawable);
    QStringList seven = smallCycleLines();
    for (int i = 1; i < seven.size(); ++i)
        seven[i].replace(0, 1, QStringLiteral("7"));
    QTest::newRow("heating type 7") << seven << m_english.text(Text::NotDrawable);
}

void TestReport::refusesACycleItCannotDraw()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, text);
    const QString path = storedCycle(QStringLiteral("BAD"), QStringLiteral("P1.csv"), lines);
    try {
        loadReportCycle(path, CycleSource::Stored, QLatin1Char('.'), m_english);
        QFAIL("no failure");
    } catch (const Failure& failure) {
        QCOMPARE(failure.text(), text);
        QCOMPARE(failure.file(), path);
    }
}

void TestReport::batchHasACoverAndOneReportPerCycle()
{
    QList<BatchCycle> cycles;
    const QString names[] = {QStringLiteral("P1.csv"), QStringLiteral("P2.csv"),
                             QStringLiteral("P3.csv")};
    for (const QString& name : names)
        cycles.append({storedCycle(QStringLiteral("BATCH"), name), 100});
    // A cycle too short to draw is named on the cover and has no pages.
    cycles.append({storedCycle(QStringLiteral("BATCH"), "P4.csv", smallCycleLines().mid(0, 2)), 0});
    QList<std::pair<int, int>> progress;
    const QString pdf = m_dir.filePath(QStringLiteral("batch.pdf"));
    const BatchOutcome outcome = writeBatchReport(
        pdf, QStringLiteral("BATCH"), QDate(2024, 5, 1), QDate(2024, 5, 31), cycles,
        CycleSource::Stored, m_english, QLatin1Char(','), [&](int done, int total) {
            progress.append({done, total});
        });
    QVERIFY(outcome.written);
    QCOMPARE(outcome.rows.size(), 4);
    // The cover, then each of the three cycles on its two pages.
    QCOMPARE(pdfPages(pdf), 7);
    QCOMPARE(outcome.pages, 7);
    // Read, then written: every cycle counted twice, in order, up to the end.
    QCOMPARE(progress.size(), 8);
    for (int i = 0; i < progress.size(); ++i)
        QCOMPARE(progress.at(i), std::make_pair(i + 1, 8));

    const QString cover = pdfText(pdf, 1, 1);
    const QStringList expected{
        "Batch report: oven BATCH, 2024-05-01 – 2024-05-31",
        "Cycle Date Start End Duration",
        "1 2024-05-07 10:00:00 10:07:00 00:07:00 2,750 kg 180,0 00:02:00 00:05:00 100 %",
        "3 2024-05-07 10:00:00 10:07:00 00:07:00 2,750 kg",
        "4 cannot be read: This cycle file cannot be drawn.",
        "Total 8,250 kg",
    };
    for (const QString& line : expected)
        QVERIFY2(cover.contains(line), qPrintable(line + " is not in\n" + cover));
    QVERIFY(pdfText(pdf, 2, 2).contains("Oven BATCH Cycle 1"));
    QVERIFY(pdfText(pdf, 6, 6).contains("Oven BATCH Cycle 3"));
}

void TestReport::cancelledBatchWritesNothing_data()
{
    QTest::addColumn<int>("cancelAt");
    QTest::newRow("while reading") << 1;
    QTest::newRow("while writing") << 3;
}

void TestReport::cancelledBatchWritesNothing()
{
    QFETCH(int, cancelAt);
    const QList<BatchCycle> cycles{
        {storedCycle(QStringLiteral("CANCEL"), QStringLiteral("P1.csv")), {}},
        {storedCycle(QStringLiteral("CANCEL"), QStringLiteral("P2.csv")), {}}};
    const QString pdf = m_dir.filePath(QStringLiteral("cancelled.pdf"));
    int done = 0;
    const BatchOutcome outcome = writeBatchReport(
        pdf, QStringLiteral("CANCEL"), QDate(2024, 5, 1), QDate(2024, 5, 31), cycles,
        CycleSource::Stored, m_english, QLatin1Char('.'), [&](int d, int) { done = d; },
        [&] { return done >= cancelAt; });
    QVERIFY(outcome.cancelled);
    QVERIFY(!outcome.written);
    QVERIFY(!QFile::exists(pdf));
    // Nor is anything left beside it.
    QCOMPARE(
        QDir(m_dir.path()).entryList({QStringLiteral("cancelled*")}, QDir::Files | QDir::Hidden),
        QStringList());
}

void TestReport::unwritableFileIsReported()
{
    const LoadedReportCycle loaded =
        loadReportCycle(storedCycle(QStringLiteral("PIEC1"), QStringLiteral("P7.csv")),
                        CycleSource::Stored, QLatin1Char('.'), m_english);
    QVERIFY(!writeCycleReport(m_dir.filePath(QStringLiteral("missing/folder/r.pdf")), loaded.report,
                              *loaded.chart, m_english, QLatin1Char('.')));
    const BatchOutcome outcome = writeBatchReport(
        m_dir.filePath(QStringLiteral("missing/folder/b.pdf")), "X", {}, {},
        {{loaded.report.path, {}}}, CycleSource::Stored, m_english, QLatin1Char('.'));
    QVERIFY(!outcome.written);
    QVERIFY(!outcome.cancelled);
}

QTEST_MAIN(TestReport)
#include "test_report.moc"

void TestReport::chartDrawsEveryOutputTheTableLists_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("burners");
    QTest::addColumn<int>("markerRows");
    QTest::newRow("oil, 1 burner") << "0" << 1 << 0;
    QTest::newRow("gas, 2 burners") << "1" << 2 << 0;
    QTest::newRow("gas, 8 burners: a row of markers each") << "2" << 8 << 8;
    QTest::newRow("electric") << "3" << 0 << 0;
}

// Every output the table lists has its lane in the chart, the burners' outputs of a burner
// oven too, which the window's filter list leaves out.
void TestReport::chartDrawsEveryOutputTheTableLists()
{
    QFETCH(QString, code);
    QFETCH(int, burners);
    QFETCH(int, markerRows);
    const QStringList lines = changed(smallCycleLines(), [&](QStringList& fields, int i) {
        fields[field::HeatingType] = code;
        if (i == 1)
            fields[field::BurnerCount] = QString::number(burners);
        for (const int output : {field::OutputBurner1, field::OutputFan, field::OutputAiring,
                                 field::OutputBurner2, field::OutputFan2})
            fields[output] = i >= 3 && i <= 5 ? QStringLiteral("1") : QStringLiteral("0");
    });
    const LoadedReportCycle loaded =
        loadReportCycle(storedCycle(QStringLiteral("LANES"), QStringLiteral("P1.csv"), lines),
                        CycleSource::Stored, QLatin1Char('.'), m_english);
    QStringList listed;
    for (const ReportOutputPeriod& period : loaded.report.outputs)
        listed.append(seriesName(*loaded.chart, period.series, m_english));
    QCOMPARE(listed.size(), 5);
    // Every lane in the report's language: no Polish title of the chart model.
    QCOMPARE(listed.mid(1, 2), (QStringList{"Fan", "Airing"}));
    QCOMPARE(listed.last(), QStringLiteral("Fan CH2"));

    ChartView view;
    setUpReportChart(view, m_english, 680);
    showInReportChart(view, loaded.report, loaded.chart.get(), m_english);
    QCOMPARE(view.laneNames(), listed);
    QCOMPARE(view.markerRowNames().size(), markerRows);
    if (markerRows > 0) {
        QCOMPARE(view.markerRowNames().constLast(), QStringLiteral("Burner 8"));
        // The fault of burner 2 sits on its row, under the temperatures.
        view.renderPicture(QSize(1100, 620));
        const int faults = series::event(2, 4);
        const QRectF marker = view.markerRect(faults, 0);
        QVERIFY(!marker.isEmpty());
        QVERIFY(marker.top() > view.temperatureArea().bottom());
    }
    view.setModel(nullptr);
}

// Laid out at 1100 pixels and printed 180 mm wide, the chart's smallest text, its legend and
// tick labels, is still 7 points high: measured against the tables' 8-point text.
void TestReport::chartTextIsReadableOnThePage()
{
    const LoadedReportCycle loaded =
        loadReportCycle(storedCycle(QStringLiteral("TEXT"), QStringLiteral("P7.csv")),
                        CycleSource::Stored, QLatin1Char('.'), m_english);
    const QString pdf = m_dir.filePath(QStringLiteral("text.pdf"));
    QVERIFY(writeCycleReport(pdf, loaded.report, *loaded.chart, m_english, QLatin1Char('.')));
    const double body = wordHeight(pdf, QStringLiteral("Programmed"));
    const double legend = wordHeight(pdf, QStringLiteral("T1"));
    // The temperature axis' marks, left of the tables' figures.
    const double tick = wordHeight(pdf, QStringLiteral("\\d+\\.\\d"), 130);
    QVERIFY2(body > 0 && legend > 0 && tick > 0,
             qPrintable(QStringLiteral("%1 %2 %3").arg(body).arg(legend).arg(tick)));
    QVERIFY2(8 * legend / body >= 7, qPrintable(QString::number(8 * legend / body)));
    QVERIFY2(8 * tick / body >= 7, qPrintable(QString::number(8 * tick / body)));
    const QString text = pdfText(pdf, 1, 1);
    QVERIFY2(text.contains("Time [hh:mm:ss]"), qPrintable(text));
    QString words = text;
    QVERIFY(words.remove(QRegularExpression(QStringLiteral("\\s"))).contains("Temperature[°C]"));
}

// A batch numbers its pages through; each names its cycle, the cover its batch.
void TestReport::everyPageNamesItsCycleAndCountsPages()
{
    QList<BatchCycle> cycles;
    for (const QString& name : {QStringLiteral("P1.csv"), QStringLiteral("P2.csv")})
        cycles.append({storedCycle(QStringLiteral("PAGES"), name), {}});
    cycles.append(
        {storedCycle(QStringLiteral("PAGES"), QStringLiteral("P3.csv"), smallCycleLines(120)), {}});
    const QString pdf = m_dir.filePath(QStringLiteral("pages.pdf"));
    const BatchOutcome outcome =
        writeBatchReport(pdf, QStringLiteral("PAGES"), QDate(2024, 5, 1), QDate(2024, 5, 31),
                         cycles, CycleSource::Stored, m_english, QLatin1Char('.'));
    QVERIFY(outcome.written);
    const int pages = pdfPages(pdf);
    QVERIFY(pages >= 5);
    QCOMPARE(outcome.pages, pages);
    for (int page = 1; page <= pages; ++page) {
        const QString text = pdfText(pdf, page, page);
        QVERIFY2(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)),
                 qPrintable(text));
        QVERIFY2(page == 1 ? text.contains("Batch report: oven PAGES")
                           : text.contains(QRegularExpression("PAGES \\S+ cycle [123] ")),
                 qPrintable(text));
    }
    // The continued cycle's last page names it as its first does.
    QVERIFY(pdfText(pdf, pages, pages).contains("cycle 3"));
}

void TestReport::lastPageEndsWithASignOff()
{
    const QString path =
        storedCycle(QStringLiteral("SIGN"), QStringLiteral("P5.csv"), smallCycleLines(120));
    const LoadedReportCycle loaded =
        loadReportCycle(path, CycleSource::Stored, QLatin1Char('.'), m_english);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString sha = QString::fromLatin1(
        QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
    const QString pdf = m_dir.filePath(QStringLiteral("signed.pdf"));
    {
        QFile out(pdf);
        QVERIFY(out.open(QIODevice::WriteOnly));
        ReportDocument document(&out, m_english, QLatin1Char('.'), loaded.report.identity);
        document.setGeneratedAt(QDateTime(QDate(2026, 12, 10), QTime(18, 30, 5)));
        document.addCycle(loaded.report, *loaded.chart);
        QVERIFY(document.finish());
    }
    const int pages = pdfPages(pdf);
    QVERIFY(pages >= 2);
    const QString last = pdfText(pdf, pages, pages);
    QString joined = last;
    joined.remove(QRegularExpression(QStringLiteral("\\s")));
    for (const QString& words :
         {QStringLiteral("Sign-off"), QStringLiteral("Generated on 2026-12-10 18:30:05"),
          QStringLiteral("Program version kvaro "), QStringLiteral("Checked by"),
          QStringLiteral("Date")})
        QVERIFY2(last.contains(words), qPrintable(words + " is not in\n" + last));
    QVERIFY2(joined.contains(QStringLiteral("Fromfile")) &&
                 joined.contains(QStringLiteral("P5.csv,SHA-256")) && joined.contains(sha),
             qPrintable(last));
    QVERIFY(!pdfText(pdf, 1, pages - 1).contains("Sign-off"));
}

// Listed out of order, one cycle across midnight and one of an electric oven: the cover runs
// by start, gives the later day with the end, the duration, and a total for each unit.
void TestReport::batchCoverOrdersDatesAndSumsPerUnit()
{
    const QString late =
        storedCycle(QStringLiteral("MIX"), QStringLiteral("P2.csv"),
                    startingAt(smallCycleLines(), QDate(2024, 5, 6), QTime(23, 56)));
    const QStringList electricLines = changed(smallCycleLines(), [](QStringList& fields, int i) {
        fields[field::HeatingType] = QStringLiteral("3");
        // 3.5 kWh at the last record and on the lines after it.
        fields[field::Energy] = QString::number(std::min(0.5 * (i - 1), 3.5));
    });
    const QString electric = storedCycle(QStringLiteral("MIX"), QStringLiteral("P3.csv"),
                                         startingAt(electricLines, QDate(2024, 5, 8), QTime(7, 0)));
    const QString morning = storedCycle(QStringLiteral("MIX"), QStringLiteral("P1.csv"));
    const QString pdf = m_dir.filePath(QStringLiteral("mix.pdf"));
    const BatchOutcome outcome =
        writeBatchReport(pdf, QStringLiteral("MIX"), QDate(2024, 5, 1), QDate(2024, 5, 31),
                         {{electric, 100}, {morning, 100}, {late, 100}}, CycleSource::Stored,
                         m_english, QLatin1Char('.'));
    QVERIFY(outcome.written);
    const QString cover = pdfText(pdf, 1, 1);
    const qsizetype first = cover.indexOf("\n2 2024-05-06 23:56:00");
    const qsizetype second = cover.indexOf("\n1 2024-05-07 10:00:00");
    const qsizetype third = cover.indexOf("\n3 2024-05-08 07:00:00");
    QVERIFY2(first >= 0 && first < second && second < third, qPrintable(cover));
    // Across midnight the end carries its day; every duration reads hh:mm:ss.
    QVERIFY2(cover.contains("23:56:00 2024-05-07 00:03:00 00:07:00"), qPrintable(cover));
    QVERIFY2(cover.contains("Total 5.500 kg") && cover.contains("Total 3.500 kWh"),
             qPrintable(cover));
    QVERIFY(cover.contains("Duration"));
    QVERIFY(cover.contains("Progress: time at temperature / cycle time"));
    // The pages follow the cover's order.
    QVERIFY(pdfText(pdf, 2, 2).contains("cycle 2"));
}
