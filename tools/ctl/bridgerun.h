#pragma once

namespace velk {

class ClockStateSource;
class LocalClock;
class Line;
struct CtlOptions;

// `velk-ctl bridge`: the line opened, the broker connected, commands taken until SIGTERM or
// SIGINT. Returns the exit status: 0 after an orderly stop, 1 when the line cannot be opened
// or the broker cannot be reached or refuses the connection at start.
int runBridge(const CtlOptions& options, Line& port, const LocalClock& clock,
              const ClockStateSource& clockState);

} // namespace velk
