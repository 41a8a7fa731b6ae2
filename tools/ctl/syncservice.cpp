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
        qCWarning(lcSync).noquote()
            << "no clock groups until Comport" << m_port.portNumber() << "is back";
        raise(m_lineChanged);
    });
    m_reconnector.onReconnected([this] {
        qCInfo(lcSync) << "clock groups go on from the next whole minute";
        raise(m_lineChanged);
    });
}

QString SyncService::start(const CtlOptions& options) {
    if (const QString failure = openChosenPort(m_port, options); !failure.isEmpty())
        return failure;
    qCInfo(lcSync).noquote() << "sync on: Comport" << m_port.portNumber() << "at"
                             << m_port.settings().text();
    m_ticker.start();
    return {};
}

qint64 SyncService::stop() {
    m_ticker.stop();
    m_reconnector.stop();
    qCInfo(lcSync) << "sync off";
    return m_port.close();
}

} // namespace velk
