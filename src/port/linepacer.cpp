#include "port/linepacer.h"

#include <cmath>

namespace velk {

namespace {
// A piece is an eighth of the window, so the count of bytes taken moves in small steps.
constexpr qint64 kPiecesPerWindow = 8;
constexpr qint64 kMinBudget = 16;
} // namespace

LinePacer::LinePacer(double msPerByte, bool confirmed) : m_confirmed(confirmed) {
    setMsPerByte(msPerByte);
}

void LinePacer::setMsPerByte(double msPerByte) {
    m_msPerByte = qMax(msPerByte, 0.001);
    m_budget = qMax<qint64>(kMinBudget, qint64(kWindowMs / m_msPerByte));
    m_piece = qMax<qint64>(1, m_budget / kPiecesPerWindow);
}

bool LinePacer::queue(const QByteArray& bytes) {
    if (m_queue.size() + bytes.size() > kMaxQueued)
        return false;
    m_queue += bytes;
    return true;
}

QByteArray LinePacer::take(qint64 nowMs) {
    if (m_queue.isEmpty() || (m_confirmed && !fresh(nowMs)))
        return {};
    qint64 room = qMin(roomByTime(nowMs), m_piece);
    if (m_confirmed)
        room = qMin(room, m_budget - onTheWay(nowMs));
    if (room <= 0)
        return {};
    const QByteArray piece = m_queue.left(int(qMin<qint64>(room, m_queue.size())));
    m_queue.remove(0, piece.size());
    m_handed += piece.size();
    m_lineBusyUntilMs = qMax(m_lineBusyUntilMs, double(nowMs)) + double(piece.size()) * m_msPerByte;
    return piece;
}

bool LinePacer::needsProbe(qint64 nowMs) const {
    return m_confirmed && !m_queue.isEmpty() && m_marks.empty() && !fresh(nowMs);
}

void LinePacer::markSent(qint64 nowMs) {
    m_marks.push_back({m_handed, nowMs});
}

void LinePacer::markAnswered() {
    if (m_marks.empty())
        return;
    m_confirmedBytes = m_marks.front().handedBefore;
    m_lastAnsweredSentAtMs = m_marks.front().sentAtMs;
    m_marks.pop_front();
}

std::optional<qint64> LinePacer::wakeAfter(qint64 nowMs) const {
    if (m_queue.isEmpty() || (m_confirmed && !fresh(nowMs)))
        return std::nullopt;
    // Time holds the bytes only while the next piece does not fit the window.
    const qint64 need = qMin<qint64>(m_piece, m_queue.size());
    const qint64 room = roomByTime(nowMs);
    if (room >= need)
        return std::nullopt;
    return qMax<qint64>(1, qint64(std::ceil(double(need - room) * m_msPerByte)));
}

qint64 LinePacer::pending(qint64 nowMs) const {
    return m_queue.size() + onTheWay(nowMs);
}

qint64 LinePacer::withdraw() {
    const qint64 withdrawn = m_queue.size();
    m_queue.clear();
    return withdrawn;
}

qint64 LinePacer::onTheWay(qint64 nowMs) const {
    if (m_confirmed)
        return m_handed - m_confirmedBytes;
    // Nothing confirms a raw line: what its speed has not had time to send counts as on its way.
    const double busyAheadMs = qMax(0.0, m_lineBusyUntilMs - double(nowMs));
    return qMin(m_handed, qint64(std::ceil(busyAheadMs / m_msPerByte)));
}

qint64 LinePacer::roomByTime(qint64 nowMs) const {
    const double busyAheadMs = qMax(0.0, m_lineBusyUntilMs - double(nowMs));
    return qint64((double(kWindowMs) - busyAheadMs) / m_msPerByte);
}

bool LinePacer::fresh(qint64 nowMs) const {
    return m_lastAnsweredSentAtMs && nowMs - *m_lastAnsweredSentAtMs <= kFreshMs;
}

} // namespace velk
