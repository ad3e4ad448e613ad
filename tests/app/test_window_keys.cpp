// The main window without the mouse: the names screen readers and tooltips give the
// controls, the order of Tab and the keys that press buttons.
#include "app/cataloguecontroller.h"
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/importcontroller.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "app/windowparts.h"
#include "catalogue/cyclelistmodel.h"
#include "chart/navigation.h"
#include "chart/view/chartview.h"
#include "cycles/fields.h"
#include "store/drives.h"
#include "store/mountwatch.h"
#include "tests/app/windowfixture.h"
#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using kvaro::testing::control;
using kvaro::testing::shippedFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

// A cycle of the day the fake clock shows, small enough to draw at once.
gen::CycleSpec cycleOfToday(int number)
{
    gen::CycleSpec spec;
    spec.start = QDateTime(QDate(2024, 5, 7), QTime(6, 0));
    spec.durationSeconds = 3600;
    spec.samplePeriodSeconds = 30;
    spec.number = number;
    spec.seed = quint64(number);
    return spec;
}

// As the controller writes it.
void writeCycle(const QString& path, int number)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    gen::writeCycleFile(path, cycleOfToday(number));
}

// The whole window in the shipped languages (Polish first), over a store of one oven with
// two cycles of today, without a controller drive.
struct Machine : kvaro::testing::WindowMachine {
    std::unique_ptr<TForm2> form;

    Machine()
    {
        for (const char* name : {"Data.dat", "PL.dat", "EN.dat"})
            writeFile(working(QLatin1String(name)), shippedFile(name));
        store(QStringLiteral("1000001"), 1);
        store(QStringLiteral("1000001"), 2);
        form = create();
        attachWindowParts(*form, std::make_unique<FakeDrives>(QStringList{}),
                          std::make_unique<MountWatch>());
        form->show();
        activate();
    }

    // Keys go to the active window; a progress dialog that came and went may have taken
    // that from it.
    void activate()
    {
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("the window did not become active");
    }

    // As the import stores it: normalised under this PC's separator.
    void store(const QString& oven, int number)
    {
        writeFile(program(QStringLiteral("Data/%1/P%2.csv").arg(oven).arg(number)),
                  normalisedCopy(gen::writeCycle(cycleOfToday(number)), locale.decimalSeparator()));
    }

    QString file(const QString& name) const { return home.filePath(name); }
    template <class W = QWidget> W* find(const char* name) const { return control<W>(*form, name); }
    ChartDrawing* chart() const { return form->findChild<ChartDrawing*>(); }
    CatalogueController* catalogue() const { return form->findChild<CatalogueController*>(); }
    bool drawn() const { return chart()->isDrawn(); }

    // A cycle file outside the store, opened as the open dialog does.
    void draw()
    {
        const QString cycle = file(QStringLiteral("P5.csv"));
        writeCycle(cycle, 5);
        form->FileOpenDialog1FileOkClick(cycle);
        QVERIFY(kvaro::testing::settle(form));
        QVERIFY(drawn());
        activate();
    }

    void chooseOven()
    {
        catalogue()->ComboPiecItemSelected(0);
        QVERIFY(kvaro::testing::settle(form));
        QCOMPARE(find<QListView>("ListBox1")->model()->rowCount(), 2);
        activate();
    }

    // The keys pressed where the focus is (the window itself for an empty name).
    void press(const QKeySequence& keys, const QString& focus = {})
    {
        QWidget* target = form.get();
        if (!focus.isEmpty()) {
            target = find(focus.toLatin1().constData());
            target->setFocus(Qt::OtherFocusReason);
        }
        QTest::keySequence(target, keys);
        QCoreApplication::processEvents();
    }

