#include "system/systemwallclockalarm.h"

#include <QList>
#include <QMetaObject>
#include <QWinEventNotifier>

#include <mutex>

#include <windows.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace velk {

namespace {

// Between 1601-01-01 (FILETIME) and 1970-01-01 (the epoch), in milliseconds.
constexpr qint64 kEpochFromFileTimeMs = 11644473600000LL;
const wchar_t kWindowClass[] = L"VelkWallClockWatch";

// Every alarm alive, for steps told from a service manager's thread.
std::mutex g_alarmsLock;
QList<QObject*> g_alarms; // guarded by g_alarmsLock

// Time changes and resumes are broadcast to top-level windows only: a hidden one listens.
LRESULT CALLBACK watchProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool resumed = message == WM_POWERBROADCAST &&
                         (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND);
    if (message == WM_TIMECHANGE || resumed) {
        auto* alarm = reinterpret_cast<QObject*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        // Told from the event loop, never from inside the window procedure.
        if (alarm)
            QMetaObject::invokeMethod(alarm, "clockStepped", Qt::QueuedConnection);
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

struct SystemWallClockAlarm::Timer {
    HANDLE handle = nullptr;
    HWND window = nullptr;
    std::unique_ptr<QWinEventNotifier> notifier;
};

SystemWallClockAlarm::SystemWallClockAlarm(QObject* parent)
    : QObject(parent), m_timer(std::make_unique<Timer>()) {
    // High resolution where the system has it (Windows 10 1803 on); the plain timer elsewhere.
    m_timer->handle = ::CreateWaitableTimerExW(
        nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (!m_timer->handle)
        m_timer->handle = ::CreateWaitableTimerW(nullptr, FALSE, nullptr);
    if (m_timer->handle) {
        m_timer->notifier = std::make_unique<QWinEventNotifier>(m_timer->handle);
        connect(m_timer->notifier.get(), &QWinEventNotifier::activated, this,
                [this] { raiseRing(); });
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = watchProcedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassW(&windowClass); // fails harmlessly when a second alarm registers it again
    m_timer->window = ::CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                        nullptr, windowClass.hInstance, nullptr);
    if (m_timer->window)
        ::SetWindowLongPtrW(m_timer->window, GWLP_USERDATA, LONG_PTR(static_cast<QObject*>(this)));
    const std::lock_guard<std::mutex> guard(g_alarmsLock);
    g_alarms.append(this);
}

SystemWallClockAlarm::~SystemWallClockAlarm() {
    {
        const std::lock_guard<std::mutex> guard(g_alarmsLock);
        g_alarms.removeOne(this);
    }
    m_timer->notifier.reset();
    if (m_timer->window)
        ::DestroyWindow(m_timer->window);
    if (m_timer->handle)
        ::CloseHandle(m_timer->handle);
}

void SystemWallClockAlarm::armAt(qint64 msecsSinceEpoch) {
    if (!m_timer->handle)
        return;
    // A positive due time is absolute: UTC in 100 ns since 1601.
    LARGE_INTEGER due;
    due.QuadPart = (msecsSinceEpoch + kEpochFromFileTimeMs) * 10000;
    ::SetWaitableTimer(m_timer->handle, &due, 0, nullptr, nullptr, FALSE);
}

void SystemWallClockAlarm::disarm() {
    if (m_timer->handle)
        ::CancelWaitableTimer(m_timer->handle);
}

void SystemWallClockAlarm::clockSteppedEverywhere() {
    const std::lock_guard<std::mutex> guard(g_alarmsLock);
    for (QObject* alarm : std::as_const(g_alarms))
        QMetaObject::invokeMethod(alarm, "clockStepped", Qt::QueuedConnection);
}

} // namespace velk
