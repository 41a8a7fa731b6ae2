#include "port/lineports.h"

#include "controls/logging.h"
#include "controls/pluginentry.h"
#include "port/networklines.h"
#include "port/qtserialport.h"

#include <QIODevice>

namespace velk {

namespace {

// The network lines, loaded on first use and kept for the life of the process; nothing, with
// `why`, when the plugin cannot be loaded.
NetworkLines* networkLines(const LineName& name, QString* why) {
    static NetworkLines* loaded = nullptr;
    if (loaded)
        return loaded;
    QString failure;
    if (const auto entry = reinterpret_cast<NetworkLinesEntry>(
            pluginEntry(kNetworkLinesPlugin, kNetworkLinesEntry, &failure))) {
        loaded = entry();
        return loaded;
    }
    qCWarning(lcSerial, "network lines are not available: %s", qPrintable(failure));
    if (why)
        *why = QStringLiteral("%1: network lines are not available in this installation")
                   .arg(name.text());
    return nullptr;
}

} // namespace

std::unique_ptr<Line> makeLine(const LineName& name, std::unique_ptr<PortMapping> system,
                               QString* why, PortChooser chooser) {
    if (name.isNetwork()) {
        NetworkLines* lines = networkLines(name, why);
        return lines ? lines->makePort(name, chooser) : nullptr;
    }
    auto port = std::make_unique<QtSerialPort>(name, std::move(system));
    port->setChooser(chooser);
    return port;
}

std::unique_ptr<QIODevice> openNetworkTap(const LineName& name, const LineSettings& settings,
                                          QString* why) {
    NetworkLines* lines = networkLines(name, why);
    return lines ? lines->openTap(name, settings, why) : nullptr;
}

} // namespace velk
