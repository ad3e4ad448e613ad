// The points held as columns and the graph that draws straight from them.
#include "chart/chartloader.h"
#include "chart/chartpoints.h"
#include "chart/view/columngraph.h"

#include <QTest>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

using namespace kvaro;

namespace {

// The library's own graph over a copy of the points: what the columns must draw alike.
class ReferenceGraph : public QCPGraph
{
public:
    using QCPGraph::QCPGraph;
    QVector<QPointF> lines() const
    {
        QVector<QPointF> result;
        getLines(&result, QCPDataRange(0, dataCount()));
        return result;
    }
};

// A noisy, slowly rising series with one record far above the rest.
ChartPoints noisySeries(int count, int spikeAt)
{
    ChartPoints points;
    points.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double y =
            i == spikeAt ? 900 : 100 + i * 0.001 + 7 * std::sin(i * 0.37) + 3 * std::cos(i * 1.91);
        points.appendElapsed(i, y, 2 * i);
    }
    return points;
}

} // namespace

class TestChartColumns : public QObject
{
    Q_OBJECT

private slots:
    void labelsComeBackAsTheyWentIn_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<qint64>("elapsed"); // what the label reads as, -1 for none
        QTest::newRow("start") << QStringLiteral("00:00") << qint64(0);
        QTest::newRow("minutes") << QStringLiteral("59:59") << qint64(3599);
        QTest::newRow("hours") << QStringLiteral("01:00:00") << qint64(3600);
        QTest::newRow("past a day") << QStringLiteral("27:46:40") << qint64(100000);
        QTest::newRow("hours that elapsedLabel leaves out")
            << QStringLiteral("00:00:01") << qint64(1);
        QTest::newRow("one digit") << QStringLiteral("1:00") << qint64(60);
        QTest::newRow("empty") << QString() << qint64(-1);
        QTest::newRow("no time") << QStringLiteral("ab:cd") << qint64(-1);
    }
    void labelsComeBackAsTheyWentIn()
    {
        QFETCH(QString, label);
        QFETCH(qint64, elapsed);
        ChartPoints points;
        points.appendElapsed(0, 1, 5);
        points.append({1, 2, label});
        points.appendElapsed(2, 3, 7);
        QCOMPARE(points.size(), 3);
        QCOMPARE(points.at(1), (ChartPoint{1, 2, label}));
        QCOMPARE(points.elapsed(1), elapsed);
        // The neighbours keep theirs.
        QCOMPARE(points.at(0).label, QStringLiteral("00:05"));
        QCOMPARE(points.at(2).label, QStringLiteral("00:07"));
    }

    void elapsedSecondsMakeTheLoadersLabel_data()
    {
        QTest::addColumn<qint64>("seconds");
        for (qint64 seconds : {0LL, 59LL, 3600LL, 360000LL, -5LL, 1LL << 40})
            QTest::addRow("%lld", seconds) << seconds;
    }
    void elapsedSecondsMakeTheLoadersLabel()
    {
        QFETCH(qint64, seconds);
        ChartPoints points;
        points.appendElapsed(4, 5, seconds);
        QCOMPARE(points.at(0), (ChartPoint{4, 5, elapsedLabel(seconds)}));
        QCOMPARE(points.toVector(), QVector<ChartPoint>{points.at(0)});
    }

    void aWriteLeavesTheOtherHolderAlone()
    {
        ChartPoints model = {{0, 10, QStringLiteral("00:00")}, {1, 11, QStringLiteral("x")}};
        ChartPoints shown = model;
        QVERIFY(shown.isSharedWith(model));

        model[1].y = 50;
        QVERIFY(!shown.isSharedWith(model));
        QCOMPARE(shown.at(1), (ChartPoint{1, 11, QStringLiteral("x")}));
        QCOMPARE(model.at(1), (ChartPoint{1, 50, QStringLiteral("x")}));

        shown = model;
        model.append({2, 12, QStringLiteral("00:02")});
        QCOMPARE(shown.size(), 2);
        QCOMPARE(model.size(), 3);

        shown = model;
        model.clear();
        QVERIFY(model.isEmpty());
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.xs()[2], 2.0);
    }

    // Series appended alongside T1 share its x and time columns; whatever is then written
    // to one of them, or appended to one alone, leaves the others as they were.
    void seriesAlongsideKeepTheirOwnPoints()
    {
        ChartPoints t1;
        ChartPoints t2;
        ChartPoints burner;
        t1.reserve(4);
        for (int i = 0; i < 3; ++i) {
            t1.appendElapsed(i, 100 + i, 60 * i);
            t2.appendAlongside(t1, 200 + i);
            if (i > 0) // joins one record late
                burner.appendAlongside(t1, 300 + i);
        }
        const ChartPoints shown = t2;
        t1.appendElapsed(3, 103, 180);
        t1.appendElapsed(4, 104, 240); // past the reserve: its columns move
        t2.appendAlongside(t1, 204);   // skipped x = 3: parts from T1
        t2[0].x = -1;
        burner.append({5, 305, QStringLiteral("custom")});

        auto xsOf = [](const ChartPoints& points) {
            return QList<double>(points.xs().begin(), points.xs().end());
        };
        auto labelsOf = [](const ChartPoints& points) {
            QStringList labels;
            for (const ChartPoint& point : points)
                labels.append(point.label);
            return labels;
        };
        QCOMPARE(xsOf(t1), (QList<double>{0, 1, 2, 3, 4}));
        QCOMPARE(labelsOf(t1), (QStringList{"00:00", "01:00", "02:00", "03:00", "04:00"}));
        QCOMPARE(xsOf(t2), (QList<double>{-1, 1, 2, 4}));
        QCOMPARE(labelsOf(t2), (QStringList{"00:00", "01:00", "02:00", "04:00"}));
        QCOMPARE(t2.y(3), 204.0);
        QCOMPARE(xsOf(burner), (QList<double>{1, 2, 5}));
        QCOMPARE(labelsOf(burner), (QStringList{"01:00", "02:00", "custom"}));
        QCOMPARE(xsOf(shown), (QList<double>{0, 1, 2}));
        QCOMPARE(labelsOf(shown), (QStringList{"00:00", "01:00", "02:00"}));
        QCOMPARE(shown.ys()[2], 202.0);
    }

    // The vertices the columns give for a range must be the ones the library's adaptive
    // sampling gives for a copy of the same points: every pixel column's least and
    // greatest value, a lone spike among them.
    void drawsWhatTheGraphWouldDraw_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("lower"); // of the key range, as a share of the points
        QTest::addColumn<double>("upper");
        QTest::newRow("all, dense") << 200000 << 0.0 << 1.0;
        QTest::newRow("zoomed in on the spike") << 200000 << 0.49 << 0.52;
        QTest::newRow("panned past the end") << 200000 << 0.7 << 1.2;
        QTest::newRow("a few points per pixel") << 3000 << 0.0 << 1.0;
        QTest::newRow("fewer points than pixels") << 300 << 0.1 << 0.9;
        QTest::newRow("out of range") << 3000 << 1.5 << 2.0;
    }
    void drawsWhatTheGraphWouldDraw()
    {
        QFETCH(int, count);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QCustomPlot plot;
        plot.resize(1200, 700);
        plot.replot(); // lays the axes out
        const int spikeAt = count / 2 + 1;
        const ChartPoints points = noisySeries(count, spikeAt);

        auto* columns = new ColumnGraph(plot.xAxis, plot.yAxis);
        columns->setPoints(points);
        auto* reference = new ReferenceGraph(plot.xAxis, plot.yAxis);
        QVector<QCPGraphData> data;
        for (qsizetype i = 0; i < points.size(); ++i)
            data.append(QCPGraphData(points.x(i), points.y(i)));
        reference->data()->set(data, true);
        for (QCPGraph* graph : {static_cast<QCPGraph*>(columns), static_cast<QCPGraph*>(reference)})
            graph->setAdaptiveSampling(true);

        bool found = false;
        QCOMPARE(columns->getKeyRange(found), reference->getKeyRange(found));
        QCOMPARE(columns->getValueRange(found), reference->getValueRange(found));
        QCOMPARE(columns->dataCount(), count);

        plot.xAxis->setRange(lower * count, upper * count);
        plot.yAxis->setRange(0, 1000);
        const QVector<QPointF> drawn = columns->lineVertices();
        QCOMPARE(drawn, reference->lines());
        if (count > 10000 && spikeAt >= lower * count && spikeAt <= upper * count) {
            QVERIFY(drawn.size() < 4 * plot.axisRect()->width() + 8);
            const double spikeY = plot.yAxis->coordToPixel(900);
            QVERIFY(std::any_of(drawn.cbegin(), drawn.cend(),
                                [&](const QPointF& p) { return p.y() == spikeY; }));
        }
    }
};

QTEST_MAIN(TestChartColumns)
#include "test_chartcolumns.moc"
