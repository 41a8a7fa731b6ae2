#include "ui/closerequestfilter.h"

#include <QCoreApplication>
#include <QWidget>

#include <windows.h>

namespace velk {

bool CloseRequestFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "windows_generic_MSG")
        return false;
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_CLOSE || msg->hwnd != reinterpret_cast<HWND>(m_window.effectiveWinId()))
        return false;
    m_window.close();
    return true;
}

} // namespace velk
