#include "app/appservices.h"
#include "app/chartcomparison.h"
#include "app/chartdrawing.h"
#include "app/chartsaving.h"
#include "app/style.h"
#include "app/tform2.h"
#include "app/widgets/eventkey.h"
#include "app/widgets/filterlistdelegate.h"
#include "app/widgets/picturebox.h"
#include "app/widgets/statusnote.h"
#include "app/windowparts.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/filterlistmodel.h"
#include "chart/navigation.h"
#include "chart/view/chartview.h"
#include "chart/view/cursoroverlay.h"
#include "chart/view/elapsedticker.h"
#include "chart/view/seriesstyle.h"
#include "cycles/fields.h"
#include "tests/app/windowfixture.h"
#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include <qcustomplot.h>

using kvaro::testing::control;
using kvaro::testing::readFile;
using kvaro::testing::shippedFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

QString labelText(QWidget& form, const char* name)
{
    return control<QLabel>(form, name)->text();
}

void click(QWidget& form, const char* button)
{
    QTest::mouseClick(control<QPushButton>(form, button), Qt::LeftButton);
}

gen::CycleSpec oilCycle()
{
    gen::CycleSpec spec;
    spec.heatingType = 0;
    spec.burnerCount = 2;
    spec.probeCount = 2;
    spec.durationSeconds = 2 * 3600;
    spec.samplePeriodSeconds = 20;
    return spec;
}

gen::CycleSpec electricCycle()
{
    gen::CycleSpec spec;
    spec.heatingType = 3;
    spec.probeCount = 1;
    spec.durationSeconds = 3600;
    spec.samplePeriodSeconds = 30;
    spec.secondChannel = true;
    spec.powerRegulation = true;
    spec.powerRegulationLevel = 60;
    spec.number = 2;
    spec.seed = 7;
    return spec;
}

// The window with its chart, in the shipped languages.
struct Machine : kvaro::testing::WindowMachine {
    std::unique_ptr<TForm2> form;
    ChartParts controller{};

    QString path(const QString& name) const { return home.filePath(name); }

    void start()
    {
        for (const char* name : {"Data.dat", "PL.dat", "EN.dat"})
            writeFile(working(QLatin1String(name)), shippedFile(name));
        form = create();
        controller = attachChart(*form);
        form->resize(1117, 830);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }

    QString cycle(const QString& name, const gen::CycleSpec& spec)
    {
        const QString file = path(name);
        gen::writeCycleFile(file, spec);
        return file;
    }

    // Opens a file the way the open dialog's confirmation does.
    void open(const QString& file)
    {
        form->FileOpenDialog1FileOkClick(file);
        QVERIFY(kvaro::testing::settle(form));
        QCoreApplication::processEvents();
    }

    // An oil cycle drawn with every filter checked, zoomed in by `steps` presses of "+".
    void drawOilCycle(int steps = 0)
    {
        open(cycle(QStringLiteral("P1.csv"), oilCycle()));
        click(*form, "AdvSmoothButton9");
        for (int press = 0; press < steps; ++press)
            click(*form, "AdvSmoothButton2");
    }

    // The window with an oil cycle drawn and every filter checked.
    TForm2& startDrawn()
    {
        start();
        drawOilCycle();
        return *form;
    }

    ChartView* chart() const { return control<ChartView>(*form, "Chart1"); }
    QListView* filters() const { return control<QListView>(*form, "Listboxprawy"); }
};

// What the loader makes of a file on its own, for comparing with what the window shows.
ChartSummary loadedAlone(const QString& file, const Language& language)
{
    LineBuffer memo1(LineBuffer::Case::Lower);
    memo1.loadFile(file);
    normalise(memo1, QLatin1Char(','));
    return WczytajWykres(memo1, language).summary;
}

// The pixel column of the chart where the bottom axis is nearest to the value.
int columnOf(const ChartView& chart, double value)
{
    int best = 0;
    for (int x = 1; x < chart.width(); ++x) {
        if (std::abs(chart.bottomValueAt(x) - value) < std::abs(chart.bottomValueAt(best) - value))
            best = x;
    }
    return best;
}

// The export tab's buttons that save the drawn chart or cycle: none of them has anything to
// save while the chart is hidden.
void verifyExportsEnabled(ChartSaving& controller, bool enabled)
{
    for (QPushButton* button : {controller.savePngButton(), controller.savePdfButton(),
                                controller.saveCsvButton(), controller.saveReportButton()})
        QVERIFY2(button->isEnabled() == enabled, qPrintable(button->objectName()));
}

bool seriesActive(const TForm2& form, std::initializer_list<int> series, bool active)
{
    for (int n : series) {
        if (form.chartModel().at(n).active != active)
            return false;
    }
    return true;
}

} // namespace

class TestChartWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nothingHappensBeforeACycleIsDrawn();
    void openingShowsTheSummary();
    void checkAllAndOneCheckBox();
    void zoomButtons();
    void panningStaysNearThePoints();
    void readoutUnderThePointer();
    void cursorsAAndB();
    void copyToClipboard();
    void uncheckAll();
    void clickDuringALoadIsApplied_data();
    void clickDuringALoadIsApplied();
    void filterListLook();
    void failedLoadKeepsWhatWasDrawn();
    void secondFileClearsTheFirst();
    void shortFileEmptiesTheDrawnChart();
    void undrawableHeatingTypeHidesTheChart();
    void exportsAndTheirLanguage();
    void savedPathsReadShort_data();
    void savedPathsReadShort();
    void designFontsFromDebianPackages();
};

void TestChartWindow::initTestCase()
{
    // The program's own look: sizes and fonts as people see them.
    applyLook(*qApp);
}

void TestChartWindow::nothingHappensBeforeACycleIsDrawn()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    QGuiApplication::clipboard()->clear();

    for (const char* button :
         {"AdvSmoothButton2", "AdvSmoothButton3", "AdvSmoothButton1", "AdvSmoothButton11"})
        click(form, button);
    emit m.chart()->mouseMoved(QPoint(100, 100));
    m.controller.saving->savePngClick(); // would open a dialog if the chart were shown

    QVERIFY(m.chart()->isHidden());
    QCOMPARE(form.findChild<ChartDrawing*>()->ZoomLevel(), 100);
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("100%"));
    QCOMPARE(labelText(form, "AdvSmoothLabel3"), QStringLiteral("0.000°C"));
    QCOMPARE(labelText(form, "CzasLabel"), QStringLiteral("00:00"));
    QVERIFY(QGuiApplication::clipboard()->image().isNull());
    for (int row = 0; row < FilterList::ItemCount; ++row)
        QVERIFY(m.filters()->isRowHidden(row));
    QVERIFY(m.messages.texts().isEmpty());
    verifyExportsEnabled(*m.controller.saving, false);
}

// The window's whole road for one cycle: open, figures, filters, zoom, pan, readout, copy.
// The steps of a session with one cycle: open it, choose series, zoom, pan, read values
// under the pointer, copy and clear the choice. Each step starts from a freshly opened
// cycle.
void TestChartWindow::openingShowsTheSummary()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    const QString file = m.cycle(QStringLiteral("P1.csv"), oilCycle());

    m.open(file);

    QVERIFY2(m.messages.texts().isEmpty(), qPrintable(m.messages.texts().join(u'|')));
    QVERIFY(!m.chart()->isHidden());
    const ChartSummary expected = loadedAlone(file, form.JezykMemo());
    QCOMPARE(m.controller.drawing->summary(), expected);
    QCOMPARE(labelText(form, "Label1"), expected.programmedTime);
    QCOMPARE(labelText(form, "Label2"), expected.setTemperature);
    QVERIFY(labelText(form, "Label2").endsWith(QStringLiteral(" °C")));
    QVERIFY(labelText(form, "Label3").endsWith(QStringLiteral("kg")));
    QCOMPARE(labelText(form, "SrRoznicaGrzania"), expected.meanHeatingDifference);
    QCOMPARE(labelText(form, "CzasOsiagnieciaLabel"), expected.setTemperatureReached);
    QCOMPARE(labelText(form, "PalnikStatus"), QStringLiteral("2"));
    QVERIFY(!control<QWidget>(form, "PalnikImg")->isHidden());
    QVERIFY(!control<QWidget>(form, "Olej")->isHidden());
    QVERIFY(control<QWidget>(form, "Gaz")->isHidden());
    QVERIFY(control<QWidget>(form, "Prad")->isHidden());
    QVERIFY(control<QWidget>(form, "regulacjaMocyBar")->isHidden());
    auto* footer = control<PictureBox>(form, "FooterImage");
    QVERIFY(!footer->isHidden());
    QCOMPARE(footer->picture(), QStringLiteral("Olej.svg"));
    QVERIFY(footer->hasPicture());
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("100%"));

    // Two probes, two burners: temperature header, T1, T2, both burner trios, the outputs
    // header, fan and airing.
    const QList<int> shownRows{0, 1, 2, 5, 6, 7, 8, 9, 10, 29, 32, 33};
    for (int row = 0; row < FilterList::ItemCount; ++row)
        QCOMPARE(!m.filters()->isRowHidden(row), shownRows.contains(row));
    // The first cycle after the start is drawn with every series off.
    for (int n = 0; n < SeriesCount; ++n)
        QVERIFY(!form.chartModel().at(n).active);
}