    // The keys pressed in the window; a file dialog they open is noted and closed, or
    // accepted with the given file. The dialog's title, "open" for the open dialog, or
    // nothing when none opened.
    QString pressForDialog(const QKeySequence& keys, const QString& accept = {})
    {
        QString seen;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (seen.isEmpty()) {
                seen = dialog->objectName() == QLatin1String("FileOpenDialog1")
                           ? QStringLiteral("open")
                           : dialog->windowTitle();
            }
            if (accept.isEmpty()) {
                dialog->reject();
                return;
            }
            // Typed in, as selectFile() leaves the line alone while it has the focus.
            if (auto* typed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                typed->setText(accept);
            if (!dialog->selectedFiles().isEmpty())
                static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
        });
        poll.start();
        press(keys);
        poll.stop();
        return seen;
    }
};

// Tab's stops from the window on: the visible, enabled controls that take focus by Tab, by
// their object names (the tab pager's for its tab bar).
QStringList focusChain(TForm2& form)
{
    auto* tabs = control<QTabWidget>(form, "Advsmoothtabpager1");
    QStringList names;
    for (QWidget* w = form.nextInFocusChain(); w && w != &form; w = w->nextInFocusChain()) {
        if (w->window() != &form || !w->isVisible() || !w->isEnabled() ||
            !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
            continue;
        names << (w == tabs->tabBar() ? tabs->objectName() : w->objectName());
    }
    return names;
}

QString focusName(TForm2& form)
{
    QWidget* focus = QApplication::focusWidget();
    auto* tabs = control<QTabWidget>(form, "Advsmoothtabpager1");
    if (!focus)
        return QString();
    return focus == tabs->tabBar() ? tabs->objectName() : focus->objectName();
}

} // namespace

class TestWindowKeys : public QObject
{
    Q_OBJECT

private slots:
    void controlsAreNamedInBothLanguages_data();
    void controlsAreNamedInBothLanguages();
    void everyButtonWithoutAWordHasAName();
    void tabFollowsTheLayout_data();
    void tabFollowsTheLayout();
    void zoomKeys_data();
    void zoomKeys();
    void copyKey_data();
    void copyKey();
    void keysThatOpenDialogs_data();
    void keysThatOpenDialogs();
    void openKeyDrawsThePickedFile();
    void importKey();
    void refreshKeyReadsTheStoreAgain();
    void keysOpenTheHighlightedCycle_data();
    void keysOpenTheHighlightedCycle();
    void enterConfirmsTheRange();
    void highlightIsTheDrawnCycle_data();
    void englishWindowSpeaksNoPolish();
    void highlightIsTheDrawnCycle();
};

