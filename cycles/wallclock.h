#pragma once

#include <QtGlobal>

namespace kvaro {

inline constexpr int SecondsPerDay = 24 * 3600;

// The controller's clock knows no date and no time zone: a record carries a time of day and
// nothing else. Durations are therefore wall-clock arithmetic on those times, never a
// conversion through the local time zone (where a summer-time hour does not exist or comes
// twice). Two rules, one for each way a reader sees a cycle.

// For readers that walk the records one after another. A step back of more than 12 hours
// from the previous record is midnight, and the rest of the cycle lies a day later; a
// smaller step back is the clock being set (by hand, or for summer time) and adds nothing.
class ElapsedClock
{
public:
    // Seconds from the first time of day given to this one: the absolute difference of
    // the two readings, the later one counting the midnights passed so far.
    qint64 elapsed(int timeOfDay);

private:
    bool m_started = false;
    int m_start = 0;
    int m_previous = 0;
    qint64 m_days = 0; // 64 bits: a damaged file may jump back on every line
};

// For readers that see only a start and an end time of day: an end earlier than the start
// is on the next day. In seconds, 64 bits wide: a damaged file's hour need not be an hour.
constexpr bool endsNextDay(qint64 startTimeOfDay, qint64 endTimeOfDay)
{
    return endTimeOfDay < startTimeOfDay;
}

} // namespace kvaro
