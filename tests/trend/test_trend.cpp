// The figures of an oven's trend: each as its file gives it (reaching and holding the set
// temperature as the summary beside a drawn cycle states them), kept in the index while a
// file is unchanged, and put into the table and its CSV file.

#include "base/language.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogueindex.h"
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/cyclefigures.h"
#include "chart/filterlist.h"
#include "chart/openedcycle.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"
#include "exports/csvtable.h"
#include "tests/testfiles.h"
#include "tools/cyclegen.h"
#include "trend/trendbuild.h"
#include "trend/trendtable.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::shippedEnglish;
using namespace kvaro;

namespace {

// A cycle file as the import stores it.
void store(const QString& path, const QByteArray& raw)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(normalisedCopy(raw, QLatin1Char('.')));
}

// Old enough for the index to trust its stamp.
void age(const QString& path, int days = 2)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-days),
                             QFileDevice::FileModificationTime));
}

gen::CycleSpec cycleSpec(int number, int duration, bool reach)
{
    gen::CycleSpec spec;
    spec.number = number;
    spec.seed = quint64(number);
    spec.start = QDateTime(QDate(2024, 5, 10 + number % 5), QTime(6 + number, 0));
    spec.durationSeconds = duration;
    spec.samplePeriodSeconds = 30;
    spec.reachSetTemperature = reach;
    return spec;
}

// "mm:ss" or "hh:mm:ss", as elapsedLabel writes it.
qint64 seconds(const QString& label)
{
    qint64 total = 0;
    for (const QString& part : label.split(QLatin1Char(':')))
        total = total * 60 + part.toLongLong();
    return total;
}

} // namespace

Q_DECLARE_METATYPE(CycleTrendFigures)

class TestTrend : public QObject
{
    Q_OBJECT

private slots:
    // Over every cycle of the demo drive: the consumption and the duration are the end line's,
    // the mean that of |T1 - T2| over the drawn records, each read here from the file's own
    // fields; reaching and holding are what the summary states.
    void figuresAreTheFiles()
    {
        const Language language = shippedEnglish();
        QVERIFY(!language.text(Text::HeldFor).isEmpty());
        QTemporaryDir drive;
        const QStringList files = gen::writeDrive(drive.path(), gen::demoDrive(QDate(2024, 5, 20)));
        QVERIFY(files.size() >= 15);
        const QString heldFor = language.text(Text::HeldFor);
        const QRegularExpression held(QRegularExpression::escape(heldFor) +
                                      QStringLiteral(": (\\d+):(\\d\\d)$"));
        const QRegularExpression reached(
            QRegularExpression::escape(language.text(Text::SetTemperatureReachedAfter)) +
            QStringLiteral(" ([0-9:]+) "));
        int reachedCount = 0;
        for (const QString& name : files) {
            const QString path = QDir(drive.path()).filePath(name);
            const OpenedCycle opened = openCycle(path, CycleSource::Picked, QLatin1Char('.'));
            const ChartLoad load = WczytajWykres(opened.lines, language);
            const ChartSummary& summary = load.summary;
            const CycleTrendFigures f = trendFiguresOf(load.chart);

            // The file as the controller wrote it, split here.
            QFile raw(path);
            QVERIFY(raw.open(QIODevice::ReadOnly));
            QList<QStringList> lines;
            for (const QByteArray& line : raw.readAll().split('\n')) {
                if (!line.trimmed().isEmpty())
                    lines.append(QString::fromLatin1(line.trimmed()).split(QLatin1Char(',')));
            }
            const QStringList& first = lines.at(1);
            const QStringList& end = lines.constLast();
            const bool electric = end.at(field::HeatingType) == QLatin1String("3");
            QCOMPARE(f.unit,
                     electric ? RecordTotals::Unit::KilowattHours : RecordTotals::Unit::Kilograms);
            QCOMPARE(f.consumed, std::optional<double>(
                                     end.at(electric ? field::Energy : field::Fuel).toDouble()));
            const auto clock = [](const QStringList& fields) {
                return fields.at(field::Hour).toInt() * 3600 +
                       fields.at(field::Minute).toInt() * 60 + fields.at(field::Second).toInt();
            };
            // The demo cycles last less than a day.
            QCOMPARE(f.duration,
                     std::optional<qint64>((clock(end) - clock(first) + 86400) % 86400));
            double sum = 0;
            for (qsizetype i = 1; i <= lines.size() - 3; ++i)
                sum += std::abs(lines.at(i).at(field::T1).toDouble() -
                                lines.at(i).at(field::T2).toDouble());
            QVERIFY(f.meanAbsT1T2);
            QVERIFY(qFuzzyCompare(*f.meanAbsT1T2, sum / double(lines.size() - 3)));

            const QString& reachedText = summary.setTemperatureReached;
            const auto heldMatch = held.match(reachedText);
            if (reachedText == language.text(Text::SetTemperatureNotReached)) {
                QCOMPARE(f.reachedAfter, std::nullopt);
                QCOMPARE(f.heldFor, std::nullopt);
            } else {
                QVERIFY2(heldMatch.hasMatch(), qPrintable(reachedText));
                QCOMPARE(f.heldFor, std::optional<qint64>(heldMatch.captured(1).toLongLong() * 60 +
                                                          heldMatch.captured(2).toLongLong()));
                const auto reachedMatch = reached.match(reachedText);
                QCOMPARE(f.reachedAfter,
                         std::optional<qint64>(reachedMatch.hasMatch()
                                                   ? seconds(reachedMatch.captured(1))
                                                   : 0)); // reached at the very start
                ++reachedCount;
            }

            QVERIFY(f.highestWorking);
        }
        QVERIFY(reachedCount > 0);
    }

