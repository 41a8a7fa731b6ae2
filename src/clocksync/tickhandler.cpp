#include "clocksync/tickhandler.h"

#include "transmit/commandsink.h"

#include "clocksync/clockcommands.h"
#include "clocksync/statuspanels.h"
#include "controls/checkbox.h"
#include "controls/clockstatetext.h"
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
                         const ClockCommands& hourMode, StatusPanels& status,
                         const ClockStateSource* clockState)
    : m_clock(clock), m_timeDisplay(timeDisplay), m_dateDisplay(dateDisplay), m_sync(sync),
      m_hourMode(hourMode), m_status(status), m_minuteSync(clock, capture, transmitter) {
    if (clockState)
        m_clockState = std::make_unique<ClockStateWatch>(*clockState);
    m_minuteSync.onDropped([this](const QString& warning) {
        m_status.showNotice(warning.left(1).toUpper() + warning.mid(1) + QLatin1Char('.'));
    });
}

void TickHandler::tick() {
    // The box runs no handler of its own; the tick is where a change shows.
    const bool elsewhere = m_sink && m_sink->keepsMinuteElsewhere();
    if (m_sync.isChecked() != m_syncOn) {
        m_syncOn = m_sync.isChecked();
        qCInfo(lcSync) << (m_syncOn ? "sync on" : "sync off");
        m_minuteSync.startOver();
        if (elsewhere)
            m_sink->syncBoxChanged(m_syncOn);
    }
    // The minute's group first: the displays can wait, the line's timing cannot.
    if (m_syncOn && !elsewhere)
        m_minuteSync.tick();
    m_timeDisplay.setText(
        m_clock.format(m_hourMode.twelveHourMode() ? kTwelveHourPattern : kTwentyFourHourPattern));
    m_dateDisplay.setText(m_clock.dateText());
    m_status.tick();
    showClockState();
}

void TickHandler::showClockState() {
    if (!m_clockState)
        return;
    if (m_clockState->update())
        qCInfo(lcSync).noquote() << clockStateLine(m_clockState->state());
    m_timeDisplay.setToolTip(clockStateLine(m_clockState->state()));
    const bool note = m_syncOn && m_clockState->state().sync == ClockState::Sync::NotSynchronised;
    if (note == m_noteShown)
        return;
    m_noteShown = note;
    if (note)
        m_status.replaceOwnText(kClockNotSynchronisedNote);
    else
        m_status.restoreOwnText();
}

void TickHandler::showDisplays() {
    m_timeDisplay.setText(m_clock.format(kTwentyFourHourPattern));
    m_dateDisplay.setText(m_clock.dateText());
    m_status.showDate();
    showClockState();
}

} // namespace velk
