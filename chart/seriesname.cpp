#include "chart/seriesname.h"

#include "base/language.h"
#include "chart/chartmodel.h"

namespace kvaro {

namespace {

QString named(int series, const Language& language)
{
    const auto text = [&](Text name) { return language.text(name).trimmed(); };
    switch (series) {
    case series::Power:
        return text(Text::Power);
    case series::ArrowFirst + 1:
        return text(Text::Fan);
    case series::ArrowFirst + 2:
        return text(Text::Airing);
    case series::ArrowFirst + 4: // the second channel's fan, as the filter list writes it
        return text(Text::Fan).isEmpty() || text(Text::Channel).isEmpty()
                   ? QString()
                   : text(Text::Fan) + QLatin1Char(' ') + text(Text::Channel) + QStringLiteral("2");
    case series::WorkingTemperature:
        return text(Text::WorkingTemperatureName);
    default:
        return QString();
    }
}

} // namespace

QString seriesName(const ChartModel& chart, int series, const Language& language)
{
    const QString name = named(series, language);
    if (!name.isEmpty())
        return name;
    return series >= 0 && series < chart.count() ? chart.at(series).title : QString();
}

QStringList seriesNames(const Language& language)
{
    QStringList names;
    for (int s = 0; s < SeriesCount; ++s)
        names.append(named(s, language));
    return names;
}

} // namespace kvaro
