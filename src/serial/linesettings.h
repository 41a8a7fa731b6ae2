#pragma once

#include <QSerialPort>
#include <QString>
#include <optional>

namespace velk {

// The line settings a port is configured with, as QSerialPort takes them.
struct LineSettings {
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    // Reads "baud,parity,data,stop", e.g. "9600,N,8,1": parity E, O, N, M or S; data bits 5 to 8;
    // stop bits 1, 1.5 or 2; a standard baud rate from 110 to 115200. Nothing else is accepted.
    static std::optional<LineSettings> parse(const QString& text);

    // The same form again, e.g. "19200,E,7,2".
    QString text() const;

    // Bits on the line per character: start bit, data bits, parity bit and stop bits.
    double bitsPerCharacter() const;
};

} // namespace velk
