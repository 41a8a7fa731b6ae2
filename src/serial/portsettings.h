#pragma once

#include <QString>
#include <QtGlobal>

namespace velk {

// The serial link's settings for the run. Everything but the port number stays text, so the
// settings text is joined exactly as chosen, without conversion.
struct PortSettings {
    static constexpr quint8 kFirstPort = 1;
    static constexpr quint8 kLastPort = 16;

    quint8 portNumber = kFirstPort;
    QString baudRate = QStringLiteral("9600");
    QString parityLetter = QStringLiteral("N");
    QString dataBits = QStringLiteral("8");
    QString stopBits = QStringLiteral("1");

    // Baud rate, parity letter, data bits and stop bits joined by commas, e.g. "9600,N,8,1".
    QString settingsText() const;

    friend bool operator==(const PortSettings& a, const PortSettings& b) {
        return a.portNumber == b.portNumber && a.baudRate == b.baudRate &&
               a.parityLetter == b.parityLetter && a.dataBits == b.dataBits &&
               a.stopBits == b.stopBits;
    }
    friend bool operator!=(const PortSettings& a, const PortSettings& b) { return !(a == b); }
};

} // namespace velk
