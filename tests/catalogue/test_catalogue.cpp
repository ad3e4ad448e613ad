#include "fixtures.h"
#include "tests/testfiles.h"

#include "base/failure.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/cyclestatistics.h"
#include "cycles/cyclefiletext.h"
#include "tools/cyclegen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::numberedText;

using namespace kvaro;
using fixtures::first;
using fixtures::header;
using fixtures::record;

using Stamp = std::optional<CycleStamp>;
Q_DECLARE_METATYPE(Stamp)

namespace {

const FixedClock fixedClock(QDateTime(QDate(2024, 5, 20), QTime(12, 0)));

// The generator writes what the controller writes; the store holds ";" between fields.
QByteArray stored(QByteArray raw)
{
    return raw.replace(',', ';');
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void cycleNumbers_data();
    void cycleNumbers();
    void entry_data();
    void entry();
    void failingFileIsLeftOutAndReported_data();
    void failingFileIsLeftOutAndReported();
    void progressCountsFiles();
    void partialReadingGivesTheWholeFilesLines_data();
    void partialReadingGivesTheWholeFilesLines();
    void partialCatalogueEqualsWholeOnGeneratedOven();
};

void TestCatalogue::cycleNumbers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::newRow("plain") << "P123.csv"
                           << "123";
    QTest::newRow("two P") << "P1P2.csv"
                           << "12";
    QTest::newRow("lower-case p") << "p123.csv"
                                  << "p123";
    QTest::newRow("upper-case extension") << "P123.CSV"
                                          << "123.CSV";
    QTest::newRow("nothing left") << "P.csv"
                                  << "";
}

void TestCatalogue::cycleNumbers()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QTemporaryDir dir;
    QVERIFY(fixtures::writeLines(dir.filePath(name), {header(), first(), first()}));
    const CatalogueBuild build = buildCatalogue(dir.path(), fixtures::language(), fixedClock);
    QCOMPARE(build.catalogue.CycleFileNames, QStringList{name});
    QCOMPARE(build.catalogue.CycleNumbers, QStringList{number});
}

void TestCatalogue::entry_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("startTime");
    QTest::addColumn<Stamp>("start");
    QTest::addColumn<Stamp>("end");
    QTest::addColumn<bool>("endRow");
    QTest::addColumn<QStringList>("report");

    const QString end = record({{3, "10"}, {4, "2"}, {5, "7"}, {6, "1.5"}});
    const CycleStamp start{2019, 4, 7, 8, 5};
    QTest::newRow("dated") << QStringList{header(), first(), end} << QDate(2019, 4, 7) << "8:5"
                           << Stamp(start) << Stamp(CycleStamp{2019, 4, 7, 10, 2}) << true
                           << QStringList{};
    QTest::newRow("date field 0") << QStringList{header(), first("8", "5", {{54, "0"}}), end}
                                  << fixedClock.today() << "8:5" << Stamp() << Stamp() << true
                                  << QStringList{numberedText(Text::NoValidRecord) +
                                                 QStringLiteral("P1.csv")};
    QTest::newRow("header only") << QStringList{header()} << QDate() << "" << Stamp() << Stamp()
                                 << false
                                 << QStringList{numberedText(Text::NoValidRecord) +
                                                QStringLiteral("P1.csv")};
    QTest::newRow("first record is the last line")
        << QStringList{header(), first()} << QDate(2019, 4, 7) << "8:5" << Stamp(start)
        << Stamp(start) << true << QStringList{};
    QTest::newRow("past midnight ends the next day")
        << QStringList{header(), first("23", "10"), record({{3, "1"}, {4, "20"}})}
        << QDate(2019, 4, 7) << "23:10" << Stamp(CycleStamp{2019, 4, 7, 23, 10})
        << Stamp(CycleStamp{2019, 4, 8, 1, 20}) << true << QStringList{};
    // An editor's extra line break at the end costs the cycle nothing.
    QTest::newRow("blank lines after the end record")
        << QStringList{header(), first(), end, "", ""} << QDate(2019, 4, 7) << "8:5" << Stamp(start)
        << Stamp(CycleStamp{2019, 4, 7, 10, 2}) << true << QStringList{};
    QTest::newRow("header and a blank line")
        << QStringList{header(), ""} << QDate() << "" << Stamp() << Stamp() << false
        << QStringList{numberedText(Text::NoValidRecord) + QStringLiteral("P1.csv")};
    QTest::newRow("last line no record")
        << QStringList{header(), first(), "end"} << QDate(2019, 4, 7) << "8:5" << Stamp(start)
        << Stamp() << false << QStringList{};
    QTest::newRow("second header line")
        << QStringList{header(), "x;y", first(), end} << QDate(2019, 4, 7) << "8:5" << Stamp(start)
        << Stamp(CycleStamp{2019, 4, 7, 10, 2}) << true << QStringList{};
    QTest::newRow("one-digit year")
        << QStringList{header(), first("8", "5", {{53, "5"}}), end} << QDate(205, 4, 7) << "8:5"
        << Stamp(CycleStamp{2005, 4, 7, 8, 5}) << Stamp(CycleStamp{2005, 4, 7, 10, 2}) << true
        << QStringList{};
}

