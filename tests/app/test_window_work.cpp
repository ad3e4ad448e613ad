// Long work of the window on worker threads: a choice made while a catalogue or a list is
// built, a click on a listed cycle meanwhile, the window closed meanwhile, and a cycle too
// large to load in a blink. Every test steers by the progress MsgDialog shows, which the
// window's thread sees only while the work runs, so nothing depends on timing.
#include "../catalogue/fixtures.h"
#include "tests/app/windowfixture.h"

#include "app/cataloguecontroller.h"
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/cycleopening.h"
#include "app/progressdialog.h"
#include "app/tform2.h"
#include "app/widgets/timeline.h"
#include "app/windowparts.h"
#include "base/linebuffer.h"
#include "catalogue/cyclelistmodel.h"
#include "chart/chartloader.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"
#include "store/drives.h"
#include "store/mountwatch.h"
#include "tools/cyclegen.h"

#include <QComboBox>
#include <QListView>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

using namespace kvaro;
using fixtures::first;
using fixtures::header;
using fixtures::record;

namespace {

constexpr int ManyCycles = 40;

// Two ovens: the first with forty cycles over 3 to 7 May 2024 (eight of them today, the
// 7th), the second with two of today, numbered apart from the first's.
struct Machine : kvaro::testing::WindowMachine {
    Machine()
    {
        kvaro::testing::writeFile(working("PL.dat"),
                                  kvaro::testing::numberedLanguage(QStringLiteral("T%1"), 46));
        for (int n = 1; n <= ManyCycles; ++n)
            cycle("1000001", n, 3 + n % 5);
        cycle("1000002", 901, 7);
        cycle("1000002", 902, 7);
    }

    void cycle(const QString& oven, int number, int day)
    {
        fixtures::writeLines(program(QStringLiteral("Data/%1/P%2.csv").arg(oven).arg(number)),
                             {header(),
                              first("8", "5", fixtures::startDate("24", "5", QString::number(day))),
                              record({{field::Hour, "9"}, {field::Minute, "0"}}),
                              fixtures::end("10", "2", "7", "1")});
    }
};

// The files a list model shows.
QStringList listedFiles(const QAbstractItemModel& model)
{
    QStringList files;
    for (int row = 0; row < model.rowCount(); ++row)
        files.append(model.index(row, 0).data(CycleListModel::FileNameRole).toString());
    return files;
}

// Runs `action` once, the first time MsgDialog shows some progress: the work it counts
// has started and its result has not reached the window yet.
class OnProgress : public QObject
{
public:
    OnProgress(TForm2& form, std::function<void()> action) : m_action(std::move(action))
    {
        auto* bar = form.MsgDialog()->findChild<QProgressBar*>("MsgDialogProgress");
        connect(bar, &QProgressBar::valueChanged, this, [this](int value) {
            if (value <= 0 || m_done)
                return;
            m_done = true;
            m_action();
        });
    }
    bool happened() const { return m_done; }

private:
    std::function<void()> m_action;
    bool m_done = false;
};

// Every set of files the cycle list has shown, empty ones included.
class ListWatch : public QObject
{
public:
    explicit ListWatch(const QAbstractItemModel& model)
    {
        connect(&model, &QAbstractItemModel::modelReset, this,
                [this, &model] { shown.append(listedFiles(model)); });
    }
    QList<QStringList> shown;
};

// Counts the times a widget is shown.
class ShowCounter : public QObject
{
public:
    explicit ShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return QObject::eventFilter(watched, event);
    }
};

QStringList numbered(int from, int to)
{
    QStringList files;
    for (int n = from; n <= to; ++n)
        files.append(QStringLiteral("P%1.csv").arg(n));
    return files;
}

} // namespace

class TestWindowWork : public QObject
{
    Q_OBJECT

private slots:
    void anotherOvenCancelsTheRunningBuild();
    void rangeChosenDuringTheBuildIsListedFromIt();
    void cycleClickedDuringTheListingOpensAfterIt();
    void closingTheWindowDuringTheBuild();
    void largeCycleLoadsBehindTheDialog();
    void laterCycleWinsOverOneStillLoading();
    void dialogHeldByAnImportIsLeftAlone();
};