void TestChartWindow::checkAllAndOneCheckBox()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    m.open(m.cycle(QStringLiteral("P1.csv"), oilCycle()));

    click(form, "AdvSmoothButton9");
    QVERIFY(seriesActive(form, {0, 1, 23, 8, 9, 16, 22, 24, 30, 4, 5}, true));
    QVERIFY(seriesActive(form, {2, 3, 6, 7, 10, 31}, false));
    QCOMPARE(m.filters()->model()->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(),
             Qt::Checked);

    // A click on T2's check box takes T2 and the working temperature off, T1 stays.
    QListView* list = m.filters();
    const QRect t2 = list->visualRect(list->model()->index(2, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      FilterListDelegate::checkBoxRect(t2).center());
    QVERIFY(kvaro::testing::settle(list));
    QVERIFY(seriesActive(form, {1, 23}, false));
    QVERIFY(seriesActive(form, {0}, true));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      FilterListDelegate::checkBoxRect(t2).center());
    QVERIFY(kvaro::testing::settle(list));
    QVERIFY(seriesActive(form, {0, 1, 23}, true));
}

void TestChartWindow::zoomButtons()
{
    Machine m;
    TForm2& form = m.startDrawn();

    // Zoom: twenty steps in, the last five presses change nothing; out; reset.
    ChartView* chart = m.chart();
    const double fullMin = chart->bottomMin();
    const double fullMax = chart->bottomMax();
    for (int press = 0; press < 25; ++press)
        click(form, "AdvSmoothButton2");
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("200%"));
    QCOMPARE(form.findChild<ChartDrawing*>()->ZoomLevel(), 200);
    const double zoomedSpan = chart->bottomMax() - chart->bottomMin();
    QVERIFY(qFuzzyCompare(zoomedSpan, (fullMax - fullMin) * std::pow(0.9, 20)));
    click(form, "AdvSmoothButton3");
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("195%"));
    click(form, "AdvSmoothButton1");
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("100%"));
    QCOMPARE(form.findChild<ChartDrawing*>()->ZoomLevel(), 100);
    QVERIFY(chart->isAutomatic(Qt::Horizontal) && chart->isAutomatic(Qt::Vertical));
    QCOMPARE(chart->bottomMin(), fullMin);
    QCOMPARE(chart->bottomMax(), fullMax);
}

void TestChartWindow::panningStaysNearThePoints()
{
    Machine m;
    TForm2& form = m.startDrawn();
    ChartView* chart = m.chart();

    // Panning: a small step is taken, one that would show more than 30 positions past the
    // last point is refused.
    const int points = int(form.chartModel().at(series::T1).points.size());
    chart->panStep(-200, 0);
    QVERIFY(chart->bottomMax() <= points + 30);
    const double before = chart->bottomMin();
    chart->panStep(-3, 0);
    QVERIFY(chart->bottomMin() > before);
}

void TestChartWindow::readoutUnderThePointer()
{
    Machine m;
    TForm2& form = m.startDrawn();
    ChartView* chart = m.chart();
    const int points = int(form.chartModel().at(series::T1).points.size());

    // The readout under the pointer, with the window's "," separator.
    const QVector<ChartPoint>& t1 = form.chartModel().at(series::T1).points;
    const QVector<ChartPoint>& working = form.chartModel().at(series::WorkingTemperature).points;
    const int i = points / 3;
    // The reset lays the axes out again when the chart is next drawn.
    QCoreApplication::processEvents();
    QTest::mouseMove(chart, QPoint(columnOf(*chart, t1.at(i).x), chart->height() / 2));
    QCOMPARE(labelText(form, "CzasLabel"), t1.at(i).label);
    QCOMPARE(labelText(form, "AdvSmoothLabel3"),
             navigation::temperatureText(working.at(i).y, QLatin1Char(',')));
    QVERIFY(labelText(form, "AdvSmoothLabel3").endsWith(QStringLiteral("°C")));
    // Beside the hair line: every shown series by name with its value, and the outputs on.
    const QLabel* beside = control<QLabel>(*chart, "ChartReadout");
    QVERIFY(beside->isVisible());
    for (int n : {series::T1, series::T2, series::WorkingTemperature}) {
        QVERIFY2(beside->text().contains(form.chartModel().at(n).title),
                 qPrintable(beside->text()));
        QVERIFY(beside->text().contains(
            navigation::temperatureText(form.chartModel().at(n).points.at(i).y, QLatin1Char(','))));
    }
    // A picture of the whole window, to look at by eye.
    const QString shot = qEnvironmentVariable("KVARO_SCREENSHOT");
    if (!shot.isEmpty())
        form.grab().save(shot);

    // Left of the axis, away from every point.
    QTest::mouseMove(chart, QPoint(2, chart->height() / 2));
    QCOMPARE(labelText(form, "CzasLabel"), navigation::noReadout());
    QCOMPARE(labelText(form, "AdvSmoothLabel3"), navigation::noReadout());
    QVERIFY(beside->isHidden());
}

