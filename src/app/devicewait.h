#pragma once

#include "connection/reconnector.h"

#include <QString>

namespace velk {

class ConnectionCommands;
class Line;
class StatusPanels;

// Waiting for a vanished device when the run asked for it (--reconnect): the port is tried again
// in the background while the status bar's first panel says so, and once the device is back the
// panel carries on connected as after CONNECT. The operator's own CONNECT or Disconnect ends the
// waiting.
class DeviceWait {
public:
    DeviceWait(Line& port, ConnectionCommands& connection, StatusPanels& status);

    void setEnabled(bool enabled);

    // The port lost its device; the connection commands have shown the closed link already.
    void portLost();
    // CONNECT or Disconnect was pressed: the operator takes over from here.
    void operatorTookOver();

    Reconnector& reconnector() { return m_reconnector; }

    // The first panel's text while waiting for `line` as the port names it, e.g. "Waiting for
    // the device on Com 1 ..." or "... on 10.0.0.9:4001 ...".
    static QString waitingText(const QString& line);

private:
    void reconnected();

    Line& m_port;
    ConnectionCommands& m_connection;
    StatusPanels& m_status;
    Reconnector m_reconnector;
    bool m_enabled = false;
};

} // namespace velk
