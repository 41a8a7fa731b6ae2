#include "port/lineport.h"

#include "port/portdescriptions.h"

namespace velk {

std::unique_ptr<LinePort> LinePort::create(const LineName& start, Factory make, QString* why) {
    std::unique_ptr<LinePort> port(new LinePort(std::move(make)));
    std::unique_ptr<Line> first = port->make(start, why);
    if (!first)
        return nullptr;
    if (start.isNetwork()) {
        port->m_network = std::move(first);
    } else {
        port->m_serial = std::move(first);
    }
    return port;
}

LinePort::~LinePort() = default;

std::unique_ptr<Line> LinePort::make(const LineName& name, QString* why) {
    std::unique_ptr<Line> port = m_make(name, why);
    if (port)
        port->onLost([this] { raiseLost(); });
    return port;
}

bool LinePort::setName(const LineName& name, QString* why) {
    // Moving bytes to another line while some are on their way would split a frame.
    if (isOpen())
        return refuse(why, portAlreadyOpenDescription());
    if (m_network && name == m_network->name())
        return true;
    if (!name.isNetwork()) {
        if (!m_serial)
            m_serial = make(name, why);
        if (!m_serial || !m_serial->setName(name, why))
            return false;
        if (m_network)
            m_serial->setSettings(m_network->settings(), nullptr);
        m_network.reset();
        return true;
    }
    std::unique_ptr<Line> network = make(name, why);
    if (!network)
        return false;
    network->setSettings(current().settings(), nullptr);
    m_network = std::move(network);
    return true;
}

bool LinePort::setSettings(const LineSettings& settings, QString* why) {
    return current().setSettings(settings, why);
}

} // namespace velk