void TestChartWindow::cursorsAAndB()
{
    Machine m;
    TForm2& form = m.startDrawn();
    ChartView* chart = m.chart();
    QCoreApplication::processEvents();
    const QVector<ChartPoint>& t1 = form.chartModel().at(series::T1).points;
    const QVector<ChartPoint>& working = form.chartModel().at(series::WorkingTemperature).points;
    const int i = int(t1.size()) / 4;
    const int j = int(t1.size()) / 2;
    const QPoint atA(columnOf(*chart, t1.at(i).x), chart->height() / 3);
    const QPoint atB(columnOf(*chart, t1.at(j).x), chart->height() / 3);
    QWidget* plot = chart->childAt(atA);
    QVERIFY(plot);
    auto* table = control<QFrame>(*chart, "CursorTable");
    auto* rows = control<QTableWidget>(*chart, "CursorTableView");

    // A plain press pans and places nothing.
    QTest::mouseClick(plot, Qt::LeftButton, {}, atA);
    QVERIFY(table->isHidden());

    QTest::mouseClick(plot, Qt::LeftButton, Qt::ControlModifier, atA);
    QVERIFY(table->isVisible());
    QVERIFY(rows->isColumnHidden(2)); // no B yet
    QTest::mouseClick(plot, Qt::LeftButton, Qt::ControlModifier, atB);
    QVERIFY(!rows->isColumnHidden(2));
    const qint64 dt =
        ElapsedTicker::parseElapsed(t1.at(j).label) - ElapsedTicker::parseElapsed(t1.at(i).label);
    QVERIFY(control<QLabel>(*chart, "CursorTableElapsed")
                ->text()
                .endsWith(QStringLiteral("\u0394t ") + ElapsedTicker::format(dt)));
    const QString title = form.chartModel().at(series::WorkingTemperature).title;
    const auto found = rows->findItems(title, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    const int row = found.constFirst()->row();
    const auto cell = [&](int column) { return rows->item(row, column)->text(); };
    QCOMPARE(cell(1), QString::number(working.at(i).y, 'f', 1).replace(u'.', u','));
    QCOMPARE(cell(2), QString::number(working.at(j).y, 'f', 1).replace(u'.', u','));
    // An oil oven counts its fuel: the last row is what was burnt from A to B.
    const int fuel = rows->rowCount() - 1;
    QVERIFY(rows->item(fuel, 0)->text().contains(QStringLiteral("[kg]")));
    QVERIFY(!rows->item(fuel, 3)->text().isEmpty());

    // Esc removes the cursors, and so does the button.
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(table->isHidden());
    QVERIFY(!chart->cursors()->cursorA());
    QTest::mouseClick(plot, Qt::LeftButton, Qt::ControlModifier, atA);
    QVERIFY(table->isVisible());
    click(*chart, "CursorTableRemove");
    QVERIFY(table->isHidden());
}

void TestChartWindow::copyToClipboard()
{
    Machine m;
    TForm2& form = m.startDrawn();
    ChartView* chart = m.chart();

    // Copy: the whole chart at its on-screen size.
    QGuiApplication::clipboard()->clear();
    click(form, "AdvSmoothButton11");
    const QImage copied = QGuiApplication::clipboard()->image();
    QVERIFY(!copied.isNull());
    QCOMPARE(copied.size(), chart->size());
    QCOMPARE(control<StatusNote>(form, "DolnyBarNote")->note(),
             QStringLiteral("Wykres skopiowano do schowka"));
}

void TestChartWindow::uncheckAll()
{
    Machine m;
    TForm2& form = m.startDrawn();

    // "Odznacz wsz." takes every series off again.
    click(form, "AdvSmoothButton10");
    for (int n = 0; n < SeriesCount; ++n)
        QVERIFY(!form.chartModel().at(n).active);
    QVERIFY(m.messages.texts().isEmpty());
}

void TestChartWindow::clickDuringALoadIsApplied_data()
{
    QTest::addColumn<bool>("allCheckedBefore"); // the first cycle drawn with every item checked
    QTest::addColumn<QString>("click");         // "T2" (its check box) or a button's name
    QTest::addColumn<bool>("electricNext");     // the cycle loading is electric, one probe
    QTest::addColumn<QList<int>>("checked");    // the items checked once it is drawn

    const QList<int> oilRows{0, 1, 2, 5, 6, 7, 8, 9, 10, 29, 32, 33};
    QList<int> withoutT2 = oilRows;
    withoutT2.removeOne(2);
    QTest::newRow("a check box") << true << "T2" << false << withoutT2;
    QTest::newRow("check all") << false << "AdvSmoothButton9" << false << oilRows;
    QTest::newRow("uncheck all") << true << "AdvSmoothButton10" << false << QList<int>{};
    // The cycle loading has one probe: T2 is hidden, and a hidden item stays unchecked.
    QTest::newRow("an item the loading cycle hides") << false << "T2" << true << QList<int>{};
}

// The load works on a copy of the filter list while the window goes on taking clicks: a
// click made before its result arrives is part of what is drawn.
void TestChartWindow::clickDuringALoadIsApplied()
{
    QFETCH(bool, allCheckedBefore);
    QFETCH(QString, click);
    QFETCH(bool, electricNext);
    QFETCH(QList<int>, checked);
    Machine m;
    m.start();
    TForm2& form = *m.form;
    m.open(m.cycle(QStringLiteral("P1.csv"), oilCycle()));
    if (allCheckedBefore)
        ::click(form, "AdvSmoothButton9");
    const QString next = electricNext ? m.cycle(QStringLiteral("P2.csv"), electricCycle())
                                      : m.form->findChild<ChartDrawing*>()->Memo1().fileName();

    // Posted once the load has taken its copies: the window's thread runs it while it waits
    // for the worker, before the load's result can come back.
    bool clicked = false;
    const auto clickOnce = [&] {
        QListView* list = m.filters();
        if (click == QLatin1String("T2")) {
            const QRect t2 = list->visualRect(list->model()->index(2, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              FilterListDelegate::checkBoxRect(t2).center());
            QVERIFY(kvaro::testing::settle(list));
        } else {
            ::click(form, qPrintable(click));
        }
        clicked = true;
    };
    const QMetaObject::Connection started =
        connect(m.controller.drawing, &ChartDrawing::loadStarted, &form,
                [&] { QTimer::singleShot(0, &form, clickOnce); });
    m.open(next);
    disconnect(started);

    QVERIFY(clicked);
    QVERIFY(m.messages.texts().isEmpty());
    QList<int> marked;
    for (int item = 0; item < FilterList::ItemCount; ++item) {
        if (form.filterList().item(item).checked)
            marked.append(item);
    }
    QCOMPARE(marked, checked);
    // The series drawn follow those marks.
    ChartModel expected = form.chartModel();
    form.filterList().OdswiezChartWgFiltrow(expected);
    for (int n = 0; n < SeriesCount; ++n)
        QCOMPARE(form.chartModel().at(n).active, expected.at(n).active);
    QCOMPARE(form.chartModel().at(series::T1).active, checked.contains(1));
}

void TestChartWindow::filterListLook()
{
    Machine m;
    m.start();
    m.open(m.cycle(QStringLiteral("P1.csv"), oilCycle()));
    QListView* list = m.filters();
    QAbstractItemModel* model = list->model();

    using Role = FilterList::Role;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        const auto role = Role(index.data(FilterListModel::ItemRoleRole).toInt());
        const bool checkable = role == Role::Check;
        QCOMPARE(index.data(Qt::CheckStateRole).isValid(), checkable);
        QCOMPARE(bool(index.flags() & Qt::ItemIsUserCheckable),
                 checkable && !list->isRowHidden(row));
        QCOMPARE(index.data().toString(), m.form->filterList().item(row).caption);
    }
    // Headers take no click: their mark changes nothing and is not shown.
    const QRect header = list->visualRect(model->index(0, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, header.center());
    QVERIFY(kvaro::testing::settle(list));
    QVERIFY(!m.form->filterList().item(0).checked);
    // A hidden item cannot be checked through the model either.
    QVERIFY(!model->setData(model->index(31, 0), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!m.form->filterList().item(31).checked);
    // Headers stand taller than the items under them, which are indented.
    QVERIFY(header.height() > list->visualRect(model->index(1, 0)).height());
    QCOMPARE(FilterListDelegate::checkBoxRect(header).left(),
             header.left() + FilterListDelegate::Indent);

    // Each check-box item names what it draws with a swatch in the series' colour.
    const QImage shown = list->viewport()->grab().toImage();
    for (int row : {1, 2, 6}) {
        const QRect swatch = FilterListDelegate::swatchRect(list->visualRect(model->index(row, 0)));
        const QColor colour = seriesColour(FilterList::seriesOf(row));
        QCOMPARE(shown.pixelColor(swatch.center()).rgb(), colour.rgb());
        QCOMPARE(model->index(row, 0).data(FilterListModel::SeriesRole).toInt(),
                 FilterList::seriesOf(row));
    }
    // The events item's button opens the key of the pictures and leaves the mark alone.
    const int events = FilterList::burnerEvents(1);
    const bool eventsChecked = m.form->filterList().item(events).checked;
    QVERIFY(!m.form->findChild<EventKey*>());
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {},
        FilterListDelegate::keyButtonRect(list->visualRect(model->index(events, 0))).center());
    QCOMPARE(m.form->filterList().item(events).checked, eventsChecked);
    auto* key = m.form->findChild<EventKey*>();
    QVERIFY(key);
    QVERIFY(key->isVisible());
    QCOMPARE(key->findChild<QLabel*>(QStringLiteral("EventName2"))->text(),
             m.form->text(Text::EventFlame));
    QVERIFY(!key->findChild<QLabel*>(QStringLiteral("EventName2"))->text().isEmpty());
    // Closed, it goes: each click makes one, so none may stay behind.
    const QPointer<EventKey> closed = key;
    key->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!closed);
    // The button belongs to the events items only: elsewhere that spot toggles the item.
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {},
        FilterListDelegate::keyButtonRect(list->visualRect(model->index(6, 0))).center());
    QVERIFY(m.form->filterList().item(6).checked);
    QVERIFY(!m.form->findChild<EventKey*>());

    // Space on the current item toggles it like a click.
    list->setFocus();
    list->setCurrentIndex(model->index(1, 0));
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(m.form->filterList().item(1).checked);
    QVERIFY(m.form->chartModel().at(series::T1).active);
}

