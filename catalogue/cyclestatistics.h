#pragma once

#include "cycles/cyclefiletext.h"

#include <QString>

namespace kvaro {

// The two measurements behind a listed cycle's progress bar. Both look at the lines from
// line 0 up to line count - 3 (line 0 always), skip lines that are no record lines and
// throw Failure naming the file and line.

// The programmed cycle length in seconds from the first record line in range; 0 when none.
int getCyklSekund(const QString& path, Reading reading = Reading::Partial);

// Seconds from the first record line in range whose working temperature reaches
// temperatura - 5 (and is above 0) to the time of the last line; 0 when never reached.
// The record lines after the reaching one are walked to count the midnights on the way
// (ElapsedClock): a clock set back by less than 12 hours adds no day.
int getSekundWtemperaturze(const QString& path, int temperatura,
                           Reading reading = Reading::Partial);

} // namespace kvaro
