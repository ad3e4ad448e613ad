#include "chart/chartsummary.h"

namespace kvaro {

QString fuelPictureName(FuelPicture picture)
{
    switch (picture) {
    case FuelPicture::Olej:
        return QStringLiteral("Olej");
    case FuelPicture::Gaz:
        return QStringLiteral("Gaz");
    case FuelPicture::Prad:
        return QStringLiteral("Prad");
    case FuelPicture::None:
        break;
    }
    return {};
}

QDebug operator<<(QDebug debug, const ChartSummary& s)
{
    QDebugStateSaver saver(debug);
    const SummaryShown& v = s.shown;
    debug.nospace() << "ChartSummary(Label1=" << s.Label1 << " Label2=" << s.Label2
                    << " Label3=" << s.Label3 << " SrRoznicaGrzania=" << s.SrRoznicaGrzania
                    << " CzasOsiagnieciaLabel=" << s.CzasOsiagnieciaLabel
                    << " PalnikStatus=" << s.PalnikStatus << " shown[Chart1=" << v.Chart1
                    << " PalnikImg=" << v.PalnikImg << " PalnikStatus=" << v.PalnikStatus
                    << " GrodzImg=" << v.GrodzImg << " PrzewietrzanieImg=" << v.PrzewietrzanieImg
                    << " RegulacjaMocyImg=" << v.RegulacjaMocyImg
                    << " regulacjaMocyBar=" << v.regulacjaMocyBar << " Olej=" << v.Olej
                    << " Gaz=" << v.Gaz << " Prad=" << v.Prad << " FooterImage=" << v.FooterImage
                    << "] bar=" << s.regulacjaMocyBarPosition
                    << " FooterImage=" << fuelPictureName(s.FooterImage)
                    << " Advsmoothtabpager1=" << s.Advsmoothtabpager1Enabled
                    << " LoadedOvenKind=" << s.LoadedOvenKind
                    << " LoadedBurnerCount=" << s.LoadedBurnerCount
                    << " LoadedProbeCount=" << s.LoadedProbeCount << ')';
    return debug;
}

} // namespace kvaro
