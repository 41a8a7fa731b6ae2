#pragma once

#include "controls/messagebox.h"
#include "controls/statusbar.h"
#include "port/line.h"
#include "port/portsettings.h"

#include <QString>

namespace velk {

// Carries the port settings to the serial port and reports the link state in the status bar.
class PortControl {
public:
    PortControl(PortSettings& settings, Line& port, StatusBar& statusBar, MessageBox& messageBox);

    // Copies the settings to the port: the line (Comport n or a device server), then the line
    // settings. The first refusal stops the rest and is shown to the operator; the caller carries
    // on.
    void applyPortSettings();

    // Writes the link state into the link panel. An open port is described by what it really
    // holds, which can differ from the settings after Cancel or a refused assignment.
    void showPortStatus();

    // Tells in the link panel that a connect is under way, until showPortStatus() or
    // restorePortStatus() writes it again.
    void showConnecting();
    // Puts back the text last written by showPortStatus().
    void restorePortStatus();

    // The text last written to the link panel; empty before the first showPortStatus().
    QString portStatusText() const { return m_portStatusText; }

private:
    // Logs a link that opened or closed since the link panel was last written.
    void logLinkChange() const;
    void writeLinkPanel();

    PortSettings& m_settings;
    Line& m_port;
    StatusBar& m_statusBar;
    MessageBox& m_messageBox;
    QString m_portStatusText;
};

} // namespace velk
