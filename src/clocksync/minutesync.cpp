#include "clocksync/minutesync.h"

#include "clock/clockcapture.h"
#include "clock/dayrules.h"
#include "controls/logging.h"
#include "transmit/transmitter.h"

namespace velk {

MinuteSync::MinuteSync(ClockCapture& capture, Transmitter& transmitter)
    : m_capture(capture), m_transmitter(transmitter) {}

bool MinuteSync::tick() {
    m_capture.captureSyncClock();
    const ClockValues& sync = m_capture.syncClock();
    const std::optional<int> second = clockNumber(sync.second);
    // A second that could not be read is not second 00: nothing half-known goes to the devices.
    if (!second)
        qCWarning(lcSync).noquote()
            << "the PC clock's second" << sync.second << "cannot be read; nothing is sent";
    if (second != 0)
        return false;
    if (!m_transmitter.isPortOpen()) {
        qCInfo(lcSync).noquote() << "minute" << sync.hour + QLatin1Char(':') + sync.minute
                                 << "not sent: the port is closed";
        return false;
    }
    m_transmitter.writeClockGroup(sync);
    return true;
}

} // namespace velk