    void indexBytes_data()
    {
        QTest::addColumn<CycleTrendFigures>("figures");
        CycleTrendFigures all{12.5, RecordTotals::Unit::Kilograms, 600, 3000, 231.5, 7.4, 4200};
        QTest::newRow("every figure") << all;
        QTest::newRow("no figure") << CycleTrendFigures{};
        CycleTrendFigures electric = all;
        electric.unit = RecordTotals::Unit::KilowattHours;
        electric.reachedAfter = 0;
        electric.heldFor.reset();
        QTest::newRow("electric, reached at the start") << electric;
    }
    void indexBytes()
    {
        QFETCH(CycleTrendFigures, figures);
        const QByteArray bytes = encodeTrendFigures(figures);
        QCOMPARE(decodeTrendFigures(bytes), std::optional(figures));
        // Bytes cut short, run on, or of another layout are no figures.
        QCOMPARE(decodeTrendFigures(QByteArrayView(bytes).chopped(1)), std::nullopt);
        QCOMPARE(decodeTrendFigures(bytes + '\0'), std::nullopt);
        QByteArray otherLayout = bytes;
        otherLayout[0] = char(otherLayout[0] + 1);
        QCOMPARE(decodeTrendFigures(otherLayout), std::nullopt);
    }

    // The first trend reads every file, the next takes the index's figures; a changed file
    // is read again, a file that cannot be drawn is reported every time and never kept.
    void indexKeepsFiguresOfUnchangedFiles()
    {
        const Language language = shippedEnglish();
        QTemporaryDir home;
        const QString oven = QDir(home.path()).filePath(QStringLiteral("oven"));
        QVERIFY(QDir().mkpath(oven));
        for (int n = 1; n <= 5; ++n)
            store(QDir(oven).filePath(gen::cycleFileName(n)),
                  gen::writeCycle(cycleSpec(n, 3600 + 600 * n, n != 4)));
        // A record with a temperature that is no number stops the loader.
        QByteArray broken = normalisedCopy(gen::writeCycle(cycleSpec(6, 3600, true)), '.');
        const qsizetype secondLine = broken.indexOf('\n', broken.indexOf('\n') + 1) + 1;
        const qsizetype field = broken.indexOf(';', secondLine + 60);
        broken.insert(field, "x");
        QFile brokenFile(QDir(oven).filePath(QStringLiteral("P6.csv")));
        QVERIFY(brokenFile.open(QIODevice::WriteOnly));
        brokenFile.write(broken);
        brokenFile.close();
        for (const QString& name : QDir(oven).entryList(QDir::Files))
            age(QDir(oven).filePath(name));

        CatalogueIndex index(QDir(home.path()).filePath(QStringLiteral("cache")));
        const FixedClock clock(QDateTime(QDate(2024, 5, 20), QTime(12, 0)));
        const auto trendOf = [&] {
            const CatalogueBuild build =
                buildCatalogue(oven, language, clock, {}, Reading::Partial, {}, &index);
            return buildTrend(build.catalogue, QDate(2024, 5, 1), QDate(2024, 5, 31), language, {},
                              {}, &index);
        };
        const Trend first = trendOf();
        QCOMPARE(first.cycles.size(), 6);
        QCOMPARE(index.lastUse().read, 6);
        QCOMPARE(first.report.lines.size(), 1);
        QVERIFY2(first.report.lines.first().startsWith(QStringLiteral("P6.csv")),
                 qPrintable(first.report.message()));
        // By start, not by name: P5 started on the 10th, P6 on the 11th after P1.
        QStringList order;
        for (const TrendCycle& cycle : first.cycles)
            order.append(cycle.number);
        QCOMPARE(order, (QStringList{"5", "1", "6", "2", "3", "4"}));
        QVERIFY(!first.cycles.at(2).figures);
        QCOMPARE(first.cycles.at(5).figures->reachedAfter, std::nullopt);
        QCOMPARE(first.cycles.at(1).start, cycleSpec(1, 0, true).start);

        const Trend second = trendOf();
        QCOMPARE(index.lastUse().reused, 5);
        QCOMPARE(index.lastUse().read, 1); // the broken file
        QCOMPARE(second.cycles, first.cycles);
        QCOMPARE(second.report.lines, first.report.lines);

        // A new index object reads the same figures back from its file.
        CatalogueIndex again(index.folder());
        const CatalogueBuild build =
            buildCatalogue(oven, language, clock, {}, Reading::Partial, {}, &again);
        const Trend fromFile = buildTrend(build.catalogue, QDate(2024, 5, 1), QDate(2024, 5, 31),
                                          language, {}, {}, &again);
        QCOMPARE(again.lastUse().reused, 5);
        QCOMPARE(fromFile.cycles, first.cycles);

        const QString changed = QDir(oven).filePath(QStringLiteral("P2.csv"));
        store(changed, gen::writeCycle(cycleSpec(2, 9000, true)));
        age(changed, 1);
        const Trend third = trendOf();
        QCOMPARE(index.lastUse().read, 2);
        QVERIFY(third.cycles.at(3).figures->duration > first.cycles.at(3).figures->duration);

        // Rewritten with the same size and a newer time: its figures are read again, also by
        // a trend built from the catalogue made before the change.
        const CatalogueBuild before =
            buildCatalogue(oven, language, clock, {}, Reading::Partial, {}, &index);
        buildTrend(before.catalogue, QDate(2024, 5, 1), QDate(2024, 5, 31), language, {}, {},
                   &index);
        const QString rewritten = QDir(oven).filePath(QStringLiteral("P3.csv"));
        QFile file(rewritten);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        file.close();
        const qsizetype at = bytes.indexOf(";180;");
        QVERIFY(at > 0);
        bytes[at + 2] = '5'; // set to 150 °C: reached sooner, held longer
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        age(rewritten, 1);
        const CycleTrendReading truth = readTrendFigures(rewritten, language);
        QVERIFY(truth.figures);
        QVERIFY(truth.figures != third.cycles.at(4).figures);
        const CatalogueBuild afterwards =
            buildCatalogue(oven, language, clock, {}, Reading::Partial, {}, &index);
        for (const Catalogue* catalogue : {&before.catalogue, &afterwards.catalogue}) {
            const Trend after = buildTrend(*catalogue, QDate(2024, 5, 1), QDate(2024, 5, 31),
                                           language, {}, {}, &index);
            QCOMPARE(after.cycles.at(4).number, QStringLiteral("3"));
            QCOMPARE(after.cycles.at(4).figures, truth.figures);
        }
    }

