// The index is a cache: whatever happened to the files or to the index file, a catalogue
// and a listing built with it equal those built without it. These tests also check that it
// is used (files unchanged are not read again), since a cache never consulted would pass
// the equality checks too.
#include "fixtures.h"

#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogueindex.h"
#include "catalogue/cyclelist.h"
#include "tools/cyclegen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kvaro;
using fixtures::header;
using fixtures::record;

namespace {

const FixedClock fixedClock(QDateTime(QDate(2024, 5, 20), QTime(12, 0)));
const QDate firstDay(2024, 3, 1);
const QDate lastDay(2024, 5, 20);
// Long settled: the index trusts the stamps of these files.
const QDateTime longAgo(QDate(2021, 6, 1), QTime(10, 0), Qt::UTC);

bool setModified(const QString& path, const QDateTime& time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}

// A cycle of the generator in the store's form: ";" between fields.
QByteArray cycle(int number, int minutes, bool reach = true)
{
    gen::CycleSpec spec;
    spec.number = number;
    spec.seed = quint64(number);
    spec.durationSeconds = minutes * 60;
    spec.samplePeriodSeconds = 30;
    spec.reachSetTemperature = reach;
    spec.start = QDateTime(firstDay.addDays(number * 3), QTime(number % 2 ? 22 : 7, 15));
    return gen::writeCycle(spec).replace(',', ';');
}

// An oven of generated cycles and the odd files a store holds: one that fails, one without
// a record, one without a date, one whose set temperature is no number.
struct Oven {
    QTemporaryDir dir;
    QTemporaryDir cache;
    int files = 0;

    Oven()
    {
        for (int n = 1; n <= 8; ++n)
            write(gen::cycleFileName(n), cycle(n, 60 + 20 * n, n % 3 != 0));
        write("P20.csv", "");
        write("P21.csv", (header() + "\r\n").toUtf8());
        write("P22.csv", (QStringList{header(), fixtures::first("8", "5", {{54, "0"}}),
                                      record({{3, "9"}, {6, "2"}})}
                              .join("\r\n") +
                          "\r\n")
                             .toUtf8());
        write("P23.csv", (QStringList{header(), fixtures::first("8", "5", {{48, "x"}}),
                                      record({{3, "9"}, {6, "1.5"}})}
                              .join("\r\n") +
                          "\r\n")
                             .toUtf8());
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes, const QDateTime& modified = longAgo)
    {
        QVERIFY(fixtures::write(path(name), bytes));
        QVERIFY(setModified(path(name), modified));
        files = int(QDir(dir.path()).entryList({"*.csv"}, QDir::Files).size());
    }

    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    CatalogueBuild build(CatalogueIndex* index = nullptr,
                         const Language& language = fixtures::language(),
                         const Clock& clock = fixedClock) const
    {
        return buildCatalogue(dir.path(), language, clock, {}, Reading::Partial, {}, index);
    }
};

CycleListing list(const Catalogue& catalogue, CatalogueIndex* index = nullptr)
{
    return wczytajKalendarz(catalogue, QDate(2000, 1, 1), lastDay, fixtures::language(),
                            FixedLocale(QLatin1Char(',')), Reading::Partial, {}, {}, index);
}

void compareCatalogues(const CatalogueBuild& actual, const CatalogueBuild& expected)
{
    const Catalogue& a = actual.catalogue;
    const Catalogue& e = expected.catalogue;
    QCOMPARE(a.OvenFolder, e.OvenFolder);
    QCOMPARE(a.CycleFileNames, e.CycleFileNames);
    QCOMPARE(a.CycleNumbers, e.CycleNumbers);
    QCOMPARE(a.CycleDates, e.CycleDates);
    QCOMPARE(a.ListBox3, e.ListBox3);
    QCOMPARE(a.CycleStartStamps, e.CycleStartStamps);
    QCOMPARE(a.CycleEndStamps, e.CycleEndStamps);
    QVERIFY(a.StartRecordTable == e.StartRecordTable);
    QVERIFY(a.EndRecordTable == e.EndRecordTable);
    QCOMPARE(actual.report.lines, expected.report.lines);
}

void compareListings(const CycleListing& actual, const CycleListing& expected)
{
    QCOMPARE(actual.items, expected.items);
    QCOMPARE(actual.report.lines, expected.report.lines);
    QCOMPARE(actual.footer, expected.footer);
    QCOMPARE(actual.footerConsLabel, expected.footerConsLabel);
    QCOMPARE(actual.dataButton, expected.dataButton);
}

// The bytes with one character changed for another of the same length: the set
// temperature of the first record, so both the catalogue and the figures change.
QByteArray sameSizeOtherTemperature(QByteArray bytes)
{
    const qsizetype at = bytes.indexOf(";180;");
    if (at >= 0)
        bytes[at + 2] = '5'; // 150 degrees
    return bytes;
}

// The bytes with the end record's hour an hour earlier or later, the length kept.
QByteArray sameSizeOtherEnd(QByteArray bytes)
{
    const qsizetype lineStart = bytes.lastIndexOf('\n', bytes.size() - 3) + 1;
    qsizetype at = lineStart;
    for (int field = 0; field < 4; ++field)
        at = bytes.indexOf(';', at) + 1;
    const qsizetype last = bytes.indexOf(';', at) - 1; // the hour's last digit
    bytes[last] = char(bytes.at(last) > '0' ? bytes.at(last) - 1 : bytes.at(last) + 1);
    return bytes;
}

} // namespace

