// Prints how long a generated cycle takes to read, to load into the chart model and to be
// drawn at 1200x700, first and after a pan and a zoom, beside the time a plain read of the
// file's bytes takes (the floor nothing can beat), and the memory the process holds. Run by
// hand:
//   build-rel/bin/bench_chart [--records N[,N...]] [--runs N]
// Cycles up to 100 000 records are generated with a record every 2 s, longer ones every
// second. Each figure is the median of the runs, as wall-clock time and as the CPU time of
// the process (on a busy machine the second says more).
#include "base/language.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "chart/openedcycle.h"
#include "chart/view/chartview.h"
#include "tools/benchkit.h"
#include "tools/cyclegen.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <qcustomplot.h>

#include <algorithm>
#include <cstdio>

namespace {

using kvaro::bench::median;
using kvaro::bench::Timing;

QList<int> parseSizes(const QString& text)
{
    QList<int> sizes;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.toInt(&ok);
        if (ok && n > 2)
            sizes.append(n);
    }
    return sizes;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QList<int> sizes{10000, 100000};
    int runs = 5;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--records"))
            sizes = parseSizes(args[++i]);
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[++i].toInt());
    }
    if (sizes.isEmpty()) {
        std::fprintf(stderr, "usage: bench_chart [--records N[,N...]] [--runs N]\n");
        return 2;
    }

    QTemporaryDir dir;
    std::printf("%-10s %-12s %10s %10s %10s\n", "records", "step", "ms", "x floor", "cpu ms");
    for (int records : sizes) {
        kvaro::gen::CycleSpec spec;
        spec.samplePeriodSeconds = records > 100000 ? 1 : 2;
        spec.durationSeconds = (records - 1) * spec.samplePeriodSeconds;
        spec.burnerCount = 8;
        const QString path = dir.filePath(QStringLiteral("P%1.csv").arg(records));
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(kvaro::gen::writeCycle(spec)) < 0) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
        }

        qint64 bytes = 0;
        const Timing floor = median(runs, [&] {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                bytes = file.readAll().size();
        });

        kvaro::OpenedCycle opened;
        const Timing read = median(
            runs,
            [&] { opened = kvaro::openCycle(path, kvaro::CycleSource::Picked, QLatin1Char('.')); },
            [&] { opened = {}; });

        kvaro::ChartLoad loaded;
        const kvaro::Language language;
        const Timing load = median(
            runs,
            [&] {
                loaded = kvaro::WczytajWykres(opened.lines, language);
                loaded.filters.checkAllShown(loaded.chart);
            },
            [&] { loaded = {}; });
        const kvaro::ChartModel& chart = loaded.chart;

        kvaro::ChartView view;
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.resize(1200, 700);
        view.setTitles(QStringLiteral("Komora robocza"), QStringLiteral("Temperatura"),
                       QStringLiteral("Czas"));
        view.show();
        auto* plot = view.findChild<QCustomPlot*>();
        const Timing firstDraw = median(
            runs,
            [&] {
                view.setModel(&chart);
                view.resetZoom();
                plot->replot(QCustomPlot::rpImmediateRefresh);
            },
            [&] {
                view.setModel(nullptr);
                plot->replot(QCustomPlot::rpImmediateRefresh);
            });

        // Pans by a tenth of the shown span, back and forth, over the whole cycle.
        view.resetZoom();
        plot->replot(QCustomPlot::rpImmediateRefresh);
        int direction = 1;
        const Timing pan = median(runs, [&] {
            const QCPRange range = plot->xAxis->range();
            direction = -direction;
            plot->xAxis->setRange(range.lower + direction * range.size() / 10,
                                  range.upper + direction * range.size() / 10);
            plot->replot(QCustomPlot::rpImmediateRefresh);
        });

        // Halves the whole cycle's span about its middle.
        const Timing zoom = median(
            runs,
            [&] {
                const QCPRange range = plot->xAxis->range();
                plot->xAxis->setRange(range.center() - range.size() / 4,
                                      range.center() + range.size() / 4);
                plot->replot(QCustomPlot::rpImmediateRefresh);
            },
            [&] {
                view.resetZoom();
                plot->replot(QCustomPlot::rpImmediateRefresh);
            });

        const auto [rss, hwm] = kvaro::bench::residentMemory();
        auto row = [&](const char* step, Timing t) {
            std::printf("%-10d %-12s %10.2f %10.1f %10.2f\n", records, step, t.wall,
                        floor.wall > 0 ? t.wall / floor.wall : 0.0, t.cpu);
        };
        std::printf("%-10d %-12s %10.2f %10s %10.2f  (%lld bytes)\n", records, "floor", floor.wall,
                    "1.0", floor.cpu, bytes);
        row("read", read);
        row("load", load);
        row("first draw", firstDraw);
        row("pan redraw", pan);
        row("zoom redraw", zoom);
        std::printf("%-10d %-12s VmRSS %.0f MB, VmHWM %.0f MB\n", records, "memory", rss, hwm);
        view.setModel(nullptr);
        std::fflush(stdout);
    }
    return 0;
}