void TestChartWindow::failedLoadKeepsWhatWasDrawn()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    m.drawOilCycle(2);
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("110%"));

    // A temperature that is no number, on line 101 as an editor counts.
    gen::CycleSpec spec = oilCycle();
    spec.number = 2;
    spec.seed = 3;
    QList<QByteArray> lines = gen::writeCycle(spec).split('\n');
    QList<QByteArray> fields = lines[100].split(',');
    fields[1] = "x1";
    lines[100] = fields.join(',');
    const QString broken = m.path(QStringLiteral("P2.csv"));
    writeFile(broken, lines.join('\n'));

    // The first cycle read out under the pointer, its figures on the tabs.
    QCoreApplication::processEvents();
    QTest::mouseMove(m.chart(), QPoint(m.chart()->width() / 2, m.chart()->height() / 2));
    QVERIFY(labelText(form, "CzasLabel") != navigation::noReadout());

    m.open(broken);

    QCOMPARE(m.messages.texts().size(), 1);
    const QString message = m.messages.texts().constFirst();
    QVERIFY2(message.contains(QStringLiteral("P2.csv, line 101")), qPrintable(message));
    // Why the chart holds part of a cycle stays in the status bar until the next load.
    auto* note = control<StatusNote>(form, "DolnyBarNote");
    QCOMPARE(note->note(), message);
    QCOMPARE(note->remainingMs(), -1);
    // Nothing on screen describes the first cycle: the figures are the ones a window that
    // opens only the broken file shows, and the readout waits for the pointer.
    Machine fresh;
    fresh.start();
    fresh.open(broken);
    for (const char* label :
         {"Label1", "Label2", "Label3", "SrRoznicaGrzania", "CzasOsiagnieciaLabel", "PalnikStatus"})
        QCOMPARE(labelText(form, label), labelText(*fresh.form, label));
    for (const char* picture : {"PalnikImg", "Olej", "Gaz", "Prad", "FooterImage"})
        QCOMPARE(control<QWidget>(form, picture)->isHidden(),
                 control<QWidget>(*fresh.form, picture)->isHidden());
    QCOMPARE(labelText(form, "CzasLabel"), navigation::noReadout());
    QCOMPARE(labelText(form, "AdvSmoothLabel3"), navigation::noReadout());
    QVERIFY(m.chart()->identity().contains(QStringLiteral("P2")));
    // The records before the bad line are drawn; the zoom is not reset.
    QCOMPARE(form.chartModel().at(series::T1).points.size(), 99);
    QVERIFY(!m.chart()->isHidden());
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("110%"));
    QCOMPARE(form.findChild<ChartDrawing*>()->ZoomLevel(), 110);
    QVERIFY(!m.chart()->isAutomatic(Qt::Horizontal));
    // The filter list was not rebuilt: its marks from the first cycle stay.
    QVERIFY(form.filterList().item(1).checked);

    // The next cycle drawn takes the failure out of the status bar.
    m.drawOilCycle();
    QCOMPARE(note->note(), QString());
}

