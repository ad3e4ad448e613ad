#pragma once

#include <QString>

namespace kvaro {

class ChartModel;
class FilterList;
class Language;
class LineBuffer;
class Messages;
struct ChartSummary;

// Draws the cycle held in memo1 (Memo1: lower case, normalised, at least 3 lines) into
// chart, whose series the caller has emptied, and writes the summary figures. Blank lines
// after the end record are no lines of the cycle: the lines are counted back from the
// last one that holds text. The summary holds the previous load's state on entry; what
// this load does not reach keeps it. Ends by rebuilding the filter list, which sets every
// series' shown state.
//
// A field that does not convert or is missing throws Failure naming the file and the line;
// the points and figures set before it stay and the later steps do not run. A heating type
// it cannot draw hides the chart, shows the NotDrawable line through messages and goes on.
void WczytajWykres(const LineBuffer& memo1, const Language& language, ChartModel& chart,
                   ChartSummary& summary, FilterList& filters, Messages& messages);

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
