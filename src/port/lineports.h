#pragma once

#include "port/linename.h"

#include <memory>

namespace velk {

class PortMapping;
class SerialPort;

// The port that reaches `name`: a serial port (Comport n through `system`, or the named device),
// or a network port. Nothing, with a one-line `why`, where this build has no network lines.
std::unique_ptr<SerialPort> makeLinePort(const LineName& name, std::unique_ptr<PortMapping> system,
                                         QString* why);

} // namespace velk
