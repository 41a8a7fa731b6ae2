#include "port/lineport.h"

#include "port/portdescriptions.h"

namespace velk {

std::unique_ptr<LinePort> LinePort::create(const LineName& start, Factory make, QString* why) {
    std::unique_ptr<LinePort> port(new LinePort(std::move(make)));
    std::unique_ptr<SerialPort> first = port->make(start, why);
    if (!first)
        return nullptr;
    if (start.isNetwork() || start.isBus()) {
        port->m_network = std::move(first);
        port->m_networkName = start;
    } else {
        port->m_serial = std::move(first);
    }
    return port;
}

LinePort::~LinePort() = default;

std::unique_ptr<SerialPort> LinePort::make(const LineName& name, QString* why) {
    std::unique_ptr<SerialPort> port = m_make(name, why);
    if (port)
        port->onLost([this] { raiseLost(); });
    return port;
}

QString LinePort::networkLine() const {
    return m_network ? m_networkName.text() : QString();
}

bool LinePort::setNetworkLine(const QString& url, QString* why) {
    if (url == networkLine())
        return true;
    // Moving bytes to another line while some are on their way would split a frame.
    if (isOpen())
        return refuse(why, portAlreadyOpenDescription());
    if (url.isEmpty()) {
        if (!m_serial)
            m_serial = make(LineName::comport(1), why);
        if (!m_serial)
            return false;
        m_serial->setSettings(m_network->settings(), nullptr);
        m_network.reset();
        return true;
    }
    const std::optional<LineName> name =
        LineName::parseNetwork(url, why, QStringLiteral("Network line"));
    if (!name)
        return false;
    std::unique_ptr<SerialPort> network = make(*name, why);
    if (!network)
        return false;
    network->setSettings(current().settings(), nullptr);
    m_network = std::move(network);
    m_networkName = *name;
    return true;
}

bool LinePort::setPortNumber(int number, QString* why) {
    // A device server carries one line; the number waits for the way back to serial.
    if (m_serial)
        return m_serial->setPortNumber(number, why);
    return current().setPortNumber(number, why);
}

bool LinePort::setSettings(const LineSettings& settings, QString* why) {
    return current().setSettings(settings, why);
}

} // namespace velk