void TestWindowKeys::controlsAreNamedInBothLanguages_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("plName");
    QTest::addColumn<QString>("plTip");
    QTest::addColumn<QString>("enName");
    QTest::addColumn<QString>("enTip");
    QTest::newRow("import") << "KvaroLoadButton"
                            << "Importuj z dysku sterownika"
                            << "Importuj z dysku sterownika (Ctrl+I)"
                            << "Import from the controller drive"
                            << "Import from the controller drive (Ctrl+I)";
    QTest::newRow("open") << "AdvSmoothButton8"
                          << "Otwórz plik cyklu"
                          << "Otwórz plik cyklu (Ctrl+O)"
                          << "Open a cycle file"
                          << "Open a cycle file (Ctrl+O)";
    QTest::newRow("trend, no key") << "TrendButton"
                                   << "Trend wyświetlanych cykli"
                                   << "Trend wyświetlanych cykli"
                                   << "Trend of the listed cycles"
                                   << "Trend of the listed cycles";
    QTest::newRow("copy") << "AdvSmoothButton11"
                          << "Kopiuj do schowka"
                          << "Kopiuj do schowka (Ctrl+C)"
                          << "Copy to clipboard"
                          << "Copy to clipboard (Ctrl+C)";
    QTest::newRow("PNG, made by the chart") << "SavePngButton"
                                            << "Zapisz PNG…"
                                            << "Zapisz PNG… (Ctrl+S)"
                                            << "Save PNG…"
                                            << "Save PNG… (Ctrl+S)";
    QTest::newRow("report") << "SaveReportButton"
                            << "Raport PDF"
                            << "Raport PDF (Ctrl+P)"
                            << "PDF report"
                            << "PDF report (Ctrl+P)";
    QTest::newRow("zoom out") << "AdvSmoothButton3"
                              << "Pomniejsz"
                              << "Pomniejsz (-)"
                              << "Zoom out"
                              << "Zoom out (-)";
    QTest::newRow("zoom in: the first of its keys") << "AdvSmoothButton2"
                                                    << "Powiększ"
                                                    << "Powiększ (+)"
                                                    << "Zoom in"
                                                    << "Zoom in (+)";
    QTest::newRow("zoom reset") << "AdvSmoothButton1"
                                << "Cały wykres"
                                << "Cały wykres (0)"
                                << "Whole chart"
                                << "Whole chart (0)";
    QTest::newRow("check all") << "AdvSmoothButton9"
                               << "Zaznacz wszystkie serie"
                               << "Zaznacz wszystkie serie"
                               << "Check all series"
                               << "Check all series";
    QTest::newRow("uncheck all") << "AdvSmoothButton10"
                                 << "Odznacz wszystkie serie"
                                 << "Odznacz wszystkie serie"
                                 << "Uncheck all series"
                                 << "Uncheck all series";
    QTest::newRow("PL, in its own language") << "AdvSmoothButton6"
                                             << "Polski"
                                             << "Polski"
                                             << "Polski"
                                             << "Polski";
    QTest::newRow("EN") << "AdvSmoothButton7"
                        << "English"
                        << "English"
                        << "English"
                        << "English";
    QTest::newRow("oven chooser, its hint as before") << "ComboPiec"
                                                      << "Wybierz piec"
                                                      << "Piece zapisane w programie"
                                                      << "Choose an oven"
                                                      << "Ovens stored by the program";
    QTest::newRow("date button, whose text is dates") << "DataButton"
                                                      << "Wybierz zakres dat"
                                                      << "Wybierz zakres dat"
                                                      << "Choose a date range"
                                                      << "Choose a date range";
    QTest::newRow("cycle list, without the header's blank") << "ListBox1"
                                                            << "Lista cykli"
                                                            << ""
                                                            << "Cycle list"
                                                            << "";
    QTest::newRow("chart") << "Chart1"
                           << "Wykres cyklu"
                           << ""
                           << "Cycle chart"
                           << "";
    QTest::newRow("filter list") << "Listboxprawy"
                                 << "Filtry serii"
                                 << ""
                                 << "Series filters"
                                 << "";
}

void TestWindowKeys::controlsAreNamedInBothLanguages()
{
    QFETCH(QString, control);
    QFETCH(QString, plName);
    QFETCH(QString, plTip);
    QFETCH(QString, enName);
    QFETCH(QString, enTip);
    Machine m;
    QWidget* widget = m.find(control.toLatin1().constData());
    QCOMPARE(widget->accessibleName(), plName);
    QCOMPARE(widget->toolTip(), plTip);

    m.form->AdvSmoothButton7Click();
    QCOMPARE(widget->accessibleName(), enName);
    QCOMPARE(widget->toolTip(), enTip);
    m.form->AdvSmoothButton6Click();
    QCOMPARE(widget->accessibleName(), plName);
    QCOMPARE(widget->toolTip(), plTip);
}

// A picture or a symbol says nothing to a screen reader: such a button needs a name, and
// a tooltip for the eye.
void TestWindowKeys::everyButtonWithoutAWordHasAName()
{
    Machine m;
    m.draw();
    int checked = 0;
    // Push buttons: the tab bar's arrows and a table's corner are Qt's, named by Qt.
    for (QPushButton* button : m.form->findChildren<QPushButton*>()) {
        if (button->window() != m.form.get())
            continue;
        bool word = false;
        for (const QChar c : button->text())
            word = word || c.isLetter();
        if (word)
            continue;
        ++checked;
        QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
        QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
    }
    // The three picture buttons of the first tab and the zoom's three symbols at least.
    QVERIFY(checked >= 6);
}

