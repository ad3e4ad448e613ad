#include "app/appservices.h"
#include "app/chartdrawing.h"
#include "app/progressdialog.h"
#include "app/tform2.h"
#include "base/platform.h"
#include "chart/view/chartview.h"
#include "tests/app/windowfixture.h"
#include "tests/testfiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <memory>

using kvaro::testing::control;
using kvaro::testing::numberedLanguage;
using kvaro::testing::readFile;
using kvaro::testing::shippedFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

const QByteArray bom("\xEF\xBB\xBF");

QString tabCaption(QWidget& form, const char* page)
{
    auto* tabs = control<QTabWidget>(form, "Advsmoothtabpager1");
    return tabs->tabText(tabs->indexOf(control<QWidget>(form, page)));
}

using Machine = kvaro::testing::WindowMachine;

} // namespace

class TestTForm2 : public QObject
{
    Q_OBJECT

private slots:
    void shippedLanguageFilesHaveEveryText();
    void readmeDescribesEveryNamedLine();
    void namedTextsReadTheirLines_data();
    void namedTextsReadTheirLines();
    void startsInTheLanguageOfDataDat();
    void languageButtonRewritesLineZeroOnly_data();
    void languageButtonRewritesLineZeroOnly();
    void missingLanguageFileLeavesAUsableWindow_data();
    void missingLanguageFileLeavesAUsableWindow();
    void languageButtonWithoutItsFile();
    void shortAndEmptyLanguageFiles();
    void ovenListKeepsTheChosenOven();
    void openingAFile_data();
    void openingAFile();
    void openingAFileThatCannotBeRead();
    void columnsKeepTheirShares_data();
    void columnsKeepTheirShares();
    void progressDialog();
};

void TestTForm2::shippedLanguageFilesHaveEveryText()
{
    for (const char* name : {"PL.dat", "EN.dat"}) {
        const QByteArray bytes = shippedFile(name);
        QVERIFY2(bytes.startsWith(bom), name);
        LineBuffer lines;
        lines.loadBytes(bytes, QLatin1String(name));
        // 0..45, 46 for a set temperature that was never reached, and the named lines.
        QCOMPARE(lines.count(), LastNamedText + 1);
        for (int n = 0; n < lines.count(); ++n)
            QVERIFY2(!lines.line(n).trimmed().isEmpty(),
                     qPrintable(QStringLiteral("%1 line %2").arg(QLatin1String(name)).arg(n)));
        // The cycle list's header keeps its trailing blank, as the design-time text does.
        QVERIFY(lines.line(8).endsWith(QLatin1Char(' ')));
    }
    QVERIFY(shippedFile("Data.dat").startsWith("PL"));
}

// The README's table of the later lines follows the table in the code: every line from 47
// on described once, none that does not exist.
void TestTForm2::readmeDescribesEveryNamedLine()
{
    const QString readme =
        QString::fromUtf8(readFile(QStringLiteral(KVARO_SOURCE_DIR "/README.md")));
    const QRegularExpression row(QStringLiteral("^\\| (\\d+)((?:, \\d+)*|[\u2013-]\\d+)? \\|"),
                                 QRegularExpression::MultilineOption);
    QList<int> described;
    for (const QRegularExpressionMatch& match : row.globalMatch(readme)) {
        const int first = match.captured(1).toInt();
        const QString rest = match.captured(2);
        described.append(first);
        if (rest.startsWith(u',')) {
            for (const QString& number : rest.split(u',', Qt::SkipEmptyParts))
                described.append(number.trimmed().toInt());
        } else if (!rest.isEmpty()) {
            for (int n = first + 1; n <= rest.mid(1).toInt(); ++n)
                described.append(n);
        }
    }
    std::sort(described.begin(), described.end());
    QList<int> lines;
    for (int n = FirstNamedText; n <= LastNamedText; ++n)
        lines.append(n);
    QCOMPARE(described, lines);
}

