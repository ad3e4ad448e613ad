#pragma once

#include "chart/chartmodel.h"

#include <QString>

#include <optional>

namespace kvaro {

class Language;

// Which burner and event code an event marker series stands for.
struct BurnerEvent {
    int burner = 0; // 1..8
    int code = 0;   // 1..7
    bool operator==(const BurnerEvent&) const = default;
};

// The burner and code of an event marker series; nothing for any other series.
std::optional<BurnerEvent> burnerEventOf(int series);

// The name of an event code 1..7 in the language; empty for any other code.
QString eventName(const Language& language, int code);

// What resting the pointer on a marker tells: the burner and the event's name, the record's
// clock time and the time since the cycle start, the exchanger temperature it sits at.
QString eventTooltip(const Language& language, BurnerEvent event, const ChartBubble& bubble);

} // namespace kvaro
