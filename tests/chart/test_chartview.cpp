#include "chart/view/arrowlaneplottable.h"
#include "chart/view/bubbleplottable.h"
#include "chart/view/chartview.h"
#include "chart/view/elapsedticker.h"
#include "chart/view/eventpicture.h"
#include "chart/view/seriesstyle.h"
#include "tests/report/poppler.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <qcustomplot.h>

#include <cmath>
#include <set>

using namespace kvaro;

namespace {

// A short cycle: T1/T2 rising from 20 to 200 over 100 records, the working temperature,
// the power, one burner line with two events, and arrows on lanes 1 and 5.
ChartModel sampleModel()
{
    ChartModel model;
    for (int i = 0; i < 100; ++i) {
        const QString label = QStringLiteral("00:%1:00").arg(i, 2, 10, QLatin1Char('0'));
        const double t = 20 + 1.8 * i;
        model.at(series::T1).points.append({double(i), t, label});
        model.at(series::T2).points.append({double(i), t - 5, label});
        model.at(series::WorkingTemperature).points.append({double(i), t - 2, label});
        model.at(series::Power).points.append({double(i), 40, label});
        model.at(series::BurnerTemperatureFirst).points.append({double(i), t + 10, label});
    }
    model.at(series::ArrowFirst).arrows.append({10, 1, 40, 1});
    model.at(series::ArrowLast).arrows.append({50, 5, 120, 5});
    model.at(series::event(1, 2)).bubbles.append({30, 84, 5});
    model.at(series::event(1, 5)).bubbles.append({70, 156, 5});
    return model;
}

QCustomPlot* plotOf(ChartView& view)
{
    return view.findChild<QCustomPlot*>();
}

// The second axis rect, under the temperatures: the output lanes.
QCPAxisRect* laneRectOf(ChartView& view)
{
    QCustomPlot* plot = plotOf(view);
    return plot->axisRectCount() == 2 ? plot->axisRect(1) : nullptr;
}

// Points with these elapsed-time labels at x = 0, 1, 2, ...
QVector<ChartPoint> timedPoints(const QStringList& labels)
{
    QVector<ChartPoint> points;
    for (const QString& label : labels)
        points.append({double(points.size()), 20, label});
    return points;
}

// Rows of the image, inside the given columns, that hold a pixel of exactly this colour.
QVector<int> rowsWith(const QImage& image, QColor colour, int fromX, int toX)
{
    QVector<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = fromX; x < toX; ++x) {
            if (image.pixelColor(x, y) == colour) {
                rows.append(y);
                break;
            }
        }
    }
    return rows;
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Pixels close to a colour: anti-aliased edges aside, the body of a line keeps its pen.
int pixelsNear(const QImage& image, QColor colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                30)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestChartView : public QObject
{
    Q_OBJECT

private:
    ChartModel m_model;
    std::unique_ptr<ChartView> m_view;

private slots:
    void init()
    {
        m_model = sampleModel();
        m_view = std::make_unique<ChartView>();
        m_view->resize(900, 560);
        m_view->setModel(&m_model);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_view->resetZoom();
    }

    void cleanup() { m_view.reset(); }

    void drawsOnePlottablePerSeriesAndNoItems()
    {
        QCustomPlot* plot = plotOf(*m_view);
        QVERIFY(plot);
        QCOMPARE(plot->plottableCount(), SeriesCount);
        QCOMPARE(plot->itemCount(), 0);
        QVERIFY(!plot->legend->visible());
        int graphPoints = 0;
        for (int i = 0; i < plot->graphCount(); ++i)
            graphPoints += plot->graph(i)->dataCount();
        QCOMPARE(graphPoints, 5 * 100);
    }

    void hiddenSeriesIsNotDrawnAndLeavesTheRange()
    {
        QCustomPlot* plot = plotOf(*m_view);
        const double shownMax = m_view->leftMax();
        m_model.at(series::BurnerTemperatureFirst).active = false;
        m_model.at(series::BurnerTemperatureFirst).points.append({300, 900, QString()});
        m_view->refresh();
        QVERIFY(m_view->leftMax() < shownMax); // W1 ran 10 degrees above T1
        QVERIFY(m_view->leftMax() < 250);
        QVERIFY(m_view->bottomMax() < 150); // the arrow to 120 still counts
        int visible = 0;
        for (int i = 0; i < plot->plottableCount(); ++i)
            visible += plot->plottable(i)->visible() ? 1 : 0;
        QCOMPARE(visible, SeriesCount - 1);
    }

    void arrowLanesCountForTheTimeRangeOnly()
    {
        // The lanes have their own area: the temperature scale starts near the lowest
        // temperature (15), not at the lanes' heights in the model.
        QVERIFY(m_view->leftMin() > 1);
        QVERIFY(m_view->bottomMax() >= 120);
        m_model.at(series::ArrowFirst).active = false;
        m_model.at(series::ArrowLast).active = false;
        m_view->refresh();
        QVERIFY(m_view->leftMin() > 1);
        QCOMPARE(m_view->bottomMax(), 99.0);
    }

    void outputLanesLieUnderTheTemperatures_data()
    {
        QTest::addColumn<QList<int>>("shown"); // outputs 1..5 that are shown
        QTest::newRow("first and last") << QList<int>{1, 5};
        QTest::newRow("all five") << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("one") << QList<int>{3};
        QTest::newRow("none") << QList<int>{};
    }
    void outputLanesLieUnderTheTemperatures()
    {
        QFETCH(QList<int>, shown);
        // Only the lanes drawn: an anti-aliased edge of a red line can take a lane's colour.
        for (int i = 0; i < m_model.count(); ++i)
            m_model.at(i).active = false;
        for (int output = 1; output <= 5; ++output) {
            ChartSeries& lane = m_model.at(series::ArrowFirst + output - 1);
            lane.title = QStringLiteral("Out%1").arg(output);
            lane.arrows = {
                {double(10 * output), double(output), double(10 * output + 30), double(output)}};
            lane.active = shown.contains(output);
        }
        m_view->refresh();
        QCustomPlot* plot = plotOf(*m_view);
        plot->replot();
        QCPAxisRect* lanes = laneRectOf(*m_view);
        QVERIFY(lanes);
        const QRect temperatures = plot->axisRect(0)->rect();
        // Under the temperatures, on the same columns and the same time range.
        QVERIFY(lanes->rect().top() > temperatures.bottom());
        QCOMPARE(lanes->rect().left(), temperatures.left());
        QCOMPARE(lanes->rect().right(), temperatures.right());
        QCOMPARE(lanes->axis(QCPAxis::atBottom)->range(), plot->xAxis->range());
        m_view->zoomBy(110);
        m_view->panStep(30, 0);
        QCOMPARE(lanes->axis(QCPAxis::atBottom)->range(), plot->xAxis->range());
        m_view->resetZoom();
        QCOMPARE(lanes->rect().height(), int(shown.size() * ArrowLanePlottable::LanePitch));

        // Each shown output is named at the left of its lane, in output order.
        QStringList names;
        for (int output : shown)
            names << QStringLiteral("Out%1").arg(output);
        plot->replot();
        QCOMPARE(QStringList(lanes->axis(QCPAxis::atLeft)->tickVectorLabels().toList()), names);

        // The bars: in their own lane, at least 6 px high, 3 px or more apart.
        const QImage image = m_view->grabImage();
        int previousBottom = -1;
        for (int output : shown) {
            const QColor colour = seriesColour(series::ArrowFirst + output - 1);
            const QVector<int> rows =
                rowsWith(image, colour, lanes->rect().left(), lanes->rect().right());
            QVERIFY2(!rows.isEmpty(), qPrintable(QString::number(output)));
            QVERIFY(rows.constFirst() >= lanes->rect().top());
            QVERIFY(rows.constLast() <= lanes->rect().bottom());
            QVERIFY(rows.constLast() - rows.constFirst() + 1 >= 6);
            if (previousBottom >= 0)
                QVERIFY(rows.constFirst() - previousBottom > 3);
            previousBottom = rows.constLast();
        }
    }

    void timeMarksAreRoundElapsedTimes_data()
    {
        QTest::addColumn<int>("span");     // seconds from the first record to the last
        QTest::addColumn<int>("interval"); // seconds between records
        QTest::addColumn<int>("step");     // expected seconds between marks
        QTest::newRow("30 s") << 30 << 1 << 5;
        QTest::newRow("2 min") << 120 << 1 << 10;
        QTest::newRow("10 min") << 600 << 2 << 60;
        QTest::newRow("30 min") << 1800 << 10 << 300;
        QTest::newRow("1 h") << 3600 << 10 << 300;
        QTest::newRow("3 h") << 10800 << 30 << 900;
        QTest::newRow("8 h") << 28800 << 60 << 3600;
        QTest::newRow("24 h") << 86400 << 60 << 7200;
        QTest::newRow("48 h") << 172800 << 120 << 14400;
    }
    void timeMarksAreRoundElapsedTimes()
    {
        QFETCH(int, span);
        QFETCH(int, interval);
        QFETCH(int, step);
        const double pixels = 1000;
        QStringList labels;
        for (int t = 0; t <= span; t += interval)
            labels << ElapsedTicker::format(t).mid(t < 3600 ? 3 : 0); // as the loader writes
        ElapsedTicker ticker;
        ticker.setPoints(timedPoints(labels));
        const QCPRange range(0, labels.size() - 1);
        const QVector<ElapsedTicker::Tick> ticks = ticker.ticksFor(range, pixels);
        QCOMPARE(ticks.size(), span / step + 1);
        for (qsizetype i = 0; i < ticks.size(); ++i) {
            const qint64 seconds = i * step;
            QCOMPARE(ticks[i].label, ElapsedTicker::format(seconds));
            QCOMPARE(ticks[i].x, double(seconds / interval));
        }
        // About one mark per 80 to 200 pixels.
        const double spacing = pixels * step / span;
        QVERIFY2(spacing >= 80 && spacing <= 200, qPrintable(QString::number(spacing)));
    }

    void timeMarkSitsAtTheFirstRecordReachingItsTime_data()
    {
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<QList<double>>("xs");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("uneven records")
            << QStringList{"00:00", "00:07", "00:13", "00:21", "00:29"}
            << QList<double>{0, 1, 2, 3, 4}
            << QStringList{"00:00:00", "00:00:05", "00:00:10", "00:00:20", "00:00:25"};
        // The clock went back: the time already reached is not reached a second time.
        QTest::newRow("clock back")
            << QStringList{"00:00", "00:12", "00:04", "00:18", "00:29"} << QList<double>{0, 1, 3, 4}
            << QStringList{"00:00:00", "00:00:10", "00:00:15", "00:00:25"};
        QTest::newRow("one record")
            << QStringList{"00:00"} << QList<double>{0} << QStringList{"00:00:00"};
        QTest::newRow("past an hour")
            << QStringList{"59:50", "01:00:00", "01:00:20"} << QList<double>{0, 1, 2}
            << QStringList{"00:59:50", "01:00:00", "01:00:20"};
    }
    void timeMarkSitsAtTheFirstRecordReachingItsTime()
    {
        QFETCH(QStringList, labels);
        QFETCH(QList<double>, xs);
        QFETCH(QStringList, marks);
        ElapsedTicker ticker;
        ticker.setPoints(timedPoints(labels));
        const QVector<ElapsedTicker::Tick> ticks =
            ticker.ticksFor(QCPRange(-0.5, labels.size() - 0.5), 1000);
        QStringList gotMarks;
        QList<double> gotXs;
        for (const ElapsedTicker::Tick& tick : ticks) {
            gotMarks << tick.label;
            gotXs << tick.x;
        }
        QCOMPARE(gotMarks, marks);
        QCOMPARE(gotXs, xs);
    }

    void fixedAxesIgnoreShownChangesUntilReset()
    {
        m_model.at(series::BurnerTemperatureFirst).points[50].y = 600;
        m_view->refresh();
        m_view->zoomBy(105);
        const double max = m_view->leftMax();
        m_model.at(series::BurnerTemperatureFirst).active = false;
        m_view->refresh();
        QCOMPARE(m_view->leftMax(), max);
        m_view->resetZoom();
        QVERIFY(m_view->isAutomatic(Qt::Vertical));
        QVERIFY(m_view->isAutomatic(Qt::Horizontal));
        QVERIFY(max > 500);
        QVERIFY(m_view->leftMax() < 250);
    }

    void zoomInThenOutLeavesNinetyNinePercent()
    {
        const double bottomSpan = m_view->bottomMax() - m_view->bottomMin();
        const double leftSpan = m_view->leftMax() - m_view->leftMin();
        const double bottomCentre = (m_view->bottomMax() + m_view->bottomMin()) / 2;
        m_view->zoomBy(105);
        QCOMPARE(m_view->bottomMax() - m_view->bottomMin(), bottomSpan * 0.9);
        m_view->zoomBy(95);
        QVERIFY(qFuzzyCompare(m_view->bottomMax() - m_view->bottomMin(), bottomSpan * 0.99));
        QVERIFY(qFuzzyCompare(m_view->leftMax() - m_view->leftMin(), leftSpan * 0.99));
        QVERIFY(qFuzzyCompare((m_view->bottomMax() + m_view->bottomMin()) / 2, bottomCentre));
        QVERIFY(!m_view->isAutomatic(Qt::Horizontal));
        QVERIFY(!m_view->isAutomatic(Qt::Vertical));
    }

    void dragPansOnlyWhereAllowed_data()
    {
        QTest::addColumn<bool>("allowHorizontal");
        QTest::addColumn<bool>("allowVertical");
        QTest::newRow("both allowed") << true << true;
        QTest::newRow("vertical refused") << true << false;
        QTest::newRow("horizontal refused") << false << true;
        QTest::newRow("both refused") << false << false;
    }

    void dragPansOnlyWhereAllowed()
    {
        QFETCH(bool, allowHorizontal);
        QFETCH(bool, allowVertical);
        struct Offer {
            Qt::Orientation axis;
            double min;
            double max;
        };
        QVector<Offer> offers;
        m_view->setScrollPermission([&](Qt::Orientation axis, double min, double max) {
            offers.append({axis, min, max});
            return axis == Qt::Horizontal ? allowHorizontal : allowVertical;
        });
        const QCPRange bottom(m_view->bottomMin(), m_view->bottomMax());
        const QCPRange left(m_view->leftMin(), m_view->leftMax());

        QCustomPlot* plot = plotOf(*m_view);
        const QPoint start = plot->axisRect()->rect().center();
        const QPoint end = start + QPoint(40, 25);
        sendMouse(plot, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
        sendMouse(plot, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);

        QCOMPARE(offers.size(), 2);
        const Offer horizontal = offers[0].axis == Qt::Horizontal ? offers[0] : offers[1];
        const Offer vertical = offers[0].axis == Qt::Vertical ? offers[0] : offers[1];
        QCOMPARE(horizontal.axis, Qt::Horizontal);
        QCOMPARE(vertical.axis, Qt::Vertical);
        // Dragging right and down shows earlier positions and higher temperatures.
        QVERIFY(horizontal.min < bottom.lower);
        QVERIFY(qFuzzyCompare(horizontal.max - horizontal.min, bottom.size()));
        QVERIFY(vertical.min > left.lower);
        QVERIFY(qFuzzyCompare(vertical.max - vertical.min, left.size()));

        QCOMPARE(m_view->bottomMin(), allowHorizontal ? horizontal.min : bottom.lower);
        QCOMPARE(m_view->bottomMax(), allowHorizontal ? horizontal.max : bottom.upper);
        QCOMPARE(m_view->leftMin(), allowVertical ? vertical.min : left.lower);
        QCOMPARE(m_view->leftMax(), allowVertical ? vertical.max : left.upper);
        QCOMPARE(m_view->isAutomatic(Qt::Horizontal), !allowHorizontal);
        QCOMPARE(m_view->isAutomatic(Qt::Vertical), !allowVertical);
    }

    // Markers of one record, from any burner, stand side by side in series order.
    void markersOfOneRecordFanOut_data()
    {
        QTest::addColumn<QList<int>>("markers"); // series, x, series, x, ...
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<QList<double>>("shifts"); // in marker order
        const int flame1 = series::event(1, 2);
        const int fault2 = series::event(2, 4);
        const int purge8 = series::event(8, 5);
        QTest::newRow("a lone marker stays put")
            << QList<int>{flame1, 30} << QList<int>{} << QList<double>{0};
        QTest::newRow("two of one record")
            << QList<int>{fault2, 30, flame1, 30} << QList<int>{} << QList<double>{0.5, -0.5};
        QTest::newRow("three of one record, one of another")
            << QList<int>{purge8, 7, flame1, 7, fault2, 7, fault2, 8} << QList<int>{}
            << QList<double>{1, -1, 0, 0};
        QTest::newRow("a hidden series makes no room")
            << QList<int>{flame1, 30, fault2, 30} << QList<int>{fault2} << QList<double>{0, 0};
    }
    void markersOfOneRecordFanOut()
    {
        QFETCH(QList<int>, markers);
        QFETCH(QList<int>, hidden);
        QFETCH(QList<double>, shifts);
        ChartModel model;
        for (qsizetype i = 0; i < markers.size(); i += 2)
            model.at(markers.at(i)).bubbles.append({double(markers.at(i + 1)), 100, 5});
        for (int s : hidden)
            model.at(s).active = false;
        const std::vector<QVector<double>> got = markerShifts(model);
        QCOMPARE(got.size(), std::size_t(SeriesCount));
        QList<double> inOrder;
        QMap<int, int> taken;
        for (qsizetype i = 0; i < markers.size(); i += 2) {
            const int s = markers.at(i);
            inOrder.append(got[std::size_t(s)].at(taken[s]++));
        }
        QCOMPARE(inOrder, shifts);
    }

    // Never smaller than a picture can be told apart at; as large as the radius in degrees
    // where that is larger. The pointer finds the marker where it is drawn.
    void markersStayLegibleAndAnswerThePointer_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<bool>("minimum");
        QTest::newRow("whole cycle: the smallest size") << 100.0 << true;
        QTest::newRow("zoomed in: the radius in degrees") << 190.0 << false;
    }
    void markersStayLegibleAndAnswerThePointer()
    {
        QFETCH(double, zoom);
        QFETCH(bool, minimum);
        // A second burner's marker on the same record as the first burner's flame.
        m_model.at(series::event(2, 4)).bubbles.append({30, 84, 5, 36000, 30});
        m_view->refresh();
        m_view->zoomBy(zoom);
        QCustomPlot* plot = plotOf(*m_view);
        plot->replot();
        BubblePlottable* flame = nullptr;
        BubblePlottable* fault = nullptr;
        for (int i = 0; i < plot->plottableCount(); ++i) {
            auto* bubbles = qobject_cast<BubblePlottable*>(plot->plottable(i));
            if (bubbles && bubbles->bubbles() == m_model.at(series::event(1, 2)).bubbles)
                flame = bubbles;
            if (bubbles && bubbles->bubbles() == m_model.at(series::event(2, 4)).bubbles)
                fault = bubbles;
        }
        QVERIFY(flame && fault && flame != fault);
        const QRectF a = flame->markerRect(0);
        const QRectF b = fault->markerRect(0);
        const double axisDiameter =
            std::abs(plot->yAxis->coordToPixel(89) - plot->yAxis->coordToPixel(79));
        QCOMPARE(a.width() == BubblePlottable::MinimumDiameter, minimum);
        QVERIFY(a.width() >= BubblePlottable::MinimumDiameter);
        QVERIFY(a.width() >= axisDiameter - 0.5);
        QCOMPARE(a.center().y(), b.center().y());
        QVERIFY(b.left() >= a.right() - 0.01); // beside, not on top
        QCOMPARE(plot->xAxis->coordToPixel(30), (a.center().x() + b.center().x()) / 2);

        const QPoint onFault = plot->mapTo(m_view.get(), b.center().toPoint());
        QCOMPARE(m_view->markerAt(onFault), std::make_pair(series::event(2, 4), 0));
        QCOMPARE(m_view->markerAt(plot->mapTo(m_view.get(), a.center().toPoint())),
                 std::make_pair(series::event(1, 2), 0));
        QCOMPARE(m_view->markerAt(plot->mapTo(m_view.get(), QPoint(int(a.left()) - 30, 5))),
                 std::make_pair(-1, -1));

        // Resting the pointer there asks for the marker's tooltip.
        QList<std::pair<int, qint64>> asked;
        m_view->setMarkerTip([&asked](int series, const ChartBubble& marker) {
            asked.append({series, marker.elapsed});
            return QStringLiteral("tip");
        });
        sendMouse(plot, QEvent::MouseMove, b.center().toPoint(), Qt::NoButton, Qt::NoButton);
        QCOMPARE(asked, (QList<std::pair<int, qint64>>{{series::event(2, 4), 30}}));
    }

    void movingWithoutButtonReportsAndDoesNotPan()
    {
        QSignalSpy moved(m_view.get(), &ChartView::mouseMoved);
        QCustomPlot* plot = plotOf(*m_view);
        const double min = m_view->bottomMin();
        sendMouse(plot, QEvent::MouseMove, QPoint(123, 45), Qt::NoButton, Qt::NoButton);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved.at(0).at(0).toPoint(), QPoint(123, 45));
        QCOMPARE(m_view->bottomMin(), min);
    }

    void wheelDoesNothing()
    {
        QCustomPlot* plot = plotOf(*m_view);
        const QPointF centre = plot->axisRect()->rect().center();
        QWheelEvent wheel(centre, plot->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot, &wheel);
        QVERIFY(m_view->isAutomatic(Qt::Horizontal));
        QCOMPARE(m_view->bottomMax(), 120.0);
    }

    void bottomValueAtInvertsTheAxisMapping()
    {
        m_view->zoomBy(105);
        const QRect rect = plotOf(*m_view)->axisRect()->rect();
        QCOMPARE(m_view->bottomValueAt(rect.left()), m_view->bottomMin());
        QCOMPARE(m_view->bottomValueAt(rect.left() + rect.width()), m_view->bottomMax());
        const double middle = m_view->bottomValueAt(rect.left() + rect.width() / 2 + 1);
        const double step = (m_view->bottomMax() - m_view->bottomMin()) / rect.width();
        QVERIFY(std::abs(middle - (m_view->bottomMin() + (rect.width() / 2 + 1) * step)) < 1e-9);
        QVERIFY(middle != std::round(middle));
    }

    void renderingShowsTheDrawnStateAtTheRequestedSize()
    {
        m_model.at(series::T2).active = false;
        const QImage image =
            renderChartImage(m_model, QStringLiteral("Komora"), QStringLiteral("Temperatura"),
                             QStringLiteral("Czas"), QSize(640, 400));
        QCOMPARE(image.size(), QSize(640, 400));
        QVERIFY(pixelsNear(image, seriesColour(series::T1)) > 100);
        QCOMPARE(pixelsNear(image, seriesColour(series::T2)), 0);
        QCOMPARE(m_view->grabImage().size(), m_view->size());
    }

    void hintShowsOnlyWhileEverySeriesIsHidden()
    {
        m_view->setEmptyHint(QStringLiteral("Check a series"));
        QCustomPlot* plot = plotOf(*m_view);
        auto hint = [&]() -> QCPTextElement* {
            for (QCPTextElement* text : plot->findChildren<QCPTextElement*>()) {
                if (text->text() == QStringLiteral("Check a series"))
                    return text;
            }
            return nullptr;
        };
        QVERIFY(hint());
        QVERIFY(!hint()->visible());
        for (int i = 0; i < m_model.count(); ++i)
            m_model.at(i).active = false;
        m_view->refresh();
        QVERIFY(hint()->visible());
        plot->replot();
        QVERIFY(plot->axisRect(0)->rect().contains(hint()->outerRect().center()));
        m_model.at(series::event(8, 7)).active = true; // any one series is enough
        m_view->refresh();
        QVERIFY(!hint()->visible());
    }

    void oneRecordCycleDrawsDotsAndNoRepeatedLabels()
    {
        ChartModel one;
        one.at(series::T1).points = {{0, 180, QStringLiteral("00:00")}};
        one.at(series::T2).points = {{0, 170, QStringLiteral("00:00")}};
        m_view->setModel(&one);
        m_view->resetZoom();
        QCustomPlot* plot = plotOf(*m_view);
        plot->replot();
        // Nothing of the model shown before stays in the graphs.
        int graphPoints = 0;
        for (int i = 0; i < plot->graphCount(); ++i)
            graphPoints += plot->graph(i)->dataCount();
        QCOMPARE(graphPoints, 2);
        QCPAxis* time = laneRectOf(*m_view)->axis(QCPAxis::atBottom);
        auto labelsRepeat = [](QCPAxis* axis) {
            const QVector<QString> labels = axis->tickVectorLabels();
            return std::set<QString>(labels.cbegin(), labels.cend()).size() !=
                   std::size_t(labels.size());
        };
        QVERIFY(!plot->yAxis->tickVectorLabels().isEmpty());
        QVERIFY(!labelsRepeat(plot->yAxis));
        QVERIFY(!labelsRepeat(time));
        // Zoomed far in, a step finer than the labels' one decimal would repeat them.
        for (int i = 0; i < 3; ++i)
            m_view->zoomBy(145);
        plot->replot();
        QVERIFY(!plot->yAxis->tickVectorLabels().isEmpty());
        QVERIFY2(!labelsRepeat(plot->yAxis),
                 qPrintable(QStringList(plot->yAxis->tickVectorLabels().toList()).join(u' ')));
        QVERIFY(!labelsRepeat(time));
        m_view->resetZoom();
        plot->replot();
        QCOMPARE(time->tickVectorLabels(), QVector<QString>{QStringLiteral("00:00:00")});
        const QImage image = m_view->grabImage();
        QVERIFY(pixelsNear(image, seriesColour(series::T1)) > 4);
        QVERIFY(pixelsNear(image, seriesColour(series::T2)) > 4);
        m_view->setModel(&m_model);
    }

    void firstTemperaturesLieAboveTheWorkingTemperature()
    {
        // All three on one level: the broad working line would hide the two thin ones.
        for (int i = 0; i < 100; ++i) {
            m_model.at(series::T1).points[i].y = 100;
            m_model.at(series::T2).points[i].y = 100;
            m_model.at(series::WorkingTemperature).points[i].y = 100;
        }
        m_model.at(series::T2).active = false;
        m_view->refresh();
        const QImage image = m_view->grabImage();
        const QRect plotArea = plotOf(*m_view)->axisRect(0)->rect();
        QVERIFY(!rowsWith(image, seriesColour(series::T1), plotArea.left(), plotArea.right())
                     .isEmpty());
        m_model.at(series::T1).active = false;
        m_model.at(series::T2).active = true;
        m_view->refresh();
        QVERIFY(!rowsWith(m_view->grabImage(), seriesColour(series::T2), plotArea.left(),
                          plotArea.right())
                     .isEmpty());
    }

    void setPointIsDrawnWhileTheWorkingTemperatureIs_data()
    {
        QTest::addColumn<bool>("workingShown");
        QTest::addColumn<bool>("reached");
        QTest::addColumn<QStringList>("marks");
        QTest::addColumn<double>("zoom");   // percent, about the centre
        QTest::addColumn<int>("panPixels"); // to the right after the zoom
        QTest::newRow("reached and held")
            << true << true << QStringList{"\u2191 00:25:00", "\u2192| 01:39:00"} << 100.0 << 0;
        QTest::newRow("never reached") << true << false << QStringList{} << 100.0 << 0;
        QTest::newRow("working temperature hidden") << false << true << QStringList{} << 100.0 << 0;
        // The marks move with the chart and go when their moment leaves the view.
        QTest::newRow("zoomed in to the middle: both moments off screen")
            << true << true << QStringList{} << 140.0 << 0;
        QTest::newRow("zoomed in less: the reaching in view, the hold's end not")
            << true << true << QStringList{"\u2191 00:25:00"} << 120.0 << 0;
        QTest::newRow("then panned to the end: the hold's end in view, the reaching not")
            << true << true << QStringList{"\u2192| 01:39:00"} << 120.0 << -1;
    }
    void setPointIsDrawnWhileTheWorkingTemperatureIs()
    {
        QFETCH(bool, workingShown);
        QFETCH(bool, reached);
        QFETCH(QStringList, marks);
        QFETCH(double, zoom);
        QFETCH(int, panPixels);
        // Above every drawn temperature, so the automatic range must make room for it.
        SetPointTrace& trace = m_model.setPoint();
        trace.temperature = 260;
        trace.band = 5;
        if (reached) {
            trace.reachedX = 25;
            trace.reachedElapsed = 25 * 60;
            trace.holdEndX = 99;
            trace.holdEndElapsed = 99 * 60;
        }
        m_model.at(series::WorkingTemperature).active = workingShown;
        m_view->refresh();
        m_view->resetZoom();
        QCOMPARE(m_view->leftMax() > 260, workingShown);
        if (zoom != 100.0)
            m_view->zoomBy(zoom);
        // -1: dragged left until the last point is at the right edge.
        if (panPixels == -1) {
            const double perPixel = m_view->bottomValueAt(1) - m_view->bottomValueAt(0);
            m_view->panStep(-int(std::ceil((100 - m_view->bottomMax()) / perPixel)), 0);
        }
        QCOMPARE(m_view->setPointMarks(), marks);
        m_model.setPoint() = {};
    }

    void picturesCarryTheIdentityAndALegendOfTheVisibleLines()
    {
        m_model.at(series::T2).active = false;
        m_view->refresh();
        QCOMPARE(m_view->exportLegendEntries(), (QStringList{"T1", "Moc", "W1", "T Robocza"}));

        const QSize size(640, 400);
        const QString identity = QStringLiteral("Oven 12 \u00b7 cycle 345 \u00b7 2026-03-14");
        const QImage plain =
            renderChartImage(m_model, QStringLiteral("Komora"), QString(), QString(), size);
        const QImage named = renderChartImage(m_model, QStringLiteral("Komora"), QString(),
                                              QString(), size, QString(), identity);
        // Under the title: dark text where the picture without the line shows the plot's frame
        // or nothing; the rows of the title itself stay the same.
        const QColor ink(70, 78, 92);
        auto inkRows = [&](const QImage& image) {
            return rowsWith(image, ink, 0, image.width()).size();
        };
        QCOMPARE(inkRows(plain), 0);
        QVERIFY(inkRows(named) >= 6);
        const QVector<int> rows = rowsWith(named, ink, 0, named.width());
        QVERIFY(rows.constFirst() > 15 && rows.constLast() < 60);

        m_view->setIdentity(identity);
        QCOMPARE(m_view->identity(), identity);
        QVERIFY(inkRows(m_view->grabImage()) >= 6);
        // Without a line, the row goes and the plot takes its height back.
        m_view->setIdentity(QString());
        QCOMPARE(inkRows(m_view->grabImage()), 0);
    }

    // The PDF is the PNG's picture in vector form: its words read back as text, and drawn at
    // one pixel a point it matches the PNG but for the edges of lines and letters.
    void savesPdfAndPng()
    {
        const QString title = QStringLiteral("Komora robocza");
        const QString identity = QStringLiteral("Piec 12 \u00b7 cykl 345 \u00b7 2026-03-14");
        m_view->setTitles(title, QStringLiteral("Temperatura [\u00b0C]"),
                          QStringLiteral("Czas [hh:mm:ss]"));
        m_view->setIdentity(identity);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
        const QString png = dir.filePath(QStringLiteral("chart.png"));
        QVERIFY(m_view->savePdf(pdf));
        QVERIFY(m_view->savePng(png));
        const QImage expected(png);
        QCOMPARE(expected.size(), m_view->size());

        const QString text = kvaro::testing::pdfText(pdf);
        for (const QString& words : {title, identity, QStringLiteral("Czas [hh:mm:ss]"),
                                     QStringLiteral("00:45:00"), QStringLiteral("T1")})
            QVERIFY2(text.contains(words), qPrintable(words + QStringLiteral(" in:\n") + text));
        // The axis title stands upright: pdftotext reads it letter by letter.
        QString words = text;
        words.remove(QRegularExpression(QStringLiteral("\\s")));
        QVERIFY2(words.contains(QStringLiteral("Temperatura[\u00b0C]")), qPrintable(text));

        const QImage page = kvaro::testing::pdfPageImage(pdf).convertToFormat(expected.format());
        QCOMPARE(page.size(), expected.size());
        // Compared a quarter the size: the renderers place the edges of thin lines half a
        // pixel apart, which says nothing about the picture.
        const QSize small = expected.size() / 4;
        const QImage a = page.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QImage b = expected.scaled(small, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        qint64 differing = 0;
        for (int y = 0; y < small.height(); ++y) {
            for (int x = 0; x < small.width(); ++x) {
                const QColor p = a.pixelColor(x, y);
                const QColor q = b.pixelColor(x, y);
                if (std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                              std::abs(p.blue() - q.blue())}) > 48)
                    ++differing;
            }
        }
        const double share = double(differing) / (small.width() * small.height());
        QVERIFY2(share < 0.01, qPrintable(QString::number(share)));
    }
};

QTEST_MAIN(TestChartView)
#include "test_chartview.moc"