    void progressAndCancel()
    {
        const Language language = shippedEnglish();
        QTemporaryDir home;
        for (int n = 1; n <= 4; ++n)
            store(QDir(home.path()).filePath(gen::cycleFileName(n)),
                  gen::writeCycle(cycleSpec(n, 1800, true)));
        const FixedClock clock(QDateTime(QDate(2024, 5, 20), QTime(12, 0)));
        const Catalogue catalogue = buildCatalogue(home.path(), language, clock).catalogue;
        QList<std::pair<int, int>> steps;
        const auto progress = [&](int done, int total) { steps.append({done, total}); };
        const Trend whole =
            buildTrend(catalogue, QDate(2024, 5, 1), QDate(2024, 5, 31), language, progress);
        QCOMPARE(whole.cycles.size(), 4);
        QVERIFY(!whole.cancelled);
        QCOMPARE(steps.first(), std::make_pair(0, 4));
        QCOMPARE(steps.last(), std::make_pair(4, 4));

        // Only the range's cycles: their days are 11th to 14th.
        QCOMPARE(
            buildTrend(catalogue, QDate(2024, 5, 12), QDate(2024, 5, 13), language).cycles.size(),
            2);

        int asked = 0;
        const Trend cut = buildTrend(catalogue, QDate(2024, 5, 1), QDate(2024, 5, 31), language, {},
                                     [&] { return ++asked > 2; });
        QVERIFY(cut.cancelled);
        QCOMPARE(cut.cycles, whole.cycles.mid(0, 2));
    }

