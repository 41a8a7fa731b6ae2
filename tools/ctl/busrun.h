#pragma once

#include <QString>
#include <functional>

namespace velk {

class BusState;
struct CtlOptions;

// title, clear, time and status on a bus line: one connection to the broker, never tried again,
// and for a command one request to the line's bridge. `done` runs once with the exit status
// (0 done; 1 the broker cannot be reached or refused, the bridge refused or is offline) and,
// for 1, the one-line reason; status prints its report to `report` first.
using BusDone = std::function<void(int status, const QString& why)>;
void runOnBus(const CtlOptions& options, std::function<void(const QString&)> report, BusDone done);

// What `status` prints: the bridge's retained states, one per line, under BASE.
QString statusReport(const QString& base, const BusState& state);

} // namespace velk
