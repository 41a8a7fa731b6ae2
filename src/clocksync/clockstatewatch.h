#pragma once

#include "controls/clockstate.h"

namespace velk {

// The PC clock's state, read once a second. A change of state (not of the estimated error,
// which moves all the time) is what the sync logs and shows.
class ClockStateWatch {
public:
    explicit ClockStateWatch(const ClockStateSource& source) : m_source(source) {}

    // Reads the state; true on the first reading and whenever synchronised, not synchronised
    // or unknown changed.
    bool update();
    const ClockState& state() const { return m_state; }
    bool isSynchronised() const { return m_state.sync == ClockState::Sync::Synchronised; }

private:
    const ClockStateSource& m_source;
    ClockState m_state;
    bool m_read = false;
};

inline const QString kClockNotSynchronisedNote = QStringLiteral("PC clock not synchronised");

} // namespace velk