void TestCatalogue::entry()
{
    QFETCH(QStringList, lines);
    QFETCH(QDate, date);
    QFETCH(QString, startTime);
    QFETCH(Stamp, start);
    QFETCH(Stamp, end);
    QFETCH(bool, endRow);
    QFETCH(QStringList, report);

    QTemporaryDir dir;
    QVERIFY(fixtures::writeLines(dir.filePath("P1.csv"), lines));
    for (const Reading reading : {Reading::Partial, Reading::Whole}) {
        const CatalogueBuild build =
            buildCatalogue(dir.path(), fixtures::language(), fixedClock, {}, reading);
        const Catalogue& c = build.catalogue;
        QCOMPARE(c.size(), 1);
        QCOMPARE(c.CycleDates.at(0), date);
        QCOMPARE(c.ListBox3.at(0), startTime);
        QCOMPARE(c.CycleStartStamps.at(0), start);
        QCOMPARE(c.CycleEndStamps.at(0), end);
        QCOMPARE(c.StartRecordTable.at(0).size(), startTime.isEmpty() ? 0 : StartRecordColumns);
        QCOMPARE(c.EndRecordTable.at(0).size(), endRow ? EndRecordColumns : 0);
        QCOMPARE(build.report.lines, report);
    }
}

void TestCatalogue::failingFileIsLeftOutAndReported_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("report");
    const QByteArray h = header().toUtf8() + "\r\n";
    const QByteArray f = first().toUtf8() + "\r\n";
    QTest::newRow("empty file") << QByteArray() << "P2.csv, line 1: List index out of bounds (0)";
    QTest::newRow("empty line before the first record")
        << h + "\r\n" + f << "P2.csv, line 2: List index out of bounds (0)";
    QTest::newRow("short first record")
        << h + record({{3, "8"}}, 40).toUtf8() << "P2.csv, line 2: List index out of bounds (53)";
    QTest::newRow("month 13") << h + first("8", "5", {{54, "13"}}).toUtf8()
                              << "P2.csv, line 2: Invalid argument to date encode";
    QTest::newRow("hour not a number")
        << h + first("x").toUtf8() << "P2.csv, line 2: 'x' is not a valid integer value";
    QTest::newRow("end minute not a number") << h + f + record({{3, "9"}, {4, "y"}}).toUtf8()
                                             << "P2.csv, line 3: 'y' is not a valid integer value";
}

