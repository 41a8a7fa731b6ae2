#pragma once

#include <QString>

namespace velk {

// Which operating-system device "Comport n" reaches.
class PortMapping {
public:
    virtual ~PortMapping() = default;
    // The device to open for port `number`; empty when there is none.
    virtual QString deviceFor(int number) const = 0;
};

} // namespace velk
