#include "clock/zonedclock.h"

namespace velk {

QDateTime ZonedClock::now() const {
    const QDateTime now = m_clock.now();
    return m_zone.isValid() ? now.toTimeZone(m_zone) : now;
}

} // namespace velk
