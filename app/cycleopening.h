#pragma once

#include "chart/openedcycle.h"

#include <QString>

#include <optional>

class QObject;
class QWidget;

namespace kvaro {

class ProgressDialog;

// One window shows one cycle, yet with the reading and the loading of a cycle off the
// window's thread a second one may be opened before the first is drawn. Every step that
// reads a cycle into Memo1 or loads Memo1 into the chart takes a turn when it starts and
// changes the window only when no later turn was taken by the time it ends: the cycle
// opened last is the one shown, whichever ends first.
namespace cycleturn {
int take();
bool isLatest(int turn);
} // namespace cycleturn

// Cycles of more records than this show MsgDialog at once while they are read and loaded;
// smaller ones only when it takes long.
inline constexpr int LargeCycleRecords = 100000;
// A file larger than this holds a large cycle: a record line carries over 80 fields.
inline constexpr qint64 LargeCycleBytes = qint64(LargeCycleRecords) * 150;

// openCycle on a worker thread, the window's events processed meanwhile, with `dialog`
// shown over `over` while a large file is read. Nothing when a later turn was taken
// meanwhile or `owner` was destroyed: the caller then changes nothing. Throws Failure as
// openCycle does.
std::optional<OpenedCycle> openCycleAside(const QObject* owner, const QString& path,
                                          CycleSource source, QChar decimalSeparator,
                                          ProgressDialog* dialog, const QWidget* over);

} // namespace kvaro
