#pragma once

// What every benchmark measures with: the median of timed runs, the process's processor
// time and resident memory, and the generated store of cycle files they share.

#include <QDate>
#include <QString>

#include <functional>

namespace kvaro::bench {

// The medians of runs of work: wall-clock and processor time (every thread of the
// process), in milliseconds. On a machine others share, the processor time says what the
// work costs where the wall-clock time says mostly how long it waited.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

// Runs work `runs` times and gives the medians; before(), when given, runs untimed ahead
// of each run (to undo what the last run left).
Timing median(int runs, const std::function<void()>& work,
              const std::function<void()>& before = {});

// The processor time of the process so far, every thread, in milliseconds.
double processorMilliseconds();

// VmRSS and VmHWM of this process, in MiB (0 where /proc cannot tell).
struct Memory {
    double resident = 0;
    double peak = 0;
};
Memory residentMemory();

// Makes `folder` a store of `files` generated cycles of `records` records each, started
// over the year up to `today`, in the stored form, unless it already is one. A marker
// file beside the folder says what it holds, so a store kept with --keep is shared by the
// benchmarks and written again only when asked for another size. Says on stdout when it
// writes, and on stderr which file it could not write.
bool writeStore(const QString& folder, int files, int records, const QDate& today);

} // namespace kvaro::bench
