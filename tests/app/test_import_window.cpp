#include "app/appservices.h"
#include "app/cataloguecontroller.h"
#include "app/importcontroller.h"
#include "app/progressdialog.h"
#include "app/tform2.h"
#include "app/widgets/timeline.h"
#include "app/windowparts.h"
#include "base/platform.h"
#include "catalogue/cyclelistmodel.h"
#include "store/drives.h"
#include "store/importer.h"
#include "store/mountwatch.h"
#include "tests/app/windowfixture.h"
#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::readFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
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

// Drives the test plugs in and pulls out while the window runs.
class SwappableDrives : public Drives
{
public:
    explicit SwappableDrives(QStringList& roots) : m_roots(roots) {}
    QStringList removableRoots() const override { return m_roots; }

private:
    QStringList& m_roots;
};

// A mount table the test says has changed.
class FakeMountWatch : public MountWatch
{
public:
    void mountsChanged() { emit changed(); }
};

using State = ImportController::ButtonState;

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
    void buttonShowsWhatTheImportLeft_data();
    void buttonShowsWhatTheImportLeft();
    void nextDriveWithoutRestart();
    void chosenOvenShowsNewCyclesForTheRangeShown();
    void drivePluggedInIsNamedUntilPulledOrImported();

private:
    ImportController* attach(std::unique_ptr<Drives> drives)
    {
        return attachImport(*m_form, std::move(drives));
    }
    // The import with drives the test swaps and a mount table the test changes.
    ImportController* attachSwappable()
    {
        auto watch = std::make_unique<FakeMountWatch>();
        m_watch = watch.get();
        return attachImport(*m_form, std::make_unique<SwappableDrives>(m_roots), std::move(watch));
    }
    QByteArray cycleOf(const QString& oven, int number, const QDate& day = QDate(2024, 3, 14))
    {
        gen::CycleSpec spec;
        spec.ovenId = gen::ovenIdFields(oven);
        spec.durationSeconds = 600;
        spec.number = number;
        spec.start = QDateTime(day, QTime(8, 0));
        return gen::writeCycle(spec);
    }
    bool clickAndWait(ImportController* controller)
    {
        QSignalSpy done(controller, &ImportController::importFinished);
        QTest::mouseClick(m_form->controls().KvaroLoadButton, Qt::LeftButton);
        // The import, then the list it refreshes.
        return (done.count() == 1 || done.wait(20000)) && kvaro::testing::settle(m_form);
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
    QStringList m_roots;
    FakeMountWatch* m_watch = nullptr;
};

void TestImportWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_roots = {};
    const QString work = m_dir->filePath("work");
    writeFile(work + "/PL.dat", kvaro::testing::numberedLanguage(QStringLiteral("tekst %1"), 46));
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
    const QStringList names =
        gen::writeDrive(drive(), gen::mixedDrive(QDate(2024, 3, 14), 3, 3, 11));
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
    QCOMPARE(comboItems(m_form->controls().ComboPiec),
             (QStringList{"10230001", "10230002", "10230003"}));
    QCOMPARE(m_form->controls().DolnyBarEmpty->text(), "Cycles: 9, ovens: 3");
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
    QCOMPARE(m_form->controls().DolnyBarEmpty->text(), "Cycles: 1, ovens: 1");
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

void TestImportWindow::buttonShowsWhatTheImportLeft_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QColor>("colour");
    const QColor green(0, 255, 0);
    const QColor grey(128, 128, 128);
    QTest::newRow("everything imported") << "" << int(State::ImportedAll) << false << green;
    QTest::newRow("no marked drive") << "no marker" << int(State::NoDrive) << true << grey;
    QTest::newRow("a file that is no cycle")
        << "empty file" << int(State::FilesLeft) << true << grey;
    QTest::newRow("stored, but no Backup") << "no Backup" << int(State::FilesLeft) << true << grey;
    QTest::newRow("store cannot be written") << "no store" << int(State::FilesLeft) << true << grey;
}

