#include "chart/chartsummary.h"

namespace kvaro {

namespace {

template <typename T> QString orNone(const std::optional<T>& value)
{
    return value ? QString::number(*value) : QStringLiteral("none");
}

} // namespace

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

QList<SummaryLabel> summaryLabels(const ChartSummary& s)
{
    return {
        {QStringLiteral("Label1"), s.programmedTime},
        {QStringLiteral("Label2"), s.setTemperature},
        {QStringLiteral("Label3"), s.consumption},
        {QStringLiteral("SrRoznicaGrzania"), s.meanHeatingDifference},
        {QStringLiteral("CzasOsiagnieciaLabel"), s.setTemperatureReached},
        {QStringLiteral("PalnikStatus"), s.burnerCount},
    };
}

QDebug operator<<(QDebug debug, const ChartSummary& s)
{
    QDebugStateSaver saver(debug);
    const SummaryShown& v = s.shown;
    debug.nospace() << "ChartSummary(";
    for (const SummaryLabel& label : summaryLabels(s))
        debug << label.objectName << '=' << label.text << ' ';
    const SummaryNumbers& n = s.numbers;
    debug.noquote() << "numbers[programmedSeconds=" << orNone(n.programmedSeconds)
                    << " setTemperature=" << orNone(n.setTemperature)
                    << " consumption=" << orNone(n.consumption) << ' ' << int(n.consumptionUnit)
                    << " burnerCount=" << orNone(n.burnerCount) << "] ";
    debug.quote();
    debug << "shown[Chart1=" << v.chart << " PalnikImg=" << v.burners
          << " PalnikStatus=" << v.burnerCount << " GrodzImg=" << v.secondChannel
          << " PrzewietrzanieImg=" << v.airing << " RegulacjaMocyImg=" << v.powerRegulation
          << " regulacjaMocyBar=" << v.powerBar << " Olej=" << v.oil << " Gaz=" << v.gas
          << " Prad=" << v.electricity << " FooterImage=" << v.fuelFooter
          << "] powerLevel=" << s.powerLevel << " fuel=" << fuelPictureName(s.fuel)
          << " cycleTabsEnabled=" << s.cycleTabsEnabled << " LoadedOvenKind=" << s.LoadedOvenKind
          << " LoadedBurnerCount=" << s.LoadedBurnerCount
          << " LoadedProbeCount=" << s.LoadedProbeCount << ')';
    return debug;
}

} // namespace kvaro