// Each name reads the line of its own number: a name added, dropped or moved in the middle
// shifts every text after it.
void TestTForm2::namedTextsReadTheirLines_data()
{
    QTest::addColumn<Text>("name");
    QTest::addColumn<QString>("english");
    QTest::newRow("first") << Text::ExportTab << QStringLiteral("Export");
    QTest::newRow("tab of the last page") << Text::Temperature << QStringLiteral("Temperature");
    QTest::newRow("not drawable") << Text::NotDrawable
                                  << QStringLiteral("This cycle file cannot be drawn.");
    QTest::newRow("heaters' arrows") << Text::HeatersArrows << QStringLiteral("Heaters");
    QTest::newRow("events") << Text::Events << QStringLiteral("Events");
    QTest::newRow("airing") << Text::Airing << QStringLiteral("Airing");
    QTest::newRow("after an unused line") << Text::Channel << QStringLiteral("CH");
    QTest::newRow("check all") << Text::CheckAll << QStringLiteral("Check all");
    QTest::newRow("no drive") << Text::NoControllerDrive
                              << QStringLiteral("No controller drive was found (a USB drive "
                                                "with the file Kvaro.lerta).");
    QTest::newRow("last of the first lines")
        << Text::SetTemperatureNotReached << QStringLiteral("Set temperature not reached");
    QTest::newRow("first with a built-in text") << Text::CycleCountOne << QStringLiteral("cycle");
    QTest::newRow("last") << Text::ReasonNotDeleted
                          << QStringLiteral("it cannot be deleted after its backup (%1)");
}

void TestTForm2::namedTextsReadTheirLines()
{
    QFETCH(Text, name);
    QFETCH(QString, english);
    LineBuffer lines;
    lines.loadBytes(shippedFile("EN.dat"), QStringLiteral("EN.dat"));
    QCOMPARE(Language(lines.lines()).text(name), english);

    // The numbered file tells which line a name read.
    Machine machine;
    writeFile(machine.working(QStringLiteral("PL.dat")),
              numberedLanguage(QStringLiteral("PL text %1"), LastNamedText + 1));
    const auto form = machine.start();
    QCOMPARE(form->text(name), QStringLiteral("PL text %1").arg(int(name)));
}

void TestTForm2::startsInTheLanguageOfDataDat()
{
    Machine machine;
    writeFile(machine.working(QStringLiteral("Data.dat")), "EN\r\n");
    writeFile(machine.working(QStringLiteral("EN.dat")), shippedFile("EN.dat"));
    writeFile(machine.working(QStringLiteral("PL.dat")), shippedFile("PL.dat"));
    auto form = machine.start();

    QVERIFY(machine.messages.texts().isEmpty());
    QCOMPARE(form->LanguageCode(), QStringLiteral("EN"));
    QCOMPARE(form->LocaleDecimalSeparator(), QLatin1Char(','));
    QCOMPARE(control<QLabel>(*form, "AdvSmoothLabel5")->text(), QStringLiteral("100%"));
    QCOMPARE(tabCaption(*form, "AdvSmoothTabPage5"), QStringLiteral("Language"));
    QCOMPARE(tabCaption(*form, "AdvSmoothTabPager11"), QStringLiteral("Input parameters"));
    QCOMPARE(control<QLabel>(*form, "ListBox1Header")->text(), QStringLiteral("Cycle list "));
    QCOMPARE(control<QLabel>(*form, "ListBox1Footer")->text(), QStringLiteral("0 cycles"));
    QCOMPARE(control<QComboBox>(*form, "ComboPiec")->placeholderText(),
             QStringLiteral("Choose an oven"));
    QCOMPARE(control<QPushButton>(*form, "AdvSmoothButton9")->text(), QStringLiteral("Check all"));
    QCOMPARE(form->MsgDialog()->caption(), QStringLiteral("Loading files..."));
    QCOMPARE(form->filterList().item(0).caption, QStringLiteral("Temperature"));
    QCOMPARE(form->text(Text::NotDrawable), QStringLiteral("This cycle file cannot be drawn."));

    // The state the window starts in.
    auto* dataButton = control<QPushButton>(*form, "DataButton");
    QCOMPARE(dataButton->text(), QStringLiteral("07.05.2024"));
    QVERIFY(!dataButton->isEnabled());
    QVERIFY(!control<QListView>(*form, "ListBox1")->isEnabled());
    QVERIFY(control<ChartView>(*form, "Chart1")->isHidden());
    auto* tabs = control<QTabWidget>(*form, "Advsmoothtabpager1");
    QCOMPARE(tabs->currentWidget(), control<QWidget>(*form, "AdvSmoothTabPage2"));
    QVERIFY(!tabs->isTabVisible(tabs->indexOf(control<QWidget>(*form, "AdvSmoothTabPage3"))));
    QVERIFY(!tabs->isTabVisible(tabs->indexOf(control<QWidget>(*form, "AdvSmoothTabPage4"))));
    for (const char* hidden :
         {"FooterImage", "GrodzImg", "PrzewietrzanieImg", "RegulacjaMocyImg", "regulacjaMocyBar",
          "PalnikImg", "PalnikStatus", "Gaz", "Prad", "Olej"})
        QVERIFY2(control<QWidget>(*form, hidden)->isHidden(), hidden);
    for (int i = 0; i < form->filterList().count(); ++i)
        QVERIFY(!form->filterList().item(i).shown);
    QCOMPARE(control<QLabel>(*form, "AdvSmoothLabel5")->text(), QStringLiteral("100%"));
    QCOMPARE(control<QLabel>(*form, "DolnyBarVersion")->text(),
             QStringLiteral("lerta Kvaro v. 1.3.1"));
}

