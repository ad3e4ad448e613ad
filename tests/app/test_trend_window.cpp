// The trend window: opened from the first tab for the chosen oven's listed range, its table
// sorted by numbers, a clicked point drawn in the main window, the table saved as CSV; it
// closes as windows do and follows a switch of the interface language.

#include "tests/app/windowfixture.h"

#include "app/cataloguecontroller.h"
#include "app/tform2.h"
#include "app/trendwindow.h"
#include "app/widgets/statusnote.h"
#include "app/windowparts.h"
#include "base/language.h"
#include "chart/view/trendchartview.h"
#include "cycles/fields.h"
#include "tools/cyclegen.h"
#include "trend/trendtable.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <qcustomplot.h>

#include <cmath>

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

// The plotting widget inside the window's chart.
QCustomPlot* plotOf(TrendWindow& window)
{
    return control<TrendChartView>(window, "TrendChart")->findChild<QCustomPlot*>();
}

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
        QVERIFY(kvaro::testing::settle(catalogue));
        QVERIFY(button->isEnabled());
        catalogue->wczytajKalendarz(QDate(2024, 5, 2), QDate(2024, 5, 6));
        QVERIFY(kvaro::testing::settle(catalogue));
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
        // Headed as the report heads the figure, durations "hh:mm:ss".
        QCOMPARE(model->headerData(int(TrendColumn::HeldFor), Qt::Horizontal).toString(),
                 form->text(Text::ReportHeldFor));
        QCOMPARE(model->index(0, int(TrendColumn::Cycle)).data().toString(), QStringLiteral("2"));
        QCOMPARE(model->index(0, int(TrendColumn::Duration)).data().toString(),
                 QStringLiteral("03:20:00"));
        // The "," locale's separator.
        QVERIFY(model->index(0, int(TrendColumn::HighestWorking)).data().toString().contains(u','));
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
        QCustomPlot* plot = plotOf(*window);
        QCOMPARE(plot->graphCount(), 4);
        QCOMPARE(plot->graph(0)->dataCount(), 5);
        figure->setCurrentIndex(figure->findData(int(TrendColumn::ReachedAfter)));
        QCOMPARE(window->shownFigure(), TrendColumn::ReachedAfter);
        QCOMPARE(plot->graph(0)->dataCount(), 4);
        QVERIFY(plot->graph(1)->name().contains(form->text(Text::TrendMean).section(u' ', 0, 0)));
        // The mean and the band two standard deviations either side, from the points' own
        // values, as the lines' data.
        QList<double> values;
        for (auto it = plot->graph(0)->data()->constBegin();
             it != plot->graph(0)->data()->constEnd(); ++it)
            values.append(it->value);
        double mean = 0;
        for (const double v : values)
            mean += v / values.size();
        double variance = 0;
        for (const double v : values)
            variance += (v - mean) * (v - mean) / values.size();
        QVERIFY(variance > 0);
        const double sigma = std::sqrt(variance);
        const double expected[] = {mean, mean + 2 * sigma, mean - 2 * sigma};
        for (int g = 1; g <= 3; ++g) {
            QCOMPARE(plot->graph(g)->dataCount(), 2);
            for (auto it = plot->graph(g)->data()->constBegin();
                 it != plot->graph(g)->data()->constEnd(); ++it)
                QVERIFY(qFuzzyCompare(it->value, expected[g - 1]));
        }

        // A click on the point of cycle 5 draws cycle 5 in the main window.
        QSignalSpy chosen(window, &TrendWindow::cycleChosen);
        QSignalSpy drawn(&form->opener(), &CycleOpener::opened);
        window->show();
        plot->replot();
        const QCPGraphData point = *(plot->graph(0)->data()->constBegin() + 2);
        const QPointF at = plot->graph(0)->coordsToPixels(point.key, point.value);
        QTest::mouseClick(plot, Qt::LeftButton, {}, at.toPoint());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toString(), QStringLiteral("P5.csv"));
        QVERIFY(drawn.count() == 1 || drawn.wait(10000));
        QVERIFY(kvaro::testing::openedCycle(drawn, 0).lines.line(1).contains(u';'));

        // The table as a spreadsheet table: a heading row and one row per cycle.
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("trend.csv"));
        window->saveCsv(path);
        QCOMPARE(control<StatusNote>(*window, "TrendNote")->note(),
                 fillIn(form->text(Text::SavedTable), {shortPath(path)}));
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
        const QString path = machine.home.filePath(QStringLiteral("none/trend.csv"));
        window.saveCsv(path);
        // The whole path and the system's reason, in the interface language.
        QCOMPARE(machine.messages.texts(),
                 QStringList{fillIn(
                     form->text(Text::CannotWrite),
                     {QDir::toNativeSeparators(path),
                      QCoreApplication::translate("QIODevice", "No such file or directory")})});
    }

    void closes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("its Close button") << "button";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("Ctrl+W") << "Ctrl+W";
    }
    void closes()
    {
        QFETCH(QString, how);
        Machine machine;
        const auto form = machine.start();
        const QPointer<TrendWindow> window = openTrend(*form);
        QVERIFY(window);
        if (how == QLatin1String("button"))
            QTest::mouseClick(control<QPushButton>(*window, "TrendClose"), Qt::LeftButton);
        else if (how == QLatin1String("Esc"))
            QTest::keyClick(window.data(), Qt::Key_Escape);
        else
            QTest::keySequence(window.data(), QKeySequence(Qt::CTRL | Qt::Key_W));
        QTRY_VERIFY(!window);
    }

    void followsTheLanguage()
    {
        Machine machine;
        kvaro::testing::writeFile(machine.working("EN.dat"), kvaro::testing::shippedFile("EN.dat"));
        const auto form = machine.start();
        TrendWindow* window = openTrend(*form);
        QVERIFY(window);
        auto* figure = control<QComboBox>(*window, "TrendFigure");
        const auto texts = [&] {
            QStringList all{window->windowTitle(),
                            control<QPushButton>(*window, "TrendSaveCsv")->text(),
                            control<QPushButton>(*window, "TrendClose")->text(),
                            plotOf(*window)->xAxis->label(), plotOf(*window)->yAxis->label()};
            for (int i = 0; i < figure->count(); ++i)
                all.append(figure->itemText(i));
            auto* table = control<QTableView>(*window, "TrendTable");
            for (int c = 0; c < table->model()->columnCount(); ++c)
                all.append(table->model()->headerData(c, Qt::Horizontal).toString());
            for (int g = 0; g < plotOf(*window)->graphCount(); ++g)
                all.append(plotOf(*window)->graph(g)->name());
            return all;
        };
        const QStringList polish = texts();
        QVERIFY(polish.contains(form->text(Text::TrendClose)));

        form->AdvSmoothButton7Click();

        QCOMPARE(form->LanguageCode(), QStringLiteral("EN"));
        const QStringList english = texts();
        QCOMPARE(english.size(), polish.size());
        QVERIFY(english.contains(QStringLiteral("Close")));
        QVERIFY(english.contains(form->text(Text::TrendSaveCsv)));
        // Every text that is a word changed with the language.
        for (qsizetype i = 0; i < polish.size(); ++i) {
            if (polish.at(i).contains(QRegularExpression(QStringLiteral("[a-z]{3}"))))
                QVERIFY2(polish.at(i) != english.at(i), qPrintable(polish.at(i)));
        }
    }

    // The chooser's highlighted entry reads as well as the others: its text stands out from
    // its background.
    void chooserHighlightIsReadable()
    {
        Machine machine;
        const auto form = machine.start();
        TrendWindow* window = openTrend(*form);
        QVERIFY(window);
        window->show();
        auto* figure = control<QComboBox>(*window, "TrendFigure");
        figure->showPopup();
        QAbstractItemView* view = figure->view();
        QTRY_VERIFY(view->isVisible());
        view->setCurrentIndex(view->model()->index(1, 0));
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect item = view->visualRect(view->currentIndex());
        const QImage image = view->viewport()->grab(item).toImage();
        // The darkest and the lightest pixel of the highlighted entry: text and background.
        int darkest = 255;
        int lightest = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int grey = qGray(image.pixel(x, y));
                darkest = std::min(darkest, grey);
                lightest = std::max(lightest, grey);
            }
        }
        figure->hidePopup();
        QVERIFY2(lightest - darkest > 120,
                 qPrintable(QStringLiteral("%1..%2").arg(darkest).arg(lightest)));
    }

private:
    // The trend of the first oven's cycles of the 2nd to the 6th of May, read to its end.
    static TrendWindow* openTrend(TForm2& form)
    {
        auto* catalogue = attachCatalogue(form);
        attachTrend(form, catalogue);
        catalogue->ComboPiecItemSelected(0);
        kvaro::testing::settle(catalogue);
        catalogue->wczytajKalendarz(QDate(2024, 5, 2), QDate(2024, 5, 6));
        kvaro::testing::settle(catalogue);
        QTest::mouseClick(control<QPushButton>(form, "TrendButton"), Qt::LeftButton);
        auto* window = form.findChild<TrendWindow*>(QStringLiteral("TrendWindow"));
        if (!window)
            return nullptr;
        QSignalSpy ready(window, &TrendWindow::ready);
        if (!ready.wait(20000))
            return nullptr;
        return window;
    }
};

QTEST_MAIN(TestTrendWindow)
#include "test_trend_window.moc"
