#include "pdftext.h"
#include "tests/app/windowfixture.h"

#include "app/cataloguecontroller.h"
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/progressdialog.h"
#include "app/tform2.h"
#include "app/widgets/statusnote.h"
#include "app/windowparts.h"
#include "store/drives.h"
#include "store/mountwatch.h"

#include <QFile>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace kvaro;
using namespace kvaro::testing;

namespace {

// One oven with three cycles of 7 May 2024 (the window's today), English texts.
struct Machine : WindowMachine {
    Machine()
    {
        writeFile(working(QStringLiteral("Data.dat")), "\xEF\xBB\xBF"
                                                       "EN\r\n");
        writeFile(working(QStringLiteral("EN.dat")), shippedFile("EN.dat"));
        writeFile(working(QStringLiteral("PL.dat")), shippedFile("PL.dat"));
        for (const char* name : {"P1.csv", "P2.csv", "P3.csv"})
            writeCycleFile(program(QStringLiteral("Data/PIEC1/") + QLatin1String(name)),
                           smallCycleLines());
    }
};

struct Window {
    Machine machine;
    std::unique_ptr<TForm2> form = machine.start();
    CatalogueController* catalogue = nullptr;
    ChartSaving* chart = nullptr;

    Window()
    {
        attachWindowParts(*form, std::make_unique<FakeDrives>(QStringList{}),
                          std::make_unique<MountWatch>());
        catalogue = form->findChild<CatalogueController*>();
        chart = form->findChild<ChartSaving*>();
    }
    QPushButton* button(const char* name) { return control<QPushButton>(*form, name); }
    void clickCycle(int row)
    {
        auto* list = control<QListView>(*form, "ListBox1");
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        QVERIFY(kvaro::testing::settle(list));
    }
};

} // namespace

class TestReportWindow : public QObject
{
    Q_OBJECT

private slots:
    void buttonsFollowWhatIsDrawnAndListed();
    void drawnCycleReport();
    void batchShowsProgressAndWritesEveryCycle();
    void cancelledBatchWritesNothing_data();
    void cancelledBatchWritesNothing();
};

void TestReportWindow::buttonsFollowWhatIsDrawnAndListed()
{
    Window w;
    QPushButton* report = w.button("SaveReportButton");
    QPushButton* batch = w.button("SaveBatchReportButton");
    QCOMPARE(report->text(), QStringLiteral("PDF report"));
    QCOMPARE(batch->text(), QStringLiteral("Batch report"));
    // Beside the picture exports, on the export tab.
    QCOMPARE(report->parentWidget(), w.button("SavePdfButton")->parentWidget());
    QVERIFY(!report->isEnabled());
    QVERIFY(!batch->isEnabled());

    w.catalogue->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(w.catalogue));
    QVERIFY(batch->isEnabled());
    QVERIFY(!report->isEnabled());
    w.clickCycle(0);
    QVERIFY(report->isEnabled());

    // Polish: both follow the language.
    w.form->AdvSmoothButton6Click();
    QCOMPARE(report->text(), QStringLiteral("Raport PDF"));
    QCOMPARE(batch->text(), QStringLiteral("Raport zbiorczy"));
}

void TestReportWindow::drawnCycleReport()
{
    Window w;
    w.catalogue->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(w.catalogue));
    w.clickCycle(1);
    const QString pdf = w.machine.home.filePath(QStringLiteral("cycle.pdf"));
    QVERIFY(w.chart->saveCycleReport(pdf));
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains("Oven PIEC1 Cycle 2"), qPrintable(text));
    // The window's locale has a decimal comma.
    QVERIFY(text.contains("Set temperature [°C] 180,0"));
    QVERIFY(text.contains("00:03:00 10:03:00 1 Flame 150,5"));
    QVERIFY(w.machine.messages.texts().isEmpty());
    auto* note = control<StatusNote>(*w.form, "DolnyBarNote");
    QCOMPARE(note->note(), QStringLiteral("Report saved: ") + shortPath(pdf));

    QVERIFY(!w.chart->saveCycleReport(w.machine.home.filePath(QStringLiteral("no/such/r.pdf"))));
    QCOMPARE(w.machine.messages.texts().size(), 1);
    QVERIFY(w.machine.messages.texts().at(0).contains(QStringLiteral("r.pdf")));
}

void TestReportWindow::batchShowsProgressAndWritesEveryCycle()
{
    Window w;
    w.catalogue->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(w.catalogue));
    auto* dialog = control<ProgressDialog>(*w.form, "MsgDialog");
    auto* cancel = control<QPushButton>(*w.form, "MsgDialogCancel");
    QVERIFY(cancel->isHidden());
    QList<std::tuple<int, int, bool, int>> seen; // done, total, cancel shown, dialog's percent
    connect(w.chart, &ChartSaving::batchReportProgress, this, [&](int done, int total) {
        seen.append({done, total, !cancel->isHidden(), dialog->progress()});
    });
    const QString pdf = w.machine.home.filePath(QStringLiteral("batch.pdf"));
    QVERIFY(kvaro::testing::savedBy(w.chart, [&] { w.chart->saveBatchReport(pdf); }));
    // The cover, then three cycles of two pages each (their sign-off on the second).
    QCOMPARE(pdfPages(pdf), 7);
    QCOMPARE(control<StatusNote>(*w.form, "DolnyBarNote")->note(),
             QStringLiteral("Report saved: ") + shortPath(pdf));
    QVERIFY(pdfText(pdf, 1, 1).contains("Batch report: oven PIEC1, 2024-05-07 – 2024-05-07"));

    // Real progress: every cycle read, then every cycle written; the button to cancel
    // shown all along and gone afterwards.
    QCOMPARE(std::get<0>(seen.constLast()), 6);
    for (const auto& [done, total, shown, percent] : seen) {
        QCOMPARE(total, 6);
        QVERIFY(shown);
    }
    QVERIFY(cancel->isHidden());
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->body(), QStringLiteral("Batch report: cycle 3 of 3"));
    QVERIFY(w.button("SaveBatchReportButton")->isEnabled());
}

void TestReportWindow::cancelledBatchWritesNothing_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("cancel while reading") << 1 << false;
    QTest::newRow("cancel between pages") << 4 << false;
    QTest::newRow("dialog closed by Esc") << 4 << true;
}

void TestReportWindow::cancelledBatchWritesNothing()
{
    QFETCH(int, at);
    QFETCH(bool, byEscape);
    Window w;
    w.catalogue->ComboPiecItemSelected(0);
    QVERIFY(kvaro::testing::settle(w.catalogue));
    auto* cancel = control<QPushButton>(*w.form, "MsgDialogCancel");
    auto* dialog = control<ProgressDialog>(*w.form, "MsgDialog");
    connect(w.chart, &ChartSaving::batchReportProgress, this, [&](int done, int) {
        if (done != at)
            return;
        if (byEscape)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(cancel, Qt::LeftButton);
    });
    const QString pdf = w.machine.home.filePath(QStringLiteral("cancelled.pdf"));
    QVERIFY(!kvaro::testing::savedBy(w.chart, [&] { w.chart->saveBatchReport(pdf); }));
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(control<StatusNote>(*w.form, "DolnyBarNote")->note(), QString());
    QVERIFY(w.machine.messages.texts().isEmpty());
    QVERIFY(cancel->isHidden());
    QVERIFY(w.button("SaveBatchReportButton")->isEnabled());
}

QTEST_MAIN(TestReportWindow)
#include "test_report_window.moc"
