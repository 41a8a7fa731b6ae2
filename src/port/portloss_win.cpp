#include "port/portloss.h"

#include <windows.h>

namespace velk::portloss {

namespace {

// The system's errors for a device that was unplugged or whose driver gave it up. QSerialPort
// calls most of them a write (or read) error, or an unknown one, and keeps only their text.
constexpr DWORD kLostCodes[] = {
    ERROR_NOT_READY,            // "not ready"
    ERROR_BAD_COMMAND,          // "the device does not recognize the command"
    ERROR_GEN_FAILURE,          // "a device attached to the system is not functioning"
    ERROR_DEV_NOT_EXIST,        // "the device is no longer available"
    ERROR_DEVICE_NOT_CONNECTED, // "the device is not connected"
    ERROR_DEVICE_REMOVED,       // "the device has been removed"
};

// Texts compare alike without case, blanks and the closing full stop.
QString plain(QString text) {
    text = text.trimmed();
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.toCaseFolded();
}

} // namespace

Verdict classify(QSerialPort::SerialPortError kind, const QString& errorText) {
    switch (kind) {
    case QSerialPort::ResourceError:
        return Verdict::Lost;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::UnknownError:
        break;
    default:
        return Verdict::Alive;
    }
    // The text is the system's own, in its language, so it is matched against the system's
    // own texts for those codes.
    const QString said = plain(errorText);
    for (const DWORD code : kLostCodes) {
        if (said == plain(qt_error_string(int(code))))
            return Verdict::Lost;
    }
    return Verdict::Alive;
}

bool hungUp(const QSerialPort&) {
    return false;
}

} // namespace velk::portloss
