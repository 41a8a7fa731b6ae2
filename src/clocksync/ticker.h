#pragma once

#include "controls/handler.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <optional>

namespace velk {

class LocalClock;
class WallClockAlarm;

// The one-second tick, phase-locked to the wall clock: each tick is armed for just after the
// next whole second, so every second, and so every minute's second 00, is delivered exactly
// once however the timer drifts. When the wall clock jumps (set by hand, a time-server step,
// daylight saving) ticking carries on from the new time.
//
// With a wall-clock alarm, second 00 of every minute is delivered from an absolute-time wait
// for the whole minute itself, so the minute's work starts on the minute, not a timer's delay
// after it; a step of the clock re-arms both waits at once and delivers a second already due.
class Ticker : public QObject {
    Q_OBJECT

public:
    // How long after a whole second a tick is due; enough that an on-time timer lands inside the
    // new second.
    static constexpr int kDelayAfterSecondMs = 5;
    // How long before a whole minute the timer wakes once, see msecsUntilNextWake().
    static constexpr int kApproachMs = 50;

    explicit Ticker(const LocalClock& clock, WallClockAlarm* alarm = nullptr,
                    QObject* parent = nullptr);

    void onTick(Handler handler) { m_tick = std::move(handler); }
    // Arms the first tick for the next whole second; no tick is ever delivered inside start().
    void start();
    void stop();
    bool isActive() const { return m_timer.isActive(); }

    // Delivers the tick if the wall clock has reached a second not delivered yet, then re-arms.
    // The timer calls it; a timer that fires early just re-arms.
    void poll();

    // From `now` to a few milliseconds after the next whole second.
    static int msecsUntilNextTick(const QDateTime& now);
    // What the timer is armed with: the time to the next tick, except that the wait for a
    // minute's second 00, the tick that sends the clock group, ends a little early. The system
    // may end a wait up to a thousandth of its length late, a millisecond for nearly a second;
    // woken early, the ticker finds nothing due and waits only briefly for the tick itself.
    static int msecsUntilNextWake(const QDateTime& now);
    // The whole second of the wall clock that `now` falls in.
    static qint64 secondOf(const QDateTime& now);
    // A tick is due unless its second is the one delivered last; after a backwards jump an
    // earlier second is new again.
    static bool isDue(const QDateTime& now, std::optional<qint64> lastDelivered);
    // The next whole minute after `now`, in ms since the epoch.
    static qint64 nextWholeMinute(const QDateTime& now);

private:
    void arm();
    void armMinute();
    void clockStepped();

    const LocalClock& m_clock;
    WallClockAlarm* m_alarm;
    QTimer m_timer;
    Handler m_tick;
    std::optional<qint64> m_lastDelivered;
};

} // namespace velk
