#pragma once

#include "clock/clockcapture.h"
#include "clocksync/clockstatewatch.h"
#include "clocksync/minutesync.h"
#include "clocksync/ticker.h"
#include "connection/reconnector.h"
#include "ctl/ctlport.h"
#include "transmit/transmitter.h"

#include <QObject>

namespace velk {

class LocalClock;
class Line;
class WallClockAlarm;
struct CtlOptions;

// The panel's minute sync without its window: one clock group at the start of every minute, on
// the phase-locked tick. A device that vanishes is waited for, tried every 2 s; once it is back
// the groups go on from the next whole minute, none made up for the minutes it was away.
//
// The PC clock's state is logged at the start and at every change. A clock that is not
// synchronised is warned of and followed all the same, or, when the sync requires a
// synchronised clock, held: no groups until it is synchronised again, then from the next whole
// minute.
class SyncService : public QObject {
    Q_OBJECT

public:
    SyncService(Line& port, const LocalClock& clock, const ClockStateSource& clockState,
                WallClockAlarm* alarm = nullptr, QObject* parent = nullptr);

    // Opens the chosen port and starts ticking, unless the sync was switched off. `started`
    // hears nothing on success, otherwise the port's own description of why it cannot be opened.
    void start(const CtlOptions& options, Line::Opened started);
    // Stops ticking and waiting; closes the port once the line has taken what it was given.
    // `stopped` hears how many bytes the line would not take.
    void stop(Line::Closed stopped);
    // Switches the clock groups on or off; before start() it decides whether start() ticks.
    // Switched on again, the groups go on from the next whole minute.
    void setSyncOn(bool on);

    // Runs after the line was lost and again once it is back.
    void onLineChanged(Handler handler) { m_lineChanged = std::move(handler); }

    Ticker& ticker() { return m_ticker; }
    Reconnector& reconnector() { return m_reconnector; }
    const MinuteSync& minuteSync() const { return m_minuteSync; }
    // The line's one writer: whoever else writes to the line (the bridge) writes through it, so
    // frames never interleave and the stalled-line rule counts every byte.
    Transmitter& transmitter() { return m_transmitter; }

private:
    void checkClockState();
    void startTicking();

    Line& m_port;
    LoggedMessages m_messages;
    Transmitter m_transmitter;
    ClockCapture m_capture;
    MinuteSync m_minuteSync;
    ClockStateWatch m_clockState;
    Ticker m_ticker;
    Reconnector m_reconnector;
    bool m_requireSynced = false;
    bool m_syncOn = true;
    bool m_started = false;
    bool m_holding = false;
    Handler m_lineChanged;
};

} // namespace velk
