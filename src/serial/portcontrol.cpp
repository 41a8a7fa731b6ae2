#include "serial/portcontrol.h"

#include "serial/portstatustext.h"

#include <functional>

namespace velk {

PortControl::PortControl(PortSettings& settings, SerialPort& port, StatusBar& statusBar,
                         MessageBox& messageBox)
    : m_settings(settings), m_port(port), m_statusBar(statusBar), m_messageBox(messageBox) {}

void PortControl::applyPortSettings() {
    const std::function<QString()> steps[] = {
        [this] { return m_port.setPortNumber(m_settings.portNumber); },
        [this] { return m_port.setSettings(m_settings.settingsText()); },
        [this] { return m_port.setSendThreshold(1); },
        [this] { return m_port.setReceiveThreshold(1); },
        [this] { return m_port.setInputLength(1); },
    };
    for (const auto& step : steps) {
        const QString refusal = step();
        if (!refusal.isEmpty()) {
            m_messageBox.show(refusal, kAppTitle, MessageBox::Icon::None);
            return;
        }
    }
}

void PortControl::showPortStatus() {
    if (m_port.isOpen()) {
        m_portStatusText = openPortStatusText(m_port.portNumber(), m_port.settings());
    } else {
        m_portStatusText = closedPortStatusText();
        // Only the closed-port branch inserts: start-up always passes here first, so the link
        // panel is in place before any open-port update.
        if (m_statusBar.panelCount() != kPanelsWithLink)
            m_statusBar.insertPanel(kLinkPanel);
    }
    writeLinkPanel();
}

void PortControl::writeLinkPanel() {
    m_statusBar.setPanelText(kLinkPanel, m_portStatusText);
    m_statusBar.fitPanelToText(kLinkPanel);
}

} // namespace velk
