#include "support/ptypair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace velk::test {

namespace {
QString socatPath() {
    const QByteArray fromEnv = qgetenv("SOCAT");
    return fromEnv.isEmpty() ? QStringLiteral("socat") : QString::fromLocal8Bit(fromEnv);
}
} // namespace

PtyPair::PtyPair() {
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary directory");
        return;
    }
    m_near = m_dir.filePath(QStringLiteral("near"));
    m_far = m_dir.filePath(QStringLiteral("far"));
    start();
}

bool PtyPair::restart() {
    stop();
    QFile::remove(m_near);
    QFile::remove(m_far);
    m_error.clear();
    start();
    return isReady();
}

void PtyPair::start() {
    m_socat.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_socat.start(socatPath(), {QStringLiteral("pty,raw,echo=0,link=") + m_near,
                                QStringLiteral("pty,raw,echo=0,link=") + m_far});
    if (!m_socat.waitForStarted(5000)) {
        m_error = QStringLiteral("socat did not start: ") + m_socat.errorString();
        return;
    }
    // socat makes the links once both terminals exist; wait for them without a fixed sleep.
    QElapsedTimer waited;
    waited.start();
    while (!(QFileInfo::exists(m_near) && QFileInfo::exists(m_far)) && waited.elapsed() < 5000)
        QThread::msleep(10);
    if (!QFileInfo::exists(m_far)) {
        m_error = QStringLiteral("socat made no pseudo-terminals");
        return;
    }
    m_farFd = ::open(QFile::encodeName(m_far).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_farFd < 0) {
        m_error = QStringLiteral("cannot open the far end");
        return;
    }
    termios raw{};
    if (::tcgetattr(m_farFd, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(m_farFd, TCSANOW, &raw);
    }
}

PtyPair::~PtyPair() {
    stop();
}

QByteArray PtyPair::readFar(int count, int timeoutMs) {
    QByteArray data;
    if (m_farFd < 0)
        return data;
    QElapsedTimer waited;
    waited.start();
    while (data.size() < count) {
        const qint64 left = timeoutMs - waited.elapsed();
        if (left <= 0)
            break;
        pollfd pfd{m_farFd, POLLIN, 0};
        if (::poll(&pfd, 1, int(left)) <= 0)
            break;
        char buffer[256];
        const ssize_t got = ::read(m_farFd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        data.append(buffer, int(got));
    }
    return data;
}

QByteArray PtyPair::readFarWhileRunning(int count, int timeoutMs) {
    QByteArray data;
    QElapsedTimer waited;
    waited.start();
    while (data.size() < count && waited.elapsed() < timeoutMs) {
        QCoreApplication::processEvents();
        data += readFar(count - int(data.size()), 10);
    }
    return data;
}

QByteArray PtyPair::drainFar(int quietMs) {
    QByteArray data;
    while (true) {
        const QByteArray more = readFar(1, quietMs);
        if (more.isEmpty())
            return data;
        data += more;
    }
}

bool PtyPair::resumeNear() {
    return m_nearFd >= 0 && ::tcflow(m_nearFd, TCOON) == 0;
}

bool PtyPair::stallNear() {
    m_nearFd = ::open(QFile::encodeName(m_near).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    // Output stopped by the terminal itself stays stopped whatever flow control the port sets.
    return m_nearFd >= 0 && ::tcflow(m_nearFd, TCOOFF) == 0;
}

void PtyPair::stop() {
    if (m_nearFd >= 0) {
        ::close(m_nearFd);
        m_nearFd = -1;
    }
    if (m_farFd >= 0) {
        ::close(m_farFd);
        m_farFd = -1;
    }
    if (m_socat.state() != QProcess::NotRunning) {
        m_socat.terminate();
        if (!m_socat.waitForFinished(3000)) {
            m_socat.kill();
            m_socat.waitForFinished(3000);
        }
    }
}

} // namespace velk::test
