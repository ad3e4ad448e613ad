#include "tests/testfiles.h"
#include "app/appservices.h"
#include "app/importcontroller.h"
#include "app/msgdialog.h"
#include "app/tform2.h"
#include "cycles/platform.h"
#include "store/drives.h"
#include "tools/cyclegen.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::writeFile;
using kvaro::testing::readFile;

using namespace kvaro;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList comboItems(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Drives whose scan waits until the test lets it go, so the test can look at the window
// while the import is under way on its own thread.
class GatedDrives : public Drives
{
public:
    GatedDrives(QStringList roots, QSemaphore& entered, QSemaphore& gate)
        : m_roots(std::move(roots)), m_entered(entered), m_gate(gate)
    {
    }
    QStringList removableRoots() const override
    {
        m_entered.release();
        // Bounded, so a fault shows as a failed test rather than a hung one.
        m_gate.tryAcquire(1, 10000);
        return m_roots;
    }

private:
    QStringList m_roots;
    QSemaphore& m_entered;
    QSemaphore& m_gate;
};

} // namespace

class TestImportWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void generatedDriveFillsTheOvenList();
    void noMarkedDriveShowsTextFortyFourAndRefreshes();
    void badFileIsReportedOnceAtTheEnd();
    void windowAnswersWhileTheImportRuns();

private:
    ImportController* attach(std::unique_ptr<Drives> drives)
    {
        return new ImportController(*m_form, std::move(drives));
    }
    bool clickAndWait(ImportController* controller)
    {
        QSignalSpy done(controller, &ImportController::importFinished);
        QTest::mouseClick(m_form->controls().KvaroLoadButton, Qt::LeftButton);
        return done.count() == 1 || done.wait(20000);
    }
    QString drive() const { return m_dir->filePath("stick"); }
    QString home() const { return m_dir->filePath("home"); }
    QPushButton* button() const { return m_form->controls().KvaroLoadButton; }
    QColor buttonColour() const { return button()->property("driveColour").value<QColor>(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 14), QTime(12, 0))};
    FixedLocale m_locale;
    RecordingMessages m_messages;
    std::unique_ptr<TForm2> m_form;
};

void TestImportWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString work = m_dir->filePath("work");
    QStringList texts;
    for (int i = 0; i < 46; ++i)
        texts << QString("tekst %1").arg(i);
    writeFile(work + "/PL.dat", texts.join("\r\n").toUtf8() + "\r\n");
    QDir().mkpath(home());
    m_messages.clear();
    m_form = std::make_unique<TForm2>(AppServices{m_clock, m_locale, m_messages, home(), work});
    m_messages.clear();
}

void TestImportWindow::cleanup()
{
    m_form.reset();
}

void TestImportWindow::generatedDriveFillsTheOvenList()
{
    const QStringList names = gen::writeDrive(drive(), gen::mixedDrive(QDate(2024, 3, 14), 3, 3, 11));
    // A second stick without the marker after the controller's: it must not hide it.
    QDir().mkpath(m_dir->filePath("other"));
    ImportController* controller =
        attach(std::make_unique<FakeDrives>(QStringList{drive(), m_dir->filePath("other")}));
    QVERIFY(button()->isEnabled());
    auto* bar = m_form->MsgDialog()->findChild<QProgressBar*>("MsgDialogProgress");
    QVERIFY(bar);
    QSignalSpy progress(bar, &QProgressBar::valueChanged);

    QVERIFY(clickAndWait(controller));

    // Files done of files to do, one step per file.
    QList<int> expected;
    for (int done = 1; done <= 9; ++done)
        expected << qRound(100.0 * done / 9);
    QList<int> seen;
    for (const QList<QVariant>& step : progress)
        seen << step.first().toInt();
    QCOMPARE(seen, expected);
    QVERIFY(m_messages.texts().isEmpty());
    QVERIFY(controller->DriveFound());
    QCOMPARE(controller->DriveRoot(), drive());
    QVERIFY(!button()->isEnabled());
    QCOMPARE(buttonColour(), QColor(0, 255, 0));
    QCOMPARE(comboItems(m_form->controls().ComboPiec), (QStringList{"10230001", "10230002", "10230003"}));
    QCOMPARE(m_form->controls().DolnyBarEmpty->text(), "Cykle: 9, piece: 3");
    QCOMPARE(m_form->MsgDialog()->progress(), 100);
    QVERIFY(!m_form->MsgDialog()->isVisible());
    QCOMPARE(m_form->MsgDialog()->caption(), "tekst 25");
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta"}));
    QCOMPARE(entries(drive() + "/Backup").size(), names.size());
    QVERIFY(!controller->isRunning());
}

