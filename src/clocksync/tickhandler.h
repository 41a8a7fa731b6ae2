#pragma once

#include "clocksync/clockstatewatch.h"
#include "clocksync/minutesync.h"

#include <memory>

namespace velk {

class CheckBox;
class CommandSink;
class ClockCapture;
class ClockCommands;
class LocalClock;
class StatusPanels;
class TextBox;
class Transmitter;

// The once-a-second work: show the PC time and date (in the displays and in the status bar) and,
// while the sync box is ticked, hand the second to the minute sync, which sends the PC clock to
// the devices during second 00 of every minute, before any display changes. Never blocks and
// never shows a message: a closed port just means this minute is not sent, a group the line
// would not take is told in the status bar.
//
// With the PC clock's state to read, the time display's tooltip tells it, and while the sync is
// on and the clock is not synchronised the status bar's first panel says so.
class TickHandler {
public:
    TickHandler(const LocalClock& clock, TextBox& timeDisplay, TextBox& dateDisplay, CheckBox& sync,
                ClockCapture& capture, Transmitter& transmitter, const ClockCommands& hourMode,
                StatusPanels& status, const ClockStateSource* clockState = nullptr);

    void tick();
    // Where the panel's commands go; while it keeps the minute elsewhere (a bus line's bridge),
    // no group of the panel's own goes out and the sync box switches the bridge's sync.
    void setCommandSink(CommandSink* sink) { m_sink = sink; }
    // The displays as the window opens: 24-hour time and the date, also in the status bar.
    void showDisplays();

private:
    void showClockState();

    const LocalClock& m_clock;
    TextBox& m_timeDisplay;
    TextBox& m_dateDisplay;
    CheckBox& m_sync;
    const ClockCommands& m_hourMode;
    StatusPanels& m_status;
    MinuteSync m_minuteSync;
    std::unique_ptr<ClockStateWatch> m_clockState;
    CommandSink* m_sink = nullptr;
    bool m_syncOn = false;
    bool m_noteShown = false;
};

} // namespace velk
