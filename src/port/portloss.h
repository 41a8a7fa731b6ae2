#pragma once

#include <QSerialPort>
#include <QString>

namespace velk::portloss {

// What an error of an open port says about the device behind it.
enum class Verdict {
    Lost,       // the device is gone: the port must be closed and waited for
    Alive,      // a passing error; the port stays open
    AskTheLine, // the error alone does not tell; hungUp() on the port decides
};

// From QSerialPort's kind of error and its text (the system's own description, in the
// system's language).
Verdict classify(QSerialPort::SerialPortError kind, const QString& errorText);

// Whether the line behind an open port is hung up (its device gone).
bool hungUp(const QSerialPort& port);

} // namespace velk::portloss
