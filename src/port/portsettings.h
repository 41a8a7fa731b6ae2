#pragma once

#include "controls/linesettings.h"

#include <QtGlobal>

namespace velk {

// The serial link's settings for the run, as the settings dialog chose them.
struct PortSettings {
    static constexpr quint8 kFirstPort = 1;
    static constexpr quint8 kLastPort = 16;

    quint8 portNumber = kFirstPort;
    LineSettings line;

    friend bool operator==(const PortSettings& a, const PortSettings& b) {
        return a.portNumber == b.portNumber && a.line == b.line;
    }
    friend bool operator!=(const PortSettings& a, const PortSettings& b) { return !(a == b); }
};

// Comport 1, 9600,N,8,1: where a run starts unless told otherwise.
inline const PortSettings kDefaultPortSettings{};

} // namespace velk
