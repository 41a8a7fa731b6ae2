#include "protocol/tickhandler.h"

#include "clock/clockcapture.h"
#include "clock/dayrules.h"
#include "controls/checkbox.h"
#include "controls/localclock.h"
#include "controls/textbox.h"
#include "protocol/clockcommands.h"
#include "protocol/statuspanels.h"
#include "protocol/transmitter.h"

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
    m_status.tick();
    if (!m_sync.isChecked())
        return;
    m_capture.captureSyncClock();
    // A second that could not be read is not second 00: nothing half-known goes to the devices.
    if (clockNumber(m_capture.syncClock().second) != 0)
        return;
    if (!m_transmitter.isPortOpen())
        return;
    m_transmitter.writeClockGroup(m_capture.syncClock());
}

void TickHandler::showDisplays() {
    m_timeDisplay.setText(m_clock.format(kTwentyFourHourPattern));
    m_dateDisplay.setText(m_clock.dateText());
    m_status.showDate();
}

} // namespace velk
