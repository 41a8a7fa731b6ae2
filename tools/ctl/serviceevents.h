#pragma once

#include <QString>
#include <QtGlobal>

namespace velk {

// The event IDs a service's log lines carry in the system's event log, so that Event Viewer
// finds their text in velk-ctl's message table (resources/events.mc has the same numbers) and
// an administrator can filter on them.
namespace serviceevents {

enum Id : quint16 {
    kStarted = 1,
    kStopped = 2,
    kLineLost = 3,
    kLineBack = 4,
    kClockNotSynchronised = 5,
    kRefusedCommand = 6,
    kOther = 100,
};

// The event a log line of the sync or the bridge reports.
Id idFor(const QString& line);

} // namespace serviceevents

} // namespace velk
