// The trend window: opened from the first tab for the chosen oven's listed range, its table
// sorted by numbers, a clicked point drawn in the main window, the table saved as CSV.

#include "tests/app/windowfixture.h"

#include "app/cataloguecontroller.h"
#include "app/tform2.h"
#include "app/trendwindow.h"
#include "app/windowparts.h"
#include "cycles/fields.h"
#include "cycles/language.h"
#include "tools/cyclegen.h"
#include "trend/trendtable.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <qcustomplot.h>

using namespace kvaro;
using kvaro::testing::control;

namespace {

// One oven with six cycles from the 1st to the 6th of May 2024 (today is the 7th); the
// fourth never reaches its set temperature. Durations make fuel figures of one and of two
// digits, which sort differently as text.
struct Machine : kvaro::testing::WindowMachine {
    Machine()
    {
        kvaro::testing::writeFile(working("PL.dat"), kvaro::testing::shippedFile("PL.dat"));
        const int minutes[] = {50, 200, 90, 60, 300, 120};
        for (int n = 1; n <= 6; ++n) {
            gen::CycleSpec spec;
            spec.number = n;
            spec.seed = quint64(n);
            spec.start = QDateTime(QDate(2024, 5, n), QTime(6, 0));
            spec.durationSeconds = minutes[n - 1] * 60;
            spec.samplePeriodSeconds = 60;
            spec.reachSetTemperature = n != 4;
            kvaro::testing::writeFile(
                program(QStringLiteral("Data/1000001/") + gen::cycleFileName(n)),
                normalisedCopy(gen::writeCycle(spec), QLatin1Char('.')));
        }
    }
};

} // namespace

class TestTrendWindow : public QObject
{
    Q_OBJECT

private slots:
    void trendOfTheListedCycles()
    {
        Machine machine;
        const auto form = machine.start();
        auto* catalogue = attachCatalogue(*form);
        attachTrend(*form, catalogue);
        auto* button = control<QPushButton>(*form, "TrendButton");
        QVERIFY(!button->isEnabled());
        QCOMPARE(button->toolTip(), form->text(Text::TrendButtonHint));
        QVERIFY(!button->toolTip().isEmpty());

        catalogue->ComboPiecItemSelected(0);
        QVERIFY(button->isEnabled());
        catalogue->wczytajKalendarz(QDate(2024, 5, 2), QDate(2024, 5, 6));
        QTest::mouseClick(button, Qt::LeftButton);
        auto* window = form->findChild<TrendWindow*>(QStringLiteral("TrendWindow"));
        QVERIFY(window);
        QSignalSpy ready(window, &TrendWindow::ready);
        QVERIFY(ready.wait(20000));
        QVERIFY(machine.messages.texts().isEmpty());

        // The range listed: cycles 2 to 6.
        auto* table = control<QTableView>(*window, "TrendTable");
        QAbstractItemModel* model = table->model();
        QCOMPARE(model->rowCount(), 5);
        QCOMPARE(model->headerData(int(TrendColumn::HeldFor), Qt::Horizontal).toString(),
                 form->text(Text::TrendHeldFor));
        QCOMPARE(model->index(0, int(TrendColumn::Cycle)).data().toString(), QStringLiteral("2"));
        // The "," locale's separator.
        QVERIFY(model->index(0, int(TrendColumn::Duration)).data().toString().contains(u','));
        QCOMPARE(model->index(2, int(TrendColumn::ReachedAfter)).data().toString(),
                 QStringLiteral("-"));

        // Sorted as numbers, and a cycle without the figure last either way.
        const auto column = [&](TrendColumn c) {
            QStringList cells;
            for (int row = 0; row < model->rowCount(); ++row)
                cells.append(model->index(row, int(c)).data().toString());
            return cells;
        };
        table->sortByColumn(int(TrendColumn::Duration), Qt::AscendingOrder);
        QCOMPARE(column(TrendColumn::Cycle), QStringList({"4", "3", "6", "2", "5"}));
        table->sortByColumn(int(TrendColumn::ReachedAfter), Qt::DescendingOrder);
        QCOMPARE(column(TrendColumn::Cycle).last(), QStringLiteral("4"));
        table->sortByColumn(int(TrendColumn::ReachedAfter), Qt::AscendingOrder);
        QCOMPARE(column(TrendColumn::Cycle).last(), QStringLiteral("4"));

        // One point per cycle with the figure, and the mean and its band as lines.
        auto* figure = control<QComboBox>(*window, "TrendFigure");
        QCustomPlot* plot = window->plot();
        QCOMPARE(plot->graphCount(), 4);
        QCOMPARE(plot->graph(0)->dataCount(), 5);
        figure->setCurrentIndex(figure->findData(int(TrendColumn::ReachedAfter)));
        QCOMPARE(window->shownFigure(), TrendColumn::ReachedAfter);
        QCOMPARE(plot->graph(0)->dataCount(), 4);
        QVERIFY(plot->graph(1)->name().contains(form->text(Text::TrendMean).section(u' ', 0, 0)));

        // A click on the point of cycle 5 draws cycle 5 in the main window.
        QSignalSpy chosen(window, &TrendWindow::cycleChosen);
        QSignalSpy drawn(catalogue, &CatalogueController::cycleReadyToDraw);
        window->show();
        plot->replot();
        const QCPGraphData point = *(plot->graph(0)->data()->constBegin() + 2);
        const QPointF at = plot->graph(0)->coordsToPixels(point.key, point.value);
        QTest::mouseClick(plot, Qt::LeftButton, {}, at.toPoint());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toString(), QStringLiteral("P5.csv"));
        QVERIFY(drawn.count() == 1 || drawn.wait(10000));
        QVERIFY(form->Memo1.line(1).contains(u';'));

        // The table as a spreadsheet table: a heading row and one row per cycle.
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("trend.csv"));
        window->saveCsv(path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(bytes.count("\r\n"), 6);
        QVERIFY(bytes.contains(form->text(Text::TrendHighestWorking).toUtf8()));
    }

    void savingToAFolderThatIsNotThereSaysSo()
    {
        Machine machine;
        const auto form = machine.start();
        TrendWindow window({{}, QStringLiteral("1000001"), QDate(2024, 5, 1), QDate(2024, 5, 7)},
                           form->JezykMemo(), form->services());
        window.saveCsv(machine.home.filePath(QStringLiteral("none/trend.csv")));
        QCOMPARE(machine.messages.texts().size(), 1);
        QVERIFY(machine.messages.texts().first().contains(QStringLiteral("trend.csv")));
    }
};

QTEST_MAIN(TestTrendWindow)
#include "test_trend_window.moc"
