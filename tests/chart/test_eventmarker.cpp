#include "cyclefixture.h"

#include "base/language.h"
#include "chart/chartmodel.h"
#include "chart/eventmarker.h"

#include <QTest>

using namespace kvaro;
using namespace kvaro::test;

Q_DECLARE_METATYPE(kvaro::ChartBubble)

class TestEventMarker : public QObject
{
    Q_OBJECT

private slots:
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
};

int runEventMarkerTests(int argc, char** argv)
{
    TestEventMarker test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_eventmarker.moc"
