#pragma once

#include "ctl/busrun.h"

namespace velk {

class ClockStateSource;
class LocalClock;
class Line;
struct CtlOptions;

// The bridge and the commands on a bus line live in a plugin of their own (velk-bridge), loaded
// only for those, so that the other commands (the minute sync above all) never map libmosquitto
// nor OpenSSL.
inline constexpr char kBridgePlugin[] = "velk-bridge";
// The plugin's exported functions: runBridge (ctl/bridgerun.h) and runOnBus (ctl/busrun.h) from
// inside the plugin.
inline constexpr char kBridgeEntry[] = "velk_run_bridge";
using BridgeEntry = int (*)(const CtlOptions& options, Line& port, const LocalClock& clock,
                            const ClockStateSource& clockState);
inline constexpr char kBusEntry[] = "velk_run_on_bus";
using BusEntry = void (*)(const CtlOptions& options, std::function<void(const QString&)> report,
                          BusDone done);

} // namespace velk
