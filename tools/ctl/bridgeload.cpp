// velk-ctl's side of `bridge` and of the commands on a bus line: loads the bridge plugin and runs
// them from it.
#include "ctl/bridgeplugin.h"
#include "ctl/bridgerun.h"

#include "controls/pluginentry.h"

#include <cstdio>

namespace velk {

int runBridge(const CtlOptions& options, Line& port, const LocalClock& clock,
              const ClockStateSource& clockState) {
    QString failure;
    if (const auto entry =
            reinterpret_cast<BridgeEntry>(pluginEntry(kBridgePlugin, kBridgeEntry, &failure)))
        return entry(options, port, clock, clockState);
    std::fprintf(stderr, "velk-ctl: bridge: not available in this installation (%s)\n",
                 qPrintable(failure));
    return 1;
}

void runOnBus(const CtlOptions& options, std::function<void(const QString&)> report, BusDone done) {
    QString failure;
    if (const auto entry =
            reinterpret_cast<BusEntry>(pluginEntry(kBridgePlugin, kBusEntry, &failure)))
        return entry(options, std::move(report), std::move(done));
    done(1, QStringLiteral("bus lines are not available in this installation (%1)").arg(failure));
}

} // namespace velk
