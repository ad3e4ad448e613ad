// The cycle list reads its files on the thread pool; what it gives, and how it reports
// progress and takes a cancel, must not show it.
#include "fixtures.h"

#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"
#include "tools/cyclegen.h"

#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QThreadPool>

using namespace kvaro;

namespace {

const FixedClock fixedClock(QDateTime(QDate(2024, 5, 20), QTime(12, 0)));
const QDate day(2024, 5, 14);

// Cycles of one day, every third one with a set temperature that is no number.
struct Oven {
    QTemporaryDir dir;
    Catalogue catalogue;

    explicit Oven(int cycles)
    {
        for (int n = 1; n <= cycles; ++n) {
            gen::CycleSpec spec;
            spec.number = n;
            spec.seed = quint64(n);
            spec.durationSeconds = 1800 + 600 * n;
            spec.samplePeriodSeconds = 20;
            spec.reachSetTemperature = n % 4 != 0;
            spec.start = QDateTime(day, QTime(n % 20, 0));
            QByteArray bytes = gen::writeCycle(spec).replace(',', ';');
            if (n % 3 == 0)
                bytes.replace(";180;", ";1x0;");
            fixtures::write(dir.filePath(gen::cycleFileName(n)), bytes);
        }
        catalogue = buildCatalogue(dir.path(), fixtures::language(), fixedClock).catalogue;
    }

    CycleListing list(const CatalogueProgress& progress = {}, const CancelCheck& cancel = {}) const
    {
        return wczytajKalendarz(catalogue, day, day, fixtures::language(),
                                FixedLocale(QLatin1Char(',')), Reading::Partial, progress, cancel);
    }
};

// The global pool with a given number of threads while it lives.
struct PoolSize {
    int saved = QThreadPool::globalInstance()->maxThreadCount();
    explicit PoolSize(int threads) { QThreadPool::globalInstance()->setMaxThreadCount(threads); }
    ~PoolSize() { QThreadPool::globalInstance()->setMaxThreadCount(saved); }
};

} // namespace

class TestListingThreads : public QObject
{
    Q_OBJECT

private slots:
    void sameListingOnAnyNumberOfThreads();
    void progressAndCancelComeFromTheCallingThread_data();
    void progressAndCancelComeFromTheCallingThread();
    void listingFromAPoolThread();
};

void TestListingThreads::sameListingOnAnyNumberOfThreads()
{
    const Oven oven(24);
    CycleListing alone;
    {
        const PoolSize one(1);
        alone = oven.list();
    }
    QCOMPARE(alone.items.size(), 24);
    QCOMPARE(alone.report.lines.size(), 8);
    QVERIFY(std::any_of(alone.items.cbegin(), alone.items.cend(),
                        [](const CycleListItem& item) { return item.progress > 0; }));
    for (const int threads : {2, 8}) {
        const PoolSize size(threads);
        const CycleListing spread = oven.list();
        QCOMPARE(spread.items, alone.items);
        QCOMPARE(spread.report.lines, alone.report.lines);
        QCOMPARE(spread.footerConsLabel, alone.footerConsLabel);
    }
}

void TestListingThreads::progressAndCancelComeFromTheCallingThread_data()
{
    QTest::addColumn<int>("cancelAfter");
    QTest::newRow("at once") << 0;
    QTest::newRow("after one") << 1;
    QTest::newRow("after seven") << 7;
    QTest::newRow("never") << 100;
}

void TestListingThreads::progressAndCancelComeFromTheCallingThread()
{
    QFETCH(int, cancelAfter);
    const Oven oven(16);
    const CycleListing whole = oven.list();
    const PoolSize size(4);
    QThread* const caller = QThread::currentThread();
    QList<std::pair<int, int>> progress;
    int asked = 0;
    bool elsewhere = false;
    const CycleListing listing = oven.list(
        [&](int done, int total) {
            elsewhere = elsewhere || QThread::currentThread() != caller;
            progress.append({done, total});
        },
        [&] {
            elsewhere = elsewhere || QThread::currentThread() != caller;
            return asked++ == cancelAfter;
        });
    QVERIFY(!elsewhere);
    const int listed = std::min(cancelAfter, 16);
    QCOMPARE(listing.cancelled, cancelAfter < 16);
    QCOMPARE(asked, std::min(cancelAfter + 1, 16));
    QCOMPARE(listing.items, whole.items.mid(0, listed));
    QCOMPARE(progress.size(), listed + 1);
    for (int i = 0; i <= listed; ++i)
        QCOMPARE(progress.at(i), std::pair(i, 16));
    // Each third cycle fails, so the report holds the failures of those listed.
    QCOMPARE(listing.report.lines, whole.report.lines.mid(0, listed / 3));
}

void TestListingThreads::listingFromAPoolThread()
{
    // The window may list from a thread of the pool itself, even one with no other thread
    // free: the listing must then do the work alone rather than wait for help.
    const Oven oven(6);
    const CycleListing expected = oven.list();
    const PoolSize one(1);
    CycleListing listing;
    QSemaphore done;
    QThreadPool::globalInstance()->start([&] {
        listing = oven.list();
        done.release();
    });
    QVERIFY(done.tryAcquire(1, 60000));
    QCOMPARE(listing.items, expected.items);
    QCOMPARE(listing.report.lines, expected.report.lines);
}

QTEST_GUILESS_MAIN(TestListingThreads)
#include "test_listingthreads.moc"
