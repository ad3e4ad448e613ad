#include "chart/summaryfigures.h"

#include "chart/cyclefigures.h"
#include "cycles/cycleformat.h"

namespace kvaro {

namespace {

template <typename T> QString orNone(const std::optional<T>& value)
{
    return value ? QString::number(*value) : QStringLiteral("none");
}

RecordTotals::Unit unitOfHeatingType(int heatingType)
{
    if (!isDrawableOvenKind(heatingType))
        return RecordTotals::Unit::None;
    return heatingType == heating::Electric ? RecordTotals::Unit::KilowattHours
                                            : RecordTotals::Unit::Kilograms;
}

// A counter read from a line of another heating type than the cycle's counts in another
// unit: it is no figure of this cycle.
std::optional<double> inUnit(const std::optional<double>& value, RecordTotals::Unit unit,
                             RecordTotals::Unit wanted)
{
    return wanted != RecordTotals::Unit::None && unit == wanted ? value : std::nullopt;
}

} // namespace

QDebug operator<<(QDebug debug, const SummaryFigures& f)
{
    QDebugStateSaver saver(debug);
    debug.nospace().noquote() << "SummaryFigures(fuel " << fuelPictureName(f.fuel) << ", unit "
                              << int(f.consumptionUnit) << ", consumption " << orNone(f.consumption)
                              << ", at the last record " << orNone(f.consumptionAtLastRecord)
                              << ", programmed " << orNone(f.programmedSeconds) << ", set "
                              << orNone(f.setTemperature) << ", reached after "
                              << orNone(f.reachedAfterSeconds) << ", held for "
                              << orNone(f.heldForSeconds) << ", mean |T1 - T2| "
                              << orNone(f.meanAbsT1T2) << ", stated "
                              << orNone(f.halfMeanAbsT1T2RoundedDown) << ", highest "
                              << orNone(f.highestWorking) << ", duration "
                              << orNone(f.durationSeconds) << ", burners " << orNone(f.burnerCount)
                              << ", power level " << orNone(f.powerLevelPercent) << ')';
    return debug;
}

SummaryFigures summaryFiguresOf(const ChartSummary& summary, const ChartModel& chart)
{
    const SummaryNumbers& numbers = summary.numbers;
    const CycleTrendFigures trend = trendFiguresOf(chart);
    const RecordTotals::Unit unit = unitOfHeatingType(summary.LoadedOvenKind);

    SummaryFigures f;
    f.fuel = summary.fuel;
    f.consumption = inUnit(trend.consumed, trend.unit, unit);
    f.consumptionAtLastRecord = inUnit(numbers.consumption, numbers.consumptionUnit, unit);
    if (f.consumption || f.consumptionAtLastRecord)
        f.consumptionUnit = unit;
    f.programmedSeconds = numbers.programmedSeconds;
    f.setTemperature = numbers.setTemperature;
    f.reachedAfterSeconds = trend.reachedAfter;
    f.heldForSeconds = trend.heldFor;
    f.meanAbsT1T2 = trend.meanAbsT1T2;
    if (trend.meanAbsT1T2)
        f.halfMeanAbsT1T2RoundedDown = halfMeanAbsT1T2RoundedDown(*trend.meanAbsT1T2);
    f.highestWorking = trend.highestWorking;
    f.durationSeconds = trend.duration;
    f.burnerCount = numbers.burnerCount;
    if (summary.shown.powerBar)
        f.powerLevelPercent = summary.powerLevel;
    return f;
}

} // namespace kvaro
