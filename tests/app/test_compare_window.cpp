// A listed cycle laid over the drawn one through the cycle list's menu: when the menu's
// entries can be used, the second cycle's lines aligned at the start and named by its
// number, a comparison replaced, removed and gone with the drawn cycle, and the readout
// beside the hair line with both values and their difference.
#include "tests/app/windowfixture.h"

#include "app/cataloguecontroller.h"
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/tform2.h"
#include "app/windowparts.h"
#include "catalogue/cyclelistmodel.h"
#include "chart/comparison.h"
#include "chart/navigation.h"
#include "chart/view/chartview.h"
#include "cycles/fields.h"
#include "store/drives.h"
#include "store/mountwatch.h"
#include "tools/cyclegen.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <memory>

using kvaro::testing::control;
using kvaro::testing::shippedFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

// The whole window over one oven with three cycles of today, in the shipped languages:
// P11 sampled every 20 s for half an hour, P12 every 10 s for 40 minutes, P13 every 30 s.
struct Machine : kvaro::testing::WindowMachine {
    std::unique_ptr<TForm2> form;
    CatalogueController* catalogue = nullptr;
    ChartComparison* chart = nullptr;

    Machine()
    {
        for (const char* name : {"Data.dat", "PL.dat", "EN.dat"})
            writeFile(working(QLatin1String(name)), shippedFile(name));
        store(11, 20, 1800, QTime(8, 0));
        store(12, 10, 2400, QTime(9, 0));
        store(13, 30, 1800, QTime(11, 0));
        form = create();
        form->resize(1117, 830);
        attachWindowParts(*form, std::make_unique<FakeDrives>(QStringList{}),
                          std::make_unique<MountWatch>());
        form->show();
        catalogue = form->findChild<CatalogueController*>();
        chart = form->findChild<ChartComparison*>();
        catalogue->ComboPiecItemSelected(0);
        QVERIFY(kvaro::testing::settle(catalogue));
    }

    void store(int number, int period, int seconds, QTime start)
    {
        gen::CycleSpec spec;
        spec.number = number;
        spec.seed = quint64(number);
        spec.samplePeriodSeconds = period;
        spec.durationSeconds = seconds;
        spec.start = QDateTime(clock.today(), start);
        // As the import stores it: normalised under this PC's separator.
        writeFile(program(QStringLiteral("Data/1000001/P%1.csv").arg(number)),
                  normalisedCopy(gen::writeCycle(spec), locale.decimalSeparator()));
    }

    QListView* list() const { return control<QListView>(*form, "ListBox1"); }
    ChartView* view() const { return control<ChartView>(*form, "Chart1"); }
    QAction* compare() const { return catalogue->compareAction(); }
    QAction* remove() const { return catalogue->removeComparisonAction(); }

    QModelIndex row(const QString& file) const
    {
        for (int r = 0; r < list()->model()->rowCount(); ++r) {
            const QModelIndex index = list()->model()->index(r, 0);
            if (index.data(CycleListModel::FileNameRole).toString() == file)
                return index;
        }
        qFatal("%s is not listed", qPrintable(file));
    }
    QPoint pixelOf(const QString& file) const
    {
        list()->scrollTo(row(file));
        return list()->visualRect(row(file)).center();
    }
    // Drawn with every series the filter list holds checked.
    void draw(const QString& file)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, pixelOf(file));
        QVERIFY(kvaro::testing::settle(form));
        QTest::mouseClick(control<QPushButton>(*form, "AdvSmoothButton9"), Qt::LeftButton);
    }
    // A right click on a listed cycle: the menu opens beside it.
    QMenu* menuOn(const QString& file)
    {
        const QPoint at = pixelOf(file);
        emit list()->customContextMenuRequested(at);
        return catalogue->listMenu();
    }
    void compareWith(const QString& file)
    {
        QMenu* menu = menuOn(file);
        QVERIFY(menu->isVisible());
        QVERIFY(compare()->isEnabled());
        menu->close();
        compare()->trigger();
        QVERIFY(kvaro::testing::settle(form));
    }
    QStringList comparedEntries() const
    {
        QStringList entries = view()->exportLegendEntries();
        entries.removeIf([](const QString& e) { return !e.contains(QStringLiteral("(nr ")); });
        return entries;
    }
};

