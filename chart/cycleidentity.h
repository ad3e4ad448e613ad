#pragma once

#include <QString>

namespace kvaro {

class Language;
class LineBuffer;

// The line under the chart's title that says what a picture shows once it has left the
// window. A cycle from the store names its oven (the folder it lies in) and its number (from
// the file name); a file opened on its own names the file. Both carry the start date and the
// first record's and the end record's times. A part the file does not hold readably is shown
// as "?": the line never stops a chart from being drawn.
QString cycleIdentityLine(const LineBuffer& lines, bool stored, const Language& language);

} // namespace kvaro
