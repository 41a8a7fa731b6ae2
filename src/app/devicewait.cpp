#include "app/devicewait.h"

#include "clocksync/statuspanels.h"
#include "connection/connectioncommands.h"
#include "port/line.h"

namespace velk {

DeviceWait::DeviceWait(Line& port, ConnectionCommands& connection, StatusPanels& status)
    : m_port(port), m_connection(connection), m_status(status), m_reconnector(port) {
    m_reconnector.onReconnected([this] { reconnected(); });
}

QString DeviceWait::waitingText(const QString& line) {
    return QStringLiteral("Waiting for the device on %1 ...").arg(line);
}

void DeviceWait::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (!enabled)
        operatorTookOver();
}

void DeviceWait::portLost() {
    if (!m_enabled)
        return;
    m_status.replaceOwnText(waitingText(m_port.lineLabel()));
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
