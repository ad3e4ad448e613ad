// Files that reach the main window from outside: picked in the open dialog, given on the
// command line, as a file manager's "open with" starts it, or dropped onto the window. The
// last two open as a file picked in the open dialog does.
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/tform2.h"
#include "app/windowparts.h"
#include "store/drives.h"
#include "store/mountwatch.h"
#include "tests/app/windowfixture.h"
#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

using kvaro::testing::control;
using kvaro::testing::shippedFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

void writeCycle(const QString& path, int number)
{
    gen::CycleSpec spec;
    spec.start = QDateTime(QDate(2024, 5, 7), QTime(6, 0));
    spec.durationSeconds = 3600;
    spec.samplePeriodSeconds = 30;
    spec.number = number;
    spec.seed = quint64(number);
    QDir().mkpath(QFileInfo(path).absolutePath());
    gen::writeCycleFile(path, spec);
}

// The whole window in the shipped languages, over an empty store, without a controller
// drive.
struct Machine : kvaro::testing::WindowMachine {
    std::unique_ptr<TForm2> form;

    Machine()
    {
        for (const char* name : {"Data.dat", "PL.dat", "EN.dat"})
            writeFile(working(QLatin1String(name)), shippedFile(name));
        form = create();
        attachWindowParts(*form, std::make_unique<FakeDrives>(QStringList{}),
                          std::make_unique<MountWatch>());
        form->show();
    }

    QString file(const QString& name) const { return home.filePath(name); }
    QWidget* find(const char* name) const { return control<QWidget>(*form, name); }
    bool drawn() const { return form->findChild<ChartDrawing*>()->isDrawn(); }
};

QMimeData* urlData(const QList<QUrl>& urls)
{
    auto* data = new QMimeData;
    if (urls.isEmpty())
        data->setText(QStringLiteral("P1.csv"));
    else
        data->setUrls(urls);
    return data;
}

// The windows of the program that are drop-down lists on screen.
QList<QWidget*> shownPopups()
{
    QList<QWidget*> popups;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowType() == Qt::Popup)
            popups.append(widget);
    }
    return popups;
}

// Keys as a person presses them: to the window that has them, so a drop-down list open
// over it takes them first.
void typeInto(QWidget* window, const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(window->windowHandle(), c.toLatin1());
}

} // namespace

class TestWindowOpen : public QObject
{
    Q_OBJECT

private slots:
    void openDialogLeavesNothingOver_data();
    void openDialogLeavesNothingOver();
    void givenFileIsTheFirstArgument_data();
    void givenFileIsTheFirstArgument();
    void givenFileOpensAsFromTheDialog_data();
    void givenFileOpensAsFromTheDialog();
    void droppedFileOpens_data();
    void droppedFileOpens();
};

void TestWindowOpen::openDialogLeavesNothingOver_data()
{
    QTest::addColumn<int>("uses"); // the dialog opened and confirmed so many times
    QTest::newRow("first use") << 1;
    QTest::newRow("second use") << 2;
}

// A name typed into the open dialog and confirmed with Enter: the cycle is drawn, the
// drop-down list of the name line is gone with the dialog, and the next click reaches the
// button it is aimed at.
void TestWindowOpen::openDialogLeavesNothingOver()
{
    QFETCH(int, uses);
    Machine m;
    QVERIFY(QTest::qWaitForWindowExposed(m.form.get()));
    const QString folder = m.file(QStringLiteral("cycles"));
    writeCycle(folder + QStringLiteral("/P1.csv"), 1);
    writeCycle(folder + QStringLiteral("/P12.csv"), 12);
    auto* open = control<QPushButton>(*m.form, "AdvSmoothButton8");

    for (int use = 0; use < uses; ++use) {
        bool typed = false;
        QTimer::singleShot(0, m.form.get(), [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name);
            name->setFocus();
            // The folder first, so its names are there to be offered, then the start of one.
            typeInto(dialog, folder + QStringLiteral("/P1"));
            QTRY_VERIFY(!shownPopups().isEmpty());
            typeInto(dialog, QStringLiteral(".csv"));
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
            if (dialog->isVisible())
                QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
            typed = true;
        });
        open->click();
        QVERIFY(typed);
        QTRY_VERIFY(m.drawn());
        QCOMPARE(m.form->findChild<ChartDrawing*>()->Memo1().fileName(),
                 folder + QStringLiteral("/P1.csv"));
    }

    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QVERIFY(shownPopups().isEmpty());
    // A click on "+" through the window, as the mouse gives it.
    auto* plus = control<QPushButton>(*m.form, "AdvSmoothButton2");
    QTest::mouseClick(m.form->windowHandle(), Qt::LeftButton, {},
                      plus->mapTo(m.form.get(), plus->rect().center()));
    QCOMPARE(m.form->findChild<ChartDrawing*>()->ZoomLevel(), 105);
}

void TestWindowOpen::givenFileIsTheFirstArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("none") << QStringList{"kvaro"} << "";
    QTest::newRow("one") << QStringList{"kvaro", "P1.csv"} << "P1.csv";
    QTest::newRow("two: the first") << QStringList{"kvaro", "/a/P1.csv", "P2.csv"} << "/a/P1.csv";
    QTest::newRow("an option before it") << QStringList{"kvaro", "--verbose", "P1.csv"} << "P1.csv";
    QTest::newRow("a name with blanks") << QStringList{"kvaro", "cykl 1.csv"} << "cykl 1.csv";
}

