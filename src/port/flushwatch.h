#pragma once

#include <QtGlobal>

namespace velk {

// How long closing waits for bytes still on their way to the line: as long as the line keeps
// taking them, but not once it has taken nothing for the quiet time, and never longer than the
// bytes need at the line's speed plus that quiet time. A healthy line so delivers everything, and
// a stalled one costs the operator a moment, not the whole backlog's line time.
//
// The quiet time is a quarter of a second, or the time 128 bytes take on the line if that is
// longer: some USB adapters report their output queue only in steps of 64 bytes, and at a slow
// speed one such step takes longer than a quarter second to leave.
class FlushWatch {
public:
    // `pending` bytes are on their way at the start; each needs `msPerByte` on the line.
    FlushWatch(qint64 pending, double msPerByte);

    // Whether to wait on, `elapsedMs` after the start, with `pending` bytes still on their way.
    bool keepWaiting(qint64 elapsedMs, qint64 pending);

private:
    qint64 m_quietMs;
    qint64 m_budgetMs;
    qint64 m_lastPending;
    qint64 m_lastProgressMs = 0;
};

} // namespace velk
