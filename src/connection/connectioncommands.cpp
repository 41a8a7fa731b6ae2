#include "connection/connectioncommands.h"

#include "port/portdescriptions.h"

namespace velk {

ConnectionCommands::ConnectionCommands(SerialPort& port, PortControl& control,
                                       Button& connectButton, Button& disconnectButton,
                                       MessageBox& messageBox, SettingsDialogHost& settingsDialog)
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
    m_port.open([this, failed](const QString& failure) {
        if (!failure.isEmpty()) {
            raise(failed);
            // The port stays closed: buttons and link panel keep what they show.
            m_messageBox.show(failure, connectFailureTitle(), MessageBox::Icon::Information);
            return;
        }
        showConnected();
    });
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