void TestWindowOpen::givenFileIsTheFirstArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QCOMPARE(TForm2::givenFile(arguments), file);
}

void TestWindowOpen::givenFileOpensAsFromTheDialog_data()
{
    QTest::addColumn<QString>("given"); // relative to the current folder, or absolute
    QTest::addColumn<QString>("opened");
    QTest::newRow("relative") << "P1.csv"
                              << "cycles/P1.csv";
    QTest::newRow("in a folder below") << "below/P2.csv"
                                       << "cycles/below/P2.csv";
    QTest::newRow("absolute") << "/ABS/P1.csv"
                              << "cycles/P1.csv";
    QTest::newRow("missing") << "P9.csv"
                             << "";
}

void TestWindowOpen::givenFileOpensAsFromTheDialog()
{
    QFETCH(QString, given);
    QFETCH(QString, opened);
    Machine m;
    const QString folder = m.file(QStringLiteral("cycles"));
    writeCycle(folder + QStringLiteral("/P1.csv"), 1);
    writeCycle(folder + QStringLiteral("/below/P2.csv"), 2);
    given.replace(QStringLiteral("/ABS"), folder);
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder));

    m.form->openGivenFile(given);
    QVERIFY(kvaro::testing::settle(m.form));
    QVERIFY(QDir::setCurrent(current));

    if (opened.isEmpty()) {
        // What the open dialog's confirmation says of the same path.
        const QStringList said = m.messages.texts();
        QVERIFY(!m.drawn());
        m.messages.clear();
        m.form->FileOpenDialog1FileOkClick(QDir(folder).filePath(given));
        QVERIFY(kvaro::testing::settle(m.form));
        QCOMPARE(said, m.messages.texts());
        QCOMPARE(said.size(), 1);
        return;
    }
    QVERIFY(m.messages.texts().isEmpty());
    QVERIFY(m.drawn());
    QCOMPARE(m.form->findChild<ChartDrawing*>()->Memo1().fileName(), m.file(opened));
}

void TestWindowOpen::droppedFileOpens_data()
{
    // "FILE:" stands for the folder of the test's files as a local URL.
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("opened");
    QTest::newRow("a local file") << QStringList{"FILE:P1.csv"} << true << "P1.csv";
    QTest::newRow("several: the first")
        << QStringList{"FILE:P2.csv", "FILE:P1.csv"} << true << "P2.csv";
    QTest::newRow("a web address") << QStringList{"https://example.com/P1.csv"} << false << "";
    QTest::newRow("a web address, then a local file")
        << QStringList{"https://example.com/P1.csv", "FILE:P2.csv"} << true << "P2.csv";
    QTest::newRow("a folder") << QStringList{"FILE:"} << false << "";
    QTest::newRow("text, no address") << QStringList{} << false << "";
    QTest::newRow("a local file that is gone: as the open dialog says")
        << QStringList{"FILE:P9.csv"} << true << "P9.csv";
}

void TestWindowOpen::droppedFileOpens()
{
    QFETCH(QStringList, urls);
    QFETCH(bool, accepted);
    QFETCH(QString, opened);
    Machine m;
    writeCycle(m.file(QStringLiteral("P1.csv")), 1);
    writeCycle(m.file(QStringLiteral("P2.csv")), 2);
    // A control that takes drops itself would keep them from the window.
    for (QWidget* widget : m.form->findChildren<QWidget*>()) {
        if (widget->window() == m.form.get())
            QVERIFY2(!widget->acceptDrops(), qPrintable(widget->objectName()));
    }
    QList<QUrl> addresses;
    for (const QString& url : urls) {
        addresses << (url.startsWith(QStringLiteral("FILE:"))
                          ? QUrl::fromLocalFile(m.file(url.mid(5)))
                          : QUrl(url));
    }
    const std::unique_ptr<QMimeData> data(urlData(addresses));
    const QPoint centre = m.find("Chart1Placeholder")->mapTo(m.form.get(), QPoint(20, 20));

    QDragEnterEvent enter(centre, Qt::CopyAction | Qt::LinkAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(m.form.get(), &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QDropEvent drop(QPointF(centre), Qt::CopyAction | Qt::LinkAction, data.get(), Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(m.form.get(), &drop);
    QCOMPARE(drop.isAccepted(), accepted);

    if (opened.isEmpty()) {
        QTest::qWait(20);
        QVERIFY(!m.drawn());
        QVERIFY(m.messages.texts().isEmpty());
        return;
    }
    const QString path = m.file(opened);
    if (!QFileInfo::exists(path)) {
        QTRY_COMPARE(m.messages.texts().size(), 1);
        const QStringList said = m.messages.texts();
        m.messages.clear();
        m.form->FileOpenDialog1FileOkClick(path);
        QVERIFY(kvaro::testing::settle(m.form));
        QCOMPARE(said, m.messages.texts());
        return;
    }
    QTRY_VERIFY(m.drawn());
    QCOMPARE(m.form->findChild<ChartDrawing*>()->Memo1().fileName(), path);
    QVERIFY(m.messages.texts().isEmpty());
}

QTEST_MAIN(TestWindowOpen)
#include "test_window_open.moc"
