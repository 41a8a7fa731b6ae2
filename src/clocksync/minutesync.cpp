#include "clocksync/minutesync.h"

#include "clock/clockcapture.h"
#include "clock/dayrules.h"
#include "clocksync/ticker.h"
#include "controls/localclock.h"
#include "controls/logging.h"
#include "transmit/transmitter.h"

namespace velk {

namespace {

constexpr qint64 kSecondsPerMinute = 60;

qint64 floorDiv(qint64 value, qint64 divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

QString timeOfSecond(qint64 second, const char* pattern) {
    return QDateTime::fromSecsSinceEpoch(second).toString(QLatin1String(pattern));
}

} // namespace

MinuteSync::MinuteSync(const LocalClock& clock, ClockCapture& capture, Transmitter& transmitter)
    : m_clock(clock), m_capture(capture), m_transmitter(transmitter), m_line(transmitter) {}

void MinuteSync::setHeld(bool held) {
    if (m_held && !held) // this minute, if it is second 00 now, is not sent late
        m_lastMinute = floorDiv(Ticker::secondOf(m_clock.now()), kSecondsPerMinute);
    m_held = held;
}

bool MinuteSync::tick() {
    const QDateTime now = m_clock.now();
    const qint64 nowSecond = Ticker::secondOf(now);
    noteSkippedMinutes(nowSecond);
    if (const QString dropped = m_line.check(now.toMSecsSinceEpoch());
        !dropped.isEmpty() && m_dropped)
        m_dropped(dropped);

    m_capture.captureSyncClock();
    const ClockValues& sync = m_capture.syncClock();
    const std::optional<int> second = clockNumber(sync.second);
    // A second that could not be read is not second 00: nothing half-known goes to the devices.
    if (!second)
        qCWarning(lcSync).noquote()
            << "the PC clock's second" << sync.second << "cannot be read; nothing is sent";
    if (second != 0)
        return false;
    const qint64 minute = floorDiv(nowSecond, kSecondsPerMinute);
    if (m_lastMinute == minute || m_held)
        return false;
    m_lastMinute = minute;
    const QString label = sync.hour + QLatin1Char(':') + sync.minute;
    if (!m_transmitter.isPortOpen()) {
        qCInfo(lcSync).noquote() << "minute" << label << "not sent: the port is closed";
        return false;
    }
    const qint64 handedBefore = m_transmitter.bytesHanded();
    const qint64 ahead = m_transmitter.pendingBytes();
    m_transmitter.writeClockGroup(sync);
    m_line.groupWritten(minute * kSecondsPerMinute * 1000, label, ahead,
                        m_transmitter.bytesHanded() - handedBefore);
    return true;
}

void MinuteSync::noteSkippedMinutes(qint64 second) {
    const std::optional<qint64> last = std::exchange(m_lastSecond, second);
    if (!last || second <= *last + 1)
        return;
    // Whole minutes strictly between the last second seen and this one had no second 00 here.
    const qint64 first = floorDiv(*last, kSecondsPerMinute) + 1;
    const qint64 final = floorDiv(second - 1, kSecondsPerMinute);
    if (first > final)
        return;
    const QString from = timeOfSecond(*last, "HH:mm:ss");
    const QString to = timeOfSecond(second, "HH:mm:ss");
    const QString firstLabel = timeOfSecond(first * kSecondsPerMinute, "HH:mm");
    const QString skipped =
        first == final ? QStringLiteral("the %1 group was skipped").arg(firstLabel)
                       : QStringLiteral("the %1 to %2 groups were skipped")
                             .arg(firstLabel, timeOfSecond(final * kSecondsPerMinute, "HH:mm"));
    qCWarning(lcSync).noquote() << "the PC clock went from" << from << "to" << to + ';' << skipped;
}

} // namespace velk
