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

    // Reads "BAUD,PARITY,DATA,STOP" as typed on a command line, e.g. "9600,N,8,1": a baud rate
    // from 1 to 4000000, parity E, O or N in either case, data bits 5 to 8, stop bits 1 or 2;
    // blanks around a part do not count. Nothing, with `why` naming the part that is wrong, for
    // anything else.
    static std::optional<LineSettings> parse(const QString& text, QString* why);
    // The baud-rate part alone, by the same rule.
    static std::optional<qint32> parseBaudRate(const QString& text, QString* why);

    // The settings as the operator sees them, e.g. "19200,E,7,2".
    QString text() const;

    // Bits on the line per character: start bit, data bits, parity bit and stop bits.
    double bitsPerCharacter() const;
    // How long one character takes on the line; a speed below 1 counts as 1 baud.
    double msPerByte() const { return bitsPerCharacter() * 1000.0 / qMax<qint32>(baudRate, 1); }

    friend bool operator==(const LineSettings& a, const LineSettings& b) {
        return a.baudRate == b.baudRate && a.parity == b.parity && a.dataBits == b.dataBits &&
               a.stopBits == b.stopBits;
    }
    friend bool operator!=(const LineSettings& a, const LineSettings& b) { return !(a == b); }
};

} // namespace velk
