#pragma once

#include "clocksync/minutesync.h"

namespace velk {

class CheckBox;
class ClockCapture;
class ClockCommands;
class LocalClock;
class StatusPanels;
class TextBox;
class Transmitter;

// The once-a-second work: show the PC time and date (in the displays and in the status bar) and,
// while the sync box is ticked, hand the second to the minute sync, which sends the PC clock to
// the devices during second 00 of every minute. Never blocks and never shows a message: a closed
// port just means this minute is not sent.
class TickHandler {
public:
    TickHandler(const LocalClock& clock, TextBox& timeDisplay, TextBox& dateDisplay, CheckBox& sync,
                ClockCapture& capture, Transmitter& transmitter, const ClockCommands& hourMode,
                StatusPanels& status);

    void tick();
    // The displays as the window opens: 24-hour time and the date, also in the status bar.
    void showDisplays();

private:
    const LocalClock& m_clock;
    TextBox& m_timeDisplay;
    TextBox& m_dateDisplay;
    CheckBox& m_sync;
    const ClockCommands& m_hourMode;
    StatusPanels& m_status;
    MinuteSync m_minuteSync;
    bool m_syncOn = false;
};

} // namespace velk