class TestCatalogueIndex : public QObject
{
    Q_OBJECT

private slots:
    void sameResultsAfterChanges_data();
    void sameResultsAfterChanges();
    void damagedIndexIsIgnored_data();
    void damagedIndexIsIgnored();
    void recentlyChangedFileIsReadEachTime();
    void settlingMargin_data();
    void settlingMargin();
    void wordsAndDayComeFromTheBuild();
    void fileChangedAfterTheBuildKeepsNoFigures();
    void indexLivesInTheUsersCacheFolder();
};

void TestCatalogueIndex::sameResultsAfterChanges_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("read"); // files the build with the index reads again
    QTest::newRow("nothing") << "nothing" << 0;
    QTest::newRow("file added") << "added" << 1;
    QTest::newRow("same size, new time") << "same size" << 1;
    QTest::newRow("new size") << "new size" << 1;
    QTest::newRow("file removed") << "removed" << 0;
    QTest::newRow("good file now fails") << "fails" << 1;
    QTest::newRow("index deleted") << "index deleted" << 12;
}

void TestCatalogueIndex::sameResultsAfterChanges()
{
    QFETCH(QString, change);
    QFETCH(int, read);
    Oven oven;
    CatalogueIndex held(oven.cache.path());
    {
        const CatalogueBuild first = oven.build(&held);
        QCOMPARE(held.lastUse().read, oven.files);
        list(first.catalogue, &held);
        QVERIFY(QFile::exists(held.fileOf(oven.dir.path())));
    }
    const QDateTime later = longAgo.addDays(1);
    if (change == "added") {
        oven.write("P9.csv", cycle(9, 95));
    } else if (change == "same size") {
        const QByteArray changed = sameSizeOtherTemperature(oven.read("P4.csv"));
        QCOMPARE(changed.size(), oven.read("P4.csv").size());
        QVERIFY(changed != oven.read("P4.csv"));
        oven.write("P4.csv", changed, later);
    } else if (change == "new size") {
        oven.write("P5.csv", cycle(5, 200), later);
    } else if (change == "removed") {
        QVERIFY(QFile::remove(oven.path("P2.csv")));
    } else if (change == "fails") {
        oven.write("P1.csv", "1;2\r\n", later);
    } else if (change == "index deleted") {
        QVERIFY(QFile::remove(held.fileOf(oven.dir.path())));
    }

    const CatalogueBuild without = oven.build();
    const CycleListing listedWithout = list(without.catalogue);
    QVERIFY(!listedWithout.report.isEmpty());
    // From the index file, as the next start of the program finds it.
    CatalogueIndex fresh(oven.cache.path());
    const CatalogueBuild fromFile = oven.build(&fresh);
    compareCatalogues(fromFile, without);
    QCOMPARE(fresh.lastUse().read, read);
    QCOMPARE(fresh.lastUse().reused, int(QDir(oven.dir.path()).entryList({"*.csv"}).size()) - read);
    compareListings(list(fromFile.catalogue, &fresh), listedWithout);
    // From memory, as the window's next choice of the oven finds it.
    const CatalogueBuild fromMemory = oven.build(&held);
    compareCatalogues(fromMemory, without);
    compareListings(list(fromMemory.catalogue, &held), listedWithout);
    // Every figure is known by now.
    compareListings(list(fromMemory.catalogue, &held), listedWithout);
    QCOMPARE(held.lastUse().read, 0);
    QVERIFY(held.lastUse().reused > 0);
}

