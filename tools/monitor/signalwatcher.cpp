#include "signalwatcher.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace velk {

namespace {
sigset_t terminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}
} // namespace

void SignalWatcher::blockTermination() {
    const sigset_t set = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

// A signalfd delivers the blocked signals as readable data, so no handler and no global state
// is needed.
SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent) {
    const sigset_t set = terminationSignals();
    m_fd = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_fd < 0) {
        // Without the descriptor the blocked signals would never arrive; let them end the
        // program the default way instead.
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignalWatcher::readSignal);
}

SignalWatcher::~SignalWatcher() {
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void SignalWatcher::readSignal() {
    signalfd_siginfo info{};
    bool received = false;
    while (::read(m_fd, &info, sizeof info) == ssize_t(sizeof info))
        received = true;
    if (received)
        emit terminationRequested();
}

} // namespace velk
