#include "ctl/deliverywatch.h"

#include "port/line.h"
#include "transmit/transmitter.h"

namespace velk {

namespace {

constexpr int kPollMs = 1;
const QString kOnTheLine = QStringLiteral("ok");

} // namespace

DeliveryWatch::DeliveryWatch(Transmitter& transmitter, Line& port, const QString& lineLabel,
                             QObject* parent)
    : QObject(parent), m_transmitter(transmitter), m_port(port), m_lineLabel(lineLabel) {
    m_poll.setInterval(kPollMs);
    m_poll.setTimerType(Qt::PreciseTimer);
    connect(&m_poll, &QTimer::timeout, this, &DeliveryWatch::check);
}

void DeliveryWatch::watch(Delivered delivered) {
    m_waiting.push_back({m_transmitter.bytesHanded(), m_transmitter.bytesDropped(),
                         QDeadlineTimer(kLongestWaitMs), std::move(delivered)});
    check();
}

QString DeliveryWatch::outcome(const Waiting& waiting) const {
    if (!m_port.isOpen())
        return QStringLiteral("the line %1 was lost before the bytes went out").arg(m_lineLabel);
    // Withdrawn bytes left the queue as well as those taken: a withdrawal since the command was
    // written took the command with it, unless it had gone out before.
    const qint64 gone = m_transmitter.bytesHanded() - m_transmitter.pendingBytes();
    if (gone >= waiting.end)
        return m_transmitter.bytesDropped() == waiting.dropped
                   ? kOnTheLine
                   : QStringLiteral("the line %1 did not take the bytes; they were withdrawn")
                         .arg(m_lineLabel);
    if (waiting.deadline.hasExpired())
        return QStringLiteral("the line %1 has not taken the bytes within %2 s")
            .arg(m_lineLabel)
            .arg(kLongestWaitMs / 1000);
    return {};
}

void DeliveryWatch::check() {
    // Bytes go out in order: once one command waits, so do those after it.
    while (!m_waiting.empty()) {
        const QString result = outcome(m_waiting.front());
        if (result.isEmpty())
            break;
        const Delivered delivered = std::move(m_waiting.front().delivered);
        m_waiting.pop_front();
        delivered(result == kOnTheLine ? QString() : result);
    }
    if (m_waiting.empty())
        m_poll.stop();
    else if (!m_poll.isActive())
        m_poll.start();
}

} // namespace velk
