#pragma once

#include <QString>
#include <functional>

namespace velk {

class LocalClock;
class Line;
class Transmitter;
struct CtlOptions;

// The frames of title, clear or time, written as the panel writes them for Send, Clear and Set
// Time; the port is left as it is.
void writeCommand(const CtlOptions& options, Transmitter& transmitter, const LocalClock& clock);

// title, clear and time: the port opened, the command's frames written as the panel writes them
// for Send, Clear and Set Time, and the port closed once the line has taken them. Returns the
// exit status, 0 or 1, to `done`; for 1 `why` says what went wrong, in the panel's words. `done`
// runs once, from the event loop where the port answers later (a network line, a draining one).
using OnceDone = std::function<void(int status, const QString& why)>;
void runOnce(const CtlOptions& options, Line& port, const LocalClock& clock, OnceDone done);

} // namespace velk
