#include "loadedcycle.h"

#include "base/failure.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "cycles/fields.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kvaro;

Q_DECLARE_METATYPE(kvaro::ChartBubble)
using namespace kvaro::test;

namespace {

QList<Rec> timed(const QStringList& times)
{
    QList<Rec> list;
    for (const QString& t : times) {
        Rec r;
        r.time = QTime::fromString(t, QStringLiteral("hh:mm:ss"));
        list.append(r);
    }
    return list;
}

} // namespace

class TestChartLoader : public QObject
{
    Q_OBJECT

private slots:
    void elapsedLabels_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("minutes, then hours") << QStringList{"19:44:17", "19:44:22", "20:45:25"}
                                             << QStringList{"00:00", "00:05", "01:01:08"};
        // A start at midnight is a start like any other.
        QTest::newRow("started at midnight") << QStringList{"00:00:00", "00:00:05", "00:00:07"}
                                             << QStringList{"00:00", "00:05", "00:07"};
        QTest::newRow("across midnight") << QStringList{"23:00:00", "23:59:59", "00:30:00"}
                                         << QStringList{"00:00", "59:59", "01:30:00"};
        QTest::newRow("longer than a day")
            << QStringList{"10:00:00", "23:00:00", "09:00:00", "11:01:08"}
            << QStringList{"00:00", "13:00:00", "23:00:00", "25:01:08"};
        QTest::newRow("same second twice") << QStringList{"08:00:00", "08:00:00", "08:00:01"}
                                           << QStringList{"00:00", "00:00", "00:01"};
        // Midnight is counted from record to record, not against the start.
        QTest::newRow("two records after midnight")
            << QStringList{"23:00:00", "00:30:00", "01:00:00"}
            << QStringList{"00:00", "01:30:00", "02:00:00"};
        // Only a step back of more than 12 hours is midnight; a smaller one is the clock
        // being set, and the time is its distance from the start.
        QTest::newRow("clock set back a few seconds")
            << QStringList{"10:00:00", "10:00:30", "10:00:20", "10:01:00"}
            << QStringList{"00:00", "00:30", "00:20", "01:00"};
        QTest::newRow("clock set back below the start")
            << QStringList{"10:00:00", "09:59:58", "10:00:05"}
            << QStringList{"00:00", "00:02", "00:05"};
        QTest::newRow("summer time ends: back an hour")
            << QStringList{"01:50:00", "02:59:00", "02:00:00", "02:10:00"}
            << QStringList{"00:00", "01:09:00", "10:00", "20:00"};
        QTest::newRow("back exactly 12 hours is the clock")
            << QStringList{"12:00:00", "23:59:59", "11:59:59"}
            << QStringList{"00:00", "11:59:59", "00:01"};
        QTest::newRow("back 12 hours and a second is midnight")
            << QStringList{"12:00:00", "23:59:59", "11:59:58"}
            << QStringList{"00:00", "11:59:59", "23:59:58"};
    }
    void elapsedLabels()
    {
        QFETCH(QStringList, times);
        QFETCH(QStringList, labels);
        Window w;
        w.load(cycle(timed(times)));
        for (int series : {series::T1, series::T2, series::WorkingTemperature,
                           series::BurnerTemperatureFirst + 7})
            QCOMPARE(w.labels(series), labels);
    }

    void positionsCountLinesNotPoints()
    {
        LineBuffer memo = cycle(records(3));
        QStringList lines = memo.lines();
        QStringList odd = Split(lines.at(2));
        odd[0] = QStringLiteral("9");
        lines.insert(2, odd.join(QLatin1Char(';')));
        memo.setLines(lines);
        Window w;
        w.load(memo);
        QCOMPARE(w.xs(series::T1), (QList<double>{0, 2, 3}));
        QCOMPARE(w.xs(series::WorkingTemperature), (QList<double>{0, 2, 3}));
    }

    void drawnLines_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("blankLines"); // after the end record
        QTest::addColumn<int>("points");
        QTest::newRow("3 lines: line 1 only") << 3 << 0 << 1;
        QTest::newRow("4 lines: one record") << 4 << 0 << 1;
        QTest::newRow("6 lines: three records") << 6 << 0 << 3;
        QTest::newRow("blank lines at the end are no lines") << 6 << 2 << 3;
    }
    void drawnLines()
    {
        QFETCH(int, lineCount);
        QFETCH(int, blankLines);
        QFETCH(int, points);
        LineBuffer memo = cycle(records(4));
        memo.setLines(memo.lines().mid(0, lineCount) + QStringList(blankLines, QString()));
        Window w;
        w.load(memo);
        QCOMPARE(w.chart.at(series::T1).points.size(), points);
        QCOMPARE(w.chart.at(series::T1).points.first().label, QStringLiteral("00:00"));
    }

    void seriesOfEachHeatingType_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("power");
        QTest::addColumn<bool>("exchangers");
        QTest::newRow("oil") << "0" << false << true;
        QTest::newRow("gas") << "2" << false << true;
        QTest::newRow("electric") << "3" << true << false;
    }
    void seriesOfEachHeatingType()
    {
        QFETCH(QString, code);
        QFETCH(bool, power);
        QFETCH(bool, exchangers);
        QList<Rec> list = records(3, code);
        list[1].events[0] = 2;
        Window w;
        w.load(cycle(list));
        QCOMPARE(w.chart.at(series::Power).points.size(), power ? 3 : 0);
        for (int k = 0; k < 8; ++k)
            QCOMPARE(w.chart.at(series::BurnerTemperatureFirst + k).points.size(),
                     exchangers ? 3 : 0);
        QCOMPARE(w.chart.at(series::event(1, 2)).bubbles.size(), exchangers ? 1 : 0);
        QCOMPARE(w.summary.consumption,
                 power ? QStringLiteral("3.25 kWh") : QStringLiteral("1.5kg"));
    }

    void outputArrows_data()
    {
        QTest::addColumn<int>("output");
        QTest::addColumn<QStringList>("flags");    // lines 1..11 of a file of 12 lines
        QTest::addColumn<QList<double>>("arrows"); // x0, x1 pairs
        const QStringList twoRuns{"0", "1", "1", "1", "0", "0", "1", "0", "0", "0", "0"};
        QTest::newRow("two runs") << 0 << twoRuns << QList<double>{1, 3, 6, 6};
        QTest::newRow("second fan, same flags") << 4 << twoRuns << QList<double>{1, 3, 6, 6};
        QTest::newRow("run to the last scanned line")
            << 1 << QStringList{"0", "0", "0", "0", "0", "0", "1", "1", "1", "0", "0"}
            << QList<double>{6, 8};
        QTest::newRow("run into the closing line")
            << 2 << QStringList{"0", "0", "0", "0", "0", "0", "0", "0", "1", "1", "0"}
            << QList<double>{8, 9};
        QTest::newRow("never on") << 3 << QStringList(11, "0") << QList<double>{};
        // Only "1" is on: anything else ends a run and starts none.
        QTest::newRow("other values are off")
            << 0 << QStringList{"1", "1", "2", " 1", "1 ", "1", "0", "0", "0", "0", "0"}
            << QList<double>{0, 1, 5, 5};
    }
    void outputArrows()
    {
        QFETCH(int, output);
        QFETCH(QStringList, flags);
        QFETCH(QList<double>, arrows);
        QList<Rec> list = records(9);
        list.append(records(2));
        for (int i = 0; i < 11; ++i)
            list[i].outputs[std::size_t(output)] = flags.at(i);
        // Lines 1..11 come from the list; the closing lines of cycle() are cut off.
        LineBuffer memo = cycle(list);
        memo.setLines(memo.lines().mid(0, 12));
        Window w;
        w.load(memo);
        const double lane = output + 1;
        QList<double> got;
        for (const ChartArrow& a : w.chart.at(series::ArrowFirst + output).arrows) {
            QCOMPARE(a.y0, lane);
            QCOMPARE(a.y1, lane);
            got << a.x0 << a.x1;
        }
        QCOMPARE(got, arrows);
        for (int other = 0; other < 5; ++other) {
            if (other != output)
                QVERIFY(w.chart.at(series::ArrowFirst + other).arrows.isEmpty());
        }
    }

    void eventMarkers_data()
    {
        QTest::addColumn<int>("burner");
        QTest::addColumn<QList<int>>("codes");
        QTest::addColumn<QList<int>>("markers"); // series, x
        QTest::newRow("return to a code draws nothing new")
            << 1 << QList<int>{0, 2, 2, 0, 2, 5, 2} << QList<int>{17, 1, 20, 5, 17, 6};
        QTest::newRow("second burner, code 1 is series 24")
            << 2 << QList<int>{0, 1, 7} << QList<int>{24, 1, 30, 2};
        QTest::newRow("codes without a picture draw nothing")
            << 1 << QList<int>{0, 9, 3, 9, -1, 8} << QList<int>{18, 2};
        QTest::newRow("eighth burner") << 8 << QList<int>{4} << QList<int>{series::event(8, 4), 0};
    }
    void eventMarkers()
    {
        QFETCH(int, burner);
        QFETCH(QList<int>, codes);
        QFETCH(QList<int>, markers);
        QList<Rec> list = records(int(codes.size()));
        for (qsizetype i = 0; i < codes.size(); ++i) {
            list[i].events[std::size_t(burner - 1)] = codes.at(i);
            list[i].exchanger[std::size_t(burner - 1)] = QString::number(100 + i);
        }
        Window w;
        w.load(cycle(list));
        QList<int> got;
        QList<std::pair<double, double>> seen;
        for (int s = 0; s < SeriesCount; ++s) {
            for (const ChartBubble& b : w.chart.at(s).bubbles) {
                QCOMPARE(b.radius, 5.0);
                QCOMPARE(b.y, 100 + b.x); // on the burner's exchanger line
                // The records are a second apart from 10:00:00: the tooltip's times.
                QCOMPARE(b.timeOfDay, 10 * 3600 + int(b.x));
                QCOMPARE(b.elapsed, qint64(b.x));
                seen.append({b.x, double(s)});
            }
        }
        std::sort(seen.begin(), seen.end());
        for (const auto& [x, s] : seen)
            got << int(s) << int(x);
        QCOMPARE(got, markers);
    }

    void programmedTime_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QString>("label");
        QTest::newRow("padded") << "5"
                                << "30"
                                << "05:30";
        QTest::newRow("seconds padded") << "12"
                                        << "7"
                                        << "12:07";
        QTest::newRow("long minutes") << "125"
                                      << "0"
                                      << "125:00";
    }
    void programmedTime()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        QFETCH(QString, label);
        FirstSettings settings;
        settings.minutes = minutes;
        settings.seconds = seconds;
        Window w;
        w.load(cycle(records(2), settings));
        QCOMPARE(w.summary.programmedTime, label);
        QCOMPARE(w.summary.setTemperature, QStringLiteral("180 °C"));
    }

    void reachedAndHeld_data()
    {
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QStringList>("working");
        QTest::addColumn<QString>("label");
        // The set point's marks as record positions, -1 for none.
        QTest::addColumn<double>("reachedX");
        QTest::addColumn<double>("holdEndX");
        QTest::newRow("175 reaches 180")
            << QStringList{"10:00:00", "10:12:30", "11:30:05"} << QStringList{"20", "175", "150"}
            << "L15 12:30 L19: 77:35" << 1.0 << 2.0;
        // Seconds below ten keep their leading zero: "78:5" would read as 78:50.
        QTest::newRow("held 78 min 5 s")
            << QStringList{"10:00:00", "10:12:30", "11:30:35"} << QStringList{"20", "175", "150"}
            << "L15 12:30 L19: 78:05" << 1.0 << 2.0;
        QTest::newRow("174.9 does not")
            << QStringList{"10:00:00", "10:12:30", "11:30:05"}
            << QStringList{"20", "174.9", "174.9"} << "L46" << -1.0 << -1.0;
        // The first record is read before the set temperature is known.
        QTest::newRow("line 1 never reaches") << QStringList{"10:00:00", "10:00:10"}
                                              << QStringList{"200", "20"} << "L46" << -1.0 << -1.0;
        QTest::newRow("reached at the start only")
            << QStringList{"10:00:00", "10:00:00", "10:00:09"} << QStringList{"20", "180", "20"}
            << "L16 L19: 0:09" << 1.0 << 2.0;
        QTest::newRow("at the start, then later")
            << QStringList{"10:00:00", "10:00:00", "10:01:00", "10:02:00"}
            << QStringList{"20", "180", "180", "20"} << "L15 01:00 L19: 1:00" << 2.0 << 3.0;
        QTest::newRow("held across midnight")
            << QStringList{"23:50:00", "23:55:00", "00:05:00"} << QStringList{"20", "180", "180"}
            << "L15 05:00 L19: 10:00" << 1.0 << 2.0;
        // Summer time ends while the oven holds its temperature: no day is added.
        QTest::newRow("held while the clock goes back an hour")
            << QStringList{"02:10:00", "02:40:00", "02:59:00", "02:05:00"}
            << QStringList{"20", "180", "180", "180"} << "L15 30:00 L19: 25:00" << 1.0 << 3.0;
    }
    void reachedAndHeld()
    {
        QFETCH(QStringList, times);
        QFETCH(QStringList, working);
        QFETCH(QString, label);
        QFETCH(double, reachedX);
        QFETCH(double, holdEndX);
        QList<Rec> list = timed(times);
        for (qsizetype i = 0; i < list.size(); ++i)
            list[i].working = working.at(i);
        Window w;
        w.summary.setTemperatureReached = QStringLiteral("from the previous cycle");
        w.load(cycle(list));
        QCOMPARE(w.summary.setTemperatureReached, label);
        const SetPointTrace& trace = w.chart.setPoint();
        QCOMPARE(trace.temperature - trace.band, 175.0);
        QCOMPARE(trace.reachedX.value_or(-1), reachedX);
        QCOMPARE(trace.holdEndX.value_or(-1), holdEndX);
    }

    void meanDifference_data()
    {
        QTest::addColumn<QStringList>("temperatures"); // t1, t2 pairs
        QTest::addColumn<QString>("label");
        QTest::newRow("20/10 and 10/16") << QStringList{"20", "10", "10", "16"} << "L184°C";
        QTest::newRow("7.4 gives 3") << QStringList{"27.4", "20"} << "L183°C";
        QTest::newRow("decimal comma") << QStringList{"20,5", "10", "10", "16"} << "L184°C";
    }
    void meanDifference()
    {
        QFETCH(QStringList, temperatures);
        QFETCH(QString, label);
        QList<Rec> list = records(int(temperatures.size() / 2));
        for (qsizetype i = 0; i < list.size(); ++i) {
            list[i].t1 = temperatures.at(2 * i);
            list[i].t2 = temperatures.at(2 * i + 1);
        }
        Window w;
        w.load(cycle(list));
        QCOMPARE(w.summary.meanHeatingDifference, label);
    }

    void heatingType_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("chart");
        QTest::addColumn<QString>("arrow3");
        QTest::addColumn<QString>("arrow6");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("oil") << "0" << true << "L23 1"
                             << "L23 2"
                             << "Olej" << QStringList{};
        QTest::newRow("gas 1") << "1" << true << "L23 1"
                               << "L23 2"
                               << "Gaz" << QStringList{};
        QTest::newRow("gas 2") << "2" << true << "L23 1"
                               << "L23 2"
                               << "Gaz" << QStringList{};
        QTest::newRow("electric") << "3" << true << "L24"
                                  << "L24 CH2"
                                  << "Prad" << QStringList{};
        QTest::newRow("7: not drawable") << "7" << false << "Grzałki"
                                         << "Palnik drugi"
                                         << "" << QStringList{"L17"};
    }
    void heatingType()
    {
        QFETCH(QString, code);
        QFETCH(bool, chart);
        QFETCH(QString, arrow3);
        QFETCH(QString, arrow6);
        QFETCH(QString, picture);
        QFETCH(QStringList, messages);
        Window w;
        w.load(cycle(records(3, code)));
        const SummaryShown& shown = w.summary.shown;
        QCOMPARE(shown.chart, chart);
        QCOMPARE(w.summary.cycleTabsEnabled, chart);
        QCOMPARE(w.chart.at(series::ArrowFirst).title, arrow3);
        QCOMPARE(w.chart.at(series::ArrowFirst + 3).title, arrow6);
        QCOMPARE(fuelPictureName(w.summary.fuel), picture);
        QCOMPARE(shown.fuelFooter, !picture.isEmpty());
        QCOMPARE(shown.oil, picture == QLatin1String("Olej"));
        QCOMPARE(shown.gas, picture == QLatin1String("Gaz"));
        QCOMPARE(shown.electricity, picture == QLatin1String("Prad"));
        QCOMPARE(w.messages.texts(), messages);
        QCOMPARE(w.summary.LoadedOvenKind, code.toInt());
        const bool burner = code.toInt() <= 2;
        QCOMPARE(shown.burners, burner);
        QCOMPARE(w.summary.burnerCount, burner ? QStringLiteral("2") : QString());
        // The load goes on after the message: the filter list is rebuilt.
        QVERIFY(w.filters.item(1).shown);
        if (!chart) // no record line was drawn, so there is no mean to show
            QCOMPARE(w.summary.meanHeatingDifference, QStringLiteral("L18"));
    }

    void previousLoadKeepsWhatThisOneDoesNotSet()
    {
        Window w;
        FirstSettings oil;
        oil.burners = QStringLiteral("3");
        oil.secondChannel = QStringLiteral("1");
        oil.regulation = QStringLiteral("1");
        oil.regulationLevel = QStringLiteral("70");
        QList<Rec> oilRecords = records(3);
        oilRecords[1].probes = QStringLiteral("4");
        w.load(cycle(oilRecords, oil));
        QCOMPARE(w.summary.LoadedBurnerCount, 3);
        QCOMPARE(w.summary.LoadedProbeCount, 4);
        QVERIFY(w.summary.shown.secondChannel);
        QVERIFY(w.summary.shown.powerBar);
        QCOMPARE(w.summary.powerLevel, 70);

        QList<Rec> electric = records(3, QStringLiteral("3"));
        for (Rec& r : electric)
            r.probes = QStringLiteral("1");
        w.load(cycle(electric));
        const SummaryShown& shown = w.summary.shown;
        QVERIFY(shown.electricity && shown.fuelFooter && !shown.oil && !shown.gas);
        QCOMPARE(w.summary.fuel, FuelPicture::Prad);
        QVERIFY(!shown.burners && !shown.burnerCount);
        QCOMPARE(w.summary.burnerCount, QStringLiteral("3"));
        QCOMPARE(w.summary.LoadedBurnerCount, 3);
        QCOMPARE(w.summary.LoadedProbeCount, 1);
        QVERIFY(!shown.secondChannel && !shown.powerBar && !shown.powerRegulation);
        QCOMPARE(w.summary.powerLevel, 70);

        // A drawable cycle after one that was not enables the tabs again.
        w.load(cycle(records(2, QStringLiteral("7"))));
        QVERIFY(!w.summary.cycleTabsEnabled);
        QCOMPARE(w.summary.LoadedBurnerCount, 3);
        QVERIFY(w.filters.item(FilterList::burnerHeader(3)).shown);
        w.load(cycle(records(2)));
        QVERIFY(w.summary.cycleTabsEnabled);
        QCOMPARE(w.summary.LoadedBurnerCount, 2);
    }

    void failureStopsTheLoad_data()
    {
        QTest::addColumn<int>("line");       // the line to change
        QTest::addColumn<int>("fieldIndex"); // -1: empty the line; else the field to set
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("points");  // left in series 0
        QTest::addColumn<bool>("inLoop"); // stopped before the figures after the loop
        QTest::newRow("decimal") << 3 << int(field::T2) << "2o"
                                 << "'2o' is not a valid floating point value" << 3 << true;
        QTest::newRow("empty line") << 2 << -1 << ""
                                    << "List index out of bounds (0)" << 1 << true;
        QTest::newRow("hour 24") << 3 << int(field::Hour) << "24"
                                 << "Invalid argument to time encode" << 2 << true;
        QTest::newRow("event code") << 2 << int(field::burnerEvent(0)) << "x"
                                    << "'x' is not a valid integer value" << 2 << true;
        QTest::newRow("first record kind") << 1 << int(field::HeatingType) << "oil"
                                           << "'oil' is not a valid integer value" << 0 << true;
        QTest::newRow("short first record") << 1 << 59 << ""
                                            << "List index out of bounds (59)" << 1 << true;
        // The output scan comes after the summary figures.
        QTest::newRow("flag missing on the closing line")
            << 5 << int(field::OutputFan2) << ""
            << "List index out of bounds (35)" << 4 << false;
    }
    void failureStopsTheLoad()
    {
        QFETCH(int, line);
        QFETCH(int, fieldIndex);
        QFETCH(QString, value);
        QFETCH(QString, text);
        QFETCH(int, points);
        QFETCH(bool, inLoop);
        QList<Rec> list = records(4);
        list[3].outputs[4] = QStringLiteral("1"); // a run reaching line 5
        LineBuffer memo = cycle(list);
        QStringList lines = memo.lines();
        if (fieldIndex < 0) {
            lines[line].clear();
        } else if (value.isEmpty()) {
            lines[line] = Split(lines.at(line)).mid(0, fieldIndex).join(QLatin1Char(';'));
        } else {
            QStringList f = Split(lines.at(line));
            f[fieldIndex] = value;
            lines[line] = f.join(QLatin1Char(';'));
        }
        memo.setLines(lines);

        Window w;
        w.filters.setShown(44, true); // the filter list must keep its state
        try {
            w.load(memo);
            QFAIL("the load ran to its end");
        } catch (const Failure& failure) {
            QCOMPARE(failure.text(), text);
            QCOMPARE(failure.file(), QStringLiteral("P7.csv"));
            QCOMPARE(failure.line(), line);
        }
        QCOMPARE(w.chart.at(series::T1).points.size(), points);
        QVERIFY(w.filters.item(44).shown);
        QCOMPARE(w.summary.meanHeatingDifference.isEmpty(), inLoop);
    }
};

int runChartLoaderTests(int argc, char** argv)
{
    TestChartLoader test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_chartloader.moc"