void TestCatalogue::failingFileIsLeftOutAndReported()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, report);
    QTemporaryDir dir;
    QVERIFY(fixtures::writeLines(dir.filePath("P1.csv"), {header(), first(), first()}));
    QVERIFY(fixtures::write(dir.filePath("P2.csv"), bytes));
    QVERIFY(fixtures::writeLines(dir.filePath("P3.csv"), {header()}));
    for (const Reading reading : {Reading::Partial, Reading::Whole}) {
        const CatalogueBuild build =
            buildCatalogue(dir.path(), fixtures::language(), fixedClock, {}, reading);
        QCOMPARE(build.catalogue.CycleFileNames, (QStringList{"P1.csv", "P3.csv"}));
        QCOMPARE(build.catalogue.CycleNumbers, (QStringList{"1", "3"}));
        QCOMPARE(build.report.lines, (QStringList{report, numberedText(Text::NoValidRecord) +
                                                              QStringLiteral("P3.csv")}));
    }
}

void TestCatalogue::progressCountsFiles()
{
    QTemporaryDir dir;
    for (int i = 1; i <= 25; ++i)
        QVERIFY(fixtures::writeLines(dir.filePath(QStringLiteral("P%1.csv").arg(i)),
                                     {header(), first(), first()}));
    QList<std::pair<int, int>> calls;
    buildCatalogue(dir.path(), fixtures::language(), fixedClock, [&](int done, int total) {
        calls.append({done, total});
    });
    QCOMPARE(calls.size(), 26);
    for (int i = 0; i <= 25; ++i)
        QCOMPARE(calls.at(i), std::pair(i, 25));
}

void TestCatalogue::partialReadingGivesTheWholeFilesLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const auto utf16 = [](const QString& text, bool bigEndian = false) {
        QByteArray out = bigEndian ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
        for (const QChar c : text) {
            const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
            out += bigEndian ? QByteArray{&hi, 1} + QByteArray{&lo, 1}
                             : QByteArray{&lo, 1} + QByteArray{&hi, 1};
        }
        return out;
    };
    const int chunk = 4 * 1024; // the partial reader's first chunk
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one break") << QByteArray("\n");
    QTest::newRow("no final break") << QByteArray("M;A\r\n1;B\r\n1;C");
    QTest::newRow("two final breaks") << QByteArray("M;A\n1;B\n\n");
    QTest::newRow("CR only") << QByteArray("M;A\r1;B\r1;C\r");
    QTest::newRow("mixed") << QByteArray("a\n\r\nb\r\r\nc\n\r");
    QTest::newRow("CR LF across a chunk") << QByteArray(chunk - 1, 'x') + "\r\n1;Upper\r\n2;Ende";
    QTest::newRow("lines over 4096 and a chunk") << "M\r\n" + QByteArray(5000, 'A') + "\r\n1;" +
                                                        QByteArray(3 * chunk, 'B') + "\r\n" +
                                                        QByteArray(70000, 'C') + "\r\n";
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFM;\xC3\x84\r\n1;\xC3\xA9\r\n");
    QTest::newRow("UTF-16 LE, no final break") << utf16(QStringLiteral("M;Ä\r\n1;é\r\n3;Z"));
    QTest::newRow("UTF-16 BE") << utf16(QStringLiteral("M\r\n1;X\r\n2;Y\r\n"), true);
    QTest::newRow("UTF-16 CR LF across a chunk")
        << utf16(QString(chunk / 2 - 1, QLatin1Char('x')) + QStringLiteral("\r\n1;Q\r\n"));
    QTest::newRow("UTF-16 odd length") << utf16(QStringLiteral("M\r\n1;X")) + "\x41";
    // Broken characters decode to a replacement character, whether or not the reader has
    // more bytes to come.
    QTest::newRow("broken UTF-8 alone") << QByteArray("\xD1");
    QTest::newRow("broken UTF-8 at the end") << QByteArray("M;A\r\n1;\xE2\x82");
    QTest::newRow("broken UTF-8 across a chunk")
        << QByteArray(chunk - 1, 'x') + "\xE2\x82\r\n1;\xC3\r\n";
    QTest::newRow("UTF-16 long last line")
        << utf16(QStringLiteral("M\r\n") + QString(20000, QLatin1Char('L')) + QStringLiteral("\n"));
    // Inputs the fuzzer once found the two readings disagreeing on.
    const QDir found(QStringLiteral(KVARO_FIXTURES "/fuzz"));
    for (const QString& name : found.entryList(QDir::Files, QDir::Name)) {
        QFile file(found.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTest::newRow(qPrintable(QStringLiteral("fuzz finding ") + name)) << file.readAll();
    }
}