void TestWindowKeys::tabFollowsTheLayout_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<QStringList>("stops");
    QTest::newRow("first tab, nothing chosen")
        << "AdvSmoothTabPage2" << false
        << QStringList{"Advsmoothtabpager1", "KvaroLoadButton",  "AdvSmoothButton8", "ComboPiec",
                       "AdvSmoothButton3",   "AdvSmoothButton2", "AdvSmoothButton1", "Listboxprawy",
                       "AdvSmoothButton9",   "AdvSmoothButton10"};
    QTest::newRow("export tab, a listed cycle drawn") << "AdvSmoothTabPage1" << true
                                                      << QStringList{"Advsmoothtabpager1",
                                                                     "AdvSmoothButton11",
                                                                     "SavePngButton",
                                                                     "SavePdfButton",
                                                                     "SaveCsvButton",
                                                                     "SaveReportButton",
                                                                     "SaveBatchReportButton",
                                                                     "ComboPiec",
                                                                     "DataButton",
                                                                     "ListBox1",
                                                                     "Chart1",
                                                                     "AdvSmoothButton3",
                                                                     "AdvSmoothButton2",
                                                                     "AdvSmoothButton1",
                                                                     "Listboxprawy",
                                                                     "AdvSmoothButton9",
                                                                     "AdvSmoothButton10"};
    QTest::newRow("language tab, an oven chosen")
        << "AdvSmoothTabPage5" << false
        << QStringList{"Advsmoothtabpager1", "AdvSmoothButton6", "AdvSmoothButton7",
                       "ComboPiec",          "DataButton",       "ListBox1",
                       "AdvSmoothButton3",   "AdvSmoothButton2", "AdvSmoothButton1",
                       "Listboxprawy",       "AdvSmoothButton9", "AdvSmoothButton10"};
}

void TestWindowKeys::tabFollowsTheLayout()
{
    QFETCH(QString, page);
    QFETCH(bool, drawn);
    QFETCH(QStringList, stops);
    Machine m;
    if (stops.contains(QStringLiteral("ListBox1")))
        m.chooseOven();
    if (drawn) {
        auto* list = m.find<QListView>("ListBox1");
        const QModelIndex first = list->model()->index(0, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
        QVERIFY(kvaro::testing::settle(list));
        QVERIFY(m.drawn());
        m.activate();
    }
    auto* tabs = m.find<QTabWidget>("Advsmoothtabpager1");
    tabs->setCurrentWidget(m.find(page.toLatin1().constData()));

    QCOMPARE(focusChain(*m.form), stops);

    // Tab itself goes the same way round, and back to the start.
    tabs->tabBar()->setFocus(Qt::TabFocusReason);
    QStringList reached{focusName(*m.form)};
    for (qsizetype i = 1; i < stops.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << focusName(*m.form);
    }
    QCOMPARE(reached, stops);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusName(*m.form), stops.first());
}

void TestWindowKeys::zoomKeys_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("zoomedBefore"); // presses of "+" before the key
    QTest::addColumn<bool>("disabled");    // the key's button is disabled
    QTest::addColumn<int>("zoom");
    using navigation::zoomedIn;
    using navigation::zoomedOut;
    const QKeySequence plus(Qt::Key_Plus);
    QTest::newRow("+") << plus << "" << 0 << false << zoomedIn(100);
    QTest::newRow("=, the same key without shift")
        << QKeySequence(Qt::Key_Equal) << "" << 1 << false << zoomedIn(zoomedIn(100));
    QTest::newRow("-") << QKeySequence(Qt::Key_Minus) << "" << 2 << false
                       << zoomedOut(zoomedIn(zoomedIn(100)));
    QTest::newRow("0 resets") << QKeySequence(Qt::Key_0) << "" << 2 << false << 100;
    QTest::newRow("+ in the cycle list") << plus << "ListBox1" << 0 << false << zoomedIn(100);
    QTest::newRow("+ in the filter list") << plus << "Listboxprawy" << 0 << false << zoomedIn(100);
    QTest::newRow("0 typed into the oven chooser picks an oven, not the zoom")
        << QKeySequence(Qt::Key_0) << "ComboPiec" << 1 << false << zoomedIn(100);
    QTest::newRow("+ of a disabled button") << plus << "" << 0 << true << 100;
    QTest::newRow("0 of a disabled button")
        << QKeySequence(Qt::Key_0) << "" << 1 << true << zoomedIn(100);
}

