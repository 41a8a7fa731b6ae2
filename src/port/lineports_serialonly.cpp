#include "port/lineports.h"

#include "port/qtserialport.h"

#include <QIODevice>

namespace velk {

// Built where Qt came without its network module.
std::unique_ptr<Line> makeLine(const LineName& name, std::unique_ptr<PortMapping> system,
                               QString* why, PortChooser chooser) {
    if (name.isNetwork()) {
        if (why)
            *why = QStringLiteral("%1: this build has no network lines").arg(name.text());
        return nullptr;
    }
    auto port = std::make_unique<QtSerialPort>(name, std::move(system));
    port->setChooser(chooser);
    return port;
}

std::unique_ptr<QIODevice> openNetworkTap(const LineName& name, const LineSettings&, QString* why) {
    if (why)
        *why = QStringLiteral("%1: this build has no network lines").arg(name.text());
    return nullptr;
}

} // namespace velk
