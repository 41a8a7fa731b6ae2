#include "clocksync/linewatch.h"

#include "controls/logging.h"
#include "transmit/transmitter.h"

namespace velk {

LineWatch::LineWatch(Transmitter& transmitter) : m_transmitter(transmitter) {}

void LineWatch::groupWritten(qint64 minuteMs, const QString& label, qint64 ahead, qint64 bytes) {
    m_group = Group{minuteMs, label, ahead, ahead + bytes, m_transmitter.bytesHanded()};
    remember(m_transmitter.pendingBytes());
}

QString LineWatch::check(qint64 nowMs) {
    qint64 pending = m_transmitter.pendingBytes();
    const qint64 handed = m_transmitter.bytesHanded();
    // Some byte left for the line since the last look.
    bool moved = pending < m_lastPending + (handed - m_lastHanded);
    QString dropped;
    if (m_group) {
        const qint64 left = m_group->queued + (handed - m_group->handedAt) - pending;
        if (left > m_group->ahead) {
            m_group.reset();
            moved = true;
        } else if (nowMs - m_group->minuteMs >= kGroupDeadlineMs) {
            if (!m_stalled) {
                qCWarning(lcSync).noquote() << "the line stopped taking data";
                m_stalled = true;
            }
            // Only bytes really withdrawn make a drop; what the line keeps arrives late.
            if (m_transmitter.discardPending() > 0) {
                dropped = QStringLiteral("the line is not taking data; the %1 group was dropped")
                              .arg(m_group->label);
                qCWarning(lcSync).noquote() << dropped;
            } else {
                qCWarning(lcSync).noquote() << "the line is not taking data; the" << m_group->label
                                            << "group is on its way and cannot be withdrawn";
            }
            m_group.reset();
            pending = m_transmitter.pendingBytes();
        }
    }
    // Bytes waiting a second ago of which none has left: the line has stopped.
    if (!m_stalled && m_lastPending > 0 && !moved) {
        qCWarning(lcSync).noquote() << "the line stopped taking data;" << pending << "bytes wait";
        m_stalled = true;
    } else if (m_stalled && moved) {
        qCInfo(lcSync).noquote() << "the line takes data again";
        m_stalled = false;
    }
    m_lastHanded = handed;
    remember(pending);
    return dropped;
}

void LineWatch::remember(qint64 pending) {
    m_lastPending = pending;
    m_lastHanded = m_transmitter.bytesHanded();
}

} // namespace velk
