#pragma once

#include <QString>

namespace velk {

class LocalClock;
class SerialPort;
struct CtlOptions;

// title, clear and time: the port opened, the command's frames written as the panel writes them
// for Send, Clear and Set Time, and the port closed once the line has taken them. Returns the
// exit status, 0 or 1; for 1 `why` says what went wrong, in the panel's words.
int runOnce(const CtlOptions& options, SerialPort& port, const LocalClock& clock, QString* why);

} // namespace velk
