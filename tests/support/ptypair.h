#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace velk::test {

// A pair of linked pseudo-terminals made by socat: the panel writes to `near()`, the test reads
// what reached the line at `far()`.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // False when socat could not be started or its links did not appear; see error().
    bool isReady() const { return m_farFd >= 0; }
    QString error() const { return m_error; }
    QString near() const { return m_near; }
    QString far() const { return m_far; }

    // Reads from the far end until `count` bytes arrived or `timeoutMs` passed.
    QByteArray readFar(int count, int timeoutMs = 3000);
    // The same while the event loop turns, for ports that write from it (QSerialPort).
    QByteArray readFarWhileRunning(int count, int timeoutMs = 5000);
    // Reads whatever arrives at the far end within `quietMs` of silence.
    QByteArray drainFar(int quietMs = 200);
    // Holds the near end's output, as a line whose far end takes nothing: bytes written to
    // near() stay queued. Call it before the port under test opens near().
    bool stallNear();
    // Lets the held output go on to the far end.
    bool resumeNear();
    // Ends socat, so both ends vanish as if a USB adapter was unplugged.
    void stop();
    // A new pair under the same names, as an adapter plugged in again; false when it failed.
    bool restart();

private:
    void start();

    QTemporaryDir m_dir;
    QProcess m_socat;
    QString m_near;
    QString m_far;
    QString m_error;
    int m_farFd = -1;
    int m_nearFd = -1;
};

} // namespace velk::test
