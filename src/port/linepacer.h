#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <deque>
#include <optional>

namespace velk {

// What a network line hands to its socket, and when. Bytes count as taken only once the device
// server has taken them: the socket's own count cannot tell, since bytes the server's kernel has
// acknowledged but the server has not read are out of the program's sight. So the bytes wait in
// the program's own queue, from which they can still be withdrawn, and go to the socket at the
// line's own speed with no more than kWindowMs of line time on their way.
//
// With confirmation (Telnet's TIMING-MARK, which a server answers only once it has read what
// came before), each piece handed over is followed by a mark, and nothing more goes while the
// server has not answered a mark sent within the last kFreshMs: after a quiet spell the line is
// probed first. Without it (a raw line) the speed is all there is to go by.
//
// Times are milliseconds on any steady clock; nothing here reads one.
class LinePacer {
public:
    static constexpr qint64 kWindowMs = 500;
    static constexpr qint64 kFreshMs = 1000;
    // The most bytes the program keeps for the line; output beyond it is refused.
    static constexpr qint64 kMaxQueued = 1 << 20;

    LinePacer(double msPerByte, bool confirmed);

    // The line's speed changed: from now on bytes go at the new one.
    void setMsPerByte(double msPerByte);
    // False, taking nothing, when the queue is full.
    bool queue(const QByteArray& bytes);
    // The next piece for the socket at `nowMs`, taken from the queue; empty when nothing may go
    // now. With confirmation, the caller sends a mark right after it and calls markSent().
    QByteArray take(qint64 nowMs);
    // With confirmation: whether a probe (a mark alone) must go before any byte can.
    bool needsProbe(qint64 nowMs) const;
    void markSent(qint64 nowMs);
    // The server answered the oldest mark. An answer nobody asked for is ignored.
    void markAnswered();
    // How long until time alone lets more go; nothing while time is not what holds them.
    std::optional<qint64> wakeAfter(qint64 nowMs) const;

    // Bytes the server has not taken: queued here and on their way.
    qint64 pending(qint64 nowMs) const;
    qint64 queued() const { return m_queue.size(); }
    // Withdraws the queue; returns how many bytes it held.
    qint64 withdraw();

private:
    struct Mark {
        qint64 handedBefore; // bytes handed over before the mark
        qint64 sentAtMs;
    };
    qint64 onTheWay(qint64 nowMs) const;
    // The bytes the window has room for by the line's speed alone.
    qint64 roomByTime(qint64 nowMs) const;
    bool fresh(qint64 nowMs) const;

    double m_msPerByte = 1;
    bool m_confirmed;
    qint64 m_budget = 0;
    qint64 m_piece = 1;
    QByteArray m_queue;
    qint64 m_handed = 0;
    qint64 m_confirmedBytes = 0;
    // When the line will have sent everything handed over, at its speed.
    double m_lineBusyUntilMs = 0;
    std::deque<Mark> m_marks;
    std::optional<qint64> m_lastAnsweredSentAtMs;
};

} // namespace velk
