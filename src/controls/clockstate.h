#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace velk {

// What the PC clock knows of itself: whether a time service keeps it synchronised.
struct ClockState {
    enum class Sync { Synchronised, NotSynchronised, Unknown };

    Sync sync = Sync::Unknown;
    // The clock's estimated error in microseconds, when synchronised.
    std::optional<qint64> estimatedErrorUs;
    // Where the answer came from, for a tooltip or a log line (e.g. "maxerror 16 s").
    QString detail;

    friend bool operator==(const ClockState& a, const ClockState& b) {
        return a.sync == b.sync && a.estimatedErrorUs == b.estimatedErrorUs &&
               a.detail == b.detail;
    }
    friend bool operator!=(const ClockState& a, const ClockState& b) { return !(a == b); }
};

// The PC clock's own synchronisation state: the system's reader, or a test's stand-in.
class ClockStateSource {
public:
    virtual ~ClockStateSource() = default;
    virtual ClockState read() const = 0;
};

// One word per state, as logs and the MQTT bridge carry it.
inline QString clockStateWord(ClockState::Sync sync) {
    switch (sync) {
    case ClockState::Sync::Synchronised:
        return QStringLiteral("synchronised");
    case ClockState::Sync::NotSynchronised:
        return QStringLiteral("not synchronised");
    case ClockState::Sync::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

} // namespace velk
