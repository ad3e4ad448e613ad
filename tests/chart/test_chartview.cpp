#include "chart/view/chartview.h"
#include "chart/view/seriesstyle.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <qcustomplot.h>

#include <cmath>

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
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                    + std::abs(c.blue() - colour.blue())
                < 30)
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

    void arrowLanesCountForTheRange()
    {
        // Temperatures start at 15: only the lane at height 1 can pull the minimum lower.
        QVERIFY(m_view->leftMin() <= 1);
        QVERIFY(m_view->bottomMax() >= 120);
        m_model.at(series::ArrowFirst).active = false;
        m_model.at(series::ArrowLast).active = false;
        m_view->refresh();
        QVERIFY(m_view->leftMin() > 1);
        QCOMPARE(m_view->bottomMax(), 99.0);
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
        QWheelEvent wheel(centre, plot->mapToGlobal(centre), QPoint(), QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
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
        const QImage image = renderChartImage(m_model, QStringLiteral("Komora"),
                                              QStringLiteral("Temperatura"),
                                              QStringLiteral("Czas"), QSize(640, 400));
        QCOMPARE(image.size(), QSize(640, 400));
        QVERIFY(pixelsNear(image, seriesColour(series::T1)) > 100);
        QCOMPARE(pixelsNear(image, seriesColour(series::T2)), 0);
        QCOMPARE(m_view->grabImage().size(), m_view->size());
    }

    void savesPdfAndPng()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
        const QString png = dir.filePath(QStringLiteral("chart.png"));
        QVERIFY(m_view->savePdf(pdf));
        QVERIFY(m_view->savePng(png));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        QCOMPARE(QImage(png).size(), m_view->size());
    }
};

QTEST_MAIN(TestChartView)
#include "test_chartview.moc"
