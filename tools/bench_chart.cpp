// Prints how long a generated cycle takes to load into the chart model and to be drawn
// for the first time, for 10 000 and 100 000 records. Run by hand:
//   build/bin/bench_chart
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "chart/view/chartview.h"
#include "cycles/fields.h"
#include "cycles/language.h"
#include "cycles/linebuffer.h"
#include "cycles/platform.h"
#include "tools/cyclegen.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf("%10s %12s %12s %12s\n", "records", "read ms", "load ms", "draw ms");
    for (int records : {10000, 100000}) {
        kvaro::gen::CycleSpec spec;
        spec.samplePeriodSeconds = 2;
        spec.durationSeconds = (records - 1) * spec.samplePeriodSeconds;
        spec.burnerCount = 8;
        const QByteArray bytes = kvaro::gen::writeCycle(spec);

        QElapsedTimer timer;
        timer.start();
        kvaro::LineBuffer memo1(kvaro::LineBuffer::Case::Lower);
        memo1.loadBytes(bytes, QStringLiteral("P1.csv"));
        kvaro::normalise(memo1, QLatin1Char('.'));
        const qint64 readMs = timer.restart();

        kvaro::ChartModel chart;
        kvaro::ChartSummary summary;
        kvaro::FilterList filters;
        kvaro::RecordingMessages messages;
        kvaro::WczytajWykres(memo1, kvaro::Language(), chart, summary, filters, messages);
        filters.checkAllShown(chart);
        const qint64 loadMs = timer.restart();

        const QImage image = kvaro::renderChartImage(chart, QStringLiteral("Komora robocza"),
                                                     QStringLiteral("Temperatura"),
                                                     QStringLiteral("Czas"), QSize(1200, 700));
        const qint64 drawMs = timer.elapsed();
        std::printf("%10d %12lld %12lld %12lld%s\n", records, readMs, loadMs, drawMs,
                    image.isNull() ? "  (no image!)" : "");
    }
    return 0;
}