void TestWindowKeys::zoomKeys()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, focus);
    QFETCH(int, zoomedBefore);
    QFETCH(bool, disabled);
    QFETCH(int, zoom);
    Machine m;
    m.draw();
    for (int press = 0; press < zoomedBefore; ++press)
        QTest::mouseClick(m.find<QPushButton>("AdvSmoothButton2"), Qt::LeftButton);
    if (disabled) {
        for (const char* button : {"AdvSmoothButton1", "AdvSmoothButton2", "AdvSmoothButton3"})
            m.find(button)->setEnabled(false);
    }

    m.press(keys, focus);

    QCOMPARE(m.form->findChild<ChartDrawing*>()->ZoomLevel(), zoom);
    QCOMPARE(m.find<QLabel>("AdvSmoothLabel5")->text(), navigation::zoomLabel(zoom));
}

void TestWindowKeys::copyKey_data()
{
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("disabled");
    QTest::addColumn<bool>("copied");
    QTest::newRow("a drawn chart") << true << "" << false << true;
    QTest::newRow("from the cycle list, which copies no text of its own")
        << true << "ListBox1" << false << true;
    QTest::newRow("from the oven chooser") << true << "ComboPiec" << false << true;
    QTest::newRow("nothing drawn") << false << "" << false << false;
    QTest::newRow("the copy button disabled") << true << "" << true << false;
}

void TestWindowKeys::copyKey()
{
    QFETCH(bool, drawn);
    QFETCH(QString, focus);
    QFETCH(bool, disabled);
    QFETCH(bool, copied);
    Machine m;
    m.chooseOven();
    if (drawn)
        m.draw();
    m.find("AdvSmoothButton11")->setEnabled(!disabled);
    QGuiApplication::clipboard()->clear();

    m.press(QKeySequence(Qt::CTRL | Qt::Key_C), focus);

    const QImage image = QGuiApplication::clipboard()->image();
    QCOMPARE(!image.isNull(), copied);
    if (copied)
        QCOMPARE(image.size(), m.find("Chart1")->size());
}

void TestWindowKeys::keysThatOpenDialogs_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<QString>("dialog");
    const QKeySequence save(Qt::CTRL | Qt::Key_S);
    const QKeySequence report(Qt::CTRL | Qt::Key_P);
    const QKeySequence open(Qt::CTRL | Qt::Key_O);
    QTest::newRow("save PNG") << save << true << "Zapisz PNG…";
    QTest::newRow("save PNG, nothing drawn") << save << false << "";
    QTest::newRow("report") << report << true << "Raport PDF";
    QTest::newRow("report, nothing drawn: its button is disabled") << report << false << "";
    QTest::newRow("open") << open << false << "open";
    QTest::newRow("open over a drawn cycle") << open << true << "open";
}

void TestWindowKeys::keysThatOpenDialogs()
{
    QFETCH(QKeySequence, keys);
    QFETCH(bool, drawn);
    QFETCH(QString, dialog);
    Machine m;
    if (drawn)
        m.draw();

    QCOMPARE(m.pressForDialog(keys), dialog);
    QVERIFY(m.messages.texts().isEmpty());
    QCOMPARE(m.drawn(), drawn);
}

void TestWindowKeys::openKeyDrawsThePickedFile()
{
    Machine m;
    const QString cycle = m.file(QStringLiteral("P7.csv"));
    writeCycle(cycle, 7);

    QCOMPARE(m.pressForDialog(QKeySequence(Qt::CTRL | Qt::Key_O), cycle), QStringLiteral("open"));
    QVERIFY(kvaro::testing::settle(m.form));

    QVERIFY(m.drawn());
    QCOMPARE(QFileInfo(m.form->findChild<ChartDrawing*>()->Memo1().fileName()), QFileInfo(cycle));
}

