#pragma once

#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"

#include <QString>
#include <QStringList>

#include <exception>

namespace kvaro {

class Language;
class LineBuffer;

// What a load of one cycle makes: the chart, the figures outside it, the filter list with
// every series' shown state, what it had to say on the way, and the failure it stopped at.
// A load that stopped keeps what it drew and wrote before the failing line.
struct ChartLoad {
    ChartModel chart;
    ChartSummary summary;
    FilterList filters;
    QStringList messages; // in the order said; the failure's own text is not among them
    std::exception_ptr failure;

    bool complete() const { return !failure; }
    // The failure the load stopped at, thrown again (a Failure naming the file and line).
    void rethrowFailure() const
    {
        if (failure)
            std::rethrow_exception(failure);
    }
};

// Draws the cycle held in memo1 (Memo1: lower case, normalised, at least 3 lines) into
// the chart of `start`, whose series are empty, and writes the summary figures. Blank lines
// after the end record are no lines of the cycle: the lines are counted back from the
// last one that holds text. The summary of `start` is the previous load's state; what this
// load does not reach keeps it. Ends by rebuilding the filter list of `start`, which sets
// every series' shown state.
//
// A field that does not convert or is missing stops the load with a Failure naming the
// file and the line, kept in the result: the points and figures set before it stay and
// the later steps do not run. A heating type it cannot draw hides the chart, says the
// NotDrawable line and goes on.
ChartLoad WczytajWykres(const LineBuffer& memo1, const Language& language, ChartLoad start = {});

// The titles of the output arrows of the heating itself: "Palnik 1" and "Palnik 2" of a
// burner oven, "Grzałki" and "Grzałki CH2" of an electric one, in the language given. A
// heating type that cannot be drawn leaves them.
void titleHeatingArrows(ChartModel& chart, int heatingType, const Language& language);

// The label of a point: time since the cycle start, "mm:ss" below an hour, "hh:mm:ss"
// from an hour on (hours go past 23 for cycles that run over a day), "00:00" at the start.
QString elapsedLabel(qint64 seconds);
// Seconds as "hh:mm:ss", always with the hours: a time of day, or a time since the start
// where the hours must not be left out (time marks, cursors, set-point marks).
QString hoursMinutesSeconds(qint64 seconds);
// Seconds from a label in either form ("mm:ss" or "hh:mm:ss", the hours any number);
// -1 for a text that is neither.
qint64 secondsOfLabel(const QString& label);

} // namespace kvaro
