#include "system/terminationwatcher.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velk {

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// Written by the signal handler, which may only make async-signal-safe calls.
volatile std::sig_atomic_t g_writeFd = -1;

void onSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full pipe already holds a request; losing this byte loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(g_writeFd, &byte, 1);
    errno = savedErrno;
}

} // namespace

// A self-pipe: the handler writes a byte, the event loop sees the read end become readable.
class TerminationWatcher::Hook {
public:
    explicit Hook(TerminationWatcher& owner) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_fds.data()) != 0)
            return;
        g_writeFd = m_fds[1];
        struct sigaction action {};
        action.sa_handler = &onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < kSignals.size(); ++i)
            ::sigaction(kSignals[i], &action, &m_previous[i]);
        m_notifier = std::make_unique<QSocketNotifier>(m_fds[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &owner, [this, &owner] {
            char buffer[16];
            while (::read(m_fds[0], buffer, sizeof buffer) > 0) {
            }
            emit owner.terminationRequested();
        });
    }
    ~Hook() {
        if (!isWatching())
            return;
        for (std::size_t i = 0; i < kSignals.size(); ++i)
            ::sigaction(kSignals[i], &m_previous[i], nullptr);
        g_writeFd = -1;
        m_notifier.reset();
        ::close(m_fds[0]);
        ::close(m_fds[1]);
    }
    Hook(const Hook&) = delete;
    Hook& operator=(const Hook&) = delete;

    bool isWatching() const { return m_fds[0] >= 0; }

private:
    std::array<int, 2> m_fds{-1, -1};
    std::array<struct sigaction, kSignals.size()> m_previous{};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

TerminationWatcher::TerminationWatcher(QObject* parent)
    : QObject(parent), m_hook(std::make_unique<Hook>(*this)) {}

TerminationWatcher::~TerminationWatcher() = default;

bool TerminationWatcher::isWatching() const {
    return m_hook->isWatching();
}

void TerminationWatcher::requestTermination() {
    ::raise(SIGTERM);
}

} // namespace velk
