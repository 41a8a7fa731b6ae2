#pragma once

#include "port/linename.h"
#include "port/portdescriptions.h"

#include <memory>

class QIODevice;

namespace velk {

class PortMapping;
class Line;
struct LineSettings;

// The port that reaches `name`: a serial port (Comport n through `system`, or the named device),
// or a network port. Nothing, with a one-line `why`, where this build has no network lines.
// `chooser` says where the port's messages tell the operator to pick another one.
std::unique_ptr<Line> makeLine(const LineName& name, std::unique_ptr<PortMapping> system,
                               QString* why, PortChooser chooser = PortChooser::Window);

// A network line opened for reading only (velk-monitor), connected before it returns: the
// program has not started its work yet. Yields the line's own bytes (Telnet's taken out); ends
// with readChannelFinished when the connection does. Nothing, with `why`, when it cannot be
// opened or this build has no network lines.
std::unique_ptr<QIODevice> openNetworkTap(const LineName& name, const LineSettings& settings,
                                          QString* why);

} // namespace velk