void TestTForm2::languageButtonRewritesLineZeroOnly_data()
{
    QTest::addColumn<QByteArray>("dataDat");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("PL over EN, three lines")
        << QByteArray("EN\r\nline one\r\nline two\r\n") << "AdvSmoothButton6"
        << "PL" << QByteArray("PL\r\nline one\r\nline two\r\n");
    QTest::newRow("EN over PL, unicode with a mark") << (bom + "PL\r\nł\r\n") << "AdvSmoothButton7"
                                                     << "EN" << (bom + "EN\r\nł\r\n");
    QTest::newRow("empty file") << QByteArray() << "AdvSmoothButton7"
                                << "EN" << QByteArray("EN\r\n");
}

void TestTForm2::languageButtonRewritesLineZeroOnly()
{
    QFETCH(QByteArray, dataDat);
    QFETCH(QString, button);
    QFETCH(QString, code);
    QFETCH(QByteArray, written);

    Machine machine;
    writeFile(machine.working(QStringLiteral("Data.dat")), dataDat);
    writeFile(machine.working(QStringLiteral("PL.dat")),
              numberedLanguage(QStringLiteral("PL text %1"), 46));
    writeFile(machine.working(QStringLiteral("EN.dat")),
              numberedLanguage(QStringLiteral("EN text %1"), 46));
    auto form = machine.start();

    auto* tabs = control<QTabWidget>(*form, "Advsmoothtabpager1");
    tabs->setCurrentWidget(control<QWidget>(*form, "AdvSmoothTabPage5"));
    QSignalSpy relabelled(form.get(), &TForm2::languageLoaded);
    QTest::mouseClick(control<QPushButton>(*form, qPrintable(button)), Qt::LeftButton);

    QVERIFY(machine.messages.texts().isEmpty());
    QCOMPARE(readFile(machine.working(QStringLiteral("Data.dat"))), written);
    QCOMPARE(form->LanguageCode(), code);
    QCOMPARE(relabelled.count(), 1);
    // Shown at once, and at the next start.
    QCOMPARE(tabCaption(*form, "AdvSmoothTabPage5"), code + QStringLiteral(" text 4"));
    QCOMPARE(form->filterList().item(3).caption,
             QStringLiteral("T1 ") + code + QStringLiteral(" text 331"));
    form.reset();
    auto next = machine.start();
    QCOMPARE(next->LanguageCode(), code);
    QCOMPARE(tabCaption(*next, "AdvSmoothTabPage5"), code + QStringLiteral(" text 4"));
}

