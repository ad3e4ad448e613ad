// An oven's trend over a year, read whole from the files and then taken from the index.
// Run by hand:
//   bench_trend [--keep DIR] [--runs N] [--cold-runs N]
//
// The store is DIR/Data/bench, as bench_catalogue --keep DIR writes it (3 000 cycles of
// 3 000 records over the year up to 2024-05-20); a missing store, or one of another size,
// is written the same way (into a temporary folder without --keep). Cases: the floor (every byte of
// every file read plainly), the trend with no index (every file read whole and drawn), then with
// the index warm, alone and with the catalogue build before it as kvaro-cli trend does. Each figure
// is the median of its runs, in ms, with the resident memory after it.

#include "base/language.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogueindex.h"
#include "cycles/rawfile.h"
#include "store/cyclefolder.h"
#include "tools/benchkit.h"
#include "trend/trendbuild.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace kvaro;

namespace {

using bench::median;
using bench::Timing;

void print(const char* what, const Timing& timing, const QString& detail = {})
{
    std::printf("%-46s %8.1f ms  cpu %8.1f ms  RSS %6.1f MiB  %s\n", what, timing.wall, timing.cpu,
                bench::residentMemory().resident, qPrintable(detail));
    std::fflush(stdout);
}

qint64 readEverything(const QString& folder, const QStringList& names)
{
    qint64 bytes = 0;
    for (const QString& name : names) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    return bytes;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QString keep;
    int runs = 7;
    int coldRuns = 3;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--keep"))
            keep = args.at(i + 1);
        else if (args.at(i) == QLatin1String("--runs"))
            runs = std::max(1, args.at(i + 1).toInt());
        else if (args.at(i) == QLatin1String("--cold-runs"))
            coldRuns = std::max(1, args.at(i + 1).toInt());
    }
    QTemporaryDir temporary;
    const QString home = keep.isEmpty() ? temporary.path() : keep;
    const QString folder = QDir(home).filePath(QStringLiteral("Data/bench"));
    const QDate today(2024, 5, 20);
    const QDate from = today.addDays(-365);
    if (!bench::writeStore(folder, 3000, 3000, today)) {
        std::fprintf(stderr, "cannot write the store into %s\n", qPrintable(folder));
        return 1;
    }
    const FixedClock clock(QDateTime(today, QTime(12, 0)));
    const Language language;
    const QStringList names = CycleFolder(folder).cycleFiles();

    readEverything(folder, names); // into the page cache
    const qint64 bytes = readEverything(folder, names);
    std::printf("%d cycle files (%.0f MB) in %s; the trend of %s to %s\n", int(names.size()),
                double(bytes) / 1e6, qPrintable(folder), qPrintable(from.toString(Qt::ISODate)),
                qPrintable(today.toString(Qt::ISODate)));
    print("floor: every byte of every file read",
          median(std::min(runs, 3), [&] { readEverything(folder, names); }));

    const Catalogue catalogue = buildCatalogue(folder, language, clock).catalogue;
    int cycles = 0;
    // Timed first: the detail reads what the runs found.
    const Timing cold = median(coldRuns, [&] {
        cycles = int(buildTrend(catalogue, from, today, language).cycles.size());
    });
    print("trend, no index (every file read whole)", cold, QStringLiteral("%1 cycles").arg(cycles));

    QTemporaryDir cacheFolder;
    {
        CatalogueIndex index(cacheFolder.path());
        // The index learns the catalogue and then the trend once.
        const Catalogue indexed =
            buildCatalogue(folder, language, clock, {}, Reading::Partial, {}, &index).catalogue;
        const Timing learning =
            median(1, [&] { buildTrend(indexed, from, today, language, {}, {}, &index); });
        print("trend, index learning the figures", learning,
              QStringLiteral("%1 read").arg(index.lastUse().read));
        const Timing warm =
            median(runs, [&] { buildTrend(indexed, from, today, language, {}, {}, &index); });
        print("trend, index warm (in memory)", warm,
              QStringLiteral("%1 reused").arg(index.lastUse().reused));
    }
    // As kvaro-cli trend does in a process of its own: the index read from its file, the
    // catalogue built from it, then the trend.
    print(
        "catalogue + trend, index warm (from its file)", median(runs, [&] {
            CatalogueIndex index(cacheFolder.path());
            const Catalogue indexed =
                buildCatalogue(folder, language, clock, {}, Reading::Partial, {}, &index).catalogue;
            buildTrend(indexed, from, today, language, {}, {}, &index);
        }));
    return 0;
}
