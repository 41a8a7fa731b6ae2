#include "system/terminationwatcher.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QMetaObject>

#include <mutex>

#include <windows.h>

namespace velk {

namespace {

// How long a console close or logoff waits for the program to finish before the system ends
// it; Windows itself allows about five seconds.
constexpr DWORD kFinishWaitMs = 10000;

std::mutex g_lock;
TerminationWatcher* g_owner = nullptr; // guarded by g_lock
HANDLE g_finished = nullptr;           // set once the watcher is gone

// Runs on a thread of its own that the system starts for each console event.
BOOL WINAPI onConsoleEvent(DWORD type) {
    switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        break;
    default:
        return FALSE;
    }
    HANDLE finished = nullptr;
    {
        const std::lock_guard<std::mutex> guard(g_lock);
        if (!g_owner)
            return FALSE;
        TerminationWatcher* owner = g_owner;
        QMetaObject::invokeMethod(
            owner, [owner] { emit owner->terminationRequested(); }, Qt::QueuedConnection);
        finished = g_finished;
    }
    // After Ctrl+C the process lives on; after the others it ends as soon as this returns, so
    // wait until the program has finished its own way.
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT)
        WaitForSingleObject(finished, kFinishWaitMs);
    return TRUE;
}

} // namespace

// The panel has no console: the end of the session reaches it as WM_ENDSESSION, after which
// Windows may end the process at any moment.
class TerminationWatcher::Hook : public QAbstractNativeEventFilter {
public:
    explicit Hook(TerminationWatcher& owner) : m_owner(owner) {
        {
            const std::lock_guard<std::mutex> guard(g_lock);
            g_owner = &owner;
            g_finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        }
        m_watching = SetConsoleCtrlHandler(&onConsoleEvent, TRUE) != 0;
        if (auto* app = QCoreApplication::instance())
            app->installNativeEventFilter(this);
    }
    ~Hook() override {
        if (auto* app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
        SetConsoleCtrlHandler(&onConsoleEvent, FALSE);
        const std::lock_guard<std::mutex> guard(g_lock);
        g_owner = nullptr;
        SetEvent(g_finished);
        // A handler thread may still be waiting on the event; it is released, not closed.
    }
    Hook(const Hook&) = delete;
    Hook& operator=(const Hook&) = delete;

    bool isWatching() const { return m_watching; }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* msg = static_cast<const MSG*>(message);
        // Every top-level window gets the message; the program ends once.
        if (msg->message == WM_ENDSESSION && msg->wParam && !m_ending) {
            m_ending = true;
            emit m_owner.terminationRequested();
            emit m_owner.endingNow();
        }
        return false;
    }

private:
    TerminationWatcher& m_owner;
    bool m_watching = false;
    bool m_ending = false;
};

TerminationWatcher::TerminationWatcher(QObject* parent)
    : QObject(parent), m_hook(std::make_unique<Hook>(*this)) {}

TerminationWatcher::~TerminationWatcher() = default;

bool TerminationWatcher::isWatching() const {
    return m_hook->isWatching();
}

void TerminationWatcher::requestTermination() {
    const std::lock_guard<std::mutex> guard(g_lock);
    if (TerminationWatcher* owner = g_owner)
        QMetaObject::invokeMethod(
            owner, [owner] { emit owner->terminationRequested(); }, Qt::QueuedConnection);
}

} // namespace velk
