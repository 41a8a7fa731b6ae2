#pragma once

#include "port/linename.h"
#include "port/portdescriptions.h"

#include <QString>
#include <memory>

class QIODevice;

namespace velk {

class Line;
struct LineSettings;

// What the network-line plugin offers: ports and read-only taps for rfc2217:// and tcp:// lines.
// The programs load it only once such a line is named, so a serial line never maps Qt's network
// module nor what that pulls in (Kerberos, libproxy).
class NetworkLines {
public:
    virtual ~NetworkLines() = default;
    virtual std::unique_ptr<Line> makePort(const LineName& name, PortChooser chooser) = 0;
    // As openNetworkTap (port/lineports.h).
    virtual std::unique_ptr<QIODevice> openTap(const LineName& name, const LineSettings& settings,
                                               QString* why) = 0;
};

// The plugin's file name without prefix and suffix, and its one exported function, which hands
// out its NetworkLines for the life of the process.
inline constexpr char kNetworkLinesPlugin[] = "velk-network-lines";
inline constexpr char kNetworkLinesEntry[] = "velk_network_lines";
using NetworkLinesEntry = NetworkLines* (*)();

} // namespace velk