// A settings file is only a choice: without one (or with an empty one) the window starts
// in Polish and says nothing. A missing language file is said once, the design-time Polish
// texts stay, and the start goes on: the ovens are listed and the filter items wait for a
// cycle, as after any start.
void TestTForm2::missingLanguageFileLeavesAUsableWindow_data()
{
    QTest::addColumn<bool>("hasDataDat");
    QTest::addColumn<QByteArray>("dataDat");
    QTest::addColumn<bool>("hasPolish");   // PL.dat, its lines numbered
    QTest::addColumn<QString>("missing");  // the language file the one message names
    QTest::addColumn<QString>("language"); // the language tab's caption
    QTest::addColumn<QString>("prompt");   // the oven chooser's

    QTest::newRow("no Data.dat") << false << QByteArray() << true << ""
                                 << "PL text 4"
                                 << "PL text 40";
    QTest::newRow("an empty Data.dat") << true << QByteArray() << true << ""
                                       << "PL text 4"
                                       << "PL text 40";
    QTest::newRow("Data.dat names a missing language file")
        << true << QByteArray("EN\r\n") << true << "EN.dat"
        << "Język"
        << "Wybierz piec";
    QTest::newRow("no Data.dat and no PL.dat") << false << QByteArray() << false << "PL.dat"
                                               << "Język"
                                               << "Wybierz piec";
}

void TestTForm2::missingLanguageFileLeavesAUsableWindow()
{
    QFETCH(bool, hasDataDat);
    QFETCH(QByteArray, dataDat);
    QFETCH(bool, hasPolish);
    QFETCH(QString, missing);
    QFETCH(QString, language);
    QFETCH(QString, prompt);
    Machine machine;
    if (hasDataDat)
        writeFile(machine.working(QStringLiteral("Data.dat")), dataDat);
    if (hasPolish)
        writeFile(machine.working(QStringLiteral("PL.dat")),
                  numberedLanguage(QStringLiteral("PL text %1"), 46));
    for (const char* oven : {"1234567", "0", ".hidden"})
        QDir().mkpath(
            QDir(machine.programFolder()).filePath(QStringLiteral("Data/") + QLatin1String(oven)));
    auto form = machine.start();

    const QStringList said = machine.messages.texts();
    QCOMPARE(said.size(), missing.isEmpty() ? 0 : 1);
    if (!missing.isEmpty())
        QVERIFY2(said.first().contains(missing), qPrintable(said.first()));
    QCOMPARE(form->LanguageCode(),
             missing.isEmpty() ? QStringLiteral("PL") : QFileInfo(missing).completeBaseName());
    QCOMPARE(tabCaption(*form, "AdvSmoothTabPage5"), language);
    QCOMPARE(control<QComboBox>(*form, "ComboPiec")->placeholderText(), prompt);
    if (!missing.isEmpty())
        QCOMPARE(control<QLabel>(*form, "ListBox1Header")->text(), QStringLiteral("Lista cykli "));
    for (int i = 0; i < form->filterList().count(); ++i)
        QVERIFY(!form->filterList().item(i).shown);
    auto* ovens = control<QComboBox>(*form, "ComboPiec");
    QCOMPARE(ovens->count(), 2);
    QCOMPARE(ovens->itemText(0), QStringLiteral("0"));
    QCOMPARE(ovens->itemText(1), QStringLiteral("1234567"));
    QCOMPARE(ovens->currentIndex(), -1);
}

void TestTForm2::languageButtonWithoutItsFile()
{
    Machine machine;
    writeFile(machine.working(QStringLiteral("PL.dat")), shippedFile("PL.dat"));
    auto form = machine.start(); // no Data.dat: Polish, and no message
    QVERIFY(machine.messages.texts().isEmpty());
    QCOMPARE(tabCaption(*form, "AdvSmoothTabPage5"), QStringLiteral("Język"));

    control<QTabWidget>(*form, "Advsmoothtabpager1")
        ->setCurrentWidget(control<QWidget>(*form, "AdvSmoothTabPage5"));
    QTest::mouseClick(control<QPushButton>(*form, "AdvSmoothButton7"), Qt::LeftButton);

    QCOMPARE(machine.messages.texts().size(), 1);
    QVERIFY(machine.messages.texts().first().contains(QStringLiteral("EN.dat")));
    QCOMPARE(tabCaption(*form, "AdvSmoothTabPage5"), QStringLiteral("Język"));
    QCOMPARE(form->text(Text::LanguageTab), QStringLiteral("Język"));
    // The choice was stored before the file was looked for.
    QCOMPARE(readFile(machine.working(QStringLiteral("Data.dat"))), QByteArray("EN\r\n"));
}

