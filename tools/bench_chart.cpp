// Prints how long a generated cycle takes to read, to load into the chart model and to be
// drawn at 1200x700, first and after a pan and a zoom, beside the time a plain read of the
// file's bytes takes (the floor nothing can beat), and the memory the process holds. Run by
// hand:
//   build-rel/bin/bench_chart [--records N[,N...]] [--runs N]
// Cycles up to 100 000 records are generated with a record every 2 s, longer ones every
// second. Each figure is the median of the runs, as wall-clock time and as the CPU time of
// the process (on a busy machine the second says more).
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "chart/openedcycle.h"
#include "chart/view/chartview.h"
#include "cycles/language.h"
#include "cycles/platform.h"
#include "tools/cyclegen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <qcustomplot.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Timing {
    double wall = 0; // ms
    double cpu = 0;  // ms
};

// Runs step `runs` times (prepare, not timed, before each) and gives the medians.
Timing timed(
    int runs, const std::function<void()>& step, const std::function<void()>& prepare = [] {})
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int r = 0; r < runs; ++r) {
        prepare();
        QElapsedTimer timer;
        const double cpuStart = cpuMs();
        timer.start();
        step();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpuStart);
    }
    return {median(wall), median(cpu)};
}

// VmRSS and VmHWM of this process, in MB.
std::pair<double, double> residentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double rss = 0;
    double hwm = 0;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() >= 2 && parts[0] == "VmRSS:")
                rss = parts[1].toDouble() / 1024;
            if (parts.size() >= 2 && parts[0] == "VmHWM:")
                hwm = parts[1].toDouble() / 1024;
        }
    }
    return {rss, hwm};
}

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
        const Timing floor = timed(runs, [&] {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                bytes = file.readAll().size();
        });

        kvaro::OpenedCycle opened;
        const Timing read = timed(
            runs,
            [&] { opened = kvaro::openCycle(path, kvaro::CycleSource::Picked, QLatin1Char('.')); },
            [&] { opened = {}; });

        kvaro::ChartModel chart;
        kvaro::ChartSummary summary;
        kvaro::FilterList filters;
        kvaro::RecordingMessages messages;
        const kvaro::Language language;
        const Timing load = timed(
            runs,
            [&] {
                kvaro::WczytajWykres(opened.lines, language, chart, summary, filters, messages);
                filters.checkAllShown(chart);
            },
            [&] { chart.clearAll(); });

        kvaro::ChartView view;
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.resize(1200, 700);
        view.setTitles(QStringLiteral("Komora robocza"), QStringLiteral("Temperatura"),
                       QStringLiteral("Czas"));
        view.show();
        auto* plot = view.findChild<QCustomPlot*>();
        const Timing firstDraw = timed(
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
        const Timing pan = timed(runs, [&] {
            const QCPRange range = plot->xAxis->range();
            direction = -direction;
            plot->xAxis->setRange(range.lower + direction * range.size() / 10,
                                  range.upper + direction * range.size() / 10);
            plot->replot(QCustomPlot::rpImmediateRefresh);
        });

        // Halves the whole cycle's span about its middle.
        const Timing zoom = timed(
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

        const auto [rss, hwm] = residentMemory();
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
