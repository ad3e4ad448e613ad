#include "cyclefixture.h"

#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/cursorstats.h"
#include "chart/eventmarker.h"
#include "chart/filterlist.h"
#include "chart/openedcycle.h"
#include "cycles/failure.h"
#include "cycles/fields.h"
#include "cycles/platform.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kvaro;

Q_DECLARE_METATYPE(kvaro::ChartBubble)
using namespace kvaro::test;

namespace {

// What the window holds across loads: the chart, the summary, the filter list.
struct Window {
    ChartModel chart;
    ChartSummary summary;
    FilterList filters;
    RecordingMessages messages;
    Language language = numberedLanguage();

    void load(const LineBuffer& memo1)
    {
        chart.clearAll();
        WczytajWykres(memo1, language, chart, summary, filters, messages);
    }
    QStringList labels(int series) const
    {
        QStringList list;
        for (const ChartPoint& p : chart.at(series).points)
            list.append(p.label);
        return list;
    }
    QList<double> xs(int series) const
    {
        QList<double> list;
        for (const ChartPoint& p : chart.at(series).points)
            list.append(p.x);
        return list;
    }
};

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
    // The file dialog, a click on a listed cycle and kvaro-cli all open a cycle this way.
    void openCycle_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QChar>("decimalSeparator");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("drawable");
        const QByteArray controller = "M,A\r\n0,1.5\r\n0,2.5\r\n";
        QTest::newRow("picked, as the controller writes it")
            << controller << false << QChar(u',') << QStringList{"m;a", "0;1,5", "0;2,5"} << true;
        QTest::newRow("picked, a stored copy")
            << QByteArray("M;A\r\n0;1,5\r\n0;2,5") << false << QChar(u'.')
            << QStringList{"m;a", "0;1.5", "0;2.5"} << true;
        // The store normalised it when it imported it; doing so again would change it.
        QTest::newRow("stored is taken as it stands")
            << controller << true << QChar(u',') << QStringList{"m,a", "0,1.5", "0,2.5"} << true;
        QTest::newRow("two lines") << QByteArray("M;A\n0;1\n") << true << QChar(u'.')
                                   << QStringList{"m;a", "0;1"} << false;
        // An editor's blank lines after the last record do not make a cycle.
        QTest::newRow("two lines and blank ones")
            << QByteArray("M;A\n0;1\n\n\r\n") << false << QChar(u'.')
            << QStringList{"m;a", "0;1", "", ""} << false;
        QTest::newRow("three lines and a blank one")
            << QByteArray("M;A\n0;1\n0;2\n\n") << true << QChar(u'.')
            << QStringList{"m;a", "0;1", "0;2", ""} << true;
        QTest::newRow("empty file")
            << QByteArray() << false << QChar(u'.') << QStringList{} << false;
    }
    void openCycle()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, stored);
        QFETCH(QChar, decimalSeparator);
        QFETCH(QStringList, lines);
        QFETCH(bool, drawable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P7.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const OpenedCycle opened = kvaro::openCycle(
            path, stored ? CycleSource::Stored : CycleSource::Picked, decimalSeparator);
        QCOMPARE(opened.lines.lines(), lines);
        QCOMPARE(opened.lines.fileName(), path);
        QCOMPARE(opened.drawable, drawable);
    }
    void openCycleNamesAFileItCannotRead()
    {
        QTemporaryDir dir;
        try {
            (void)kvaro::openCycle(dir.filePath(QStringLiteral("P8.csv")), CycleSource::Picked,
                                   QLatin1Char('.'));
            QFAIL("a missing file was opened");
        } catch (const Failure& failure) {
            QVERIFY2(failure.message().contains(QStringLiteral("P8.csv")),
                     qPrintable(failure.message()));
        }
    }

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

    // What resting the pointer on a marker says, built from its series and the marker.
    void eventTooltip_data()
    {
        QTest::addColumn<int>("series");
        QTest::addColumn<bool>("english");
        QTest::addColumn<ChartBubble>("marker");
        QTest::addColumn<QString>("text");
        QTest::newRow("first burner's flame, under an hour")
            << series::event(1, 2) << true << ChartBubble{12, 180.5, 5, 8 * 3600 + 5 * 60 + 3, 65}
            << QStringLiteral("Burner 1: Flame\nat 08:05:03, 01:05 from the start\n"
                              "exchanger 180.5 \u00b0C");
        QTest::newRow("eighth burner's ignition, past an hour")
            << series::event(8, 7) << true << ChartBubble{3, -4, 5, 23 * 3600 + 59 * 60 + 59, 3725}
            << QStringLiteral("Burner 8: Ignition\nat 23:59:59, 01:02:05 from the start\n"
                              "exchanger -4.0 \u00b0C");
        // Series 23 (the working temperature) lies between the first and second burner's.
        QTest::newRow("second burner's first series follows the working temperature")
            << series::event(2, 1) << true << ChartBubble{0, 20, 5, 0, 0}
            << QStringLiteral("Burner 2: Burner working\nat 00:00:00, 00:00 from the start\n"
                              "exchanger 20.0 \u00b0C");
        QTest::newRow("fault, in the language's words")
            << series::event(3, 4) << false << ChartBubble{0, 99.34, 5, 36000, 600}
            << QStringLiteral("P3 L:Awaria\nT 10:00:00 / 10:00\nW 99.3");
        QTest::newRow("purge") << series::event(1, 5) << true << ChartBubble{0, 0, 5, 0, 1}
                               << QStringLiteral("Burner 1: Purge\nat 00:00:00, 00:01 from the "
                                                 "start\nexchanger 0.0 \u00b0C");
        QTest::newRow("cooling to temperature")
            << series::event(4, 3) << true << ChartBubble{0, 1, 5, 1, 2}
            << QStringLiteral("Burner 4: Cooling to temperature\nat 00:00:01, 00:02 from the "
                              "start\nexchanger 1.0 \u00b0C");
        QTest::newRow("mains failure") << series::event(5, 6) << true << ChartBubble{0, 1, 5, 1, 2}
                                       << QStringLiteral("Burner 5: Mains failure\nat 00:00:01, "
                                                         "00:02 from the start\nexchanger 1.0 "
                                                         "\u00b0C");
    }
    void eventTooltip()
    {
        QFETCH(int, series);
        QFETCH(bool, english);
        QFETCH(ChartBubble, marker);
        QFETCH(QString, text);
        QStringList lines;
        for (int n = 0; n < int(Text::EventWorking); ++n)
            lines.append(QStringLiteral("L%1").arg(n));
        lines << QStringLiteral("Praca") << QStringLiteral("Płomień") << QStringLiteral("Chł")
              << QStringLiteral("Awaria") << QStringLiteral("Przedmuch") << QStringLiteral("Zanik")
              << QStringLiteral("Zapłon") << QStringLiteral("P%1 L:%2")
              << QStringLiteral("T %1 / %2") << QStringLiteral("W %1");
        const Language language = english ? Language() : Language(lines);
        const std::optional<BurnerEvent> event = burnerEventOf(series);
        QVERIFY(event);
        QCOMPARE(kvaro::eventTooltip(language, *event, marker), text);
    }
    // Only the 56 marker series belong to a burner's event.
    void burnerEventOfEverySeries()
    {
        int markers = 0;
        for (int s = 0; s < SeriesCount; ++s) {
            const std::optional<BurnerEvent> event = burnerEventOf(s);
            QCOMPARE(bool(event), ChartModel().at(s).kind == SeriesKind::Bubble);
            if (event) {
                QCOMPARE(series::event(event->burner, event->code), s);
                ++markers;
            }
        }
        QCOMPARE(markers, 56);
        QVERIFY(!burnerEventOf(-1));
        QVERIFY(!burnerEventOf(SeriesCount));
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
        QCOMPARE(shown.Chart1, chart);
        QCOMPARE(w.summary.cycleTabsEnabled, chart);
        QCOMPARE(w.chart.at(series::ArrowFirst).title, arrow3);
        QCOMPARE(w.chart.at(series::ArrowFirst + 3).title, arrow6);
        QCOMPARE(fuelPictureName(w.summary.fuel), picture);
        QCOMPARE(shown.FooterImage, !picture.isEmpty());
        QCOMPARE(shown.Olej, picture == QLatin1String("Olej"));
        QCOMPARE(shown.Gaz, picture == QLatin1String("Gaz"));
        QCOMPARE(shown.Prad, picture == QLatin1String("Prad"));
        QCOMPARE(w.messages.texts(), messages);
        QCOMPARE(w.summary.LoadedOvenKind, code.toInt());
        const bool burner = code.toInt() <= 2;
        QCOMPARE(shown.PalnikImg, burner);
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
        QVERIFY(w.summary.shown.GrodzImg);
        QVERIFY(w.summary.shown.regulacjaMocyBar);
        QCOMPARE(w.summary.powerLevel, 70);

        QList<Rec> electric = records(3, QStringLiteral("3"));
        for (Rec& r : electric)
            r.probes = QStringLiteral("1");
        w.load(cycle(electric));
        const SummaryShown& shown = w.summary.shown;
        QVERIFY(shown.Prad && shown.FooterImage && !shown.Olej && !shown.Gaz);
        QCOMPARE(w.summary.fuel, FuelPicture::Prad);
        QVERIFY(!shown.PalnikImg && !shown.PalnikStatus);
        QCOMPARE(w.summary.burnerCount, QStringLiteral("3"));
        QCOMPARE(w.summary.LoadedBurnerCount, 3);
        QCOMPARE(w.summary.LoadedProbeCount, 1);
        QVERIFY(!shown.GrodzImg && !shown.regulacjaMocyBar && !shown.RegulacjaMocyImg);
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

    // The cursors' table on a small burner cycle and an electric one: records at 0, 10,
    // 30, 60 and 120 s, working temperatures 100, 120, 150, 140, 160, consumption counters
    // 1.5, 1.75, 2, 2.5, 3 (kg of fuel, or kWh for the electric oven).
    void cursorStats_data()
    {
        QTest::addColumn<QString>("code");
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
            << "3" << true << 0.8 << 3.3 << qint64(50)
            << QList<double>{120, 140, 120, 150, 410.0 / 3} << 0.75 << kg;
        QTest::newRow("B before A: differences reverse, the fuel used does not")
            << "1"
            << "3" << true << 3.0 << 1.0 << qint64(-50)
            << QList<double>{140, 120, 120, 150, 410.0 / 3} << 0.75 << kg;
        QTest::newRow("both on one record") << "1"
                                            << "3" << true << 2.0 << 2.0 << qint64(0)
                                            << QList<double>{150, 150, 150, 150, 150} << 0.0 << kg;
        QTest::newRow("beyond the drawn records: the first and the last")
            << "0"
            << "3" << false << -20.0 << 99.0 << qint64(120)
            << QList<double>{100, 160, 100, 160, 134} << 1.5 << kg;
        QTest::newRow("electric: energy") << "3"
                                          << "3" << true << 0.0 << 4.0 << qint64(120)
                                          << QList<double>{100, 160, 100, 160, 134} << 1.5 << kwh;
        QTest::newRow("a counter that is no number: no fuel figure, the rest stays")
            << "1"
            << "n/a" << true << 0.0 << 4.0 << qint64(120) << QList<double>{100, 160, 100, 160, 134}
            << none << 0;
    }

    void cursorStats()
    {
        QFETCH(QString, code);
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
            r.code = code;
            r.time = QTime(10, 0, 0).addSecs(seconds[i]);
            r.working = temperatures[i];
            r.t1 = QString::number(20 + i);
            (code == QLatin1String("3") ? r.energy : r.fuel) = counters[i];
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
        if (code != QLatin1String("3"))
            QCOMPARE(w.summary.consumption, fuelAtLast + QStringLiteral("kg"));
    }
};

int runChartLoaderTests(int argc, char** argv)
{
    TestChartLoader test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_chartloader.moc"
