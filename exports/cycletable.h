#pragma once

#include "exports/csvtable.h"

#include <QChar>

namespace kvaro {

class Language;
struct OpenedCycle;

// A cycle as a spreadsheet table: one row per record the chart draws, holding its clock
// time, the time since the first drawn record (hours going past 23), T1, T2, the working
// temperature, the heating power of an electric oven or the exchanger temperature of each
// burner the cycle has, its fuel (kg) or energy (kWh) counter, the five outputs the chart
// draws as arrows as 0 or 1, and each burner's event code. Above them a header row of names
// and units in the interface language, the outputs named as the chart names them. Numbers
// are written with the decimal separator given and the decimals of their field, so the
// table opens as numbers in a spreadsheet of the same locale.
//
// Whatever the chart would not draw the table does not hold either, with the same words:
// a file too short or of a heating type outside 0 to 3 throws Failure with the "cannot be
// drawn" text naming the file, a field that is missing or does not convert the loader's
// own text naming the file and the line.
CsvTable cycleTable(const OpenedCycle& cycle, const Language& language, QChar decimalSeparator);

} // namespace kvaro
