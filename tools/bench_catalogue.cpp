// Choosing an oven and listing today, reading only the first record and the last line of
// each file versus reading every file whole. Run by hand:
//   bench_catalogue [--files N] [--records N] [--keep DIR] [--partial-only]

#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"
#include "cycles/language.h"
#include "cycles/platform.h"
#include "tools/cyclegen.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace kvaro;

namespace {

struct Figure {
    qint64 milliseconds = 0;
    qint64 catalogueMilliseconds = 0;
    int entries = 0;
    int listed = 0;
};

Figure chooseOven(const QString& folder, const Clock& clock, Reading reading)
{
    const Language language;
    const FixedLocale locale;
    QElapsedTimer timer;
    timer.start();
    const CatalogueBuild build = buildCatalogue(folder, language, clock, {}, reading);
    const qint64 catalogueDone = timer.elapsed();
    const CycleListing listing =
        wczytajKalendarz(build.catalogue, clock.today(), clock.today(), language, locale, reading);
    return Figure{timer.elapsed(), catalogueDone, build.catalogue.size(),
                  int(listing.items.size())};
}

void print(const char* what, const Figure& figure)
{
    std::printf("%-8s %6lld ms  (catalogue %lld ms; %d cycles, %d listed today)\n", what,
                static_cast<long long>(figure.milliseconds),
                static_cast<long long>(figure.catalogueMilliseconds), figure.entries,
                figure.listed);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int files = 3000;
    int records = 3000;
    QString keep;
    QStringList args = app.arguments();
    // The whole reading of 3 000 files takes minutes; profiling the partial one needs none.
    const bool partialOnly = args.removeAll(QStringLiteral("--partial-only")) > 0;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--files"))
            files = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--records"))
            records = args.at(i + 1).toInt();
        else if (args.at(i) == QLatin1String("--keep"))
            keep = args.at(i + 1);
    }

    QTemporaryDir temporary;
    const QString home = keep.isEmpty() ? temporary.path() : keep;
    const QString folder = QDir(home).filePath(QStringLiteral("Data/bench"));
    QDir().mkpath(folder);
    const QDate today(2024, 5, 20);
    const FixedClock clock(QDateTime(today, QTime(12, 0)));

    if (QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files).size() != files) {
        std::printf("writing %d cycle files of %d records into %s ...\n", files, records,
                    qPrintable(folder));
        std::fflush(stdout);
        for (int n = 1; n <= files; ++n) {
            gen::CycleSpec spec;
            spec.number = n;
            spec.seed = quint64(n);
            spec.samplePeriodSeconds = 10;
            spec.durationSeconds = (records - 1) * spec.samplePeriodSeconds;
            // About eight cycles a day over the year up to today, as a busy oven runs.
            spec.start = QDateTime(today.addDays(-(n % 365)), QTime(6 + n % 12, n % 60));
            QByteArray bytes = gen::writeCycle(spec);
            bytes.replace(',', ';'); // the stored, normalised form
            QFile file(QDir(folder).filePath(gen::cycleFileName(n)));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
    }

    if (partialOnly) {
        chooseOven(folder, clock, Reading::Partial); // into the page cache
        print("partial", chooseOven(folder, clock, Reading::Partial));
        return 0;
    }
    // Whole reading first: it also brings every file into the page cache.
    const Figure whole = chooseOven(folder, clock, Reading::Whole);
    const Figure partial = chooseOven(folder, clock, Reading::Partial);
    print("whole", whole);
    print("partial", partial);
    std::printf("speed-up %.1fx\n",
                partial.milliseconds > 0 ? double(whole.milliseconds) / partial.milliseconds : 0.0);
    return 0;
}