// The column of the chart's pixel nearest a bottom axis value.
int columnOf(const ChartView& chart, double value)
{
    int best = 0;
    for (int x = 1; x < chart.width(); ++x) {
        if (std::abs(chart.bottomValueAt(x) - value) < std::abs(chart.bottomValueAt(best) - value))
            best = x;
    }
    return best;
}

} // namespace

class TestCompareWindow : public QObject
{
    Q_OBJECT

private slots:
    void menuEntriesFollowTheChart();
    void comparedCycleIsAlignedAndNamed();
    void comparisonIsReplacedAndRemoved();
    void drawingAnotherCycleEndsTheComparison();
    void readoutComparesBothValues();
};

void TestCompareWindow::menuEntriesFollowTheChart()
{
    Machine m;
    QCOMPARE(m.list()->model()->rowCount(), 3);
    QMenu* menu = m.menuOn(QStringLiteral("P12.csv"));
    QVERIFY(menu->isVisible());
    QCOMPARE(m.compare()->text(), QStringLiteral("Porównaj z rysowanym cyklem"));
    QCOMPARE(m.remove()->text(), QStringLiteral("Usuń porównanie"));
    // Nothing drawn: nothing to compare with, nothing to remove.
    QVERIFY(!m.compare()->isEnabled());
    QVERIFY(!m.remove()->isEnabled());
    menu->close();

    m.draw(QStringLiteral("P11.csv"));
    QVERIFY(m.compare()->isEnabled());
    QVERIFY(!m.remove()->isEnabled());
    m.compareWith(QStringLiteral("P12.csv"));
    QVERIFY(m.chart->comparison());
    QVERIFY(m.compare()->isEnabled());
    QVERIFY(m.remove()->isEnabled());

    // In English too.
    m.form->AdvSmoothButton7Click();
    QCOMPARE(m.compare()->text(), QStringLiteral("Compare with the drawn cycle"));
    QCOMPARE(m.remove()->text(), QStringLiteral("Remove comparison"));
    QVERIFY(m.messages.texts().isEmpty());
}

void TestCompareWindow::comparedCycleIsAlignedAndNamed()
{
    Machine m;
    m.draw(QStringLiteral("P11.csv"));
    m.compareWith(QStringLiteral("P12.csv"));

    const ChartModel& drawn = m.form->chartModel();
    const Comparison* comparison = m.view()->comparison();
    QVERIFY(comparison);
    QCOMPARE(comparison, m.chart->comparison());
    QCOMPARE(comparison->number, QStringLiteral("12"));
    // Sampled twice as often: every other point on a drawn record, the others halfway.
    const double x0 = drawn.records().first().x;
    for (const int s : {series::T1, series::T2, series::WorkingTemperature}) {
        const ChartPoints& points = *comparison->pointsOf(s);
        QCOMPARE(points.x(0), x0);
        QCOMPARE(points.x(1), x0 + 0.5);
        QCOMPARE(points.x(2), x0 + 1);
        QCOMPARE(points.x(7), x0 + 3.5);
    }
    // Ten minutes longer: on past the drawn cycle's last record at its 20 s per record.
    const ChartPoints& t1 = *comparison->pointsOf(series::T1);
    QCOMPARE(t1.x(t1.size() - 1), drawn.records().last().x + 30);
    // The whole compared cycle is in view.
    QVERIFY(m.view()->bottomMax() >= drawn.records().last().x + 30);

    // Every temperature the filter list shows, named after the drawn one's with the number.
    QStringList named;
    for (const int s : ComparedSeries) {
        if (comparison->pointsOf(s) && drawn.at(s).active)
            named.append(drawn.at(s).title + QStringLiteral(" (nr 12)"));
    }
    QCOMPARE(m.comparedEntries(), named);
    QVERIFY(named.size() >= 3);
    QCOMPARE(named.first(), QStringLiteral("T1 (nr 12)"));
    // A series hidden in the filter list is hidden for both cycles.
    m.form->chartModel().at(series::T2).active = false;
    m.view()->refresh();
    QVERIFY(!m.comparedEntries().contains(QStringLiteral("T2 (nr 12)")));
    QVERIFY(m.comparedEntries().contains(QStringLiteral("T1 (nr 12)")));
}