void TestCatalogue::partialReadingGivesTheWholeFilesLines()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath("P1.csv");
    QVERIFY(fixtures::write(path, bytes));
    for (const auto letterCase : {LineBuffer::Case::Keep, LineBuffer::Case::Lower}) {
        const auto whole = CycleFileText::open(path, Reading::Whole, letterCase);
        // The last line first: the partial reader must find it without reading forward.
        const auto partial = CycleFileText::open(path, Reading::Partial, letterCase);
        QCOMPARE(partial->lastLine(), whole->lastLine());
        for (int i = 0; i <= whole->lineCount(); ++i) {
            QCOMPARE(partial->hasLine(i), whole->hasLine(i));
            QCOMPARE(partial->line(i), whole->line(i));
        }
        QCOMPARE(partial->lineCount(), whole->lineCount());
    }
}

void TestCatalogue::partialCatalogueEqualsWholeOnGeneratedOven()
{
    QTemporaryDir dir;
    int number = 1;
    for (const auto encoding :
         {gen::Encoding::Plain, gen::Encoding::Utf8Bom, gen::Encoding::Utf16LeBom}) {
        for (const bool finalBreak : {true, false}) {
            for (const bool reach : {true, false}) {
                gen::CycleSpec spec;
                spec.encoding = encoding;
                spec.finalLineBreak = finalBreak;
                spec.reachSetTemperature = reach;
                spec.number = number;
                spec.seed = quint64(number);
                spec.heatingType = number % 4;
                spec.durationSeconds = 3600 + number * 600;
                // Every third cycle runs past midnight, every fifth has no date.
                spec.start = QDateTime(QDate(2024, 3, 14), QTime(number % 3 ? 8 : 23, 40));
                if (number % 5 == 0)
                    spec.start = QDateTime();
                QVERIFY(fixtures::write(dir.filePath(gen::cycleFileName(number)),
                                        stored(gen::writeCycle(spec))));
                ++number;
            }
        }
    }
    const CatalogueBuild partial =
        buildCatalogue(dir.path(), fixtures::language(), fixedClock, {}, Reading::Partial);
    const CatalogueBuild whole =
        buildCatalogue(dir.path(), fixtures::language(), fixedClock, {}, Reading::Whole);
    const Catalogue& p = partial.catalogue;
    const Catalogue& w = whole.catalogue;
    QCOMPARE(p.size(), number - 1);
    QCOMPARE(p.CycleFileNames, w.CycleFileNames);
    QCOMPARE(p.CycleNumbers, w.CycleNumbers);
    QCOMPARE(p.CycleDates, w.CycleDates);
    QCOMPARE(p.ListBox3, w.ListBox3);
    QCOMPARE(p.CycleStartStamps, w.CycleStartStamps);
    QCOMPARE(p.CycleEndStamps, w.CycleEndStamps);
    QCOMPARE(p.StartRecordTable, w.StartRecordTable);
    QCOMPARE(p.EndRecordTable, w.EndRecordTable);
    QCOMPARE(partial.report.lines, whole.report.lines);
    int reached = 0;
    for (const QString& name : p.CycleFileNames) {
        const QString path = dir.filePath(name);
        const int seconds = getSekundWtemperaturze(path, 180, Reading::Partial);
        QCOMPARE(seconds, getSekundWtemperaturze(path, 180, Reading::Whole));
        QCOMPARE(getCyklSekund(path, Reading::Partial), getCyklSekund(path, Reading::Whole));
        reached += seconds > 0;
    }
    QVERIFY(reached > 0);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
