// Choosing an oven and listing its cycles, against the least the machine can do: reading
// the head and the tail of every file. Run by hand:
//   bench_catalogue [--files N] [--records N] [--listed N] [--runs N] [--keep DIR] [--whole]
//
// Cases: choosing an oven (catalogue and the day's listing) without the index and with it
// present, then listing the last days that hold --listed cycles (with the time at
// temperature, read from the files, then taken from the index). Each figure is the median
// of --runs runs, in ms and as a multiple of the floor, with the resident memory after it.
// --whole adds the whole reading of every file (minutes for thousands of large files).
// The store is written once into --keep DIR (DIR/Data/bench) and reused while it matches.

#include "base/language.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogueindex.h"
#include "catalogue/cyclelist.h"
#include "cycles/rawfile.h"
#include "store/cyclefolder.h"
#include "tools/benchkit.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace kvaro;

namespace {

struct Options {
    int files = 3000;
    int records = 3000;
    int listed = 300;
    int runs = 5;
    QString keep;
    bool whole = false;
};

using bench::median;
using bench::Timing;

void print(const char* what, const Timing& timing, const Timing& floor, const QString& detail = {})
{
    const auto [resident, peak] = bench::residentMemory();
    std::printf(
        "%-42s %7.1f ms %5.1fx floor  cpu %7.1f ms %5.1fx  RSS %5.1f MiB (peak %5.1f)  %s\n", what,
        timing.wall, floor.wall > 0 ? timing.wall / floor.wall : 0.0, timing.cpu,
        floor.cpu > 0 ? timing.cpu / floor.cpu : 0.0, resident, peak, qPrintable(detail));
    std::fflush(stdout);
}

// The floor: the head and the tail of every file, read as plainly as it gets.
qint64 readHeadsAndTails(const QString& folder, const QStringList& names)
{
    qint64 bytes = 0;
    for (const QString& name : names) {
        const RawFile file = RawFile::open(QDir(folder).filePath(name));
        bytes += file.read(0, 4096).size();
        bytes += file.read(std::max<qint64>(0, file.size() - 4096), 4096).size();
    }
    return bytes;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    Options options;
    QStringList args = app.arguments();
    options.whole = args.removeAll(QStringLiteral("--whole")) > 0;
    args.removeAll(QStringLiteral("--partial-only")); // the default now
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString& name = args.at(i);
        const QString& value = args.at(i + 1);
        if (name == QLatin1String("--files"))
            options.files = value.toInt();
        else if (name == QLatin1String("--records"))
            options.records = value.toInt();
        else if (name == QLatin1String("--listed"))
            options.listed = value.toInt();
        else if (name == QLatin1String("--runs"))
            options.runs = std::max(1, value.toInt());
        else if (name == QLatin1String("--keep"))
            options.keep = value;
    }

    QTemporaryDir temporary;
    const QString home = options.keep.isEmpty() ? temporary.path() : options.keep;
    const QString folder = QDir(home).filePath(QStringLiteral("Data/bench"));
    const QDate today(2024, 5, 20);
    const FixedClock clock(QDateTime(today, QTime(12, 0)));
    if (!bench::writeStore(folder, options.files, options.records, today))
        return 1;
    QTemporaryDir cache;
    const Language language;
    const FixedLocale locale;
    const int runs = options.runs;

    const QStringList names = CycleFolder(folder).cycleFiles();
    readHeadsAndTails(folder, names); // into the page cache
    const Timing floor = median(runs, [&] { readHeadsAndTails(folder, names); });
    std::printf("%d cycle files of %d records in %s; medians of %d runs\n", int(names.size()),
                options.records, qPrintable(folder), runs);
    print("floor: head and tail of every file", floor, floor);

    if (options.whole) {
        const Timing ms = median(1, [&] {
            const CatalogueBuild build =
                buildCatalogue(folder, language, clock, {}, Reading::Whole);
            wczytajKalendarz(build.catalogue, today, today, language, locale, Reading::Whole);
        });
        print("choose oven, whole reading", ms, floor);
    }

    Catalogue catalogue;
    int listedToday = 0;
    const Timing catalogueOnly =
        median(runs, [&] { catalogue = buildCatalogue(folder, language, clock).catalogue; });
    print("catalogue, no index", catalogueOnly, floor,
          QStringLiteral("%1 cycles").arg(catalogue.size()));
    const Timing choose = median(runs, [&] {
        const CatalogueBuild build = buildCatalogue(folder, language, clock);
        listedToday =
            int(wczytajKalendarz(build.catalogue, today, today, language, locale).items.size());
    });
    print("choose oven (catalogue + today), no index", choose, floor,
          QStringLiteral("%1 listed today").arg(listedToday));

    // The index: written by a first choice, then read from its file by every run.
    {
        CatalogueIndex primer(cache.path());
        const CatalogueBuild build =
            buildCatalogue(folder, language, clock, {}, Reading::Partial, {}, &primer);
        wczytajKalendarz(build.catalogue, today, today, language, locale, Reading::Partial, {}, {},
                         &primer);
    }
    const Timing indexed = median(runs, [&] {
        CatalogueIndex index(cache.path());
        const CatalogueBuild build =
            buildCatalogue(folder, language, clock, {}, Reading::Partial, {}, &index);
        wczytajKalendarz(build.catalogue, today, today, language, locale, Reading::Partial, {}, {},
                         &index);
    });
    const qint64 indexBytes = QFileInfo(CatalogueIndex(cache.path()).fileOf(folder)).size();
    print("choose oven, index present", indexed, floor,
          QStringLiteral("index %1 MiB").arg(double(indexBytes) / (1 << 20), 0, 'f', 1));
    {
        CatalogueIndex held(cache.path());
        buildCatalogue(folder, language, clock, {}, Reading::Partial, {}, &held);
        const Timing again = median(runs, [&] {
            const CatalogueBuild build =
                buildCatalogue(folder, language, clock, {}, Reading::Partial, {}, &held);
            wczytajKalendarz(build.catalogue, today, today, language, locale, Reading::Partial, {},
                             {}, &held);
        });
        print("choose oven again, index in memory", again, floor);
    }

    // The last days that hold the cycles to list.
    QDate from = today;
    const auto countFrom = [&](const QDate& day) {
        return int(std::count_if(catalogue.CycleDates.cbegin(), catalogue.CycleDates.cend(),
                                 [&](const QDate& d) { return d >= day && d <= today; }));
    };
    while (countFrom(from) < options.listed && from > today.addYears(-30))
        from = from.addDays(-1);
    const QString range =
        QStringLiteral("%1 cycles, %2 days").arg(countFrom(from)).arg(from.daysTo(today) + 1);
    const Timing listing =
        median(runs, [&] { wczytajKalendarz(catalogue, from, today, language, locale); });
    print("list the range, no index", listing, floor, range);
    {
        CatalogueIndex index(cache.path());
        const Catalogue indexedCatalogue =
            buildCatalogue(folder, language, clock, {}, Reading::Partial, {}, &index).catalogue;
        wczytajKalendarz(indexedCatalogue, from, today, language, locale, Reading::Partial, {}, {},
                         &index);
        const Timing ms = median(runs, [&] {
            wczytajKalendarz(indexedCatalogue, from, today, language, locale, Reading::Partial, {},
                             {}, &index);
        });
        print("list the range, figures in the index", ms, floor, range);
    }
    return 0;
}
