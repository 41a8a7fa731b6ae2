#pragma once

#include "controls/clockstate.h"

namespace velk {

// The PC clock's state as the test sets it; synchronised to start with.
class FakeClockState : public ClockStateSource {
public:
    ClockState read() const override { return m_state; }
    void set(ClockState::Sync sync, std::optional<qint64> errorUs = {}, QString detail = {}) {
        m_state = ClockState{sync, errorUs, std::move(detail)};
    }

private:
    ClockState m_state{ClockState::Sync::Synchronised, 800, QStringLiteral("maxerror 2 ms")};
};

} // namespace velk
