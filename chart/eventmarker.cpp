#include "chart/eventmarker.h"

#include "base/language.h"
#include "chart/chartloader.h"
#include "cycles/wallclock.h"

#include <array>

namespace kvaro {

std::optional<BurnerEvent> burnerEventOf(int index)
{
    for (int burner = 1; burner <= 8; ++burner) {
        const int code = index - series::event(burner, 1) + 1;
        if (code >= 1 && code <= 7)
            return BurnerEvent{burner, code};
    }
    return std::nullopt;
}

QString eventName(const Language& language, int code)
{
    static constexpr std::array names{Text::EventWorking, Text::EventFlame, Text::EventCooling,
                                      Text::EventFault,   Text::EventPurge, Text::EventMainsFailure,
                                      Text::EventIgnition};
    if (code < 1 || code > int(names.size()))
        return QString();
    return language.text(names[std::size_t(code - 1)]);
}

QString eventTooltip(const Language& language, BurnerEvent event, const ChartBubble& bubble)
{
    const QString clock =
        hoursMinutesSeconds(((bubble.timeOfDay % SecondsPerDay) + SecondsPerDay) % SecondsPerDay);
    // The temperature as the file writes it, with a point whatever the machine's locale.
    const QString exchanger = QString::number(bubble.y, 'f', 1);
    return fillIn(language.text(Text::EventTooltip),
                  {QString::number(event.burner), eventName(language, event.code)}) +
           QLatin1Char('\n') +
           fillIn(language.text(Text::EventTime), {clock, elapsedLabel(bubble.elapsed)}) +
           QLatin1Char('\n') + fillIn(language.text(Text::EventExchanger), {exchanger});
}

} // namespace kvaro
