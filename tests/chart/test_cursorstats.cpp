#include "loadedcycle.h"

#include "chart/chartmodel.h"
#include "chart/cursorstats.h"

#include <QTest>

using namespace kvaro;
using namespace kvaro::test;

class TestCursorStats : public QObject
{
    Q_OBJECT

private slots:
    // The cursors' table on a small burner cycle and an electric one: records at 0, 10,
    // 30, 60 and 120 s, working temperatures 100, 120, 150, 140, 160, consumption counters
    // 1.5, 1.75, 2, 2.5, 3 (kg of fuel, or kWh for the electric oven).
    void cursorStats_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("lastCode");   // the last record's heating type
        QTest::addColumn<QString>("fuelAtLast"); // the last record's counter as written
        QTest::addColumn<bool>("t1Shown");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<qint64>("elapsedDifference");
        QTest::addColumn<QList<double>>("working"); // at A, at B, min, max, mean
        QTest::addColumn<double>("consumed");       // NaN: none
        QTest::addColumn<int>("unit");
        const int kg = int(RecordTotals::Unit::Kilograms);
        const int kwh = int(RecordTotals::Unit::KilowattHours);
        const double none = qQNaN();
        QTest::newRow("A before B, between records")
            << "1"
            << "1"
            << "3" << true << 0.8 << 3.3 << qint64(50)
            << QList<double>{120, 140, 120, 150, 410.0 / 3} << 0.75 << kg;
        QTest::newRow("B before A: differences reverse, the fuel used does not")
            << "1"
            << "1"
            << "3" << true << 3.0 << 1.0 << qint64(-50)
            << QList<double>{140, 120, 120, 150, 410.0 / 3} << 0.75 << kg;
        QTest::newRow("both on one record") << "1"
                                            << "1"
                                            << "3" << true << 2.0 << 2.0 << qint64(0)
                                            << QList<double>{150, 150, 150, 150, 150} << 0.0 << kg;
        QTest::newRow("beyond the drawn records: the first and the last")
            << "0"
            << "0"
            << "3" << false << -20.0 << 99.0 << qint64(120)
            << QList<double>{100, 160, 100, 160, 134} << 1.5 << kg;
        QTest::newRow("electric: energy") << "3"
                                          << "3"
                                          << "3" << true << 0.0 << 4.0 << qint64(120)
                                          << QList<double>{100, 160, 100, 160, 134} << 1.5 << kwh;
        QTest::newRow("a counter that is no number: no fuel figure, the rest stays")
            << "1"
            << "1"
            << "n/a" << true << 0.0 << 4.0 << qint64(120) << QList<double>{100, 160, 100, 160, 134}
            << none << 0;
        // A counts kilograms, B kilowatt hours: no figure rather than their difference.
        QTest::newRow("A and B on records of different units")
            << "1"
            << "3"
            << "3" << true << 0.0 << 4.0 << qint64(120) << QList<double>{100, 160, 100, 160, 134}
            << none << 0;
    }

    void cursorStats()
    {
        QFETCH(QString, code);
        QFETCH(QString, lastCode);
        QFETCH(QString, fuelAtLast);
        QFETCH(bool, t1Shown);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(qint64, elapsedDifference);
        QFETCH(QList<double>, working);
        QFETCH(double, consumed);
        QFETCH(int, unit);

        const int seconds[] = {0, 10, 30, 60, 120};
        const QString temperatures[] = {"100", "120", "150", "140", "160"};
        const QString counters[] = {"1.5", "1,75", "2", "2.5", fuelAtLast};
        QList<Rec> list;
        for (int i = 0; i < 5; ++i) {
            Rec r;
            r.code = i == 4 ? lastCode : code;
            r.time = QTime(10, 0, 0).addSecs(seconds[i]);
            r.working = temperatures[i];
            r.t1 = QString::number(20 + i);
            (r.code == QLatin1String("3") ? r.energy : r.fuel) = counters[i];
            list.append(r);
        }
        Window w;
        w.load(cycle(list));
        // The filter list starts with every series hidden; the user checks two.
        w.chart.at(series::WorkingTemperature).active = true;
        w.chart.at(series::T1).active = t1Shown;

        const CursorStats stats = kvaro::cursorStats(w.chart, a, b);
        QCOMPARE(stats.elapsedDifference(), std::optional<qint64>(elapsedDifference));
        QCOMPARE(stats.series.size(), t1Shown ? 2 : 1);
        const SeriesSpan& span = stats.series.constLast();
        QCOMPARE(span.series, series::WorkingTemperature);
        QCOMPARE((QList<double>{span.atA, span.atB, span.minimum, span.maximum, span.mean}),
                 working);
        QCOMPARE(span.difference(), working.at(1) - working.at(0));
        if (t1Shown)
            QCOMPARE(stats.series.constFirst().series, series::T1);
        QCOMPARE(stats.consumed.has_value(), !qIsNaN(consumed));
        if (stats.consumed)
            QVERIFY(qFuzzyCompare(1 + *stats.consumed, 1 + consumed));
        QCOMPARE(int(stats.unit), unit);
        // What the summary shows of the counter is left as the file writes it.
        if (code != QLatin1String("3") && lastCode == code)
            QCOMPARE(w.summary.consumption, fuelAtLast + QStringLiteral("kg"));
    }
};

int runCursorStatsTests(int argc, char** argv)
{
    TestCursorStats test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_cursorstats.moc"
