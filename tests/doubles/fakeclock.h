#pragma once

#include "controls/localclock.h"

namespace velk {

// A wall clock that stands where a test puts it and moves only when told.
class FakeClock : public LocalClock {
public:
    explicit FakeClock(QDateTime now = QDateTime(QDate(2007, 3, 19), QTime(14, 5, 30)))
        : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void set(int year, int month, int day, int hour, int minute, int second) {
        m_now = QDateTime(QDate(year, month, day), QTime(hour, minute, second));
    }
    void advance(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};

} // namespace velk