void TestCatalogueIndex::damagedIndexIsIgnored_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("empty") << "empty";
    QTest::newRow("cut short") << "cut";
    QTest::newRow("one byte changed") << "byte";
    QTest::newRow("another format version") << "version";
    QTest::newRow("an older format version") << "older";
    QTest::newRow("another oven's index") << "foreign";
    QTest::newRow("no index at all") << "text";
}

void TestCatalogueIndex::damagedIndexIsIgnored()
{
    QFETCH(QString, damage);
    Oven oven;
    Oven other;
    {
        CatalogueIndex index(oven.cache.path());
        oven.build(&index);
    }
    const QString file = CatalogueIndex(oven.cache.path()).fileOf(oven.dir.path());
    QFile stored(file);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QByteArray bytes = stored.readAll();
    stored.close();
    if (damage == "empty") {
        bytes.clear();
    } else if (damage == "cut") {
        bytes.chop(7);
    } else if (damage == "byte") {
        bytes[bytes.size() / 2] = char(bytes.at(bytes.size() / 2) ^ 0x20);
    } else if (damage == "version") {
        bytes[8] = char(bytes.at(8) + 1);
    } else if (damage == "older") {
        bytes[8] = char(bytes.at(8) - 1);
    } else if (damage == "foreign") {
        CatalogueIndex index(other.cache.path());
        other.write("P9.csv", cycle(9, 95));
        other.build(&index);
        QFile foreign(index.fileOf(other.dir.path()));
        QVERIFY(foreign.open(QIODevice::ReadOnly));
        bytes = foreign.readAll();
    } else {
        bytes = "P1.csv;12;34\n";
    }
    QVERIFY(fixtures::write(file, bytes));

    CatalogueIndex index(oven.cache.path());
    compareCatalogues(oven.build(&index), oven.build());
    QCOMPARE(index.lastUse().read, oven.files);
    // Written anew: the next program start reads nothing.
    CatalogueIndex next(oven.cache.path());
    compareCatalogues(oven.build(&next), oven.build());
    QCOMPARE(next.lastUse().read, 0);
}

void TestCatalogueIndex::recentlyChangedFileIsReadEachTime()
{
    // A file changed a moment ago may change again within the same tick of its clock,
    // keeping size and time: it is not trusted until it has settled.
    Oven oven;
    oven.write("P3.csv", oven.read("P3.csv"), QDateTime::currentDateTimeUtc());
    CatalogueIndex index(oven.cache.path());
    oven.build(&index);
    oven.write("P3.csv", sameSizeOtherTemperature(oven.read("P3.csv")),
               QFileInfo(oven.path("P3.csv")).lastModified());
    CatalogueIndex fresh(oven.cache.path());
    compareCatalogues(oven.build(&fresh), oven.build());
    QCOMPARE(fresh.lastUse().read, 1);
}

