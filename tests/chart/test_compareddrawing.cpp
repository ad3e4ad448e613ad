// A compared cycle's dashed lines over a long series: drawn as runs of pixel columns, with
// gaps between the dashes and no peak lost.
#include "chart/chartmodel.h"
#include "chart/view/columngraph.h"
#include "chart/view/seriesstyle.h"

#include <QTest>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

using namespace kvaro;

class TestComparedDrawing : public QObject
{
    Q_OBJECT

private slots:
    void dashedLongLine_data()
    {
        QTest::addColumn<int>("series");
        QTest::newRow("T1, 2 px") << series::T1;
        QTest::newRow("an exchanger, 1 px") << series::BurnerTemperatureFirst;
        QTest::newRow("working temperature, 4 px") << series::WorkingTemperature;
    }
    void dashedLongLine()
    {
        QFETCH(int, series);
        QCustomPlot plot;
        plot.setAntialiasedElements(QCP::aeAll);
        const QSize size(900, 500);
        plot.resize(size);
        const int count = 200000;
        plot.xAxis->setRange(0, count);
        plot.yAxis->setRange(0, 1000);
        plot.replot(); // lays the axes out
        // A noisy series of many points per pixel column, with one record far above the rest
        // in the middle of a dash (six pixels on, four off, from the picture's left edge).
        int column = plot.axisRect()->center().x();
        column += 2 - column % 10;
        const int spikeAt = int(plot.xAxis->pixelToCoord(column + 0.5));
        ChartPoints points;
        points.reserve(count);
        for (int i = 0; i < count; ++i)
            points.appendElapsed(i, i == spikeAt ? 900 : 100 + 7 * std::sin(i * 0.37), i);
        auto* graph = new ColumnGraph(plot.xAxis, plot.yAxis);
        graph->setPoints(points);
        graph->setAdaptiveSampling(true);
        graph->setPen(comparedPen(series));
        plot.xAxis->grid()->setVisible(false);
        plot.yAxis->grid()->setVisible(false);

        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        {
            QCPPainter painter(&image);
            plot.toPainter(&painter, size.width(), size.height());
        }
        // Columns of the plot area with any of the line's tint in them (the axes and their
        // ticks are grey, the background white).
        const QRect area = plot.axisRect()->rect().adjusted(2, 2, -2, -2);
        const int spikeColumn = int(plot.xAxis->coordToPixel(spikeAt));
        const int spikeRow = int(plot.yAxis->coordToPixel(900));
        int painted = 0;
        bool spikeDrawn = false;
        for (int x = area.left(); x <= area.right(); ++x) {
            bool any = false;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                const QColor pixel = image.pixelColor(x, y);
                const int high = std::max({pixel.red(), pixel.green(), pixel.blue()});
                const int low = std::min({pixel.red(), pixel.green(), pixel.blue()});
                if (high - low > 20) {
                    any = true;
                    if (std::abs(x - spikeColumn) <= 1 && std::abs(y - spikeRow) <= 3)
                        spikeDrawn = true;
                }
            }
            painted += any ? 1 : 0;
        }
        const double share = double(painted) / area.width();
        // Six pixels of dash to four of gap, give or take the columns at the dashes' ends.
        QVERIFY2(share > 0.45 && share < 0.75, qPrintable(QString::number(share)));
        QVERIFY(spikeDrawn);
    }
};

QTEST_MAIN(TestComparedDrawing)
#include "test_compareddrawing.moc"
