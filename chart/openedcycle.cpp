#include "chart/openedcycle.h"

#include "cycles/cycleformat.h"
#include "cycles/fields.h"

namespace kvaro {

OpenedCycle openCycle(const QString& path, CycleSource source, QChar decimalSeparator)
{
    OpenedCycle opened;
    opened.lines.loadFile(path);
    if (source == CycleSource::Picked)
        normalise(opened.lines, decimalSeparator);
    opened.drawable = opened.lines.trimmedCount() >= line::MinimumCount;
    return opened;
}

} // namespace kvaro