// The margin pinned from both sides by the index's own clock: a file stamped 5 s before
// the build is not trusted and is read again next time, one stamped 11 s before is reused.
void TestCatalogueIndex::settlingMargin_data()
{
    QTest::addColumn<int>("age"); // seconds between the file's stamp and the build
    QTest::addColumn<int>("read");
    QTest::newRow("5 s: read again") << 5 << 1;
    QTest::newRow("9 s: read again") << 9 << 1;
    QTest::newRow("11 s: reused") << 11 << 0;
}

void TestCatalogueIndex::settlingMargin()
{
    QFETCH(int, age);
    QFETCH(int, read);
    Oven oven;
    const QDateTime stamped(QDate(2024, 5, 20), QTime(11, 59, 0), Qt::UTC);
    oven.write("P3.csv", oven.read("P3.csv"), stamped);
    const FixedClock clock(stamped.addSecs(age));
    CatalogueIndex first(oven.cache.path(), &clock);
    list(oven.build(&first, fixtures::language(), clock).catalogue, &first);
    CatalogueIndex next(oven.cache.path(), &clock);
    const CatalogueBuild build = oven.build(&next, fixtures::language(), clock);
    QCOMPARE(next.lastUse().read, read);
    compareCatalogues(build, oven.build());
    list(build.catalogue, &next);
    QCOMPARE(next.lastUse().read, read);
}

void TestCatalogueIndex::wordsAndDayComeFromTheBuild()
{
    Oven oven;
    CatalogueIndex index(oven.cache.path());
    oven.build(&index, fixtures::language(), fixedClock);
    // Another interface language and another day: the undated cycle and the reports
    // follow them, not the build the index learnt from.
    QStringList words;
    for (int n = 0; n <= 45; ++n)
        words.append(QStringLiteral("W%1 ").arg(n));
    const Language other(words);
    const FixedClock nextWeek(fixedClock.now().addDays(7));
    const CatalogueBuild with = oven.build(&index, other, nextWeek);
    QCOMPARE(index.lastUse().read, 0);
    compareCatalogues(with, oven.build(nullptr, other, nextWeek));
    QVERIFY(with.catalogue.CycleDates.contains(nextWeek.today()));
    QVERIFY(with.report.lines.contains("W45 P21.csv"));
}

void TestCatalogueIndex::fileChangedAfterTheBuildKeepsNoFigures()
{
    // The listing reads a file as it is now, even when the catalogue is older: figures
    // the index holds for an earlier state of the file are not taken, and figures read
    // from a file newer than the index's record of it are not kept for it.
    Oven oven;
    CatalogueIndex index(oven.cache.path());
    const Catalogue catalogue = oven.build(&index).catalogue;
    const CycleListing before = list(catalogue, &index);
    const QByteArray changed = sameSizeOtherEnd(oven.read("P4.csv"));
    QCOMPARE(changed.size(), oven.read("P4.csv").size());
    oven.write("P4.csv", changed, longAgo.addDays(2));
    const CycleListing after = list(catalogue);
    QVERIFY(after.items != before.items);
    compareListings(list(catalogue, &index), after);
    compareListings(list(catalogue, &index), after);
    const CatalogueBuild rebuilt = oven.build(&index);
    compareListings(list(rebuilt.catalogue, &index), list(rebuilt.catalogue));
}

void TestCatalogueIndex::indexLivesInTheUsersCacheFolder()
{
    QTemporaryDir home;
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path()));
    const QString folder = CatalogueIndex::userFolder();
    qputenv("XDG_CACHE_HOME", saved);
    QCOMPARE(folder, QDir(home.path()).filePath("kvaro"));

    // One file per oven folder, named after its absolute path, outside the store.
    const CatalogueIndex index(folder);
    const QString a = index.fileOf("/plant/Data/10230001");
    QCOMPARE(QFileInfo(a).absolutePath(), folder);
    QVERIFY(a != index.fileOf("/plant/Data/10230002"));
    QVERIFY(a != index.fileOf("/other/Data/10230001"));
    QCOMPARE(index.fileOf("/plant/Data/10230001/"), a);
}

QTEST_GUILESS_MAIN(TestCatalogueIndex)
#include "test_catalogueindex.moc"
