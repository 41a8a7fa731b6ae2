#include "port/adapteridentity.h"

#include "port/devicelock.h"

#include <QSerialPortInfo>

namespace velk {

AdapterIdentity AdapterIdentity::of(const QString& device) {
    AdapterIdentity identity;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        if (DeviceLock::canonical(port.systemLocation()) != device)
            continue;
        identity.m_vendor = port.hasVendorIdentifier() ? port.vendorIdentifier() : 0;
        identity.m_product = port.hasProductIdentifier() ? port.productIdentifier() : 0;
        identity.m_serialNumber = port.serialNumber();
        break;
    }
    return identity;
}

QString AdapterIdentity::text() const {
    return QStringLiteral("%1:%2 serial %3")
        .arg(m_vendor, 4, 16, QLatin1Char('0'))
        .arg(m_product, 4, 16, QLatin1Char('0'))
        .arg(m_serialNumber.isEmpty() ? QStringLiteral("none") : m_serialNumber);
}

QString AdapterIdentity::presentDevice() const {
    if (!canBeFoundElsewhere())
        return {};
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        if (port.hasVendorIdentifier() && port.vendorIdentifier() == m_vendor &&
            port.hasProductIdentifier() && port.productIdentifier() == m_product &&
            port.serialNumber() == m_serialNumber)
            return DeviceLock::canonical(port.systemLocation());
    }
    return {};
}

} // namespace velk
