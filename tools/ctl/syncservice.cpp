#include "ctl/syncservice.h"

#include "controls/logging.h"
#include "controls/serialport.h"
#include "ctl/ctloptions.h"

namespace velk {

namespace {

// How long before a whole minute the event loop wakes for the tick that sends (see below).
constexpr int kApproachMs = 50;

} // namespace

SyncService::SyncService(SerialPort& port, const LocalClock& clock, QObject* parent)
    : QObject(parent), m_port(port), m_clock(clock), m_transmitter(port, m_messages),
      m_capture(clock), m_minuteSync(m_capture, m_transmitter), m_ticker(clock),
      m_reconnector(port) {
    m_approach.setSingleShot(true);
    m_approach.setTimerType(Qt::PreciseTimer);
    m_ticker.onTick([this] {
        m_groupsSent += m_minuteSync.tick() ? 1 : 0;
        approachMinute();
    });
    m_reconnector.startOnLoss([this] {
        qCWarning(lcSync).noquote()
            << "no clock groups until Comport" << m_port.portNumber() << "is back";
    });
    m_reconnector.onReconnected(
        [] { qCInfo(lcSync) << "clock groups go on from the next whole minute"; });
}

QString SyncService::start(const CtlOptions& options) {
    if (const QString failure = openChosenPort(m_port, options); !failure.isEmpty())
        return failure;
    qCInfo(lcSync).noquote() << "sync on: Comport" << m_port.portNumber() << "at"
                             << m_port.settings().text();
    m_ticker.start();
    return {};
}

void SyncService::approachMinute() {
    // The kernel may end a wait up to 0.1 % of its length late: up to a millisecond for the
    // tick's wait of nearly a second. Woken a little before second 00 (the timer needs no
    // handler: the wake is all it is for), the loop waits for the tick that sends only briefly.
    const QTime now = m_clock.now().time();
    if (now.second() == 59)
        m_approach.start(qMax(0, 1000 - now.msec() - kApproachMs));
}

qint64 SyncService::stop() {
    m_approach.stop();
    m_ticker.stop();
    m_reconnector.stop();
    qCInfo(lcSync) << "sync off";
    return m_port.close();
}

} // namespace velk
