#include "system/systemwallclockalarm.h"

#include "controls/logging.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace velk {

struct SystemWallClockAlarm::Timer {
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    bool failureTold = false;

    // Without the absolute wait the minute still comes, from the ticker's one-second timer, a
    // timer's delay late: worth one warning, not one a minute.
    void tellFailure(const char* call, int error) {
        if (failureTold)
            return;
        failureTold = true;
        qCWarning(lcSync,
                  "the wait for the whole minute is not available (%s: %s); the minute "
                  "comes from the one-second tick",
                  call, std::strerror(error));
    }
};

SystemWallClockAlarm::SystemWallClockAlarm(QObject* parent)
    : QObject(parent), m_timer(std::make_unique<Timer>()) {
    m_timer->fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timer->fd < 0) {
        m_timer->tellFailure("timerfd_create", errno);
        return;
    }
    m_timer->notifier = std::make_unique<QSocketNotifier>(m_timer->fd, QSocketNotifier::Read);
    connect(m_timer->notifier.get(), &QSocketNotifier::activated, this, [this] {
        std::uint64_t expirations = 0;
        if (::read(m_timer->fd, &expirations, sizeof expirations) == sizeof expirations)
            raiseRing();
        else if (errno == ECANCELED) // the clock was set while the timer was armed
            raiseStep();
    });
}

SystemWallClockAlarm::~SystemWallClockAlarm() {
    m_timer->notifier.reset();
    if (m_timer->fd >= 0)
        ::close(m_timer->fd);
}

void SystemWallClockAlarm::armAt(qint64 msecsSinceEpoch) {
    if (m_timer->fd < 0)
        return;
    itimerspec due{};
    due.it_value.tv_sec = time_t(msecsSinceEpoch / 1000);
    due.it_value.tv_nsec = long(msecsSinceEpoch % 1000) * 1000000L;
    // Cancelled by any setting of the clock, so a step is told at once, not at the old instant.
    if (::timerfd_settime(m_timer->fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &due,
                          nullptr) != 0)
        m_timer->tellFailure("timerfd_settime", errno);
}

void SystemWallClockAlarm::disarm() {
    if (m_timer->fd >= 0) {
        const itimerspec off{};
        ::timerfd_settime(m_timer->fd, 0, &off, nullptr);
    }
}

void SystemWallClockAlarm::clockSteppedEverywhere() {}

} // namespace velk
