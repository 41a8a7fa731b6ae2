#pragma once

#include "controls/wallclockalarm.h"

#include <QObject>
#include <memory>

namespace velk {

// The wall-clock alarm on the system's own absolute timers: a realtime timerfd on Linux, a
// high-resolution waitable timer on Windows, each woken in the event loop. Steps of the clock
// come from the kernel (Linux) or from the system's time-change and resume notices (Windows).
class SystemWallClockAlarm : public QObject, public WallClockAlarm {
    Q_OBJECT

public:
    explicit SystemWallClockAlarm(QObject* parent = nullptr);
    ~SystemWallClockAlarm() override;

    void armAt(qint64 msecsSinceEpoch) override;
    void disarm() override;

    // Tells every alarm of the process that the clock was stepped, from any thread: a Windows
    // service learns of time changes and resumes from its manager, not from the window messages
    // a desktop program gets. The kernel tells a timerfd itself, so on Linux nobody needs it.
    static void clockSteppedEverywhere();

private:
    // A step told by the system's notices, from the event loop.
    Q_INVOKABLE void clockStepped() { raiseStep(); }

    struct Timer;
    std::unique_ptr<Timer> m_timer;
};

} // namespace velk
