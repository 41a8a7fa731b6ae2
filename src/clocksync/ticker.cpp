#include "clocksync/ticker.h"

#include "controls/localclock.h"
#include "controls/logging.h"
#include "controls/wallclockalarm.h"

namespace velk {

Ticker::Ticker(const LocalClock& clock, WallClockAlarm* alarm, QObject* parent)
    : QObject(parent), m_clock(clock), m_alarm(alarm), m_timer(this) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Ticker::poll);
    if (m_alarm) {
        m_alarm->onRing([this] {
            poll();
            armMinute();
        });
        m_alarm->onStep([this] { clockStepped(); });
    }
}

void Ticker::start() {
    // The second the window opened in has been shown already; the first tick is the next one.
    m_lastDelivered = secondOf(m_clock.now());
    arm();
    armMinute();
}

void Ticker::stop() {
    m_timer.stop();
    if (m_alarm)
        m_alarm->disarm();
}

void Ticker::armMinute() {
    if (m_alarm && m_timer.isActive())
        m_alarm->armAt(nextWholeMinute(m_clock.now()));
}

void Ticker::clockStepped() {
    if (!m_timer.isActive())
        return;
    qCInfo(lcSync).noquote() << "the PC clock was set to"
                             << m_clock.format(QStringLiteral("HH:mm:ss.zzz"));
    poll();
    armMinute();
}

void Ticker::poll() {
    const QDateTime now = m_clock.now();
    if (isDue(now, m_lastDelivered)) {
        m_lastDelivered = secondOf(now);
        raise(m_tick);
    }
    arm();
}

void Ticker::arm() {
    // Measured after the tick's work, so a slow tick does not push the next one off its second.
    m_timer.start(msecsUntilNextWake(m_clock.now()));
}

int Ticker::msecsUntilNextWake(const QDateTime& now) {
    const int untilTick = msecsUntilNextTick(now);
    const bool minuteNext = now.time().second() == 59;
    return minuteNext && untilTick > 2 * kApproachMs ? untilTick - kApproachMs : untilTick;
}

int Ticker::msecsUntilNextTick(const QDateTime& now) {
    const qint64 intoSecond = now.toMSecsSinceEpoch() - secondOf(now) * 1000;
    return int(1000 - intoSecond) + kDelayAfterSecondMs;
}

qint64 Ticker::nextWholeMinute(const QDateTime& now) {
    const qint64 minute = 60 * 1000;
    const qint64 msecs = now.toMSecsSinceEpoch();
    const qint64 into = ((msecs % minute) + minute) % minute;
    return msecs - into + minute;
}

qint64 Ticker::secondOf(const QDateTime& now) {
    const qint64 msecs = now.toMSecsSinceEpoch();
    // Floor, also for times before 1970.
    return msecs >= 0 ? msecs / 1000 : -((-msecs + 999) / 1000);
}

bool Ticker::isDue(const QDateTime& now, std::optional<qint64> lastDelivered) {
    return !lastDelivered || secondOf(now) != *lastDelivered;
}

} // namespace velk
