#include "connection/portcontrol.h"

#include "connection/portstatustext.h"
#include "controls/logging.h"

namespace velk {

PortControl::PortControl(PortSettings& settings, Line& port, StatusBar& statusBar,
                         MessageBox& messageBox)
    : m_settings(settings), m_port(port), m_statusBar(statusBar), m_messageBox(messageBox) {}

void PortControl::applyPortSettings() {
    // A refused port number stops the rest: the settings are not applied either.
    QString refusal;
    const LineName& name = m_settings.lineName;
    if (m_port.setName(name, &refusal) && m_port.setSettings(m_settings.line, &refusal)) {
        const QString line =
            name.isNetwork() ? name.text() : QStringLiteral("Comport %1").arg(name.number);
        qCInfo(lcSerial).noquote() << "settings applied:" << line << "at" << m_settings.line.text();
        return;
    }
    m_messageBox.show(refusal, kAppTitle, MessageBox::Icon::None);
}

void PortControl::showPortStatus() {
    logLinkChange();
    if (m_port.isOpen()) {
        m_portStatusText = openPortStatusText(m_port.lineLabel(), m_port.settings());
    } else {
        m_portStatusText = closedPortStatusText();
        // Only the closed-port branch inserts: start-up always passes here first, so the link
        // panel is in place before any open-port update.
        m_statusBar.insertLinkPanel();
    }
    writeLinkPanel();
}

void PortControl::showConnecting() {
    m_statusBar.setLinkText(QStringLiteral("Connecting to %1 ...").arg(m_port.lineLabel()));
}

void PortControl::restorePortStatus() {
    writeLinkPanel();
}

void PortControl::logLinkChange() const {
    // Start-up shows the closed link first; only changes after it are news.
    if (m_portStatusText.isEmpty() ||
        m_port.isOpen() == (m_portStatusText != closedPortStatusText()))
        return;
    if (m_port.isOpen())
        qCInfo(lcSerial).noquote()
            << "port open:" << m_port.lineLabel() << "at" << m_port.settings().text();
    else
        qCInfo(lcSerial) << "port closed";
}

void PortControl::writeLinkPanel() {
    m_statusBar.setLinkText(m_portStatusText);
}

} // namespace velk