void TestWindowKeys::importKey()
{
    Machine m;
    auto* import = m.form->findChild<ImportController*>();
    QSignalSpy finished(import, &ImportController::importFinished);
    auto* button = m.find<QPushButton>("KvaroLoadButton");

    // Disabled, as while an import runs or after one took every file: the key does nothing.
    button->setEnabled(false);
    m.press(QKeySequence(Qt::CTRL | Qt::Key_I));
    QTest::qWait(50);
    QCOMPARE(finished.count(), 0);
    QVERIFY(!import->isRunning());

    button->setEnabled(true);
    m.press(QKeySequence(Qt::CTRL | Qt::Key_I));
    QVERIFY(finished.count() == 1 || finished.wait(20000));
    QCOMPARE(m.messages.texts(), QStringList{m.form->text(Text::NoControllerDrive)});
}

void TestWindowKeys::refreshKeyReadsTheStoreAgain()
{
    Machine m;
    auto* combo = m.find<QComboBox>("ComboPiec");
    auto* list = m.find<QListView>("ListBox1");
    QCOMPARE(combo->count(), 1);

    // Before an oven is chosen only the ovens are read.
    m.store(QStringLiteral("1000002"), 1);
    m.press(QKeySequence(Qt::Key_F5));
    QCOMPARE(combo->count(), 2);
    QCOMPARE(list->model()->rowCount(), 0);

    // Then the chosen oven's cycles too, as another program (or PC) stored them.
    m.chooseOven();
    m.store(QStringLiteral("1000001"), 3);
    m.store(QStringLiteral("1000003"), 1);
    m.press(QKeySequence(Qt::Key_F5), QStringLiteral("ListBox1"));
    QVERIFY(kvaro::testing::settle(m.form));
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(QDir(m.catalogue()->chosenOvenFolder()).dirName(), QStringLiteral("1000001"));
    QVERIFY(m.messages.texts().isEmpty());
}

void TestWindowKeys::keysOpenTheHighlightedCycle_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Return") << int(Qt::Key_Return) << true;
    QTest::newRow("Enter of the number pad") << int(Qt::Key_Enter) << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << true;
    QTest::newRow("an arrow only moves the highlight") << int(Qt::Key_Down) << false;
}

void TestWindowKeys::keysOpenTheHighlightedCycle()
{
    QFETCH(int, key);
    QFETCH(bool, opens);
    Machine m;
    m.chooseOven();
    auto* list = m.find<QListView>("ListBox1");
    list->setFocus(Qt::TabFocusReason);
    // Highlighted by the keyboard, never clicked.
    list->setCurrentIndex(list->model()->index(key == Qt::Key_Down ? 0 : 1, 0));
    QVERIFY(!m.drawn());

    QTest::keyClick(list, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QVERIFY(kvaro::testing::settle(m.form));

    QCOMPARE(m.drawn(), opens);
    if (opens)
        QCOMPARE(QFileInfo(m.form->findChild<ChartDrawing*>()->Memo1().fileName()).fileName(),
                 QStringLiteral("P2.csv"));
}

void TestWindowKeys::enterConfirmsTheRange()
{
    Machine m;
    m.chooseOven();
    QTest::mouseClick(m.find<QPushButton>("DataButton"), Qt::LeftButton);
    auto* popup = m.form->findChild<QWidget*>(QStringLiteral("Popup1"));
    QTRY_VERIFY(popup->isVisible());
    auto* confirm = popup->findChild<QPushButton*>(QStringLiteral("AdvSmoothButton1"));
    QSignalSpy confirmed(popup->findChild<TForm1*>(), &TForm1::rangeConfirmed);
    confirm->setFocus(Qt::TabFocusReason);

    QTest::keyClick(confirm, Qt::Key_Return);

    QCOMPARE(confirmed.count(), 1);
    QTRY_VERIFY(!popup->isVisible());
}

void TestWindowKeys::highlightIsTheDrawnCycle_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("highlighted"); // the row; -1: none
    QTest::newRow("a click") << "click" << 1;
    QTest::newRow("a point of the trend") << "trend" << 1;
    QTest::newRow("a right click to compare") << "compare" << 0;
    QTest::newRow("a file opened from outside the store") << "open" << -1;
    QTest::newRow("a listed file that cannot be drawn any more") << "failed" << -1;
}

