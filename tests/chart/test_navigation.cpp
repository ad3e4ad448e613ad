#include "chart/chartmodel.h"
#include "chart/navigation.h"

#include <QTest>

using namespace kvaro;
using namespace kvaro::navigation;

namespace {

// Series 0 and 23 with points at the given x, temperatures 200 + x / 2.
ChartModel chartWithPoints(const QList<double>& xs)
{
    ChartModel chart;
    for (double x : xs) {
        const QString label = QStringLiteral("t%1").arg(x);
        chart.at(series::T1).points.append({x, 20, label});
        chart.at(series::WorkingTemperature).points.append({x, 200 + x / 2, label});
    }
    return chart;
}

QList<double> hundred()
{
    QList<double> xs;
    for (int i = 0; i < 100; ++i)
        xs.append(i);
    return xs;
}

} // namespace

class TestNavigation : public QObject
{
    Q_OBJECT

private slots:
    void zoomCounter()
    {
        int level = ZoomReset;
        QCOMPARE(zoomLabel(level), QStringLiteral("100%"));
        QCOMPARE(zoomedOut(level), 100); // nothing to undo from the full view
        QStringList labels;
        for (int press = 1; press <= 25; ++press) {
            level = zoomedIn(level);
            labels.append(zoomLabel(level));
        }
        QCOMPARE(labels.at(0), QStringLiteral("105%"));
        QCOMPARE(labels.at(19), QStringLiteral("200%"));
        QCOMPARE(labels.at(24), QStringLiteral("200%"));
        QVERIFY(!canZoomIn(level));
        for (int press = 1; press <= 25; ++press)
            level = zoomedOut(level);
        QCOMPARE(level, 100);
    }

    void zoomRange()
    {
        const AxisRange in = zoomed({0, 100}, ZoomInPercent);
        QCOMPARE(in, (AxisRange{5, 95}));
        const AxisRange back = zoomed(in, ZoomOutPercent);
        QCOMPARE(back, (AxisRange{0.5, 99.5})); // the steps are not inverses: 99 % of the span
    }

    void allowScroll_data()
    {
        QTest::addColumn<int>("axis");
        QTest::addColumn<double>("newMin");
        QTest::addColumn<double>("newMax");
        QTest::addColumn<bool>("allowed");
        const int left = int(Axis::Left);
        const int bottom = int(Axis::Bottom);
        QTest::newRow("temperature to 380") << left << 100.0 << 380.0 << true;
        QTest::newRow("temperature to 380.5") << left << 100.5 << 380.5 << false;
        QTest::newRow("temperature from -30") << left << -30.0 << 300.0 << true;
        QTest::newRow("temperature from -30.5") << left << -30.5 << 299.5 << false;
        QTest::newRow("position to the count + 30") << bottom << 20.0 << 130.0 << true;
        QTest::newRow("position past the count + 30") << bottom << 20.1 << 130.1 << false;
        QTest::newRow("position from -30") << bottom << -30.0 << 50.0 << true;
        QTest::newRow("position from -30.5") << bottom << -30.5 << 49.5 << false;
        // Each axis has its own band: 380 means nothing on the position axis.
        QTest::newRow("position 120 is fine") << bottom << 0.0 << 120.0 << true;
        QTest::newRow("other axis") << int(Axis::Other) << -1000.0 << 1000.0 << true;
    }
    void allowScroll()
    {
        QFETCH(int, axis);
        QFETCH(double, newMin);
        QFETCH(double, newMax);
        QFETCH(bool, allowed);
        QCOMPARE(scrollAllowed(Axis(axis), newMin, newMax, 100), allowed);
    }

    void readout_data()
    {
        QTest::addColumn<QList<double>>("xs");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("index");
        QTest::newRow("left of the first point") << hundred() << -0.6 << -1;
        QTest::newRow("half a step left") << hundred() << -0.5 << 0;
        QTest::newRow("0.3") << hundred() << 0.3 << 0;
        QTest::newRow("halfway goes left") << hundred() << 10.5 << 10;
        QTest::newRow("99.4") << hundred() << 99.4 << 99;
        QTest::newRow("half a step right") << hundred() << 99.5 << 99;
        QTest::newRow("past half a step") << hundred() << 99.6 << -1;
        // After a line that adds no point, x runs ahead of the position.
        QTest::newRow("gap, nearer the right") << QList<double>{0, 1, 3, 4} << 2.4 << 2;
        QTest::newRow("gap, nearer the left") << QList<double>{0, 1, 3, 4} << 1.6 << 1;
        QTest::newRow("beyond the gap") << QList<double>{0, 1, 3, 4} << 4.0 << 3;
        QTest::newRow("no points") << QList<double>{} << 0.0 << -1;
    }
    void readout()
    {
        QFETCH(QList<double>, xs);
        QFETCH(double, value);
        QFETCH(int, index);
        const ChartModel chart = chartWithPoints(xs);
        const Readout readout = readoutAt(chart, value, QLatin1Char(','));
        QCOMPARE(readout.index, index);
        if (index < 0) {
            QCOMPARE(readout.temperature, QStringLiteral("–"));
            QCOMPARE(readout.time, QStringLiteral("–"));
        } else {
            const ChartPoint& point = chart.at(series::WorkingTemperature).points.at(index);
            QCOMPARE(readout.temperature, navigation::temperatureText(point.y, QLatin1Char(',')));
            QCOMPARE(readout.time, chart.at(series::T1).points.at(index).label);
        }
    }

    void temperatureTexts_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("text");
        QTest::newRow("comma") << 215.5 << ","
                               << "215,5 °C";
        QTest::newRow("point") << 215.5 << "."
                               << "215.5 °C";
        QTest::newRow("whole: one decimal too") << 180.0 << ","
                                                << "180,0 °C";
        QTest::newRow("no binary tail") << 0.1 + 0.2 << ","
                                        << "0,3 °C";
        QTest::newRow("rounded to one decimal") << 162.04 << "."
                                                << "162.0 °C";
        QTest::newRow("no minus zero") << -0.04 << ","
                                       << "0,0 °C";
        QTest::newRow("below zero") << -12.25 << ","
                                    << "-12,3 °C";
    }
    void temperatureTexts()
    {
        QFETCH(double, value);
        QFETCH(QString, separator);
        QFETCH(QString, text);
        QCOMPARE(navigation::temperatureText(value, separator.at(0)), text);
    }
};

int runNavigationTests(int argc, char** argv)
{
    TestNavigation test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_navigation.moc"
