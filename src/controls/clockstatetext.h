#pragma once

#include "controls/clockstate.h"

namespace velk {

// The clock's state in one line, for velk-ctl, the sync's log and the time display's tooltip:
// "PC clock: synchronised, estimated error 12 µs (maxerror 0.25 s)".
QString clockStateLine(const ClockState& state);
// A duration in microseconds the way people read it: "12 µs", "1.23 ms", "16 s".
QString durationText(qint64 microseconds);

} // namespace velk
