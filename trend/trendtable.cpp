#include "trend/trendtable.h"

#include "cycles/csvtable.h"
#include "cycles/language.h"

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

// Decimals a column is shown with: counters as the controller writes them, minutes to a
// tenth, temperatures whole as the summary states them.
int decimalsOf(TrendColumn column)
{
    switch (column) {
    case TrendColumn::Consumption:
        return 3;
    case TrendColumn::ReachedAfter:
    case TrendColumn::HeldFor:
    case TrendColumn::Duration:
    case TrendColumn::HighestWorking:
        return 1;
    default:
        return 0;
    }
}

} // namespace

QString trendColumnTitle(TrendColumn column, const Language& language)
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
    case TrendColumn::MeanDifference:
        return language.text(Text::TrendMeanDifference);
    case TrendColumn::Duration:
        return language.text(Text::TrendDuration);
    }
    return {};
}

QString trendColumnKey(TrendColumn column)
{
    static const char* const keys[TrendColumnCount] = {
        "start",          "cycle",          "consumption",    "reachedAfterMinutes",
        "heldForMinutes", "highestWorking", "meanDifference", "durationMinutes"};
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
    case TrendColumn::MeanDifference:
        return f.meanDifference;
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
    const std::optional<double> value = trendValue(cycle, column);
    if (!value)
        return QStringLiteral("-");
    QString text = QString::number(*value, 'f', decimalsOf(column));
    if (column == TrendColumn::Consumption)
        text += cycle.figures->unit == RecordTotals::Unit::KilowattHours ? QStringLiteral(" kWh")
                                                                         : QStringLiteral(" kg");
    return withSeparator(text, decimalSeparator);
}

CsvTable trendCsv(const QList<TrendCycle>& cycles, const Language& language, QChar decimalSeparator)
{
    CsvTable table(decimalSeparator);
    QStringList heading;
    for (int c = 0; c < TrendColumnCount; ++c)
        heading.append(trendColumnTitle(TrendColumn(c), language));
    table.addRow(heading);
    for (const TrendCycle& cycle : cycles) {
        QStringList row;
        for (int c = 0; c < TrendColumnCount; ++c) {
            const auto column = TrendColumn(c);
            if (column < FirstTrendFigure) {
                row.append(trendCell(cycle, column, decimalSeparator));
            } else {
                const std::optional<double> value = trendValue(cycle, column);
                row.append(value ? table.number(*value) : QString());
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
