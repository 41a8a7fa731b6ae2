#include "port/lineports.h"

#include "port/networkport.h"
#include "port/qtserialport.h"

namespace velk {

std::unique_ptr<SerialPort> makeLinePort(const LineName& name, std::unique_ptr<PortMapping> system,
                                         QString*) {
    if (name.isNetwork())
        return std::make_unique<NetworkPort>(name);
    return std::make_unique<QtSerialPort>(name.mapping(std::move(system)));
}

} // namespace velk
