#pragma once

#include <QString>
#include <QtGlobal>

namespace velk {

// One holder per device among the programs that drive the displays: the hold is taken on the
// device itself, so every name of it (a symlink, a by-id link, /dev/pts/N) meets the same hold,
// and it never touches the terminal's own exclusive mode, which another holder may rely on.
class DeviceLock {
public:
    enum class Outcome { Held, Busy, Unavailable };

    DeviceLock() = default;
    ~DeviceLock() { release(); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    // The device's one name: symlinks followed. `path` itself where it has none (COM3).
    static QString canonical(const QString& path);

    // Takes the hold on `device`. Unavailable: the device cannot be held here (missing, not
    // permitted); opening it then says why.
    Outcome acquire(const QString& device);
    // Takes the hold on a network line, known by its `address` (HOST:PORT), among the programs
    // on this computer: a device server cannot tell its clients apart.
    Outcome acquireAddress(const QString& address);
    void release();
    bool isHeld() const { return m_handle >= 0; }

private:
    Outcome hold(int handle); // Unix: the flock both kinds of hold take

    qintptr m_handle = -1; // a descriptor on Unix, a named object's handle on Windows
};

} // namespace velk
