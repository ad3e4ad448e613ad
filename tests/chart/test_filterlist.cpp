#include "cyclefixture.h"

#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/eventmarker.h"
#include "chart/filterlist.h"

#include <QTest>

using namespace kvaro;

namespace {

QList<int> shownItems(const FilterList& list)
{
    QList<int> shown;
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i).shown)
            shown.append(i);
    }
    return shown;
}

QList<int> activeSeries(const ChartModel& chart)
{
    QList<int> active;
    for (int s = 0; s < chart.count(); ++s) {
        if (chart.at(s).active)
            active.append(s);
    }
    return active;
}

ChartSummary summaryOf(int kind, int burners, int probes, bool grodz = false, bool bar = false)
{
    ChartSummary summary;
    summary.LoadedOvenKind = kind;
    summary.LoadedBurnerCount = burners;
    summary.LoadedProbeCount = probes;
    summary.shown.secondChannel = grodz;
    summary.shown.powerBar = bar;
    return summary;
}

QList<int> range(int first, int last)
{
    QList<int> list;
    for (int i = first; i <= last; ++i)
        list.append(i);
    return list;
}

} // namespace

class TestFilterList : public QObject
{
    Q_OBJECT

private slots:
    void startsHiddenAndUnchecked()
    {
        FilterList list;
        QVERIFY(shownItems(list).isEmpty());
        for (int i = 0; i < list.count(); ++i)
            QVERIFY(!list.item(i).checked);
        QCOMPARE(list.item(13).caption, QStringLiteral("Item 13"));
        QCOMPARE(list.item(12).caption, QStringLiteral("Z"));
        QCOMPARE(list.item(14).caption, QStringLiteral("P4"));
        QCOMPARE(list.item(35).caption, QStringLiteral("Wentylator drugi"));
    }

