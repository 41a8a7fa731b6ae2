#include "port/devicelock.h"

#include <string>
#include <windows.h>

namespace velk {

// Windows opens a COM port for one handle only, whatever name reaches it: the system keeps the
// one holder by itself.
QString DeviceLock::canonical(const QString& path) {
    return path;
}

DeviceLock::Outcome DeviceLock::acquire(const QString&) {
    return Outcome::Unavailable;
}

// A named object per line in the global namespace, so that programs in every session (the
// panel, a service) meet the same one; it goes with the last handle, a crashed holder's too.
DeviceLock::Outcome DeviceLock::acquireAddress(const QString& address) {
    release();
    // A backslash would name a namespace; HOST:PORT has none, but the host is the operator's.
    QString line = address.toLower(); // as the host's name is read
    line.replace(QLatin1Char('\\'), QLatin1Char('_'));
    const QString name = QStringLiteral("Global\\velk-pro line ") + line;
    const std::wstring wide = name.toStdWString();
    HANDLE handle = CreateMutexW(nullptr, FALSE, wide.c_str());
    const DWORD error = GetLastError();
    if (!handle)
        // Another account's holder (a service) keeps its object from this one.
        return error == ERROR_ACCESS_DENIED ? Outcome::Busy : Outcome::Unavailable;
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return Outcome::Busy;
    }
    m_handle = reinterpret_cast<qintptr>(handle);
    return Outcome::Held;
}

void DeviceLock::release() {
    if (m_handle == -1)
        return;
    CloseHandle(reinterpret_cast<HANDLE>(m_handle));
    m_handle = -1;
}

} // namespace velk