void TestTForm2::shortAndEmptyLanguageFiles()
{
    Machine machine;
    writeFile(machine.working(QStringLiteral("PL.dat")),
              numberedLanguage(QStringLiteral("PL text %1"), 20));
    auto form = machine.start();

    QVERIFY(machine.messages.texts().isEmpty());
    QCOMPARE(tabCaption(*form, "AdvSmoothTabPage5"), QStringLiteral("PL text 4"));
    QCOMPARE(control<QLabel>(*form, "ListBox1Footer")->text(), QStringLiteral("0 PL text 9"));
    QCOMPARE(form->text(Text::HeldFor), QStringLiteral("PL text 19"));
    for (int n = 20; n <= 45; ++n)
        QVERIFY(form->text(Text(n)).isEmpty());
    QCOMPARE(form->MsgDialog()->caption(), QString());
    QCOMPARE(control<QComboBox>(*form, "ComboPiec")->placeholderText(), QString());
    QCOMPARE(control<QPushButton>(*form, "AdvSmoothButton11")->text(), QString());

    // An empty file relabels nothing and every text reads empty.
    writeFile(machine.working(QStringLiteral("PL.dat")), QByteArray());
    form->LoadLanguage();
    QVERIFY(machine.messages.texts().isEmpty());
    QCOMPARE(form->JezykMemo().buffer().count(), 0);
    QCOMPARE(tabCaption(*form, "AdvSmoothTabPage5"), QStringLiteral("PL text 4"));
    QCOMPARE(form->text(Text::NotDrawable), QString());
}

void TestTForm2::ovenListKeepsTheChosenOven()
{
    Machine machine;
    writeFile(machine.working(QStringLiteral("PL.dat")), shippedFile("PL.dat"));
    const QString store = QDir(machine.programFolder()).filePath(QStringLiteral("Data"));
    QDir().mkpath(store + QStringLiteral("/P10"));
    QDir().mkpath(store + QStringLiteral("/P2"));
    auto form = machine.start();
    auto* ovens = control<QComboBox>(*form, "ComboPiec");
    ovens->setCurrentIndex(1);
    QCOMPARE(ovens->currentText(), QStringLiteral("P10"));

    QDir().mkpath(store + QStringLiteral("/P1"));
    QSignalSpy changed(ovens, &QComboBox::currentIndexChanged);
    form->OdswiezListePiecy();
    form->OdswiezListePiecy();
    QCOMPARE(ovens->count(), 3);
    QCOMPARE(ovens->itemText(0), QStringLiteral("P1"));
    QCOMPARE(ovens->currentText(), QStringLiteral("P10"));
    QCOMPARE(changed.count(), 0);
}

void TestTForm2::openingAFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<QStringList>("memo1");
    QTest::newRow("one line") << QByteArray("header\r\n") << false << QStringList{"header"};
    QTest::newRow("two lines") << QByteArray("Header\r\n0,12.5\r\n") << false
                               << QStringList{"header", "0;12,5"};
    // Its first record is cut at ";" already: every comma is a decimal comma.
    QTest::newRow("three lines") << QByteArray("Header;A\r\n0;12.5;X\r\n0,1,5\r\n") << true
                                 << QStringList{"header;a", "0;12,5;x", "0,1,5"};
}

void TestTForm2::openingAFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, drawn);
    QFETCH(QStringList, memo1);

    Machine machine;
    writeFile(machine.working(QStringLiteral("PL.dat")), shippedFile("PL.dat"));
    const QString path = machine.home.filePath(QStringLiteral("P1.csv"));
    writeFile(path, content);
    auto form = machine.start();
    form->chartModel().at(0).points.append(ChartPoint{1, 2, QStringLiteral("00:00:01")});
    QSignalSpy opened(&form->opener(), &CycleOpener::opened);

    form->FileOpenDialog1FileOkClick(path);
    QVERIFY(kvaro::testing::settle(form));

    QCOMPARE(opened.count(), 1);
    QCOMPARE(kvaro::testing::openedCycle(opened, 0).lines.lines(), memo1);
    QVERIFY(form->chartModel().at(0).isEmpty());
    QCOMPARE(kvaro::testing::drawableCount(opened), drawn ? 1 : 0);
    QCOMPARE(machine.messages.texts(),
             drawn ? QStringList()
                   : QStringList{QStringLiteral("Nie można narysować tego pliku cyklu.")});
}