void TestWindowWork::anotherOvenCancelsTheRunningBuild()
{
    Machine machine;
    // Read first, and reported at the end of a build that gets there: the cancelled build
    // must not say a word.
    fixtures::writeLines(machine.program("Data/1000001/P0.csv"),
                         {header(), first("8", "5", fixtures::startDate("24", "0", "7"))});
    auto form = machine.start();
    auto* controller = attachCatalogue(*form);
    auto* list = form->findChild<QListView*>("ListBox1");
    ListWatch watch(*list->model());
    bool dialogShown = false;
    OnProgress chooseSecond(*form, [&] {
        dialogShown = form->MsgDialog()->isVisible();
        QVERIFY(controller->isBusy());
        controller->ComboPiecItemSelected(1);
        QVERIFY(kvaro::testing::settle(controller));
    });

    controller->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(controller));

    QVERIFY(chooseSecond.happened());
    QVERIFY(dialogShown);
    QVERIFY(!form->MsgDialog()->isVisible());
    QVERIFY(!controller->isBusy());
    QCOMPARE(form->findChild<QComboBox*>("ComboPiec")->currentIndex(), 1);
    QVERIFY(controller->catalogue().OvenFolder.endsWith("/1000002/"));
    QCOMPARE(controller->catalogue().CycleFileNames, numbered(901, 902));
    QCOMPARE(listedFiles(*list->model()), numbered(901, 902));
    QCOMPARE(controller->timeLine()->sections().size(), 2);
    // The first oven's cycles never reached the list: only the two emptyings and the
    // second oven's list.
    QCOMPARE(watch.shown, (QList<QStringList>{{}, {}, numbered(901, 902)}));
    QVERIFY(machine.messages.texts().isEmpty());
}

// A range confirmed while the chosen oven's catalogue is built does not stop the build:
// the range is listed from the whole catalogue, and today's list, no longer wanted, is
// never shown.
void TestWindowWork::rangeChosenDuringTheBuildIsListedFromIt()
{
    Machine machine;
    auto form = machine.start();
    auto* controller = attachCatalogue(*form);
    auto* list = form->findChild<QListView*>("ListBox1");
    ListWatch watch(*list->model());
    OnProgress chooseRange(
        *form, [&] { controller->wczytajKalendarz(QDate(2024, 5, 3), QDate(2024, 5, 7)); });

    controller->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(controller));

    QVERIFY(chooseRange.happened());
    QCOMPARE(controller->catalogue().size(), ManyCycles);
    QCOMPARE(list->model()->rowCount(), ManyCycles);
    QCOMPARE(form->findChild<QPushButton*>("DataButton")->text(), "03.05.2024 - 07.05.2024");
    QCOMPARE(watch.shown.size(), 2);
    QVERIFY(watch.shown.first().isEmpty());
    QVERIFY(!form->MsgDialog()->isVisible());
}

void TestWindowWork::cycleClickedDuringTheListingOpensAfterIt()
{
    Machine machine;
    auto form = machine.start();
    auto* controller = attachCatalogue(*form);
    auto* list = form->findChild<QListView*>("ListBox1");
    controller->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(controller));
    QCOMPARE(list->model()->rowCount(), 8); // today's
    const QString clicked = listedFiles(*list->model()).at(2);
    QSignalSpy opening(&form->opener(), &CycleOpener::opening);
    QSignalSpy opened(&form->opener(), &CycleOpener::opened);

    OnProgress click(*form, [&] {
        const QModelIndex index = list->model()->index(2, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        // Remembered, not opened: the list it was on is about to go.
        QCOMPARE(opening.count(), 0);
    });
    controller->wczytajKalendarz(QDate(2024, 5, 3), QDate(2024, 5, 7));
    QVERIFY(kvaro::testing::settle(controller));

    QVERIFY(click.happened());
    QCOMPARE(list->model()->rowCount(), ManyCycles);
    QCOMPARE(opening.count(), 1);
    QCOMPARE(kvaro::testing::drawableCount(opened), 1);
    QCOMPARE(QFileInfo(kvaro::testing::openedCycle(opened, 0).lines.fileName()).fileName(),
             clicked);
    QVERIFY(machine.messages.texts().isEmpty());
}

// The window goes while its catalogue is built: the build is stopped and waited for, and
// the handler that waited returns without touching what is gone.
void TestWindowWork::closingTheWindowDuringTheBuild()
{
    Machine machine;
    auto form = machine.start();
    auto* controller = attachCatalogue(*form);
    QPointer<TForm2> window(form.get());
    QPointer<CatalogueController> part(controller);
    OnProgress close(*form, [&] { form.release()->deleteLater(); });

    controller->ComboPiecItemSelected(0);
    QTRY_VERIFY_WITH_TIMEOUT(!window, 60000);

    QVERIFY(close.happened());
    QVERIFY(!window);
    QVERIFY(!part);
}

namespace {

// The window with all its parts, and a cycle of a hundred thousand records and one more.
struct ChartMachine : kvaro::testing::WindowMachine {
    std::unique_ptr<TForm2> form;

    ChartMachine()
    {
        for (const char* name : {"Data.dat", "PL.dat", "EN.dat"})
            kvaro::testing::writeFile(working(QLatin1String(name)),
                                      kvaro::testing::shippedFile(name));
        form = start();
        attachWindowParts(*form, std::make_unique<FakeDrives>(QStringList{}),
                          std::make_unique<MountWatch>());
    }

