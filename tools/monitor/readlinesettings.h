#pragma once

#include <QString>

#include <optional>

namespace velk {

// How the line is read: baud rate, parity letter ("E", "O" or "N"), data bits and stop bits.
struct ReadLineSettings {
    int baudRate = 9600;
    char parity = 'N';
    int dataBits = 8;
    int stopBits = 1;

    // "9600,N,8,1", the way the panel writes port settings.
    QString text() const;

    // Reads "BAUD" or "BAUD,PARITY,DATA,STOP"; the parity letter may be lower case. Nothing,
    // with `error` saying why, when the text does not describe a line.
    static std::optional<ReadLineSettings> parse(const QString& text, QString* error);
};

} // namespace velk