    void cells_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("missing");
        QTest::newRow("start") << int(TrendColumn::Start) << QChar(',') << "2024-05-11 07:05"
                               << "2024-05-11 07:05";
        QTest::newRow("cycle") << int(TrendColumn::Cycle) << QChar(',') << "17"
                               << "17";
        QTest::newRow("kg") << int(TrendColumn::Consumption) << QChar(',') << "12,500 kg"
                            << "-";
        QTest::newRow("reached after, hh:mm:ss")
            << int(TrendColumn::ReachedAfter) << QChar('.') << "00:10:30"
            << "-";
        QTest::newRow("held") << int(TrendColumn::HeldFor) << QChar(',') << "00:50:00"
                              << "-";
        QTest::newRow("highest") << int(TrendColumn::HighestWorking) << QChar(',') << "231,5"
                                 << "-";
        QTest::newRow("mean |T1 - T2|, one decimal")
            << int(TrendColumn::MeanAbsT1T2) << QChar(',') << "7,4"
            << "-";
        QTest::newRow("duration past a day")
            << int(TrendColumn::Duration) << QChar(',') << "27:00:00"
            << "-";
    }
    void cells()
    {
        QFETCH(int, column);
        QFETCH(QChar, separator);
        QFETCH(QString, cell);
        QFETCH(QString, missing);
        TrendCycle cycle{
            QStringLiteral("P17.csv"), QStringLiteral("17"),
            QDateTime(QDate(2024, 5, 11), QTime(7, 5), Qt::UTC),
            CycleTrendFigures{12.5, RecordTotals::Unit::Kilograms, 630, 3000, 231.5, 7.4, 97200}};
        QCOMPARE(trendCell(cycle, TrendColumn(column), separator), cell);
        cycle.figures.reset();
        QCOMPARE(trendCell(cycle, TrendColumn(column), separator), missing);
    }

    void csvAndSpread()
    {
        const Language language = shippedEnglish();
        const QDateTime start(QDate(2024, 5, 11), QTime(7, 5), Qt::UTC);
        const QList<TrendCycle> cycles{
            {QStringLiteral("P1.csv"), QStringLiteral("1"), start,
             CycleTrendFigures{2.0, RecordTotals::Unit::Kilograms, 60, 120, 200, 5, 600}},
            {QStringLiteral("P2.csv"), QStringLiteral("2"), start.addDays(1), std::nullopt},
            {QStringLiteral("P3.csv"), QStringLiteral("3"), start.addDays(2),
             CycleTrendFigures{4.5, RecordTotals::Unit::Kilograms, {}, {}, 210, 6, 900}},
        };
        const QString text =
            QString::fromUtf8(trendCsv(cycles, language, QLatin1Char(',')).bytes());
        const QStringList rows = text.mid(1).split(QStringLiteral("\r\n"));
        // Headed as the report heads them, the consumption with its unit; durations
        // "hh:mm:ss", every figure with its column's decimals.
        QCOMPARE(text.split(QStringLiteral("\r\n")).value(0).remove(QChar(0xFEFF)),
                 QStringList({language.text(Text::TrendStart), language.text(Text::TrendCycle),
                              "Fuel used [kg]", "Reached after", "Held for",
                              language.text(Text::TrendHighestWorking), "Mean |T1 − T2| [°C]",
                              "Duration"})
                     .join(QLatin1Char(';')));
        QCOMPARE(rows.value(1),
                 QStringLiteral("2024-05-11 07:05;1;2,000;00:01:00;00:02:00;200,0;5,0;00:10:00"));
        QCOMPARE(rows.value(2), QStringLiteral("2024-05-12 07:05;2;;;;;;"));
        QCOMPARE(rows.value(3), QStringLiteral("2024-05-13 07:05;3;4,500;;;210,0;6,0;00:15:00"));

        // An oven that counts in both units gets a column for each, never one sum.
        QList<TrendCycle> mixed = cycles;
        mixed[2].figures->unit = RecordTotals::Unit::KilowattHours;
        const QStringList mixedRows =
            QString::fromUtf8(trendCsv(mixed, language, QLatin1Char('.')).bytes())
                .mid(1)
                .split(QStringLiteral("\r\n"));
        QCOMPARE(mixedRows.value(0).split(QLatin1Char(',')).mid(2, 2),
                 (QStringList{"Fuel used [kg]", "Energy used [kWh]"}));
        QCOMPARE(mixedRows.value(1).split(QLatin1Char(',')).mid(2, 2), (QStringList{"2.000", ""}));
        QCOMPARE(mixedRows.value(3).split(QLatin1Char(',')).mid(2, 2), (QStringList{"", "4.500"}));

        // Cycles without the figure do not count.
        const TrendSpread spread = trendSpread(cycles, TrendColumn::Consumption);
        QCOMPARE(spread.count, 2);
        QCOMPARE(spread.mean, 3.25);
        QCOMPARE(spread.deviation, 1.25);
        QCOMPARE(trendSpread(cycles, TrendColumn::ReachedAfter).deviation, 0.0);
        QCOMPARE(trendSpread(cycles.mid(1, 1), TrendColumn::Duration).count, 0);
    }
};

QTEST_GUILESS_MAIN(TestTrend)
#include "test_trend.moc"
