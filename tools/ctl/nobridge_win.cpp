#include "ctl/bridgeoptions.h"
#include "ctl/bridgerun.h"

// The bridge needs libmosquitto, which the Windows build does not have: `bridge` is refused
// there, and --help says so.

namespace velk {

void BridgeOptions::addTo(QCommandLineParser&) {}

QString BridgeOptions::commandHelp() {
    return QStringLiteral("\nbridge (the MQTT bridge) is not in the Windows build.\n");
}

bool BridgeOptions::read(const QCommandLineParser&, QString* why) {
    if (why)
        *why = QStringLiteral("bridge: not in the Windows build");
    return false;
}

QString BridgeOptions::strayOption(const QCommandLineParser&) {
    return {};
}

int runBridge(const CtlOptions&, Line&, const LocalClock&, const ClockStateSource&) {
    return 2;
}

} // namespace velk