void TestImportWindow::buttonShowsWhatTheImportLeft()
{
    QFETCH(QString, trouble);
    QFETCH(int, state);
    QFETCH(bool, enabled);
    QFETCH(QColor, colour);
    writeFile(drive() + "/P1.csv", cycleOf("7654321", 1));
    if (trouble != "no marker")
        writeFile(drive() + "/Kvaro.lerta", "");
    if (trouble == "empty file")
        writeFile(drive() + "/P2.csv", "");
    if (trouble == "no Backup")
        writeFile(drive() + "/Backup", "a file where the folder should be");
    if (trouble == "no store")
        writeFile(home() + "/Data", "a file where the store should be");
    m_roots = {drive()};
    ImportController* controller = attachSwappable();
    QCOMPARE(controller->buttonState(), State::NotYet);
    QVERIFY(button()->isEnabled());

    QVERIFY(clickAndWait(controller));

    QCOMPARE(int(controller->buttonState()), state);
    QCOMPARE(button()->isEnabled(), enabled);
    QCOMPARE(buttonColour(), colour);
    if (state == int(State::FilesLeft))
        QVERIFY(m_messages.texts().last().endsWith("Files left on the drive " + drive() +
                                                   ": 1 of " +
                                                   (trouble == "empty file" ? "2." : "1.")));
    // A mount somewhere else changes nothing: the same marked drives are in.
    m_watch->mountsChanged();
    QCOMPARE(int(controller->buttonState()), state);
    QCOMPARE(button()->isEnabled(), enabled);
}

void TestImportWindow::nextDriveWithoutRestart()
{
    // One drive per oven: the first is imported and pulled, the second goes in.
    const QString first = m_dir->filePath("first");
    const QString second = m_dir->filePath("second");
    writeFile(first + "/Kvaro.lerta", "");
    writeFile(first + "/P1.csv", cycleOf("1111111", 1));
    writeFile(second + "/Kvaro.lerta", "");
    writeFile(second + "/P1.csv", cycleOf("2222222", 1));
    m_roots = {first};
    ImportController* controller = attachSwappable();
    QVERIFY(clickAndWait(controller));
    QVERIFY(!button()->isEnabled());

    m_roots = {};
    m_watch->mountsChanged();
    QCOMPARE(controller->buttonState(), State::DrivesChanged);
    QVERIFY(button()->isEnabled());
    QVERIFY(!buttonColour().isValid());
    m_roots = {second};
    m_watch->mountsChanged();
    QVERIFY(button()->isEnabled());

    QVERIFY(clickAndWait(controller));
    QCOMPARE(controller->buttonState(), State::ImportedAll);
    QVERIFY(!button()->isEnabled());
    QCOMPARE(comboItems(m_form->controls().ComboPiec), (QStringList{"1111111", "2222222"}));
    QCOMPARE(entries(second), (QStringList{"Backup", "Kvaro.lerta"}));
    QVERIFY(m_messages.texts().isEmpty());
}

