#include "port/systemportmapping.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <utility>

namespace velk {

namespace {

// Splits "/dev/ttyUSB10" into "/dev/ttyUSB" and 10; a path without trailing digits gets -1.
std::pair<QString, qlonglong> nameAndNumber(const QString& device) {
    int digits = device.size();
    while (digits > 0 && device.at(digits - 1).isDigit())
        --digits;
    if (digits == device.size())
        return {device, -1};
    return {device.left(digits), device.mid(digits).toLongLong()};
}

} // namespace

SystemPortMapping::SystemPortMapping(PortLister lister) : m_lister(std::move(lister)) {}

QString SystemPortMapping::deviceFor(int number) const {
    if (number < 1)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QStringList devices = ordered(m_lister ? m_lister() : QStringList());
    if (number <= devices.size())
        return devices.at(number - 1);
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QStringList SystemPortMapping::presentPorts() {
    QStringList devices;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports)
        devices << shownName(port.systemLocation());
    return ordered(devices);
}

QString SystemPortMapping::shownName(const QString& location) {
    // Windows reaches every device through its namespace prefix, which users never type.
    const QString devicePrefix = QStringLiteral("\\\\.\\");
    return location.startsWith(devicePrefix) ? location.mid(devicePrefix.size()) : location;
}

QStringList SystemPortMapping::ordered(QStringList devices) {
    std::sort(devices.begin(), devices.end(), [](const QString& a, const QString& b) {
        return nameAndNumber(a) < nameAndNumber(b);
    });
    devices.removeDuplicates();
    return devices;
}

} // namespace velk
