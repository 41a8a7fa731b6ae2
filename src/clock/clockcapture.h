#pragma once

#include "clock/clockvalues.h"
#include "controls/localclock.h"

namespace velk {

class DateTimeEntry;

// Takes the PC's date and time by splitting the clock's fixed "hh:mm:ss" and "mm-dd-yyyy" texts.
// The entry clock (what the operator sends) and the sync clock (what the timer sends) are kept
// apart, so the automatic sync never disturbs the operator's picks.
class ClockCapture {
public:
    explicit ClockCapture(const LocalClock& clock);

    // Fills the entry clock; the selectors follow only through fillClockSelectors().
    void capturePcClock(DateTimeEntry& entry);
    void captureSyncClock();

    const ClockValues& syncClock() const { return m_sync; }
    // The scratch text of the last split: the four-digit year once a capture has finished.
    QString clockText() const { return m_clockText; }

private:
    // A piece that cannot be found leaves its value as it was.
    void capture(ClockValues& values);

    const LocalClock& m_clock;
    ClockValues m_sync;
    QString m_clockText;
};

} // namespace velk
