#pragma once

#include "clocksync/linewatch.h"

#include <QString>
#include <functional>
#include <optional>

namespace velk {

class ClockCapture;
class LocalClock;
class Transmitter;

// The sync's work in one second: during second 00 of a minute the PC clock goes to the devices
// as one clock group. The caller delivers each second once (the Ticker does); a closed port or a
// clock that cannot be read means this minute is not sent, and nothing is made up later.
//
// A minute is dealt with once: delivered again (a second 00 reached both by the minute's own
// wait and by the tick, or again after the clock was set back across it) it sends nothing more.
// Minutes the clock jumped over are logged; a group the line does not take in time is withdrawn
// (see LineWatch).
class MinuteSync {
public:
    using DropHandler = std::function<void(const QString&)>;

    MinuteSync(const LocalClock& clock, ClockCapture& capture, Transmitter& transmitter);

    // True when a clock group went to the port.
    bool tick();
    // While held no group is written; released, groups go on from the next whole minute.
    void setHeld(bool held);
    // Forgets the last second seen, as when the sync is switched on: no minutes count as skipped.
    void startOver() { m_lastSecond.reset(); }
    // Runs with the warning when a group was withdrawn from a line that does not take data.
    void onDropped(DropHandler handler) { m_dropped = std::move(handler); }

private:
    void noteSkippedMinutes(qint64 second);

    const LocalClock& m_clock;
    ClockCapture& m_capture;
    Transmitter& m_transmitter;
    LineWatch m_line;
    DropHandler m_dropped;
    std::optional<qint64> m_lastMinute; // the last minute whose second 00 was dealt with
    std::optional<qint64> m_lastSecond;
    bool m_held = false;
};

} // namespace velk