void TestCompareWindow::comparisonIsReplacedAndRemoved()
{
    Machine m;
    m.draw(QStringLiteral("P11.csv"));
    m.compareWith(QStringLiteral("P12.csv"));
    m.compareWith(QStringLiteral("P13.csv"));
    QCOMPARE(m.chart->comparison()->number, QStringLiteral("13"));
    QVERIFY(m.comparedEntries().contains(QStringLiteral("T1 (nr 13)")));
    QVERIFY(m.comparedEntries().filter(QStringLiteral("(nr 12)")).isEmpty());
    // Sampled every 30 s over records of 20 s.
    QCOMPARE(m.chart->comparison()->pointsOf(series::T1)->x(1),
             m.form->chartModel().records().first().x + 1.5);

    QMenu* menu = m.menuOn(QStringLiteral("P12.csv"));
    QVERIFY(m.remove()->isEnabled());
    menu->close();
    m.remove()->trigger();
    QVERIFY(!m.chart->comparison());
    QVERIFY(!m.view()->comparison());
    QVERIFY(m.comparedEntries().isEmpty());
    QVERIFY(!m.remove()->isEnabled());
    QVERIFY(m.compare()->isEnabled());
    // The drawn cycle stays.
    QVERIFY(!m.form->chartModel().at(series::T1).points.isEmpty());
}

void TestCompareWindow::drawingAnotherCycleEndsTheComparison()
{
    Machine m;
    m.draw(QStringLiteral("P11.csv"));
    m.compareWith(QStringLiteral("P12.csv"));
    m.draw(QStringLiteral("P13.csv"));
    QVERIFY(!m.chart->comparison());
    QVERIFY(m.comparedEntries().isEmpty());
    QVERIFY(!m.remove()->isEnabled());
    QVERIFY(m.compare()->isEnabled());

    // Opening a file ends it too, and one that cannot be drawn leaves nothing to compare with.
    m.compareWith(QStringLiteral("P12.csv"));
    QVERIFY(m.chart->comparison());
    const QString shortFile = m.home.filePath(QStringLiteral("short.csv"));
    writeFile(shortFile, "M,T1\r\n");
    m.form->FileOpenDialog1FileOkClick(shortFile);
    QVERIFY(kvaro::testing::settle(m.form));
    QVERIFY(!m.chart->comparison());
    QVERIFY(!m.view()->comparison());
    QVERIFY(!m.remove()->isEnabled());
    QVERIFY(!m.compare()->isEnabled());
}

void TestCompareWindow::readoutComparesBothValues()
{
    Machine m;
    m.draw(QStringLiteral("P11.csv"));
    m.compareWith(QStringLiteral("P12.csv"));
    QCoreApplication::processEvents();

    const ChartModel& drawn = m.form->chartModel();
    const ChartPoints& first = drawn.at(series::T1).points;
    const ChartPoints& second = *m.chart->comparison()->pointsOf(series::T1);
    const qsizetype i = first.size() / 3;
    // Record i of the drawn cycle lies at point 2i of the one sampled twice as often.
    QCOMPARE(second.x(2 * i), first.x(i));
    ChartView* view = m.view();
    QTest::mouseMove(view, QPoint(columnOf(*view, first.x(i)), view->height() / 2));

    const QLabel* readout = control<QLabel>(*view, "ChartReadout");
    QVERIFY(readout->isVisible());
    const QString text = readout->text();
    const QChar comma(QLatin1Char(','));
    const double a = first.y(i);
    const double b = second.y(2 * i);
    QVERIFY2(text.contains(navigation::temperatureText(a, comma)), qPrintable(text));
    QVERIFY2(text.contains(navigation::temperatureText(b, comma)), qPrintable(text));
    // In tenths of a degree, as the files write them.
    const double d = std::round((b - a) * 10) / 10;
    const QString difference = (d > 0 ? QStringLiteral("+") : QString()) +
                               navigation::temperatureText(d == 0 ? 0 : d, comma);
    QVERIFY2(text.contains(difference), qPrintable(difference + QStringLiteral(" in ") + text));
    QVERIFY(text.contains(QStringLiteral("(nr 12)")));
    QVERIFY(text.contains(QStringLiteral("różnica")));
    // The values are written with the window's separator, never a point.
    QVERIFY(!QRegularExpression(QStringLiteral("\\d\\.\\d")).match(text).hasMatch());
}

QTEST_MAIN(TestCompareWindow)
#include "test_compare_window.moc"
