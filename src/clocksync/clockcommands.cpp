#include "clocksync/clockcommands.h"

#include "clock/clockcapture.h"
#include "clock/datetimeentry.h"
#include "transmit/transmitter.h"

namespace velk {

ClockCommands::ClockCommands(CommandSink& sink, DateTimeEntry& entry, ClockCapture& capture)
    : m_sink(sink), m_entry(entry), m_capture(capture) {}

void ClockCommands::setTimeClicked() {
    if (!m_sink.portGuard())
        return;
    // The devices always get the 24-hour value; the hour mode is for the display only.
    m_sink.setClock(m_entry.entryClock());
}

void ClockCommands::updateTimeClicked() {
    m_capture.capturePcClock(m_entry);
    m_entry.fillClockSelectors();
}

void ClockCommands::hourModeClicked(int index) {
    if (index == 0)
        m_twelveHourMode = true;
    else if (index == 1)
        m_twelveHourMode = false;
}

} // namespace velk