void TestChartWindow::secondFileClearsTheFirst()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    m.drawOilCycle(1);
    QVERIFY(!form.chartModel().at(series::BurnerTemperatureFirst).points.isEmpty());

    const gen::CycleSpec spec = electricCycle();
    m.open(m.cycle(QStringLiteral("P2.csv"), spec));

    QVERIFY2(m.messages.texts().isEmpty(), qPrintable(m.messages.texts().join(u'|')));
    QCOMPARE(form.chartModel().at(series::T1).points.size(), gen::sampleCount(spec));
    for (int burner = 0; burner < 8; ++burner)
        QVERIFY(form.chartModel().at(series::BurnerTemperatureFirst + burner).points.isEmpty());
    for (int code = 1; code <= 7; ++code)
        QVERIFY(form.chartModel().at(series::event(1, code)).bubbles.isEmpty());
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("100%"));
    QVERIFY(m.chart()->isAutomatic(Qt::Horizontal));

    // The electric oven's figures replace the oil oven's.
    QVERIFY(!control<QWidget>(form, "Prad")->isHidden());
    QVERIFY(control<QWidget>(form, "Olej")->isHidden());
    QVERIFY(control<QWidget>(form, "PalnikImg")->isHidden());
    QCOMPARE(control<PictureBox>(form, "FooterImage")->picture(), QStringLiteral("Prad.svg"));
    QVERIFY(labelText(form, "Label3").endsWith(QStringLiteral(" kWh")));
    QVERIFY(!control<QWidget>(form, "GrodzImg")->isHidden());
    auto* bar = control<QProgressBar>(form, "regulacjaMocyBar");
    QVERIFY(!bar->isHidden());
    QCOMPARE(bar->value(), 60);
    // No burner rows; heaters, second heater and the second fan; T2 gone with one probe.
    for (int row : {5, 6, 7, 8, 9, 10, 2})
        QVERIFY(m.filters()->isRowHidden(row));
    for (int row : {30, 31, 34, 35})
        QVERIFY(!m.filters()->isRowHidden(row));
    // Marks of items that stay shown stay; the new ones come unchecked.
    QVERIFY(form.filterList().item(1).checked);
    QVERIFY(!form.filterList().item(31).checked);
}

