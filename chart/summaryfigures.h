#pragma once

#include "chart/chartmodel.h"
#include "chart/chartsummary.h"

#include <QDebug>

#include <optional>

namespace kvaro {

// A drawn cycle's summary as numbers: every figure its summary labels state as text, and
// beside them the cycle's figures as the report and the trend define them. Each is none
// where the cycle (or the part of it the load reached) has no such figure.
struct SummaryFigures {
    FuelPicture fuel = FuelPicture::None; // as the footer's picture shows it
    // The unit both consumptions count in, by the cycle's heating type: kWh for an electric
    // oven, kg of fuel for a burner oven. None when neither consumption is there.
    RecordTotals::Unit consumptionUnit = RecordTotals::Unit::None;
    std::optional<double> consumption;             // the whole cycle's: the end line's counter
    std::optional<double> consumptionAtLastRecord; // the summary's: the last drawn record's
    std::optional<qint64> programmedSeconds;
    std::optional<double> setTemperature; // °C
    // Seconds from the start until the set temperature was reached (0: at the start), and
    // from then to the last drawn record.
    std::optional<qint64> reachedAfterSeconds;
    std::optional<qint64> heldForSeconds;
    std::optional<double> meanAbsT1T2;                // °C
    std::optional<double> halfMeanAbsT1T2RoundedDown; // °C, what the summary states
    std::optional<double> highestWorking;             // °C
    std::optional<qint64> durationSeconds;            // from the first record to the end line
    std::optional<int> burnerCount;                   // burner ovens
    std::optional<int> powerLevelPercent;             // when the power is regulated

    friend bool operator==(const SummaryFigures&, const SummaryFigures&) = default;
};
QDebug operator<<(QDebug debug, const SummaryFigures& figures);

// The figures of the cycle a load has drawn into chart and summary.
SummaryFigures summaryFiguresOf(const ChartSummary& summary, const ChartModel& chart);

} // namespace kvaro
