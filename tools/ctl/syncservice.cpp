#include "ctl/syncservice.h"

#include "controls/clockstatetext.h"
#include "controls/logging.h"
#include "ctl/ctloptions.h"
#include "port/line.h"

namespace velk {

SyncService::SyncService(Line& port, const LocalClock& clock, const ClockStateSource& clockState,
                         WallClockAlarm* alarm, QObject* parent)
    : QObject(parent), m_port(port), m_transmitter(port, m_messages), m_capture(clock),
      m_minuteSync(clock, m_capture, m_transmitter), m_clockState(clockState),
      m_ticker(clock, alarm), m_reconnector(port) {
    m_ticker.onTick([this] {
        if (!m_syncOn)
            return;
        checkClockState();
        m_minuteSync.tick();
    });
    m_reconnector.startOnLoss([this] {
        qCWarning(lcSync).noquote() << "no clock groups until" << m_port.lineLabel() << "is back";
        raise(m_lineChanged);
    });
    m_reconnector.onReconnected([this] {
        qCInfo(lcSync) << "clock groups go on from the next whole minute";
        raise(m_lineChanged);
    });
}

void SyncService::start(const CtlOptions& options, Line::Opened started) {
    m_requireSynced = options.requireSynced;
    openChosenPort(m_port, options, [this, started](const QString& failure) {
        if (failure.isEmpty()) {
            m_started = true;
            if (m_syncOn)
                startTicking();
        }
        if (started)
            started(failure);
    });
}

void SyncService::setSyncOn(bool on) {
    if (on == m_syncOn)
        return;
    m_syncOn = on;
    if (!m_started)
        return;
    if (on) {
        startTicking();
        return;
    }
    m_ticker.stop();
    qCInfo(lcSync) << "sync off";
}

void SyncService::startTicking() {
    qCInfo(lcSync).noquote() << "sync on:" << m_port.lineLabel() << "at"
                             << m_port.settings().text();
    // Minutes while it was off are no skipped minutes.
    m_minuteSync.startOver();
    checkClockState();
    m_ticker.start();
}

void SyncService::checkClockState() {
    if (m_clockState.update()) {
        const QString line = clockStateLine(m_clockState.state());
        if (m_clockState.isSynchronised())
            qCInfo(lcSync).noquote() << line;
        else if (m_requireSynced)
            qCWarning(lcSync).noquote() << line + "; no clock groups until it is synchronised";
        else
            qCWarning(lcSync).noquote()
                << line + "; the displays follow it all the same (hold-over)";
    }
    if (!m_requireSynced || m_holding == !m_clockState.isSynchronised())
        return;
    m_holding = !m_holding;
    m_minuteSync.setHeld(m_holding);
    if (!m_holding)
        qCInfo(lcSync) << "clock groups go on from the next whole minute";
}

void SyncService::stop(Line::Closed stopped) {
    // Said only of a sync that ran: a bridge whose broker refused it never started one.
    if (m_ticker.isActive())
        qCInfo(lcSync) << "sync off";
    m_ticker.stop();
    m_reconnector.stop();
    m_started = false;
    m_port.close(std::move(stopped));
}

} // namespace velk
