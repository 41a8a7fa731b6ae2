#include "app/devicewait.h"

#include "clocksync/statuspanels.h"
#include "connection/connectioncommands.h"
#include "port/line.h"
#include "port/linename.h"

namespace velk {

DeviceWait::DeviceWait(Line& port, ConnectionCommands& connection, StatusPanels& status)
    : m_port(port), m_connection(connection), m_status(status), m_reconnector(port) {
    m_reconnector.onReconnected([this] { reconnected(); });
}

QString DeviceWait::waitingText(const QString& line, bool bridge) {
    return QStringLiteral("Waiting for the %1 on %2 ...")
        .arg(bridge ? QStringLiteral("bridge") : QStringLiteral("device"), line);
}

void DeviceWait::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled)
        operatorTookOver();
}

void DeviceWait::portLost() {
    // Taken over by another connection: the panel stays disconnected rather than fight it.
    if (!m_enabled || m_port.wasTakenOver())
        return;
    // On a bus line it is the bridge that is waited for, through the broker.
    m_status.replaceOwnText(waitingText(m_port.lineLabel(), m_port.name().isBus()));
    m_reconnector.start();
}

void DeviceWait::operatorTookOver() {
    m_reconnector.stop();
    m_status.restoreOwnText();
}

void DeviceWait::reconnected() {
    m_status.restoreOwnText();
    m_connection.portReopened();
}

} // namespace velk
