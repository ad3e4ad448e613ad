#include "cycles/wallclock.h"

#include <cstdlib>

namespace kvaro {

namespace {
constexpr int MidnightStep = SecondsPerDay / 2;
} // namespace

qint64 ElapsedClock::elapsed(int timeOfDay)
{
    if (!m_started) {
        m_started = true;
        m_start = timeOfDay;
        m_previous = timeOfDay;
    }
    if (m_previous - timeOfDay > MidnightStep)
        ++m_days;
    m_previous = timeOfDay;
    return std::llabs(timeOfDay + m_days * SecondsPerDay - m_start);
}

} // namespace kvaro
