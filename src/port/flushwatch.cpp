#include "port/flushwatch.h"

#include <cmath>

namespace velk {

namespace {
constexpr qint64 kMinQuietMs = 250;
constexpr double kQuietBytes = 128;

qint64 quietMsFor(double msPerByte) {
    return qMax(kMinQuietMs, qint64(std::ceil(kQuietBytes * msPerByte)));
}
} // namespace

FlushWatch::FlushWatch(qint64 pending, double msPerByte)
    : m_quietMs(quietMsFor(msPerByte)),
      m_budgetMs(qint64(std::ceil(double(pending) * msPerByte)) + m_quietMs),
      m_lastPending(pending) {}

bool FlushWatch::keepWaiting(qint64 elapsedMs, qint64 pending) {
    if (pending <= 0)
        return false;
    if (pending < m_lastPending) {
        m_lastPending = pending;
        m_lastProgressMs = elapsedMs;
    }
    return elapsedMs - m_lastProgressMs < m_quietMs && elapsedMs < m_budgetMs;
}

} // namespace velk
