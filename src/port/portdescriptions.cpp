#include "port/portdescriptions.h"

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
    return cannotOpen + detail + QLatin1Char('.');
}

QString portAlreadyOpenDescription() {
    return QStringLiteral("Port already open.");
}

QString portNumberOutOfRangeDescription(int number) {
    return QStringLiteral("Invalid port number %1: choose a port from 1 to 16.").arg(number);
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
