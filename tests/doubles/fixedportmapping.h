#pragma once

#include "port/portmapping.h"

#include <QMap>

namespace velk {

// A mapping set up by hand in a test, e.g. "Comport 1" to a pseudo-terminal.
class FixedPortMapping : public PortMapping {
public:
    explicit FixedPortMapping(QMap<int, QString> devices = {}) : m_devices(std::move(devices)) {}

    QString deviceFor(int number) const override { return m_devices.value(number); }
    void setDevice(int number, const QString& device) { m_devices.insert(number, device); }

private:
    QMap<int, QString> m_devices;
};

} // namespace velk
