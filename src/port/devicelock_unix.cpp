#include "port/devicelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velk {

// Takes the exclusive hold on `handle`, kept open for as long as it; closed when another
// holder has it.
DeviceLock::Outcome DeviceLock::hold(int handle) {
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(handle);
        return held ? Outcome::Busy : Outcome::Unavailable;
    }
    m_handle = handle;
    return Outcome::Held;
}

QString DeviceLock::canonical(const QString& path) {
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? path : resolved;
}

DeviceLock::Outcome DeviceLock::acquire(const QString& device) {
    release();
    // A descriptor of our own, kept for as long as the hold: closing it never changes the
    // terminal's settings or its exclusive mode.
    const int handle =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return errno == EBUSY ? Outcome::Busy : Outcome::Unavailable;
    return hold(handle);
}

DeviceLock::Outcome DeviceLock::acquireAddress(const QString& address) {
    release();
    QString key = address.toLower();
    key.replace(QRegularExpression(QStringLiteral("[^a-z0-9.-]")), QStringLiteral("_"));
    // In the shared temporary folder so that every account on this computer meets the same
    // hold; the file stays, the hold ends with its holder.
    const QByteArray path =
        QFile::encodeName(QDir::tempPath() + QStringLiteral("/velk-line-%1.lock").arg(key));
    int handle = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (handle >= 0)
        ::fchmod(handle, 0666); // past the umask, so that another account can hold it too
    else
        handle = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return Outcome::Unavailable;
    return hold(handle);
}

void DeviceLock::release() {
    if (m_handle < 0)
        return;
    ::close(m_handle);
    m_handle = -1;
}

} // namespace velk