void TestWindowKeys::highlightIsTheDrawnCycle()
{
    QFETCH(QString, action);
    QFETCH(int, highlighted);
    Machine m;
    m.chooseOven();
    auto* list = m.find<QListView>("ListBox1");
    const auto rowCentre = [&](int row) {
        return list->visualRect(list->model()->index(row, 0)).center();
    };
    // The first cycle drawn by a click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
    QVERIFY(kvaro::testing::settle(list));
    QVERIFY(kvaro::testing::settle(m.form));
    QVERIFY(m.drawn());
    QCOMPARE(list->currentIndex().row(), 0);

    if (action == QLatin1String("click")) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QVERIFY(kvaro::testing::settle(list));
    } else if (action == QLatin1String("trend")) {
        m.catalogue()->openStoredCycle(QStringLiteral("P2.csv"));
    } else if (action == QLatin1String("compare")) {
        // The press of the right button moves the highlight before the menu opens.
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, rowCentre(1));
        QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, rowCentre(1));
        m.catalogue()->ListBox1ContextMenu(rowCentre(1));
        m.catalogue()->listMenu()->close();
        m.catalogue()->compareAction()->trigger();
    } else if (action == QLatin1String("open")) {
        m.draw();
    } else if (action == QLatin1String("failed")) {
        writeFile(m.program(QStringLiteral("Data/1000001/P2.csv")), "x\r\n");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QVERIFY(kvaro::testing::settle(list));
        m.messages.clear();
    }
    QVERIFY(kvaro::testing::settle(m.form));

    QCOMPARE(list->currentIndex().row(), highlighted);
    QCOMPARE(list->selectionModel()->selectedIndexes().size(), highlighted < 0 ? 0 : 1);
}

void TestWindowKeys::englishWindowSpeaksNoPolish()
{
    Machine m;
    // Polish first: Qt's own dialogs speak it too.
    QVERIFY(QCoreApplication::translate("QFileDialog", "Look in:") != QStringLiteral("Look in:"));
    // A cycle listed and drawn in Polish, then the switch: everything on screen follows.
    m.chooseOven();
    m.draw();
    m.form->AdvSmoothButton7Click();
    QCOMPARE(m.form->LanguageCode(), QStringLiteral("EN"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));

    auto* chart = m.find<ChartView>("Chart1");
    auto* picker = m.form->findChild<TForm1*>();
    // The names the view gives the lanes, the legends and the readout under the mouse.
    QStringList seen;
    for (int s = 0; s < SeriesCount; ++s)
        seen << chart->seriesName(s);
    seen << picker->CalendarOd()->toolTip() << picker->CalendarOdFooter()->text()
         << picker->AdvSmoothButton1()->text();
    auto* list = m.find<QListView>("ListBox1");
    for (int row = 0; row < list->model()->rowCount(); ++row)
        seen << list->model()->index(row, 0).data(CycleListModel::NotesRole).toString();
    QVERIFY2(seen.contains(QStringLiteral("Working T")), qPrintable(seen.join(u'|')));
    for (const char* polish : {"Wentylator", "Przewietrzanie", "Robocza", "Pocz\u0105tek", "Koniec",
                               "Zu\u017cycie", "Zatwierd", "Moc", "Palnik"}) {
        for (const QString& text : seen)
            QVERIFY2(!text.contains(QString::fromUtf8(polish)), qPrintable(text));
    }
}

QTEST_MAIN(TestWindowKeys)
#include "test_window_keys.moc"
