#pragma once

#include <QtGlobal>

namespace velk {

// How long closing waits for bytes still on their way to the line: as long as the line keeps
// taking them, but not once it has taken nothing for a quarter of a second, and never longer than
// the bytes need at the line's speed plus that quarter second. A healthy line so delivers
// everything, and a stalled one costs the operator a moment, not the whole backlog's line time.
class FlushWatch {
public:
    static constexpr qint64 kQuietMs = 250;

    // `pending` bytes are on their way at the start; each needs `msPerByte` on the line.
    FlushWatch(qint64 pending, double msPerByte);

    // Whether to wait on, `elapsedMs` after the start, with `pending` bytes still on their way.
    bool keepWaiting(qint64 elapsedMs, qint64 pending);

private:
    qint64 m_budgetMs;
    qint64 m_lastPending;
    qint64 m_lastProgressMs = 0;
};

} // namespace velk
