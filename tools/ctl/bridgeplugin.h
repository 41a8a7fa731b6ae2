#pragma once

namespace velk {

class ClockStateSource;
class LocalClock;
class Line;
struct CtlOptions;

// The bridge lives in a plugin of its own (velk-bridge), loaded only for `velk-ctl bridge`, so
// that the other commands (the minute sync above all) never map libmosquitto nor OpenSSL.
inline constexpr char kBridgePlugin[] = "velk-bridge";
// The plugin's one exported function: runBridge (ctl/bridgerun.h) from inside the plugin.
inline constexpr char kBridgeEntry[] = "velk_run_bridge";
using BridgeEntry = int (*)(const CtlOptions& options, Line& port, const LocalClock& clock,
                            const ClockStateSource& clockState);

} // namespace velk
