#include "app/progressdialog.h"
#include "app/windowjobs.h"
#include "app/workerthread.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <stdexcept>

using namespace kvaro;

// The lending of the one progress dialog and the answers of work run aside: what the
// window's parts rely on instead of waiting in an event loop of their own.
class TestWindowJobs : public QObject
{
    Q_OBJECT

private slots:
    void dialogIsLentToOneJobAtATime();
    void idleComesOnceTheLastJobHasEnded();
    void asideWorkAnswersOnTheOwnersThread_data();
    void asideWorkAnswersOnTheOwnersThread();
    void cancelledWorkIsNotAnswered();
};

void TestWindowJobs::dialogIsLentToOneJobAtATime()
{
    ProgressDialog dialog;
    WindowJobs jobs(&dialog, nullptr);
    const int list = jobs.start();
    const int load = jobs.start();
    QCOMPARE(jobs.dialog(list), &dialog);
    QCOMPARE(jobs.dialog(load), nullptr); // the list has it
    QCOMPARE(jobs.dialog(list), &dialog); // and keeps it

    // An import takes it whoever has it; the list shows no more progress.
    const int import = jobs.start();
    dialog.setCancellable(true, QStringLiteral("Cancel"));
    QCOMPARE(jobs.takeDialog(import), &dialog);
    QVERIFY(!dialog.isCancellable());
    QCOMPARE(jobs.dialog(list), nullptr);

    // Ended, the dialog closes and is free for the next job that asks.
    dialog.show();
    jobs.finish(import);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(jobs.dialog(load), &dialog);
    // A job that has ended gets nothing.
    QCOMPARE(jobs.dialog(import), nullptr);
    jobs.finish(list);
    jobs.finish(load);
    QVERIFY(jobs.isIdle());
}

void TestWindowJobs::idleComesOnceTheLastJobHasEnded()
{
    WindowJobs jobs(nullptr, nullptr);
    QSignalSpy idle(&jobs, &WindowJobs::idle);
    const int read = jobs.start();
    const int other = jobs.start();
    jobs.finish(read);
    QCoreApplication::processEvents();
    QCOMPARE(idle.count(), 0);

    // A job that ends by starting the next leaves the window busy throughout.
    jobs.finish(other);
    const int draw = jobs.start();
    QCoreApplication::processEvents();
    QCOMPARE(idle.count(), 0);
    QVERIFY(!jobs.isIdle());

    jobs.finish(draw);
    jobs.finish(draw); // twice: nothing more
    QVERIFY(jobs.isIdle());
    QTRY_COMPARE(idle.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(idle.count(), 1);
}

void TestWindowJobs::asideWorkAnswersOnTheOwnersThread_data()
{
    QTest::addColumn<bool>("throws");
    QTest::newRow("a value") << false;
    QTest::newRow("an exception, kept for the owner") << true;
}

void TestWindowJobs::asideWorkAnswersOnTheOwnersThread()
{
    QFETCH(bool, throws);
    QObject owner;
    AsideWork work(&owner);
    std::atomic<bool> ranElsewhere = false;
    bool answered = false;
    int value = 0;
    bool failed = false;
    work.start<int>(
        [&, throws](const CancelCheck&) {
            ranElsewhere = QThread::currentThread() != owner.thread();
            if (throws)
                throw std::runtime_error("disk gone");
            return 42;
        },
        [&](int&& result, std::exception_ptr failure) {
            QCOMPARE(QThread::currentThread(), owner.thread());
            answered = true;
            value = result;
            failed = bool(failure);
        });
    QVERIFY(work.isRunning());
    QTRY_VERIFY(answered);
    QVERIFY(ranElsewhere);
    QCOMPARE(failed, throws);
    QCOMPARE(value, throws ? 0 : 42);
    QVERIFY(!work.isRunning());
}

void TestWindowJobs::cancelledWorkIsNotAnswered()
{
    QObject owner;
    AsideWork work(&owner);
    std::atomic<bool> sawCancel = false;
    bool answered = false;
    work.start<int>(
        [&](const CancelCheck& cancelled) {
            while (!cancelled())
                QThread::msleep(1);
            sawCancel = true;
            return 1;
        },
        [&](int&&, std::exception_ptr) { answered = true; });
    work.cancelAll();
    QTRY_VERIFY(!work.isRunning());
    QVERIFY(sawCancel);
    QCoreApplication::processEvents();
    QVERIFY(!answered);
}

QTEST_MAIN(TestWindowJobs)
#include "test_windowjobs.moc"
