// The batch report of a month of cycles: the oven's catalogue and listing, every listed
// cycle read for the cover, then every cycle's pages drawn into one PDF. Run by hand:
//   bench_report [--keep DIR] [--files N] [--records N] [--listed N] [--runs N]
//
// The store is written once into --keep DIR (DIR/Data/bench, as bench_catalogue writes it)
// and reused while it matches, so --keep /tmp/bc3000 shares that benchmark's store. The
// listed range is the last days up to 2024-05-20 that hold --listed cycles. Each figure is
// the median of --runs runs, wall-clock and processor time in ms and as a multiple of the
// floor (every byte of the listed files read plainly, in the same run), with the resident
// memory after it.

#include "base/language.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"
#include "report/batchreport.h"
#include "report/cyclereport.h"
#include "report/reportdocument.h"
#include "tools/benchkit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace kvaro;

namespace {

struct Options {
    int files = 3000;
    int records = 3000;
    int listed = 300;
    int runs = 3;
    QString keep;
};

using bench::median;
using bench::Timing;

void print(const char* what, const Timing& timing, const Timing& floor, const QString& detail = {})
{
    const auto [resident, peak] = bench::residentMemory();
    std::printf("%-40s %9.1f ms %6.1fx floor  cpu %9.1f ms  RSS %6.1f MiB (peak %6.1f)  %s\n", what,
                timing.wall, floor.wall > 0 ? timing.wall / floor.wall : 0.0, timing.cpu, resident,
                peak, qPrintable(detail));
    std::fflush(stdout);
}

// The floor: every byte of the cycles' files read as plainly as it gets.
qint64 readPlainly(const QList<BatchCycle>& cycles)
{
    qint64 bytes = 0;
    for (const BatchCycle& cycle : cycles) {
        QFile file(cycle.path);
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    return bytes;
}

// The first day of the last days up to today that hold at least `listed` cycles.
QDate firstListedDay(const Catalogue& catalogue, const QDate& today, int listed)
{
    QList<QDate> dates;
    for (const QDate& date : catalogue.CycleDates) {
        if (date.isValid() && date <= today)
            dates.append(date);
    }
    std::sort(dates.begin(), dates.end(), std::greater<>());
    return dates.isEmpty() ? today : dates.at(std::min<qsizetype>(listed, dates.size()) - 1);
}

} // namespace

int main(int argc, char* argv[])
{
    // The pages' chart is drawn by the window's chart view: offscreen, no display needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Options options;
    const QStringList args = app.arguments();
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
    const Language language;
    const FixedLocale locale;
    const QString pdf = QDir(temporary.path()).filePath(QStringLiteral("batch.pdf"));

    const Catalogue catalogue = buildCatalogue(folder, language, clock).catalogue;
    const QDate from = firstListedDay(catalogue, today, options.listed);
    const CycleListing listing = wczytajKalendarz(catalogue, from, today, language, locale);
    QList<BatchCycle> cycles;
    for (const CycleListItem& item : listing.items)
        cycles.append({QDir(folder).filePath(item.file), item.progress});
    std::printf("%d cycles listed from %s to %s, %d records each; medians of %d runs\n",
                int(cycles.size()), qPrintable(from.toString(Qt::ISODate)),
                qPrintable(today.toString(Qt::ISODate)), options.records, options.runs);

    qint64 bytes = 0;
    const Timing floor = median(options.runs, [&] { bytes = readPlainly(cycles); });
    print("floor: every byte of every cycle read", floor, floor,
          QStringLiteral("%1 MB").arg(double(bytes) / 1e6, 0, 'f', 1));
    const Timing rows = median(options.runs, [&] {
        readBatch(cycles, CycleSource::Stored, locale.decimalSeparator(), language);
    });
    print("read every cycle for the cover", rows, floor);

    BatchOutcome outcome;
    const Timing batch = median(options.runs, [&] {
        outcome = writeBatchReport(pdf, QStringLiteral("bench"), from, today, cycles,
                                   CycleSource::Stored, language, locale.decimalSeparator());
    });
    print("batch report, listing not counted", batch, floor,
          QStringLiteral("%1 pages, %2 MB%3")
              .arg(outcome.pages)
              .arg(double(QFileInfo(pdf).size()) / 1e6, 0, 'f', 1)
              .arg(outcome.written ? QString() : QStringLiteral(", NOT WRITTEN")));
    return outcome.written ? 0 : 1;
}
