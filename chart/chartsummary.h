#pragma once

#include "chart/chartmodel.h"

#include <QDebug>
#include <QList>
#include <QString>

#include <cmath>
#include <optional>

namespace kvaro {

// Which fuel picture the footer under the cycle list copies.
enum class FuelPicture { None, Olej, Gaz, Prad };

QString fuelPictureName(FuelPicture picture); // "Olej", "Gaz", "Prad"; empty for None

// What the window shows of a cycle besides its texts: the chart, and the pictures and
// indicators of the options the cycle has. The window maps each to its control.
struct SummaryShown {
    bool chart = false;
    bool burners = false;     // the burner picture
    bool burnerCount = false; // its caption, the number of burners
    bool secondChannel = false;
    bool airing = false;
    bool powerRegulation = false;
    bool powerBar = false; // the power level
    bool oil = false;
    bool gas = false;
    bool electricity = false;
    bool fuelFooter = false; // the fuel picture under the cycle list
    bool operator==(const SummaryShown&) const = default;
};

// The numbers behind the summary's texts that show a field of the file as it stands, read
// where the text is set and kept like it. None where the load did not reach the field, or
// where the field reads as no number (the text still shows it).
struct SummaryNumbers {
    std::optional<qint64> programmedSeconds; // the programmed cycle time
    std::optional<double> setTemperature;    // °C
    // The consumption counter of the last drawn record, in the unit of that record's heating
    // type (the unit is known even where the counter is no number).
    std::optional<double> consumption;
    RecordTotals::Unit consumptionUnit = RecordTotals::Unit::None;
    std::optional<int> burnerCount; // set by burner ovens only, as the caption
    bool operator==(const SummaryNumbers&) const = default;
};

// What the summary states as the mean heating difference: half the mean of |T1 - T2|,
// rounded down to a whole degree.
inline double halfMeanAbsT1T2RoundedDown(double meanAbsT1T2)
{
    return std::floor(meanAbsT1T2 / 2);
}

// Everything a load writes outside the chart: the texts of the summary labels, the state of
// the pictures and the three results the filter list reads. A load starts from the previous
// load's summary and overwrites only what it reaches, so whatever it does not set keeps
// its value. The default is the window as it opens.
struct ChartSummary {
    // Texts are plain text: they carry fields of the cycle file as they stand.
    QString programmedTime = QStringLiteral("00:00");
    QString setTemperature = QStringLiteral("0.000");
    QString consumption = QStringLiteral("00.000kg"); // fuel or energy used
    QString meanHeatingDifference;
    QString setTemperatureReached; // when the set temperature was reached, and held for
    QString burnerCount;           // caption of the burner picture
    SummaryNumbers numbers;

    SummaryShown shown;
    int powerLevel = 0; // power regulation, 0..100
    FuelPicture fuel = FuelPicture::None;
    // The tabs that describe a drawn cycle; off for a cycle the window cannot describe.
    bool cycleTabsEnabled = true;

    int LoadedOvenKind = 0;
    int LoadedBurnerCount = 0;
    int LoadedProbeCount = 0;

    bool operator==(const ChartSummary&) const = default;
};

QDebug operator<<(QDebug debug, const ChartSummary& summary);

// A summary text with the object name of the label that shows it.
struct SummaryLabel {
    QString objectName; // "Label1", "SrRoznicaGrzania", ...
    QString text;
};

// The summary's texts in the order the labels read on screen. The one place that knows
// which label shows which figure: the window fills its labels from it and kvaro-cli names
// its output after it.
QList<SummaryLabel> summaryLabels(const ChartSummary& summary);

// Heating types 0 to 2 (burner ovens) and 3 (electric) are drawn; any other hides the chart.
constexpr bool isDrawableOvenKind(int kind)
{
    return kind >= 0 && kind <= 3;
}

} // namespace kvaro
