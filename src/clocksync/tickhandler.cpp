#include "clocksync/tickhandler.h"

#include "clocksync/clockcommands.h"
#include "clocksync/statuspanels.h"
#include "controls/checkbox.h"
#include "controls/localclock.h"
#include "controls/logging.h"
#include "controls/textbox.h"

namespace velk {

namespace {
const QString kTwentyFourHourPattern = QStringLiteral("HH:mm:ss");
const QString kTwelveHourPattern = QStringLiteral("hh:mm:ss AP");
} // namespace

TickHandler::TickHandler(const LocalClock& clock, TextBox& timeDisplay, TextBox& dateDisplay,
                         CheckBox& sync, ClockCapture& capture, Transmitter& transmitter,
                         const ClockCommands& hourMode, StatusPanels& status)
    : m_clock(clock), m_timeDisplay(timeDisplay), m_dateDisplay(dateDisplay), m_sync(sync),
      m_hourMode(hourMode), m_status(status), m_minuteSync(capture, transmitter) {}

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
    m_minuteSync.tick();
}

void TickHandler::showDisplays() {
    m_timeDisplay.setText(m_clock.format(kTwentyFourHourPattern));
    m_dateDisplay.setText(m_clock.dateText());
    m_status.showDate();
}

} // namespace velk
