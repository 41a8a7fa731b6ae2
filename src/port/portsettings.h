#pragma once

#include "controls/linesettings.h"

#include <QString>
#include <QtGlobal>

namespace velk {

// The serial link's settings for the run, as the settings dialog chose them.
struct PortSettings {
    static constexpr quint8 kFirstPort = 1;
    static constexpr quint8 kLastPort = 16;

    quint8 portNumber = kFirstPort;
    // A device server's URL ("rfc2217://HOST:PORT") used instead of Comport portNumber; empty
    // for a serial line.
    QString network;
    LineSettings line;

    friend bool operator==(const PortSettings& a, const PortSettings& b) {
        return a.portNumber == b.portNumber && a.network == b.network && a.line == b.line;
    }
    friend bool operator!=(const PortSettings& a, const PortSettings& b) { return !(a == b); }
};

// Comport 1, 9600,N,8,1: where a run starts unless told otherwise.
inline const PortSettings kDefaultPortSettings{};

} // namespace velk