void TestChartWindow::shortFileEmptiesTheDrawnChart()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    m.drawOilCycle();
    const QString file = m.path(QStringLiteral("P3.csv"));
    writeFile(file, "header\r\n0,1,2\r\n");

    m.open(file);

    QCOMPARE(m.messages.texts(), QStringList{form.text(Text::NotDrawable)});
    // Nothing of the last cycle stays on screen.
    const auto* plot = m.chart()->findChild<QCustomPlot*>();
    QVERIFY(plot);
    QVERIFY(plot->graphCount() > 0);
    for (int n = 0; n < plot->graphCount(); ++n)
        QVERIFY(plot->graph(n)->data()->isEmpty());
}

void TestChartWindow::undrawableHeatingTypeHidesTheChart()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    m.open(m.cycle(QStringLiteral("P1.csv"), oilCycle()));
    QVERIFY(!m.chart()->isHidden());

    QList<QByteArray> lines = gen::writeCycle(oilCycle()).split('\n');
    lines[1][0] = '7';
    const QString file = m.path(QStringLiteral("P7.csv"));
    writeFile(file, lines.join('\n'));
    m.open(file);

    QCOMPARE(m.messages.texts(), QStringList{form.text(Text::NotDrawable)});
    QVERIFY(m.chart()->isHidden());
    verifyExportsEnabled(*m.controller.saving, false);
    // The cycle's own pages are locked; opening another file stays possible.
    auto* tabs = control<QTabWidget>(form, "Advsmoothtabpager1");
    for (const char* page : {"AdvSmoothTabPager11", "AdvSmoothTabPager12", "AdvSmoothTabPager13"})
        QVERIFY(!tabs->isTabEnabled(tabs->indexOf(control<QWidget>(form, page))));
    QVERIFY(control<QWidget>(form, "AdvSmoothButton8")->isEnabled());
    QVERIFY(tabs->isTabEnabled(tabs->indexOf(control<QWidget>(form, "AdvSmoothTabPage2"))));
    m.open(m.cycle(QStringLiteral("P2.csv"), oilCycle()));
    QVERIFY(tabs->isTabEnabled(tabs->indexOf(control<QWidget>(form, "AdvSmoothTabPager11"))));
    verifyExportsEnabled(*m.controller.saving, true);
    m.open(file);
    QVERIFY(control<QWidget>(form, "FooterImage")->isHidden());
    QVERIFY(control<QWidget>(form, "Olej")->isHidden());
    // Every action on the hidden chart is ignored.
    QGuiApplication::clipboard()->clear();
    click(form, "AdvSmoothButton2");
    click(form, "AdvSmoothButton11");
    QCOMPARE(labelText(form, "AdvSmoothLabel5"), QStringLiteral("100%"));
    QVERIFY(QGuiApplication::clipboard()->image().isNull());
}

