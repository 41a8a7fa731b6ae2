#pragma once

#include "controls/localclock.h"

#include <QTimeZone>

namespace velk {

// Another clock's instants in a given time zone, for a line whose displays hang in another zone
// than the PC's. An invalid zone leaves the clock's own (the PC's local time).
class ZonedClock : public LocalClock {
public:
    ZonedClock(const LocalClock& clock, const QTimeZone& zone) : m_clock(clock), m_zone(zone) {}
    QDateTime now() const override;

private:
    const LocalClock& m_clock;
    QTimeZone m_zone;
};

} // namespace velk
