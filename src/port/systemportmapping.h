#pragma once

#include "port/portmapping.h"

#include <QStringList>
#include <functional>

namespace velk {

// "Comport n" is COMn on Windows. Elsewhere it is the n-th serial port the system reports,
// ordered by device path, so a single USB adapter is "Comport 1"; where fewer than n are
// reported it is /dev/ttyS<n-1>.
class SystemPortMapping : public PortMapping {
public:
    // Lists the device paths of the serial ports present, in any order.
    using PortLister = std::function<QStringList()>;

    explicit SystemPortMapping(PortLister lister = &presentPorts);

    QString deviceFor(int number) const override;

    // The device paths QSerialPortInfo reports, ordered as the mapping counts them, each as
    // shownName() gives it.
    static QStringList presentPorts();
    // A system location as the user names the port: COM1 for Windows' "\\.\COM1".
    static QString shownName(const QString& location);
    // Orders device paths so that /dev/ttyUSB2 comes before /dev/ttyUSB10.
    static QStringList ordered(QStringList devices);

private:
    PortLister m_lister;
};

} // namespace velk