void TestChartWindow::savedPathsReadShort_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");
    QTest::newRow("in the home folder") << "/home/anna/raporty/raport-14.pdf"
                                        << "~/raporty/raport-14.pdf";
    QTest::newRow("a folder whose name starts as the home's") << "/home/annabel/r.pdf"
                                                              << "/home/annabel/r.pdf";
    QTest::newRow("outside the home folder") << "/media/anna/KVARO/P1.csv"
                                             << "/media/anna/KVARO/P1.csv";
    QTest::newRow("through ..") << "/home/anna/x/../r.pdf"
                                << "~/r.pdf";
}

void TestChartWindow::savedPathsReadShort()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/home/anna");
    const QString result = shortPath(path);
    qputenv("HOME", home);
    QCOMPARE(result, shown);
}

void TestChartWindow::exportsAndTheirLanguage()
{
    Machine m;
    m.start();
    TForm2& form = *m.form;
    QPushButton* png = m.controller.saving->savePngButton();
    QPushButton* pdf = m.controller.saving->savePdfButton();
    QCOMPARE(png->text(), QStringLiteral("Zapisz PNG…"));
    QCOMPARE(pdf->text(), QStringLiteral("Zapisz PDF…"));
    auto* exportTab = control<QWidget>(form, "AdvSmoothTabPage1");
    QVERIFY(exportTab->isAncestorOf(png) && exportTab->isAncestorOf(pdf));

    m.drawOilCycle();
    const QString pngFile = m.path(QStringLiteral("chart.png"));
    QVERIFY(m.controller.saving->saveChartPng(pngFile));
    QCOMPARE(QImage(pngFile).size(), m.chart()->size());
    // The status bar says what was written where, for a few seconds.
    auto* note = control<StatusNote>(form, "DolnyBarNote");
    QCOMPARE(note->note(), QStringLiteral("Zapisano obraz: ") + shortPath(pngFile));
    QVERIFY2(note->remainingMs() > 0 && note->remainingMs() <= StatusNote::ShownMs,
             qPrintable(QString::number(note->remainingMs())));
    const QString pdfFile = m.path(QStringLiteral("chart.pdf"));
    QVERIFY(m.controller.saving->saveChartPdf(pdfFile));
    QFile written(pdfFile);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(5) == "%PDF-");
    QVERIFY(m.messages.texts().isEmpty());

    const QString nowhere = m.path(QStringLiteral("missing/folder/chart.png"));
    QVERIFY(!m.controller.saving->saveChartPng(nowhere));
    QVERIFY(!m.controller.saving->saveChartPdf(m.path(QStringLiteral("missing/chart.pdf"))));
    QCOMPARE(m.messages.texts().size(), 2);
    QVERIFY(m.messages.texts().at(0).contains(QDir::toNativeSeparators(nowhere)));
    QVERIFY(m.messages.texts().at(1).contains(QStringLiteral("chart.pdf")));

    // English: the export buttons and the filter captions follow, the drawn figures stay.
    const QString label2 = labelText(form, "Label2");
    form.AdvSmoothButton7Click();
    QCOMPARE(png->text(), QStringLiteral("Save PNG…"));
    QCOMPARE(pdf->text(), QStringLiteral("Save PDF…"));
    QCOMPARE(m.filters()->model()->index(0, 0).data().toString(), form.text(Text::Temperature));
    QCOMPARE(m.filters()->model()->index(29, 0).data().toString(), form.text(Text::Outputs));
    QCOMPARE(labelText(form, "Label2"), label2);
    QVERIFY(form.filterList().item(1).checked);
    QVERIFY(!m.filters()->isRowHidden(1));
}

void TestChartWindow::designFontsFromDebianPackages()
{
    // Wine's Tahoma lies outside fontconfig's folders: only the program's own registration
    // makes it the interface font.
    if (!QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
        QSKIP("fonts-wine is not installed");
    QCOMPARE(interfaceFontFamily(), QStringLiteral("Tahoma"));
    QCOMPARE(QFontInfo(QApplication::font()).family(), QStringLiteral("Tahoma"));
    QFont bold(QStringLiteral("Tahoma"));
    bold.setBold(true);
    QVERIFY(QFontInfo(bold).bold());
    if (QFontDatabase::families().contains(QStringLiteral("Carlito")))
        QCOMPARE(chooserFontFamily(), QStringLiteral("Carlito"));
}

QTEST_MAIN(TestChartWindow)
#include "test_chart_window.moc"