void TestTForm2::openingAFileThatCannotBeRead()
{
    Machine machine;
    writeFile(machine.working(QStringLiteral("PL.dat")), shippedFile("PL.dat"));
    auto form = machine.start();
    form->chartModel().at(23).points.append(ChartPoint{1, 2, QStringLiteral("00:00:01")});
    QSignalSpy draw(&form->opener(), &CycleOpener::opened);

    form->FileOpenDialog1FileOkClick(machine.home.filePath(QStringLiteral("gone.csv")));
    QVERIFY(kvaro::testing::settle(form));

    QCOMPARE(machine.messages.texts().size(), 1);
    QVERIFY(machine.messages.texts().first().contains(QStringLiteral("gone.csv")));
    QVERIFY(form->chartModel().at(23).isEmpty());
    QCOMPARE(draw.count(), 0);
    QCOMPARE(form->FileOpenDialog1()->nameFilters(), QStringList{QStringLiteral("csv (*.csv)")});
}

void TestTForm2::columnsKeepTheirShares_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("start size") << QSize(1117, 830);
    QTest::newRow("wide") << QSize(1600, 900);
    QTest::newRow("smallest") << QSize(1024, 720);
}

void TestTForm2::columnsKeepTheirShares()
{
    QFETCH(QSize, size);
    Machine machine;
    writeFile(machine.working(QStringLiteral("PL.dat")), shippedFile("PL.dat"));
    auto form = machine.start();
    auto* chart = control<ChartView>(*form, "Chart1");
    chart->show(); // as after a drawn cycle
    form->resize(size);
    QCoreApplication::processEvents();
    QCOMPARE(form->size(), size);

    // Shares of what the columns have between them (the gaps between cells are no column's).
    const double whole = control<QWidget>(*form, "GridLewyNew")->width() +
                         control<QWidget>(*form, "GridSrodkowyNew")->width() +
                         control<QWidget>(*form, "GridPrawyNew")->width();
    QVERIFY(whole > control<QWidget>(*form, "GridPanel1")->width() - 30);
    const auto share = [&](const char* column) {
        return control<QWidget>(*form, column)->width() / whole;
    };
    QVERIFY2(qAbs(share("GridLewyNew") - 0.1587) < 0.01,
             qPrintable(QString::number(share("GridLewyNew"))));
    QVERIFY2(qAbs(share("GridSrodkowyNew") - 0.6841) < 0.01,
             qPrintable(QString::number(share("GridSrodkowyNew"))));
    QVERIFY2(qAbs(share("GridPrawyNew") - 0.1572) < 0.01,
             qPrintable(QString::number(share("GridPrawyNew"))));

    // The chart fills its cell: the whole width of the centre column, 85 % of its height.
    auto* centre = control<QWidget>(*form, "GridSrodkowyNew");
    QCOMPARE(chart->width(), centre->width());
    QVERIFY(qAbs(double(chart->height()) / centre->height() - 0.8516) < 0.02);

    // The status bar's second panel: 100 pixels while empty, as wide as the summary an
    // import writes there.
    auto* summary = control<QLabel>(*form, "DolnyBarEmpty");
    QCOMPARE(summary->width(), 100);
    const QString text = QStringLiteral("Cycles: 128, ovens: 3; 2 files stay on the drive");
    summary->setText(text);
    QCoreApplication::processEvents();
    QVERIFY2(summary->contentsRect().width() >= summary->fontMetrics().horizontalAdvance(text),
             qPrintable(QString::number(summary->width())));
}

void TestTForm2::progressDialog()
{
    ProgressDialog dialog;
    QVERIFY(!dialog.isModal());
    dialog.setProgress(42.6);
    QCOMPARE(dialog.progress(), 43);
    QCOMPARE(dialog.progressText(), QStringLiteral("43%"));
    dialog.show();
    auto* ok = dialog.findChild<QPushButton*>();
    QCOMPARE(ok->text(), QStringLiteral("Ok"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(dialog.isHidden());
}

QTEST_MAIN(TestTForm2)
#include "test_tform2.moc"
