#include "ctl/syncservice.h"

#include "controls/logging.h"
#include "controls/serialport.h"
#include "ctl/ctloptions.h"

namespace velk {

SyncService::SyncService(SerialPort& port, const LocalClock& clock, QObject* parent)
    : QObject(parent), m_port(port), m_transmitter(port, m_messages), m_capture(clock),
      m_minuteSync(m_capture, m_transmitter), m_ticker(clock), m_reconnector(port) {
    m_ticker.onTick([this] { m_groupsSent += m_minuteSync.tick() ? 1 : 0; });
    m_reconnector.startOnLoss([this] {
        qCWarning(lcSync).noquote() << "no clock groups until" << m_port.lineLabel() << "is back";
    });
    m_reconnector.onReconnected(
        [] { qCInfo(lcSync) << "clock groups go on from the next whole minute"; });
}

void SyncService::start(const CtlOptions& options, SerialPort::Opened started) {
    openChosenPort(m_port, options, [this, started](const QString& failure) {
        if (failure.isEmpty()) {
            qCInfo(lcSync).noquote()
                << "sync on:" << m_port.lineLabel() << "at" << m_port.settings().text();
            m_ticker.start();
        }
        if (started)
            started(failure);
    });
}

void SyncService::stop(SerialPort::Closed stopped) {
    m_ticker.stop();
    m_reconnector.stop();
    qCInfo(lcSync) << "sync off";
    m_port.close(std::move(stopped));
}

} // namespace velk
