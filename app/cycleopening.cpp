#include "app/cycleopening.h"

#include "app/progressdialog.h"
#include "app/workerthread.h"

#include <QFileInfo>
#include <QPointer>

namespace kvaro {

namespace cycleturn {

namespace {
// Only the window's thread takes turns.
int lastTurn = 0;
} // namespace

int take()
{
    return ++lastTurn;
}

bool isLatest(int turn)
{
    return turn == lastTurn;
}

} // namespace cycleturn

std::optional<OpenedCycle> openCycleAside(const QObject* owner, const QString& path,
                                          CycleSource source, QChar decimalSeparator,
                                          ProgressDialog* dialog, const QWidget* over)
{
    const int turn = cycleturn::take();
    // A dialog an import holds goes on showing the import.
    const QPointer<ProgressDialog> shown(dialog && !dialog->isHeld() ? dialog : nullptr);
    if (shown) {
        dialog->setBusy();
        if (QFileInfo(path).size() > LargeCycleBytes)
            dialog->showCentred(over);
        else
            dialog->showCentredAfter(ProgressDialog::ShortWorkMs, over);
    }
    OpenedCycle opened;
    bool ended = false;
    try {
        ended = runAside(
            owner, [&](const CancelCheck&) { opened = openCycle(path, source, decimalSeparator); });
    } catch (...) {
        // A file that failed after another was opened has nothing left to say.
        if (!cycleturn::isLatest(turn))
            return std::nullopt;
        if (shown)
            shown->finish();
        throw;
    }
    if (!ended || !cycleturn::isLatest(turn))
        return std::nullopt;
    if (shown)
        shown->finish();
    return opened;
}

} // namespace kvaro
