// A second cycle laid over the drawn one: its points placed at the drawn cycle's positions
// for equal times since the start, and the values the hair line compares.
#include "base/language.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/chartsummary.h"
#include "chart/comparison.h"
#include "chart/filterlist.h"
#include "chart/openedcycle.h"
#include "tools/cyclegen.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kvaro;

namespace {

// A drawn cycle as the loader leaves it: a record per elapsed time at x = 1, 2, ... (or at
// the x given: a line that is no record leaves a gap), with T1, and T2 and the working
// temperature alongside it.
ChartModel cycleOf(const QList<qint64>& elapsed, double t1 = 100, const QList<double>& xs = {})
{
    ChartModel chart;
    // As the loader does: T1's keys do not move, so the series alongside it keep sharing them.
    chart.at(series::T1).points.reserve(elapsed.size());
    for (qsizetype i = 0; i < elapsed.size(); ++i) {
        const double x = xs.isEmpty() ? double(i + 1) : xs.at(i);
        chart.records().append(RecordTotals{x, elapsed[i], std::nullopt, RecordTotals::Unit::None});
        chart.at(series::T1).points.appendElapsed(x, t1 + double(i), elapsed[i]);
        chart.at(series::T2).points.appendAlongside(chart.at(series::T1).points, t1 - double(i));
        chart.at(series::WorkingTemperature)
            .points.appendAlongside(chart.at(series::T1).points, 2 * t1);
    }
    return chart;
}

QList<double> xsOf(const ChartPoints& points)
{
    return QList<double>(points.xs().begin(), points.xs().end());
}

ChartModel loaded(const QString& path)
{
    const OpenedCycle opened = openCycle(path, CycleSource::Picked, QLatin1Char('.'));
    return WczytajWykres(opened.lines, Language()).chart;
}

} // namespace

class TestComparison : public QObject
{
    Q_OBJECT

private slots:
    void alignedAtTheStart_data()
    {
        QTest::addColumn<QList<qint64>>("first");  // the drawn cycle's records' times
        QTest::addColumn<QList<qint64>>("second"); // the compared cycle's
        QTest::addColumn<QList<double>>("positions");
        QTest::addColumn<QList<double>>("firstXs"); // empty: 1, 2, ...
        QTest::newRow("equal sampling")
            << QList<qint64>{0, 10, 20, 30} << QList<qint64>{0, 10, 20, 30}
            << QList<double>{1, 2, 3, 4} << QList<double>{};
        QTest::newRow("second sampled twice as often")
            << QList<qint64>{0, 10, 20} << QList<qint64>{0, 5, 10, 15, 20}
            << QList<double>{1, 1.5, 2, 2.5, 3} << QList<double>{};
        QTest::newRow("second sampled half as often")
            << QList<qint64>{0, 10, 20, 30, 40} << QList<qint64>{0, 20, 40}
            << QList<double>{1, 3, 5} << QList<double>{};
        QTest::newRow("second longer: on at the first's mean seconds per record")
            << QList<qint64>{0, 10, 30} << QList<qint64>{0, 15, 30, 45, 60}
            << QList<double>{1, 2.25, 3, 4, 5} << QList<double>{};
        QTest::newRow("first of uneven sampling: linear between its records")
            << QList<qint64>{0, 10, 40} << QList<qint64>{0, 5, 25, 40}
            << QList<double>{1, 1.5, 2.5, 3} << QList<double>{};
        QTest::newRow("first of one record: the second keeps its own spacing")
            << QList<qint64>{0} << QList<qint64>{0, 20, 40} << QList<double>{1, 2, 3}
            << QList<double>{};
        // A time two records share stands at the later one.
        QTest::newRow("first's clock went back: the axis does not fold")
            << QList<qint64>{0, 10, 5, 20} << QList<qint64>{0, 10, 15, 20}
            << QList<double>{1, 3, 3.5, 4} << QList<double>{};
        // Past its last record a drawn cycle goes on at its seconds per x, not per record:
        // 20 s over x 0 to 3, so 40 s lies at x 6 (5 if the gap were not counted).
        QTest::newRow("a line that is no record between the first's records, second longer")
            << QList<qint64>{0, 10, 20} << QList<qint64>{0, 20, 40} << QList<double>{0, 3, 6}
            << QList<double>{0, 2, 3};
    }
    void alignedAtTheStart()
    {
        QFETCH(QList<qint64>, first);
        QFETCH(QList<qint64>, second);
        QFETCH(QList<double>, positions);
        QFETCH(QList<double>, firstXs);

        const Comparison comparison =
            compareCycles(cycleOf(first, 100, firstXs), cycleOf(second, 50), QStringLiteral("7"));

        QCOMPARE(comparison.number, QStringLiteral("7"));
        for (const int s : {series::T1, series::T2, series::WorkingTemperature}) {
            const ChartPoints* points = comparison.pointsOf(s);
            QVERIFY(points);
            QCOMPARE(xsOf(*points), positions);
            // Values and times are the compared cycle's own.
            QCOMPARE(points->y(1), cycleOf(second, 50).at(s).points.y(1));
            QCOMPARE(points->elapsed(points->size() - 1), second.last());
        }
    }

