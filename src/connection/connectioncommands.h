#pragma once

#include "connection/portcontrol.h"
#include "connection/settingsdialoghost.h"
#include "controls/button.h"
#include "controls/messagebox.h"
#include "port/line.h"

#include <QString>

namespace velk {

// The CONNECT / SETTING / Disconnect buttons. The link state is the port's open state; the
// buttons and the link panel follow it.
class ConnectionCommands {
public:
    // Positions of the buttons in the window's command array.
    static constexpr int kConnect = 0;
    static constexpr int kSetting = 1;
    static constexpr int kDisconnect = 2;

    ConnectionCommands(Line& port, PortControl& control, Button& connectButton,
                       Button& disconnectButton, MessageBox& messageBox,
                       SettingsDialogHost& settingsDialog);

    void menuClicked(int index);

    // The port vanished under an open link (adapter unplugged): back to Disconnected without a
    // message, so a later CONNECT can open it again once the device is back.
    void portLost();
    // The port was opened again without a click (a device that came back): the window shows
    // the open link as after CONNECT.
    void portReopened();
    // CONNECT as the run's own options press it; `failed` runs before the failure is shown,
    // since the box waits for somebody to close it.
    void connectAtStart(const Handler& failed);

    // The refusal shown when SETTING is pressed while the port is open.
    static QString portAlreadyOpenText();
    // The title of the box that reports a failed CONNECT.
    static QString connectFailureTitle();

private:
    void connectPort(const Handler& failed = {});
    void showSettings();
    void disconnectPort();
    void showConnected();
    void showDisconnected();

    Line& m_port;
    PortControl& m_control;
    Button& m_connectButton;
    Button& m_disconnectButton;
    MessageBox& m_messageBox;
    SettingsDialogHost& m_settingsDialog;
    bool m_connecting = false; // an open() whose handler has not run yet
};

} // namespace velk
