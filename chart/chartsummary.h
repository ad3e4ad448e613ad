#pragma once

#include <QDebug>
#include <QString>

namespace kvaro {

// Which fuel picture the footer under the cycle list copies.
enum class FuelPicture { None, Olej, Gaz, Prad };

QString fuelPictureName(FuelPicture picture); // "Olej", "Gaz", "Prad"; empty for None

// Shown state of the pictures and indicators the loader sets, by control name.
struct SummaryShown {
    bool Chart1 = false;
    bool PalnikImg = false;
    bool PalnikStatus = false;
    bool GrodzImg = false;
    bool PrzewietrzanieImg = false;
    bool RegulacjaMocyImg = false;
    bool regulacjaMocyBar = false;
    bool Olej = false;
    bool Gaz = false;
    bool Prad = false;
    bool FooterImage = false;
    bool operator==(const SummaryShown&) const = default;
};

// Everything a load writes outside the chart: the texts of the summary labels, the state of
// the pictures and the three results the filter list reads. A load starts from the previous
// load's summary and overwrites only what it reaches, so whatever it does not set keeps
// its value. The default is the window as it opens.
struct ChartSummary {
    // Label texts are plain text: they carry fields of the cycle file as they stand.
    QString Label1 = QStringLiteral("00:00");    // programmed cycle time
    QString Label2 = QStringLiteral("0.000");    // set temperature
    QString Label3 = QStringLiteral("00.000kg"); // fuel or energy used
    QString SrRoznicaGrzania;                    // mean heating difference
    QString CzasOsiagnieciaLabel;                // set temperature reached, and held for
    QString PalnikStatus;                        // caption: the number of burners

    SummaryShown shown;
    int regulacjaMocyBarPosition = 0; // 0..100
    FuelPicture FooterImage = FuelPicture::None;
    bool Advsmoothtabpager1Enabled = true;

    int LoadedOvenKind = 0;
    int LoadedBurnerCount = 0;
    int LoadedProbeCount = 0;

    bool operator==(const ChartSummary&) const = default;
};

QDebug operator<<(QDebug debug, const ChartSummary& summary);

// Heating types 0 to 2 (burner ovens) and 3 (electric) are drawn; any other hides the chart.
constexpr bool isDrawableOvenKind(int kind)
{
    return kind >= 0 && kind <= 3;
}

} // namespace kvaro
