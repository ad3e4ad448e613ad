#include "pdftext.h"

#include "chart/chartloader.h"
#include "chart/openedcycle.h"
#include "cycles/failure.h"
#include "report/batchreport.h"
#include "report/cyclereport.h"
#include "report/reportdocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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
    void pdfCarriesHeaderFiguresAndEvents_data();
    void pdfCarriesHeaderFiguresAndEvents();
    void longEventTableContinuesOnTheNextPage();
    void refusesACycleItCannotDraw_data();
    void refusesACycleItCannotDraw();
    void batchHasACoverAndOneReportPerCycle();
    void cancelledBatchWritesNothing_data();
    void cancelledBatchWritesNothing();
    void unwritableFileIsReported();

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
    QCOMPARE(r.heldFor, r.duration - 120);
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
    QTest::newRow("electric, power regulation")
        << "3" << int(field::PowerRegulationOption) << 0 << "electric"
        << "power regulation";
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
            fields[field] = QStringLiteral("1");
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
    QVERIFY2(text.contains(QStringLiteral("Options ") + option), qPrintable(text));
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
                                              "Programmed time 90:00",
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
                                              "Page 1"};
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
                                              "Strona 1"};
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
    QCOMPARE(pdfPages(pdf), 1);
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
    QVERIFY(second.contains("Page 2"));
    // Every event once over the pages: the last one too.
    const ReportEvent& last = loaded.report.events.constLast();
    QVERIFY(pdfText(pdf).contains(hoursMinutesSeconds(last.timeOfDay)));
    QVERIFY(!pdfText(pdf, 1, 1).contains("(continued)"));
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
    QCOMPARE(pdfPages(pdf), 4);
    QCOMPARE(outcome.pages, 4);
    // Read, then written: every cycle counted twice, in order, up to the end.
    QCOMPARE(progress.size(), 8);
    for (int i = 0; i < progress.size(); ++i)
        QCOMPARE(progress.at(i), std::make_pair(i + 1, 8));

    const QString cover = pdfText(pdf, 1, 1);
    const QStringList expected{
        "Batch report: oven BATCH, 2024-05-01 – 2024-05-31",
        "Cycle Date Start End Consumption",
        "1 2024-05-07 10:00:00 10:07:00 2,750 kg 180,0 00:02:00 00:05:00 100 %",
        "3 2024-05-07 10:00:00 10:07:00 2,750 kg",
        "4 cannot be read: This cycle file cannot be drawn.",
        "Total 8,250 kg",
    };
    for (const QString& line : expected)
        QVERIFY2(cover.contains(line), qPrintable(line + " is not in\n" + cover));
    QVERIFY(pdfText(pdf, 2, 2).contains("Oven BATCH Cycle 1"));
    QVERIFY(pdfText(pdf, 4, 4).contains("Oven BATCH Cycle 3"));
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
