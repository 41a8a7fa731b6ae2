#include "connection/reconnector.h"

#include "controls/logging.h"
#include "port/line.h"

namespace velk {

Reconnector::Reconnector(Line& port, QObject* parent) : QObject(parent), m_port(port) {
    m_timer.setInterval(kRetryIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { attempt(); });
}

void Reconnector::startOnLoss(Handler lost) {
    m_port.onLost([this, lost = std::move(lost)] {
        raise(lost);
        start();
    });
}

void Reconnector::start() {
    if (isWaiting())
        return;
    m_attempts = 0;
    qCInfo(lcSerial).noquote() << "waiting for" << m_port.lineLabel()
                               << "to come back, trying every" << kRetryIntervalMs / 1000 << "s";
    m_timer.start();
}

void Reconnector::stop() {
    if (!isWaiting())
        return;
    m_timer.stop();
    qCInfo(lcSerial).noquote() << "no longer waiting for" << m_port.lineLabel();
}

bool Reconnector::attempt() {
    if (m_port.isOpen()) {
        m_timer.stop();
        return true;
    }
    if (m_trying) // a network line still connecting: its answer decides
        return false;
    ++m_attempts;
    m_trying = true;
    m_port.reopen([this](const QString& failure) {
        m_trying = false;
        if (!isWaiting())
            return; // stopped meanwhile; the line is someone else's business now
        if (!failure.isEmpty()) {
            // Logged at debug level only: while a device is unplugged every try fails alike.
            qCDebug(lcSerial).noquote()
                << m_port.lineLabel() << "try" << m_attempts
                << "failed:" << QString(failure).replace(QLatin1Char('\n'), QLatin1Char(' '));
            return;
        }
        m_timer.stop();
        qCInfo(lcSerial).noquote() << m_port.lineLabel() << "is back after" << m_attempts
                                   << (m_attempts == 1 ? "try" : "tries");
        raise(m_reconnected);
    });
    return m_port.isOpen();
}

} // namespace velk
