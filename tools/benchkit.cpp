#include "tools/benchkit.h"

#include "tools/cyclegen.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace kvaro::bench {

namespace {

double middle(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

} // namespace

double processorMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

Timing median(int runs, const std::function<void()>& work, const std::function<void()>& before)
{
    QList<double> walls, cpus;
    for (int i = 0; i < runs; ++i) {
        if (before)
            before();
        QElapsedTimer timer;
        const double cpu = processorMilliseconds();
        timer.start();
        work();
        walls.append(double(timer.nsecsElapsed()) / 1e6);
        cpus.append(processorMilliseconds() - cpu);
    }
    return Timing{middle(walls), middle(cpus)};
}

Memory residentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    Memory memory;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const auto kib = [&] { return line.simplified().split(' ').value(1).toDouble(); };
            if (line.startsWith("VmRSS:"))
                memory.resident = kib() / 1024;
            else if (line.startsWith("VmHWM:"))
                memory.peak = kib() / 1024;
        }
    }
    return memory;
}

bool writeStore(const QString& folder, int files, int records, const QDate& today)
{
    const QString marker = QDir(folder).filePath(QStringLiteral("../bench-store.txt"));
    const QByteArray wanted = QByteArray::number(files) + ' ' + QByteArray::number(records) + '\n';
    QFile known(marker);
    if (known.open(QIODevice::ReadOnly) && known.readAll() == wanted)
        return true;
    // A store left by an earlier version of these tools, which wrote no marker, is taken
    // when the count fits.
    if (!known.exists() && records == 3000 &&
        QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files).size() == files)
        return true;
    known.close();
    std::printf("writing %d cycle files of %d records into %s ...\n", files, records,
                qPrintable(folder));
    std::fflush(stdout);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
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
        // Stored when the cycle ran, as a store fills: long settled for the index.
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.setFileTime(spec.start, QFileDevice::FileModificationTime)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return false;
        }
    }
    QFile done(marker);
    return done.open(QIODevice::WriteOnly) && done.write(wanted) == wanted.size();
}

} // namespace kvaro::bench