    QString largeCycle()
    {
        gen::CycleSpec spec;
        spec.burnerCount = 8;
        spec.samplePeriodSeconds = 2;
        spec.durationSeconds = LargeCycleRecords * spec.samplePeriodSeconds;
        const QString file = home.filePath(QStringLiteral("P7.csv"));
        gen::writeCycleFile(file, spec);
        return file;
    }

    QString smallCycle()
    {
        gen::CycleSpec spec;
        spec.heatingType = 3;
        spec.durationSeconds = 3600;
        spec.samplePeriodSeconds = 30;
        const QString file = home.filePath(QStringLiteral("P8.csv"));
        gen::writeCycleFile(file, spec);
        return file;
    }
};

// What the loader makes of a picked file on its own thread, for comparing.
struct LoadedAlone {
    ChartModel chart;
    ChartSummary summary;
};

LoadedAlone loadedAlone(const QString& file, const Language& language)
{
    LineBuffer memo1(LineBuffer::Case::Lower);
    memo1.loadFile(file);
    normalise(memo1, QLatin1Char(','));
    ChartLoad load = WczytajWykres(memo1, language);
    return LoadedAlone{std::move(load.chart), std::move(load.summary)};
}

} // namespace

void TestWindowWork::largeCycleLoadsBehindTheDialog()
{
    ChartMachine machine;
    const QString file = machine.largeCycle();
    ShowCounter dialog(machine.form->MsgDialog());

    machine.form->FileOpenDialog1FileOkClick(file);
    QVERIFY(kvaro::testing::settle(machine.form));

    // Shown while the file was read and again while it was loaded.
    QCOMPARE(dialog.shows, 2);
    QVERIFY(!machine.form->MsgDialog()->isVisible());
    const LoadedAlone alone = loadedAlone(file, machine.form->JezykMemo());
    QCOMPARE(machine.form->chartModel().at(series::T1).points.size(), LargeCycleRecords + 1);
    QVERIFY(machine.form->chartModel().at(series::T1).points == alone.chart.at(series::T1).points);
    QCOMPARE(machine.form->findChild<ChartDrawing*>()->summary(), alone.summary);
    QVERIFY(machine.messages.texts().isEmpty());
}

// A second file opened while the first, larger one is still read or loaded is the one
// drawn, whichever ends first.
void TestWindowWork::laterCycleWinsOverOneStillLoading()
{
    ChartMachine machine;
    const QString large = machine.largeCycle();
    const QString small = machine.smallCycle();
    TForm2& form = *machine.form;
    bool opened = false;
    // The dialog shows as the large file starts to be read; the timer fires inside the wait.
    struct OnShow : QObject {
        std::function<void()> action;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show && action)
                std::exchange(action, nullptr)();
            return QObject::eventFilter(watched, event);
        }
    } onShow;
    onShow.action = [&] {
        QTimer::singleShot(0, &form, [&] {
            form.FileOpenDialog1FileOkClick(small);
            QVERIFY(kvaro::testing::settle(&form));
            opened = true;
        });
    };
    form.MsgDialog()->installEventFilter(&onShow);

    form.FileOpenDialog1FileOkClick(large);
    QVERIFY(kvaro::testing::settle(&form));

    QVERIFY(opened);
    QCOMPARE(QFileInfo(form.findChild<ChartDrawing*>()->Memo1().fileName()).fileName(), "P8.csv");
    const LoadedAlone alone = loadedAlone(small, form.JezykMemo());
    QVERIFY(form.chartModel().at(series::T1).points == alone.chart.at(series::T1).points);
    QCOMPARE(form.findChild<ChartDrawing*>()->summary(), alone.summary);
    QVERIFY(!form.MsgDialog()->isVisible());
    QVERIFY(machine.messages.texts().isEmpty());
}

// An import holds MsgDialog from its start to its end: an oven chosen meanwhile is built
// and listed without moving the import's bar or closing the dialog under it.
void TestWindowWork::dialogHeldByAnImportIsLeftAlone()
{
    Machine machine;
    auto form = machine.start();
    auto* controller = attachCatalogue(*form);
    ProgressDialog* dialog = form->MsgDialog();
    const int import = form->jobs().start();
    QCOMPARE(form->jobs().takeDialog(import), dialog);
    dialog->setProgress(42);
    dialog->show();

    controller->ComboPiecItemSelected(0);
    QTRY_VERIFY_WITH_TIMEOUT(!controller->isBusy(), 60000);

    QVERIFY(!controller->isBusy());
    QCOMPARE(controller->catalogue().size(), ManyCycles);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->progress(), 42);
    form->jobs().finish(import);
}

QTEST_MAIN(TestWindowWork)
#include "test_window_work.moc"
