#pragma once

#include "trend/trendbuild.h"

#include <QChar>
#include <QList>
#include <QString>

#include <optional>

namespace kvaro {

class CsvTable;
class Language;

// The columns of an oven's trend, in the order the table, the CSV file and kvaro-cli give
// them. The figures from Consumption on can be drawn against the start.
enum class TrendColumn {
    Start,
    Cycle,
    Consumption,
    ReachedAfter,
    HeldFor,
    HighestWorking,
    MeanAbsT1T2,
    Duration,
};
inline constexpr int TrendColumnCount = int(TrendColumn::Duration) + 1;
inline constexpr TrendColumn FirstTrendFigure = TrendColumn::Consumption;

// The column's heading in the table and its CSV file, named as the report names the
// figure: durations are written "hh:mm:ss" there.
QString trendColumnTitle(TrendColumn column, const Language& language);
// A figure's name as the chart draws it, with its unit: durations in minutes.
QString trendFigureTitle(TrendColumn column, const Language& language);
// The stable English key kvaro-cli's JSON names the column by.
QString trendColumnKey(TrendColumn column);

// A figure as a number: kg or kWh, minutes, °C. None for the two columns that are no figure
// and for a figure the cycle does not have.
std::optional<double> trendValue(const TrendCycle& cycle, TrendColumn column);

// A cell as the table shows it: the start as "yyyy-MM-dd HH:mm", durations "hh:mm:ss",
// other figures with the decimal separator given, "-" where there is none.
QString trendCell(const TrendCycle& cycle, TrendColumn column, QChar decimalSeparator);

// The whole trend as a spreadsheet table: a heading row, then one row per cycle, durations
// "hh:mm:ss" (which a spreadsheet reads as a time), other figures as numbers with their
// table's decimals. The consumption goes in one column per unit the cycles have, each
// named with its unit, so a column never adds kilograms to kilowatt hours.
CsvTable trendCsv(const QList<TrendCycle>& cycles, const Language& language,
                  QChar decimalSeparator);

// The mean and the (population) standard deviation of the values a column has.
struct TrendSpread {
    int count = 0;
    double mean = 0;
    double deviation = 0;
};
TrendSpread trendSpread(const QList<TrendCycle>& cycles, TrendColumn column);

} // namespace kvaro