void TestImportWindow::noMarkedDriveShowsTextFortyFourAndRefreshes()
{
    writeFile(drive() + "/P1.csv", gen::writeCycle({}));
    // An oven that appeared in the store since the window opened: the refresh lists it.
    QDir().mkpath(home() + "/Data/7777777");
    ImportController* controller = attach(std::make_unique<FakeDrives>(QStringList{drive()}));

    QVERIFY(clickAndWait(controller));

    QCOMPARE(m_messages.texts(), QStringList{"tekst 44"});
    QVERIFY(!controller->DriveFound());
    QVERIFY(button()->isEnabled());
    QCOMPARE(buttonColour(), QColor(128, 128, 128));
    QVERIFY(!m_form->MsgDialog()->isVisible());
    QCOMPARE(comboItems(m_form->controls().ComboPiec), QStringList{"7777777"});
    QVERIFY(m_form->controls().DolnyBarEmpty->text().isEmpty());
    QCOMPARE(entries(drive()), QStringList{"P1.csv"});
}

void TestImportWindow::badFileIsReportedOnceAtTheEnd()
{
    gen::CycleSpec spec;
    spec.ovenId = gen::ovenIdFields("7654321");
    spec.durationSeconds = 600;
    writeFile(drive() + "/Kvaro.lerta", "");
    writeFile(drive() + "/P1.csv", "");
    writeFile(drive() + "/P2.csv", gen::writeCycle(spec));
    ImportController* controller = attach(std::make_unique<FakeDrives>(QStringList{drive()}));

    QVERIFY(clickAndWait(controller));

    QCOMPARE(m_messages.texts().size(), 1);
    QVERIFY(m_messages.texts().first().startsWith("P1.csv: the file is empty"));
    QCOMPARE(comboItems(m_form->controls().ComboPiec), QStringList{"7654321"});
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta", "P1.csv"}));
    QCOMPARE(m_form->controls().DolnyBarEmpty->text(), "Cykle: 1, piece: 1");
    QCOMPARE(m_form->MsgDialog()->progress(), 100);
}

void TestImportWindow::windowAnswersWhileTheImportRuns()
{
    writeFile(drive() + "/Kvaro.lerta", "");
    writeFile(drive() + "/P1.csv", gen::writeCycle({}));
    QSemaphore entered;
    QSemaphore gate;
    ImportController* controller =
        attach(std::make_unique<GatedDrives>(QStringList{drive()}, entered, gate));
    QSignalSpy done(controller, &ImportController::importFinished);

    QTest::mouseClick(button(), Qt::LeftButton);
    // The click has returned while the scan is still held on the other thread.
    QVERIFY(entered.tryAcquire(1, 10000));
    QVERIFY(controller->isRunning());
    QVERIFY(!button()->isEnabled());
    QCoreApplication::processEvents();
    QVERIFY(m_messages.texts().isEmpty());
    // A second click while it runs starts nothing.
    controller->KvaroLoadButtonClick();

    gate.release();
    QVERIFY(done.wait(20000));
    QCOMPARE(done.count(), 1);
    QCOMPARE(controller->lastResult().files.size(), 1);
    QCOMPARE(controller->lastResult().files.first().resultText(), "stored");
    QCOMPARE(entered.available(), 0);
}

QTEST_MAIN(TestImportWindow)
#include "test_import_window.moc"
