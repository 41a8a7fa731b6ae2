#pragma once

#include <QSerialPort>

namespace velk {

// Bytes the operating system still holds for the line behind an open port, handed over
// but not yet sent; 0 when it cannot tell.
qint64 systemOutputQueue(const QSerialPort& port);

} // namespace velk
