#include "clocksync/tickhandler.h"

#include "clock/clockcapture.h"
#include "clock/dayrules.h"
#include "clocksync/clockcommands.h"
#include "clocksync/statuspanels.h"
#include "controls/checkbox.h"
#include "controls/localclock.h"
#include "controls/logging.h"
#include "controls/textbox.h"
#include "transmit/transmitter.h"

namespace velk {

namespace {
const QString kTwentyFourHourPattern = QStringLiteral("HH:mm:ss");
const QString kTwelveHourPattern = QStringLiteral("hh:mm:ss AP");
} // namespace

TickHandler::TickHandler(const LocalClock& clock, TextBox& timeDisplay, TextBox& dateDisplay,
                         CheckBox& sync, ClockCapture& capture, Transmitter& transmitter,
                         const ClockCommands& hourMode, StatusPanels& status)
    : m_clock(clock), m_timeDisplay(timeDisplay), m_dateDisplay(dateDisplay), m_sync(sync),
      m_capture(capture), m_transmitter(transmitter), m_hourMode(hourMode), m_status(status) {}

void TickHandler::tick() {
    m_timeDisplay.setText(
        m_clock.format(m_hourMode.twelveHourMode() ? kTwelveHourPattern : kTwentyFourHourPattern));
    m_dateDisplay.setText(m_clock.dateText());
    // The box runs no handler of its own; the tick is where a change shows.
    if (m_sync.isChecked() != m_syncOn) {
        m_syncOn = m_sync.isChecked();
        qCInfo(lcSync) << (m_syncOn ? "sync on" : "sync off");
    }
    m_status.tick();
    if (!m_syncOn)
        return;
    m_capture.captureSyncClock();
    const ClockValues& sync = m_capture.syncClock();
    const std::optional<int> second = clockNumber(sync.second);
    // A second that could not be read is not second 00: nothing half-known goes to the devices.
    if (!second)
        qCWarning(lcSync).noquote()
            << "the PC clock's second" << sync.second << "cannot be read; nothing is sent";
    if (second != 0)
        return;
    if (!m_transmitter.isPortOpen()) {
        qCInfo(lcSync).noquote() << "minute" << sync.hour + QLatin1Char(':') + sync.minute
                                 << "not sent: the port is closed";
        return;
    }
    m_transmitter.writeClockGroup(sync);
}

void TickHandler::showDisplays() {
    m_timeDisplay.setText(m_clock.format(kTwentyFourHourPattern));
    m_dateDisplay.setText(m_clock.dateText());
    m_status.showDate();
}

} // namespace velk