void TestImportWindow::chosenOvenShowsNewCyclesForTheRangeShown()
{
    // An earlier import brought in one cycle of the oven.
    writeFile(m_dir->filePath("earlier/Kvaro.lerta"), "");
    writeFile(m_dir->filePath("earlier/P1.csv"), cycleOf("7654321", 1, QDate(2024, 3, 11)));
    FakeDrives earlier({m_dir->filePath("earlier")});
    QVERIFY(Importer(earlier, StorePaths(home()), '.').run().allHandled());
    m_form->OdswiezListePiecy();

    // In the shipped languages: Polish counts its cycles in three forms.
    for (const char* name : {"PL.dat", "EN.dat"})
        writeFile(m_dir->filePath("work/") + name,
                  readFile(QStringLiteral(KVARO_SOURCE_DIR "/assets/") + name));
    m_form->AdvSmoothButton6Click();

    m_roots = {drive()};
    auto watch = std::make_unique<FakeMountWatch>();
    attachWindowParts(*m_form, std::make_unique<SwappableDrives>(m_roots), std::move(watch));
    auto* catalogue = m_form->findChild<CatalogueController*>();
    auto* controller = m_form->findChild<ImportController*>();
    QVERIFY(catalogue && controller);
    catalogue->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(catalogue));
    catalogue->AdvSmoothButton1Click(QDate(2024, 3, 10), QDate(2024, 3, 13));
    QVERIFY(kvaro::testing::settle(catalogue));
    auto* list = m_form->controls().ListBox1;
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(m_form->controls().ListBox1Footer->text(), "1 cykl");

    // Two days before the clock's today, inside the range on screen.
    writeFile(drive() + "/Kvaro.lerta", "");
    writeFile(drive() + "/P2.csv", cycleOf("7654321", 2, QDate(2024, 3, 12)));
    QVERIFY(clickAndWait(controller));

    QCOMPARE(m_form->controls().ComboPiec->currentText(), "7654321");
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(catalogue->timeLine()->sections().size(), 2);
    QCOMPARE(catalogue->timeLine()->rangeStart(), QDateTime(QDate(2024, 3, 10), QTime(0, 0)));
    QCOMPARE(m_form->controls().ListBox1Footer->text(), "2 cykle");
    QCOMPARE(m_form->controls().DolnyBarEmpty->text(), "Cykle: 1, piece: 1");
    QCOMPARE(catalogue->timeLine()->sections().at(1).hint, "(nr 2) 08:00 – 08:10");

    // The listed items, their hints and the chooser follow the language at once: the oven
    // stays chosen and its cycles listed.
    m_form->AdvSmoothButton7Click();
    QCOMPARE(m_form->controls().ListBox1Footer->text(), "2 cycles");
    QCOMPARE(m_form->controls().ComboPiec->currentText(), "7654321");
    QCOMPARE(catalogue->timeLine()->sections().at(1).hint, "(no. 2) 08:00 – 08:10");
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QString notes =
            list->model()->index(row, 0).data(CycleListModel::NotesRole).toString();
        QVERIFY2(notes.startsWith("<b>Start:</b>") && notes.contains("<b>End:</b>"),
                 qPrintable(notes));
    }
    // ... and once the range is listed again.
    catalogue->AdvSmoothButton1Click(QDate(2024, 3, 10), QDate(2024, 3, 13));
    QVERIFY(kvaro::testing::settle(catalogue));
    QCOMPARE(catalogue->timeLine()->sections().at(1).hint, "(no. 2) 08:00 – 08:10");
    QVERIFY(m_messages.texts().isEmpty());
}

// A controller drive plugged in while the window runs is named in the status bar and the
// import button asks to be pressed; nothing is read until it is. A stick without the
// marker is no news; pulling the drive out takes the notice away again.
void TestImportWindow::drivePluggedInIsNamedUntilPulledOrImported()
{
    const QString other = m_dir->filePath("other");
    writeFile(other + "/notes.txt", "no marker here");
    writeFile(drive() + "/Kvaro.lerta", "");
    writeFile(drive() + "/P1.csv", cycleOf("1111111", 1));
    ImportController* controller = attachSwappable();
    QLabel* notice = m_form->controls().DolnyBarDrive;
    QVERIFY(notice->text().isEmpty());

    m_roots = {other};
    m_watch->mountsChanged();
    QVERIFY(notice->text().isEmpty());
    QCOMPARE(controller->buttonState(), State::NotYet);

    m_roots = {other, drive()};
    m_watch->mountsChanged();
    QVERIFY(notice->text().contains(QDir::toNativeSeparators(drive())));
    QCOMPARE(controller->buttonState(), State::DriveArrived);
    QVERIFY(button()->isEnabled());
    QCOMPARE(buttonColour(), QColor(255, 191, 0));
    QCOMPARE(entries(drive()), (QStringList{"Kvaro.lerta", "P1.csv"}));

    m_roots = {other};
    m_watch->mountsChanged();
    QVERIFY(notice->text().isEmpty());
    QCOMPARE(controller->buttonState(), State::NotYet);
    QVERIFY(!buttonColour().isValid());

    m_roots = {drive()};
    m_watch->mountsChanged();
    QCOMPARE(controller->buttonState(), State::DriveArrived);
    QVERIFY(clickAndWait(controller));
    QVERIFY(notice->text().isEmpty());
    QCOMPARE(controller->buttonState(), State::ImportedAll);
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta"}));
}

QTEST_MAIN(TestImportWindow)
#include "test_import_window.moc"
