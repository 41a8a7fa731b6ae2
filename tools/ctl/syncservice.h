#pragma once

#include "clock/clockcapture.h"
#include "clocksync/minutesync.h"
#include "clocksync/ticker.h"
#include "connection/reconnector.h"
#include "ctl/ctlport.h"
#include "transmit/transmitter.h"

#include <QObject>

namespace velk {

class LocalClock;
class SerialPort;
struct CtlOptions;

// The panel's minute sync without its window: one clock group at the start of every minute, on
// the phase-locked tick. A device that vanishes is waited for, tried every 2 s; once it is back
// the groups go on from the next whole minute, none made up for the minutes it was away.
class SyncService : public QObject {
    Q_OBJECT

public:
    SyncService(SerialPort& port, const LocalClock& clock, QObject* parent = nullptr);

    // Opens the chosen port and starts ticking. Empty on success, otherwise the port's own
    // description of why it cannot be opened.
    QString start(const CtlOptions& options);
    // Stops ticking and waiting; closes the port once the line has taken what it was given.
    // Returns how many bytes the line would not take.
    qint64 stop();

    // Runs after the line was lost and again once it is back.
    void onLineChanged(Handler handler) { m_lineChanged = std::move(handler); }

    Ticker& ticker() { return m_ticker; }
    Reconnector& reconnector() { return m_reconnector; }
    int groupsSent() const { return m_groupsSent; }

private:
    SerialPort& m_port;
    LoggedMessages m_messages;
    Transmitter m_transmitter;
    ClockCapture m_capture;
    MinuteSync m_minuteSync;
    Ticker m_ticker;
    Reconnector m_reconnector;
    int m_groupsSent = 0;
    Handler m_lineChanged;
};

} // namespace velk
