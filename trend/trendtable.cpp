#include "trend/trendtable.h"

#include "base/language.h"
#include "chart/chartloader.h"
#include "exports/csvtable.h"

#include <algorithm>
#include <cmath>

namespace kvaro {

namespace {

std::optional<double> minutes(const std::optional<qint64>& seconds)
{
    return seconds ? std::optional<double>(double(*seconds) / 60.0) : std::nullopt;
}

QString withSeparator(QString text, QChar decimalSeparator)
{
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

// Decimals a column is shown with: counters to the controller's thousandth, temperatures
// to a tenth.
int decimalsOf(TrendColumn column)
{
    return column == TrendColumn::Consumption ? 3 : 1;
}

// The seconds of a duration column, which table and CSV write "hh:mm:ss".
std::optional<std::optional<qint64>> durationOf(const TrendCycle& cycle, TrendColumn column)
{
    const auto of = [&](auto member) -> std::optional<qint64> {
        return cycle.figures ? (*cycle.figures).*member : std::nullopt;
    };
    switch (column) {
    case TrendColumn::ReachedAfter:
        return of(&CycleTrendFigures::reachedAfter);
    case TrendColumn::HeldFor:
        return of(&CycleTrendFigures::heldFor);
    case TrendColumn::Duration:
        return of(&CycleTrendFigures::duration);
    default:
        return std::nullopt; // no duration column
    }
}

QString unitText(RecordTotals::Unit unit)
{
    return unit == RecordTotals::Unit::KilowattHours ? QStringLiteral("kWh") : QStringLiteral("kg");
}

} // namespace

QString trendColumnTitle(TrendColumn column, const Language& language)
{
    switch (column) {
    case TrendColumn::ReachedAfter:
        return language.text(Text::ReportReachedAfter);
    case TrendColumn::HeldFor:
        return language.text(Text::ReportHeldFor);
    case TrendColumn::Duration:
        return language.text(Text::ReportDuration);
    default:
        return trendFigureTitle(column, language);
    }
}

QString trendFigureTitle(TrendColumn column, const Language& language)
{
    switch (column) {
    case TrendColumn::Start:
        return language.text(Text::TrendStart);
    case TrendColumn::Cycle:
        return language.text(Text::TrendCycle);
    case TrendColumn::Consumption:
        return language.text(Text::TrendConsumption);
    case TrendColumn::ReachedAfter:
        return language.text(Text::TrendReachedAfter);
    case TrendColumn::HeldFor:
        return language.text(Text::TrendHeldFor);
    case TrendColumn::HighestWorking:
        return language.text(Text::TrendHighestWorking);
    case TrendColumn::MeanAbsT1T2:
        return language.text(Text::TrendMeanAbsT1T2);
    case TrendColumn::Duration:
        return language.text(Text::TrendDuration);
    }
    return {};
}

QString trendColumnKey(TrendColumn column)
{
    static const char* const keys[TrendColumnCount] = {
        "start",          "cycle",          "consumption", "reachedAfterMinutes",
        "heldForMinutes", "highestWorking", "meanAbsT1T2", "durationMinutes"};
    return QString::fromLatin1(keys[int(column)]);
}

std::optional<double> trendValue(const TrendCycle& cycle, TrendColumn column)
{
    if (!cycle.figures)
        return std::nullopt;
    const CycleTrendFigures& f = *cycle.figures;
    switch (column) {
    case TrendColumn::Start:
    case TrendColumn::Cycle:
        return std::nullopt;
    case TrendColumn::Consumption:
        return f.consumed;
    case TrendColumn::ReachedAfter:
        return minutes(f.reachedAfter);
    case TrendColumn::HeldFor:
        return minutes(f.heldFor);
    case TrendColumn::HighestWorking:
        return f.highestWorking;
    case TrendColumn::MeanAbsT1T2:
        return f.meanAbsT1T2;
    case TrendColumn::Duration:
        return minutes(f.duration);
    }
    return std::nullopt;
}

QString trendCell(const TrendCycle& cycle, TrendColumn column, QChar decimalSeparator)
{
    switch (column) {
    case TrendColumn::Start:
        return cycle.start.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    case TrendColumn::Cycle:
        return cycle.number;
    default:
        break;
    }
    if (const auto duration = durationOf(cycle, column))
        return *duration ? hoursMinutesSeconds(**duration) : QStringLiteral("-");
    const std::optional<double> value = trendValue(cycle, column);
    if (!value)
        return QStringLiteral("-");
    QString text = QString::number(*value, 'f', decimalsOf(column));
    if (column == TrendColumn::Consumption)
        text += QLatin1Char(' ') + unitText(cycle.figures->unit);
    return withSeparator(text, decimalSeparator);
}

CsvTable trendCsv(const QList<TrendCycle>& cycles, const Language& language, QChar decimalSeparator)
{
    // The consumption's units, kilograms first; one column named without a unit when no
    // cycle has a figure.
    QList<RecordTotals::Unit> units;
    for (const auto unit : {RecordTotals::Unit::Kilograms, RecordTotals::Unit::KilowattHours}) {
        if (std::any_of(cycles.cbegin(), cycles.cend(), [unit](const TrendCycle& cycle) {
                return cycle.figures && cycle.figures->consumed && cycle.figures->unit == unit;
            }))
            units.append(unit);
    }
    CsvTable table(decimalSeparator);
    QStringList heading;
    for (int c = 0; c < TrendColumnCount; ++c) {
        const auto column = TrendColumn(c);
        if (column == TrendColumn::Consumption && !units.isEmpty()) {
            for (const RecordTotals::Unit unit : units)
                heading.append(language.text(unit == RecordTotals::Unit::KilowattHours
                                                 ? Text::CursorEnergyUsed
                                                 : Text::CursorFuelUsed));
        } else {
            heading.append(trendColumnTitle(column, language));
        }
    }
    table.addRow(heading);
    for (const TrendCycle& cycle : cycles) {
        QStringList row;
        for (int c = 0; c < TrendColumnCount; ++c) {
            const auto column = TrendColumn(c);
            const std::optional<double> value = trendValue(cycle, column);
            if (column < FirstTrendFigure || durationOf(cycle, column)) {
                const QString cell = trendCell(cycle, column, decimalSeparator);
                row.append(cell == QLatin1String("-") ? QString() : cell);
            } else if (column == TrendColumn::Consumption && !units.isEmpty()) {
                for (const RecordTotals::Unit unit : units)
                    row.append(value && cycle.figures->unit == unit
                                   ? table.fixed(*value, decimalsOf(column))
                                   : QString());
            } else {
                row.append(value ? table.fixed(*value, decimalsOf(column)) : QString());
            }
        }
        table.addRow(row);
    }
    return table;
}

TrendSpread trendSpread(const QList<TrendCycle>& cycles, TrendColumn column)
{
    TrendSpread spread;
    double sum = 0;
    for (const TrendCycle& cycle : cycles) {
        if (const std::optional<double> value = trendValue(cycle, column)) {
            sum += *value;
            ++spread.count;
        }
    }
    if (spread.count == 0)
        return spread;
    spread.mean = sum / spread.count;
    double squares = 0;
    for (const TrendCycle& cycle : cycles) {
        if (const std::optional<double> value = trendValue(cycle, column))
            squares += (*value - spread.mean) * (*value - spread.mean);
    }
    spread.deviation = std::sqrt(squares / spread.count);
    return spread;
}

} // namespace kvaro
