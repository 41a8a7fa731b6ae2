#pragma once

namespace velk {

class ClockCapture;
class DateTimeEntry;
class CommandSink;

// Set Time sends the entry clock to the devices; Update Time refills the entry from the PC clock;
// the hour mode only chooses how the PC time is displayed and is never sent.
class ClockCommands {
public:
    ClockCommands(CommandSink& sink, DateTimeEntry& entry, ClockCapture& capture);

    void setTimeClicked();
    void updateTimeClicked();
    // Index 0 is "  12 Hour", index 1 "  24 Hour".
    void hourModeClicked(int index);
    bool twelveHourMode() const { return m_twelveHourMode; }

private:
    CommandSink& m_sink;
    DateTimeEntry& m_entry;
    ClockCapture& m_capture;
    bool m_twelveHourMode = false;
};

} // namespace velk
