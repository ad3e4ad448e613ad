#pragma once

#include <QString>
#include <QStringList>

namespace kvaro {

class Language;

class ChartModel;

// The name a person reads for a series of chart, in the interface language: in the output
// lanes, the readout under the mouse, the legends, the report's tables and the CSV's
// columns. The series keep their own titles in the chart model; these are the words the
// filter list uses for them. Where the language has no word of its own (or the loader
// already named the series in it, as the first and fourth outputs), the series' title.
QString seriesName(const ChartModel& chart, int series, const Language& language);
// The names the language gives, by series; empty where the series' own title stands.
QStringList seriesNames(const Language& language);

} // namespace kvaro
