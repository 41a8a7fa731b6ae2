#include "connection/connectioncommands.h"

#include "port/portdescriptions.h"

namespace velk {

ConnectionCommands::ConnectionCommands(Line& port, PortControl& control, Button& connectButton,
                                       Button& disconnectButton, MessageBox& messageBox,
                                       SettingsDialogHost& settingsDialog)
    : m_port(port), m_control(control), m_connectButton(connectButton),
      m_disconnectButton(disconnectButton), m_messageBox(messageBox),
      m_settingsDialog(settingsDialog) {}

QString ConnectionCommands::portAlreadyOpenText() {
    return QStringLiteral("            Port already open. ") + QStringLiteral("\r\n") +
           QStringLiteral("Disconnect before change setting.");
}

QString ConnectionCommands::connectFailureTitle() {
    return QStringLiteral("VELK - Pro");
}

void ConnectionCommands::menuClicked(int index) {
    switch (index) {
    case kConnect:
        connectPort();
        break;
    case kSetting:
        showSettings();
        break;
    case kDisconnect:
        disconnectPort();
        break;
    default:
        break;
    }
}

void ConnectionCommands::portLost() {
    showDisconnected();
    m_control.showPortStatus();
}

void ConnectionCommands::connectAtStart(const Handler& failed) {
    connectPort(failed);
}

void ConnectionCommands::connectPort(const Handler& failed) {
    // A CONNECT while a network connect is still under way has nothing to add.
    if (m_connecting)
        return;
    m_connecting = true;
    m_port.open([this, failed](const QString& failure) {
        m_connecting = false;
        if (!failure.isEmpty()) {
            // The port stays closed: buttons and link panel keep what they showed before.
            m_control.restorePortStatus();
            raise(failed);
            m_messageBox.show(failure, connectFailureTitle(), MessageBox::Icon::Information);
            return;
        }
        showConnected();
    });
    // Answered later from the event loop (a device server on the network).
    if (m_connecting)
        m_control.showConnecting();
}

void ConnectionCommands::portReopened() {
    if (m_port.isOpen())
        showConnected();
}

void ConnectionCommands::showConnected() {
    m_connectButton.setVisible(false);
    m_disconnectButton.setVisible(true);
    m_control.showPortStatus();
}

void ConnectionCommands::showSettings() {
    // The line being connected to cannot change under the connect; it ends within seconds.
    if (m_connecting)
        return;
    if (m_port.isOpen()) {
        m_messageBox.show(portAlreadyOpenText(), kAppTitle, MessageBox::Icon::None);
        return;
    }
    m_settingsDialog.showSettingsDialog();
}

void ConnectionCommands::disconnectPort() {
    if (!m_port.isOpen()) {
        m_control.showPortStatus();
        return;
    }
    m_port.close([this](qint64 unsent) {
        showDisconnected();
        m_control.showPortStatus();
        // Told once the window already shows the closed link: nothing vanishes unannounced.
        if (unsent > 0)
            m_messageBox.show(unsentBytesDescription(unsent), kAppTitle,
                              MessageBox::Icon::Information);
    });
}

void ConnectionCommands::showDisconnected() {
    m_connectButton.setVisible(true);
    m_disconnectButton.setVisible(false);
}

} // namespace velk
