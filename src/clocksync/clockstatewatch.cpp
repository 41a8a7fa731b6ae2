#include "clocksync/clockstatewatch.h"

namespace velk {

bool ClockStateWatch::update() {
    const ClockState::Sync before = m_state.sync;
    m_state = m_source.read();
    const bool changed = !m_read || m_state.sync != before;
    m_read = true;
    return changed;
}

} // namespace velk
