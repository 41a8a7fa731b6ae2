#pragma once

#include "controls/handler.h"

#include <QtGlobal>

namespace velk {

// A wait for an instant of the wall clock, not for a length of time: it rings once the clock
// reads that instant, however the clock was set meanwhile, and says when the clock was stepped
// (set by hand, by a time service, or on waking from sleep) so the waiter can re-arm at once.
class WallClockAlarm {
public:
    virtual ~WallClockAlarm() = default;

    void onRing(Handler handler) { m_ring = std::move(handler); }
    void onStep(Handler handler) { m_step = std::move(handler); }

    // Rings at `msecsSinceEpoch` (UTC), or at once when that has passed. Replaces any earlier
    // arming; steps are told only while armed.
    virtual void armAt(qint64 msecsSinceEpoch) = 0;
    virtual void disarm() = 0;

protected:
    void raiseRing() const { raise(m_ring); }
    void raiseStep() const { raise(m_step); }

private:
    Handler m_ring;
    Handler m_step;
};

} // namespace velk