    void visibility_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("burners");
        QTest::addColumn<int>("probes");
        QTest::addColumn<bool>("grodz");
        QTest::addColumn<bool>("bar");
        QTest::addColumn<QList<int>>("shown");
        const QList<int> outputs{29, 32, 33};
        QTest::newRow("probes 0: T2 shown")
            << 0 << 0 << 0 << false << false << QList<int>{0, 1, 2} + outputs;
        QTest::newRow("probes 1: T2 hidden")
            << 0 << 0 << 1 << false << false << QList<int>{0, 1} + outputs;
        QTest::newRow("probes 4: both CH2 texts")
            << 0 << 0 << 4 << false << false << QList<int>{0, 1, 2, 3, 4} + outputs;
        QTest::newRow("two burners")
            << 1 << 2 << 2 << false << false << QList<int>{0, 1, 2} + range(5, 10) + outputs;
        QTest::newRow("nine burners: all eight")
            << 2 << 9 << 2 << false << false << QList<int>{0, 1, 2} + range(5, 28) + outputs;
        QTest::newRow("electric: no burners")
            << 3 << 5 << 2 << false << false << QList<int>{0, 1, 2, 29, 31, 32, 33};
        QTest::newRow("electric with second channel")
            << 3 << 0 << 2 << true << false << QList<int>{0, 1, 2, 29, 31, 32, 33, 34, 35};
        QTest::newRow("oil with second channel and regulation")
            << 0 << 1 << 2 << true << true << QList<int>{0, 1, 2, 5, 6, 7, 29, 30, 32, 33, 35};
        QTest::newRow("not drawable keeps the burner count")
            << 7 << 1 << 0 << false << false << QList<int>{0, 1, 2, 5, 6, 7} + outputs;
    }
    void visibility()
    {
        QFETCH(int, kind);
        QFETCH(int, burners);
        QFETCH(int, probes);
        QFETCH(bool, grodz);
        QFETCH(bool, bar);
        QFETCH(QList<int>, shown);
        std::sort(shown.begin(), shown.end());
        FilterList list;
        ChartModel chart;
        list.WczytajFiltry(summaryOf(kind, burners, probes, grodz, bar), chart);
        QCOMPARE(shownItems(list), shown);
        // Nothing starts checked: the first cycle is drawn with every series hidden.
        QVERIFY(activeSeries(chart).isEmpty());
    }

    void checkAllActsOnShownItems_data()
    {
        QTest::addColumn<int>("probes");
        QTest::addColumn<QList<int>>("active");
        // Two burners, no second channel, no regulation: W1, W2, their events, fan, airing.
        const QList<int> burners = QList<int>{8, 9} + range(16, 22) + range(24, 30);
        QTest::newRow("probes 2") << 2 << QList<int>{0, 1, 4, 5, 23} + burners;
        // T2 is hidden, so it stays unchecked and takes T Robocza with it.
        QTest::newRow("probes 1") << 1 << QList<int>{0, 4, 5} + burners;
    }
    void checkAllActsOnShownItems()
    {
        QFETCH(int, probes);
        QFETCH(QList<int>, active);
        std::sort(active.begin(), active.end());
        FilterList list;
        ChartModel chart;
        list.WczytajFiltry(summaryOf(0, 2, probes), chart);
        list.checkAllShown(chart);
        QCOMPARE(activeSeries(chart), active);
        // Headers get the mark too; it changes no series.
        QVERIFY(list.item(0).checked && list.item(5).checked && list.item(29).checked);
        QVERIFY(!list.item(11).checked);

        list.uncheckAllShown(chart);
        QVERIFY(activeSeries(chart).isEmpty());
        for (int i = 0; i < list.count(); ++i)
            QVERIFY(!list.item(i).checked);
    }

    void workingTemperatureNeedsBothT1AndT2_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QList<int>>("active");
        QTest::newRow("T1 alone") << QList<int>{1} << QList<int>{0};
        QTest::newRow("T1 and T2") << QList<int>{1, 2} << QList<int>{0, 1, 23};
        QTest::newRow("then T1 off") << QList<int>{1, 2, 1} << QList<int>{1};
        QTest::newRow("a header has no check box") << QList<int>{0, 5} << QList<int>{};
        QTest::newRow("exchanger and events of burner 2")
            << QList<int>{9, 10} << QList<int>{9} + range(24, 30);
        QTest::newRow("power and outputs") << QList<int>{30, 32, 33, 35} << QList<int>{2, 4, 5, 7};
        // Heaters and the second burner are electric ovens' items, hidden here.
        QTest::newRow("hidden items take no click") << QList<int>{31, 34} << QList<int>{};
    }
    void workingTemperatureNeedsBothT1AndT2()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(QList<int>, active);
        FilterList list;
        ChartModel chart;
        list.WczytajFiltry(summaryOf(0, 8, 2, true, true), chart);
        for (int item : clicks)
            list.toggle(item, chart);
        QCOMPARE(activeSeries(chart), active);
    }

    // The swatch beside an item shows the series the item switches on: never another one.
    void everyCheckItemNamesASeriesItSwitches()
    {
        for (int i = 0; i < FilterList::ItemCount; ++i) {
            FilterList list;
            ChartModel chart;
            const int series = FilterList::seriesOf(i);
            if (list.item(i).role != FilterList::Role::Check) {
                QCOMPARE(series, -1);
                continue;
            }
            for (int other = 0; other < list.count(); ++other)
                list.setShown(other, true);
            list.toggle(i, chart);
            QVERIFY2(series >= 0 && activeSeries(chart).contains(series),
                     qPrintable(QStringLiteral("item %1 names series %2").arg(i).arg(series)));
            if (burnerEventOf(series))
                QCOMPARE(burnerEventOf(series)->code, 1);
        }
    }

    void hiddenItemsLoseTheirMark()
    {
        FilterList list;
        ChartModel chart;
        list.WczytajFiltry(summaryOf(0, 3, 2), chart);
        list.checkAllShown(chart);
        QVERIFY(list.item(FilterList::burnerExchanger(3)).checked);

        list.WczytajFiltry(summaryOf(0, 2, 2), chart);
        QVERIFY(!list.item(FilterList::burnerExchanger(3)).checked);
        QVERIFY(list.item(FilterList::burnerExchanger(2)).checked); // still shown: kept
        QVERIFY(!chart.at(series::BurnerTemperatureFirst + 2).active);
        QVERIFY(chart.at(series::BurnerTemperatureFirst + 1).active);

        list.WczytajFiltry(summaryOf(0, 3, 2), chart);
        QVERIFY(list.item(FilterList::burnerExchanger(3)).shown);
        QVERIFY(!list.item(FilterList::burnerExchanger(3)).checked);
    }

    void captionsFromTheLanguage()
    {
        FilterList list;
        ChartModel chart;
        list.WczytajFiltry(summaryOf(0, 2, 2), chart);
        list.checkAllShown(chart);
        list.setCaptions(test::numberedLanguage());
        const QStringList expected{"L7",    "T1",  "T2",  "T1 L331", "T2 L332",
                                   "L23 1", "L27", "L28", "L23 2"};
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(list.item(i).caption, expected.at(i));
        QCOMPARE(list.item(26).caption, QStringLiteral("L23 8"));
        QCOMPARE(list.item(29).caption, QStringLiteral("L34"));
        QCOMPARE(list.item(30).caption, QStringLiteral("L35"));
        QCOMPARE(list.item(31).caption, QStringLiteral("L29"));
        QCOMPARE(list.item(34).caption, QString());
        QCOMPARE(list.item(35).caption, QStringLiteral("L30L332"));
        QCOMPARE(list.item(36).caption, QString());
        QCOMPARE(list.item(37).caption, QStringLiteral("Item 37"));
        // A language switch leaves the marks and the shown items alone.
        QVERIFY(list.item(1).shown && list.item(1).checked);
    }
};

int runFilterListTests(int argc, char** argv)
{
    TestFilterList test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_filterlist.moc"
