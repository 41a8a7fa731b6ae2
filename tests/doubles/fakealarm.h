#pragma once

#include "controls/wallclockalarm.h"

#include <optional>

namespace velk {

// A wall-clock alarm the test rings and steps by hand; it only records what it was armed for.
class FakeAlarm : public WallClockAlarm {
public:
    void armAt(qint64 msecsSinceEpoch) override { m_armedAt = msecsSinceEpoch; }
    void disarm() override { m_armedAt.reset(); }

    std::optional<qint64> armedAt() const { return m_armedAt; }
    void ring() const { raiseRing(); }
    void step() const { raiseStep(); }

private:
    std::optional<qint64> m_armedAt;
};

} // namespace velk
