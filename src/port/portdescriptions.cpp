#include "port/portdescriptions.h"

#include "port/portsettings.h"

#include <array>

namespace velk {

QString openFailureDescription(OpenFailure failure, const QString& device, const QString& detail,
                               const QStringList& presentPorts, PortChooser chooser) {
    const QString cannotOpen = QStringLiteral("Cannot open %1: ").arg(device);
    const bool inWindow = chooser == PortChooser::Window;
    switch (failure) {
    case OpenFailure::Busy:
        return cannotOpen + QStringLiteral("the port is busy, another program is using it.\n") +
               (inWindow ? QStringLiteral("Close that program, or choose another port under "
                                          "SETTING, then press CONNECT again.")
                         : QStringLiteral("Close that program, or name another port with --port."));
    case OpenFailure::PermissionDenied:
        return cannotOpen + QStringLiteral("permission denied.\n"
                                           "This account may not use serial ports. Add it to the "
                                           "dialout group:\n"
                                           "    sudo usermod -aG dialout $USER\n"
                                           "then log out and log in again.");
    case OpenFailure::NoSuchDevice:
    case OpenFailure::NotResponding: {
        const QString present = presentPorts.isEmpty()
                                    ? QStringLiteral("The system reports no serial ports.")
                                    : QStringLiteral("Serial ports present: %1.")
                                          .arg(presentPorts.join(QStringLiteral(", ")));
        const QString reason = failure == OpenFailure::NoSuchDevice
                                   ? QStringLiteral("no such device.\n")
                                   : QStringLiteral("input/output error, the device does not "
                                                    "respond (often a port name with no "
                                                    "hardware behind it).\n");
        return cannotOpen + reason +
               (inWindow ? QStringLiteral("Check the cable and the USB adapter, or choose "
                                          "another port under SETTING.\n")
                         : QStringLiteral("Check the cable and the USB adapter, or name "
                                          "another port with --port.\n")) +
               present;
    }
    case OpenFailure::Other:
        break;
    }
    // The system's own texts mostly end in a full stop already.
    return cannotOpen + detail +
           (detail.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral("."));
}

QString networkFailureDescription(NetworkFailure failure, const QString& endpoint,
                                  const QString& detail) {
    const QString cannotOpen = QStringLiteral("Cannot open %1: ").arg(endpoint);
    switch (failure) {
    case NetworkFailure::Refused:
        return cannotOpen + QStringLiteral("the connection was refused.\n"
                                           "Check that the device server is running and serves "
                                           "this port.");
    case NetworkFailure::UnknownHost:
        return cannotOpen + QStringLiteral("the host name is unknown.\n"
                                           "Check the name, or use the device server's address.");
    case NetworkFailure::NoAnswer:
        return cannotOpen + QStringLiteral("no answer within 5 s.\n"
                                           "Check the network cable, the address and the port, "
                                           "and that the device server is switched on.");
    case NetworkFailure::NoLineControl:
        return cannotOpen + QStringLiteral("the device server does not take line settings "
                                           "(RFC 2217).\n"
                                           "Use tcp:// for a raw TCP port, or turn RFC 2217 on in "
                                           "the device server.");
    case NetworkFailure::Dropped:
        return cannotOpen + QStringLiteral("the device server closed the connection.\n"
                                           "It may serve another client already; check its "
                                           "settings.");
    case NetworkFailure::Other:
        break;
    }
    return cannotOpen + detail + QLatin1Char('.');
}

QString portAlreadyOpenDescription() {
    return QStringLiteral("Port already open.");
}

QString portNumberOutOfRangeDescription(int number) {
    return QStringLiteral("Invalid port number %1: choose a port from 1 to 16.").arg(number);
}

QString portNumberRefusal(int number, bool portOpen) {
    if (portOpen)
        return portAlreadyOpenDescription();
    if (number < PortSettings::kFirstPort || number > PortSettings::kLastPort)
        return portNumberOutOfRangeDescription(number);
    return {};
}

QString settingsRefusedDescription(const QString& device, const LineSettings& requested,
                                   const LineSettings& held) {
    const QStringList parts = held.text().split(QLatin1Char(','));
    const std::array<bool, 4> named = {
        held.baudRate > 0, parts.at(1) != QLatin1String("?"),
        held.dataBits >= QSerialPort::Data5 && held.dataBits <= QSerialPort::Data8,
        held.stopBits == QSerialPort::OneStop || held.stopBits == QSerialPort::OneAndHalfStop ||
            held.stopBits == QSerialPort::TwoStop};
    const std::array<const char*, 4> names = {"speed", "parity", "data bits", "stop bits"};
    QStringList kept;
    QStringList unnamed;
    for (std::size_t part = 0; part < named.size(); ++part) {
        if (named[part])
            kept << parts.at(int(part));
        else
            unnamed << QLatin1String(names[part]);
    }
    if (unnamed.isEmpty())
        return settingsRefusedDescription(device, requested.text(), kept.join(QLatin1Char(',')));
    const QString left = unnamed.size() == 1
                             ? unnamed.constFirst()
                             : unnamed.mid(0, unnamed.size() - 1).join(QStringLiteral(", ")) +
                                   QStringLiteral(" and ") + unnamed.constLast();
    const QString keeps = kept.isEmpty() ? QStringLiteral("it does not name its %1.").arg(left)
                                         : QStringLiteral("it keeps %1 and does not name its %2.")
                                               .arg(kept.join(QLatin1Char(',')), left);
    return QStringLiteral("%1 did not accept the settings %2; %3")
        .arg(device, requested.text(), keeps);
}

QString takenOverDescription(const QString& endpoint) {
    return QStringLiteral("%1 was closed by the device server soon after it opened; another "
                          "connection may be using it")
        .arg(endpoint);
}

QString unsentBytesDescription(qint64 count) {
    return (count == 1 ? QStringLiteral("1 byte was")
                       : QStringLiteral("%1 bytes were").arg(count)) +
           QStringLiteral(" not sent: the line is not taking data.");
}

QString settingsRefusedDescription(const QString& device, const QString& requested,
                                   const QString& held) {
    return QStringLiteral("%1 did not accept the settings %2; it keeps %3.")
        .arg(device, requested, held);
}

} // namespace velk