    // Only temperatures the compared cycle holds; those loaded alongside T1 share its placed
    // columns, the others are placed on their own at the same positions.
    void keepsTheComparedTemperatures()
    {
        ChartModel second = cycleOf({0, 10, 20});
        for (const qint64 elapsed : {0, 20})
            second.at(series::BurnerTemperatureFirst + 2)
                .points.appendElapsed(elapsed == 0 ? 5 : 6, 300, elapsed);
        second.at(series::Power).points.appendElapsed(1, 40, 0);

        const Comparison comparison =
            compareCycles(cycleOf({0, 20, 40}), second, QStringLiteral("12"));

        QList<int> kept;
        for (const ComparedPoints& compared : comparison.series)
            kept.append(compared.series);
        QCOMPARE(kept, (QList<int>{series::T1, series::T2, series::BurnerTemperatureFirst + 2,
                                   series::WorkingTemperature}));
        QCOMPARE(xsOf(*comparison.pointsOf(series::BurnerTemperatureFirst + 2)),
                 (QList<double>{1, 2}));
        QVERIFY(comparison.pointsOf(series::T2)->xs().data() ==
                comparison.pointsOf(series::T1)->xs().data());
        QCOMPARE(comparison.lastPosition(), std::optional<double>(2));
        QVERIFY(compareCycles(ChartModel(), second, QStringLiteral("12")).isEmpty());
    }

    // Real files: a cycle compared with itself lies on its own points; sampled twice as often,
    // its points fall between the drawn records and its values read back at theirs.
    void loadedCycles()
    {
        QTemporaryDir dir;
        gen::CycleSpec spec;
        spec.durationSeconds = 1800;
        spec.samplePeriodSeconds = 20;
        const QString reference = dir.filePath(QStringLiteral("P1.csv"));
        gen::writeCycleFile(reference, spec);
        spec.samplePeriodSeconds = 10;
        const QString dense = dir.filePath(QStringLiteral("P2.csv"));
        gen::writeCycleFile(dense, spec);
        const ChartModel drawn = loaded(reference);

        const Comparison itself = compareCycles(drawn, drawn, cycleNumberOf(reference));
        QCOMPARE(itself.number, QStringLiteral("1"));
        for (const ComparedPoints& compared : itself.series)
            QCOMPARE(xsOf(compared.points), xsOf(drawn.at(compared.series).points));

        const ChartModel second = loaded(dense);
        const Comparison comparison = compareCycles(drawn, second, cycleNumberOf(dense));
        const ChartPoints& t1 = *comparison.pointsOf(series::T1);
        QCOMPARE(t1.size(), second.at(series::T1).points.size());
        const double x0 = drawn.records().first().x;
        QCOMPARE(t1.x(1), x0 + 0.5);
        QCOMPARE(t1.x(2), x0 + 1);
        QCOMPARE(comparedValueAt(t1, x0 + 1).value(), second.at(series::T1).points.y(2));
    }

    void valueAt_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("value"); // NaN: none
        // Points at 1, 2 and 4 with values 10, 20 and 60.
        QTest::newRow("on a point") << 2.0 << 20.0;
        QTest::newRow("between two points") << 3.0 << 40.0;
        QTest::newRow("within half a record before the first") << 0.6 << 10.0;
        QTest::newRow("within half a record past the last") << 4.5 << 60.0;
        QTest::newRow("farther before") << 0.4 << qQNaN();
        QTest::newRow("farther past") << 4.6 << qQNaN();
    }
    void valueAt()
    {
        QFETCH(double, x);
        QFETCH(double, value);
        ChartPoints points;
        points.appendElapsed(1, 10, 0);
        points.appendElapsed(2, 20, 10);
        points.appendElapsed(4, 60, 30);
        const std::optional<double> found = comparedValueAt(points, x);
        QCOMPARE(found.has_value(), !std::isnan(value));
        if (found)
            QCOMPARE(*found, value);
    }

    // The hair line: both values of each shown compared series, the difference second minus
    // first; hidden series and series the second cycle lacks are left out.
    void valuesAtTheHairLine()
    {
        ChartModel drawn = cycleOf({0, 10, 20}, 100);
        drawn.at(series::T2).active = false;
        drawn.at(series::BurnerTemperatureFirst).points.appendElapsed(2, 250, 10);
        const Comparison comparison =
            compareCycles(drawn, cycleOf({0, 5, 10, 15, 20}, 90), QStringLiteral("3"));

        const QVector<ComparedValue> values = comparedValuesAt(drawn, comparison, 2);
        QCOMPARE(values, (QVector<ComparedValue>{{series::T1, 101, 92},
                                                 {series::WorkingTemperature, 200, 180}}));
        QCOMPARE(values.first().difference(), -9.0);
    }

    void names()
    {
        QCOMPARE(comparedTitle(QStringLiteral("%1 (nr %2)"), QStringLiteral("T1"),
                               cycleNumberOf(QStringLiteral("/store/oven/P123.csv"))),
                 QStringLiteral("T1 (nr 123)"));
    }
};

QTEST_GUILESS_MAIN(TestComparison)
#include "test_comparison.moc"
