#pragma once

#include "ctl/bridgeoptions.h"
#include "ctl/ctlport.h"
#include "transmit/transmitter.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

namespace velk {

class ClockStateSource;
class LocalClock;
class MqttClient;
class Line;
class SyncService;

// One line's displays on an MQTT broker: commands under BASE go onto the line as velk-ctl's do,
// after the same checks; the states (titles, sync, availability, the PC clock's state) are kept
// retained on the broker, and Home Assistant is told what it can show. Every payload is checked
// at the door: a refused one gets one line on BASE/error and nothing on the line.
class Bridge : public QObject {
    Q_OBJECT

public:
    // `clockState` may be null: then there is no clock topic and no sensor for it.
    Bridge(const BridgeOptions& options, const QString& base, const QString& lineName,
           MqttClient& mqtt, Line& port, SyncService& sync, const LocalClock& clock,
           const ClockStateSource* clockState, QObject* parent = nullptr);

    // Publishes offline, then leaves the broker; `done` runs once that has gone out.
    void stop(Handler done);

    // The reply to a command, as a refusal on BASE/error; empty when it was carried out.
    QString take(const QString& topic, const QByteArray& payload);

private:
    void connected();
    void publishAvailability();
    void publishDiscovery();
    void publishClockState(bool always);
    void setSync(bool on);
    QString topic(const QString& path) const { return m_base + QLatin1Char('/') + path; }
    QString takeForAddress(const QString& name, const QString& what, const QString& text);

    BridgeOptions m_options;
    QString m_base;
    QString m_lineName;
    MqttClient& m_mqtt;
    Line& m_port;
    SyncService& m_sync;
    const LocalClock& m_clock;
    const ClockStateSource* m_clockState;
    LoggedMessages m_messages;
    Transmitter m_transmitter;
    QTimer m_clockCheck;
    QMap<quint8, QString> m_titles;
    QString m_clockWord;
    bool m_syncOn = false;
};

} // namespace velk
