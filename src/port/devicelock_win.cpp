#include "port/devicelock.h"

namespace velk {

// Windows opens a COM port for one handle only, whatever name reaches it: the system keeps the
// one holder by itself.
QString DeviceLock::canonical(const QString& path) {
    return path;
}

DeviceLock::Outcome DeviceLock::acquire(const QString&) {
    return Outcome::Unavailable;
}

// Not held yet on Windows: a second program on this computer reaches the server, which may
// refuse it (max-connections) or close the first.
DeviceLock::Outcome DeviceLock::acquireAddress(const QString&) {
    return Outcome::Unavailable;
}

void DeviceLock::release() {}

} // namespace velk
