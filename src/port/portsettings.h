#pragma once

#include "controls/linesettings.h"
#include "port/linename.h"

#include <QString>
#include <QtGlobal>

namespace velk {

// The serial link's settings for the run, as the settings dialog chose them.
struct PortSettings {
    static constexpr quint8 kFirstPort = 1;
    static constexpr quint8 kLastPort = 16;

    // Comport n, a device given at start (which counts as Comport 1) or a device server.
    LineName lineName;
    LineSettings line;

    friend bool operator==(const PortSettings& a, const PortSettings& b) {
        return a.lineName == b.lineName && a.line == b.line;
    }
    friend bool operator!=(const PortSettings& a, const PortSettings& b) { return !(a == b); }
};

// Comport 1, 9600,N,8,1: where a run starts unless told otherwise.
inline const PortSettings kDefaultPortSettings{};

} // namespace velk
