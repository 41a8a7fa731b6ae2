#include "port/lineports.h"

#include "port/networkport.h"
#include "port/networktap.h"
#include "port/qtserialport.h"

namespace velk {

std::unique_ptr<Line> makeLine(const LineName& name, std::unique_ptr<PortMapping> system, QString*,
                               PortChooser chooser) {
    if (name.isNetwork())
        return std::make_unique<NetworkPort>(name);
    auto port = std::make_unique<QtSerialPort>(name, std::move(system));
    port->setChooser(chooser);
    return port;
}

std::unique_ptr<QIODevice> openNetworkTap(const LineName& name, const LineSettings& settings,
                                          QString* why) {
    auto tap = std::make_unique<NetworkTap>(name);
    if (const QString failure = tap->connectTo(settings); !failure.isEmpty()) {
        if (why)
            *why = failure;
        return nullptr;
    }
    return tap;
}

} // namespace velk
