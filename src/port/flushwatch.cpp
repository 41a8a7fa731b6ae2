#include "port/flushwatch.h"

#include <cmath>

namespace velk {

FlushWatch::FlushWatch(qint64 pending, double msPerByte)
    : m_budgetMs(qint64(std::ceil(double(pending) * msPerByte)) + kQuietMs),
      m_lastPending(pending) {}

bool FlushWatch::keepWaiting(qint64 elapsedMs, qint64 pending) {
    if (pending <= 0)
        return false;
    if (pending < m_lastPending) {
        m_lastPending = pending;
        m_lastProgressMs = elapsedMs;
    }
    return elapsedMs - m_lastProgressMs < kQuietMs && elapsedMs < m_budgetMs;
}

} // namespace velk
