// The trend chart: the levels lie across every point, a chart with nothing to draw shows the
// days asked for, only the points answer a click, and the axis numbers take the separator.

#include "chart/view/trendchartview.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <qcustomplot.h>

using namespace kvaro;

namespace {

QDateTime utc(int day, int hour)
{
    return QDateTime(QDate(2024, 5, day), QTime(hour, 0), QTimeZone::utc());
}

// Three cycles of the 2nd to the 6th of May, a mean and a band.
TrendChartData threeCycles()
{
    TrendChartData data;
    data.figure = QStringLiteral("fuel");
    data.from = QDate(2024, 5, 2);
    data.to = QDate(2024, 5, 6);
    // None on a level: a level line lies over the points and takes their clicks.
    data.points = {{utc(2, 6), 1.0}, {utc(3, 6), 1.4}, {utc(5, 18), 1.3}};
    data.levels = {{TrendChartLevel::Kind::Mean, 1.2, QStringLiteral("mean")},
                   {TrendChartLevel::Kind::Band, 1.5, QStringLiteral("upper")},
                   {TrendChartLevel::Kind::Band, 0.9, QStringLiteral("lower")}};
    return data;
}

QCustomPlot* plotOf(TrendChartView& view)
{
    return view.findChild<QCustomPlot*>();
}

} // namespace

class TestTrendChartView : public QObject
{
    Q_OBJECT

private slots:
    void levelsLieAcrossEveryPoint()
    {
        TrendChartView view;
        const TrendChartData data = threeCycles();
        view.draw(data);
        QCustomPlot* plot = plotOf(view);
        QCOMPARE(plot->graphCount(), 1 + data.levels.size());
        QCOMPARE(plot->graph(0)->name(), data.figure);
        QCOMPARE(plot->yAxis->label(), data.figure);
        const double first = double(data.points.first().start.toSecsSinceEpoch());
        const double last = double(data.points.last().start.toSecsSinceEpoch());
        for (int g = 1; g < plot->graphCount(); ++g) {
            const TrendChartLevel& level = data.levels.at(g - 1);
            QCOMPARE(plot->graph(g)->name(), level.name);
            QCOMPARE(plot->graph(g)->dataCount(), 2);
            const auto left = plot->graph(g)->data()->constBegin();
            const auto right = left + 1;
            QVERIFY(left->key < first && right->key > last);
            QCOMPARE(left->value, level.value);
            QCOMPARE(right->value, level.value);
            // Every level and every point in view, none on the plot's edge.
            QVERIFY(plot->xAxis->range().contains(left->key));
            QVERIFY(plot->xAxis->range().contains(right->key));
            QVERIFY(plot->yAxis->range().lower < level.value);
            QVERIFY(plot->yAxis->range().upper > level.value);
        }
        for (const TrendChartPoint& point : data.points) {
            QVERIFY(plot->yAxis->range().lower < point.value);
            QVERIFY(plot->yAxis->range().upper > point.value);
        }
    }

    void nothingToDrawShowsTheDaysAskedFor_data()
    {
        QTest::addColumn<bool>("levels");
        QTest::newRow("no points") << false;
        QTest::newRow("levels but no points") << true;
    }
    void nothingToDrawShowsTheDaysAskedFor()
    {
        QFETCH(bool, levels);
        TrendChartView view;
        TrendChartData data = threeCycles();
        data.points.clear();
        if (!levels)
            data.levels.clear();
        view.draw(data);
        QCustomPlot* plot = plotOf(view);
        QCOMPARE(plot->graphCount(), 1);
        // From the first day's midnight to the midnight after the last day.
        QCOMPARE(plot->xAxis->range().lower, double(utc(2, 0).toSecsSinceEpoch()));
        QCOMPARE(plot->xAxis->range().upper, double(utc(7, 0).toSecsSinceEpoch()));
        QCOMPARE(plot->yAxis->range().lower, 0.0);
        QCOMPARE(plot->yAxis->range().upper, 1.0);
    }

    // A click on a point names its index; one on a level line, away from the points, nothing.
    void onlyThePointsAnswerAClick()
    {
        TrendChartView view;
        view.resize(800, 500);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const TrendChartData data = threeCycles();
        view.draw(data);
        QCustomPlot* plot = plotOf(view);
        QSignalSpy clicked(&view, &TrendChartView::pointClicked);
        for (int i = 0; i < data.points.size(); ++i) {
            const TrendChartPoint& point = data.points.at(i);
            const QPointF at =
                plot->graph(0)->coordsToPixels(point.start.toSecsSinceEpoch(), point.value);
            QTest::mouseClick(plot, Qt::LeftButton, {}, at.toPoint());
            QCOMPARE(clicked.count(), 1);
            QCOMPARE(clicked.takeFirst().first().toInt(), i);
        }
        // The upper edge of the band halfway between the second and the third point.
        const double between = (data.points.at(1).start.toSecsSinceEpoch() +
                                data.points.at(2).start.toSecsSinceEpoch()) /
                               2.0;
        const QPointF onLevel = plot->graph(2)->coordsToPixels(between, data.levels.at(1).value);
        QTest::mouseClick(plot, Qt::LeftButton, {}, onLevel.toPoint());
        QCOMPARE(clicked.count(), 0);
    }

    void axisNumbersTakeTheSeparator_data()
    {
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QChar>("other");
        QTest::newRow("comma") << QChar(u',') << QChar(u'.');
        QTest::newRow("point") << QChar(u'.') << QChar(u',');
    }
    void axisNumbersTakeTheSeparator()
    {
        QFETCH(QChar, separator);
        QFETCH(QChar, other);
        TrendChartView view;
        view.resize(800, 500);
        view.setDecimalSeparator(separator);
        view.draw(threeCycles());
        const QList<QString> labels = plotOf(view)->yAxis->tickVectorLabels();
        bool fraction = false;
        for (const QString& label : labels) {
            QVERIFY2(!label.contains(other), qPrintable(label));
            fraction = fraction || label.contains(separator);
        }
        QVERIFY2(fraction, qPrintable(labels.join(u' ')));
    }
};

QTEST_MAIN(TestTrendChartView)
#include "test_trendchartview.moc"
