#pragma once

#include "bus/mqttclient.h"
#include "ctl/bridgeoptions.h"
#include "ctl/deliverywatch.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

namespace velk {

class ClockStateSource;
class LocalClock;
class Line;
class SyncService;
struct BridgeCommand;

// One line's displays on an MQTT broker, the line's one owner: commands under BASE go onto the
// line through the sync's own writer, after velk-ctl's checks; the states (titles, sync,
// availability, the PC clock's state, the line) are kept retained on the broker, each frame is
// shown on BASE/frames, and Home Assistant is told what it can show. A command with a response
// topic is answered there exactly once: "ok" once its bytes are on the line, otherwise the reason;
// one without has its refusal on BASE/error. A retained command is never carried out.
class Bridge : public QObject {
    Q_OBJECT

public:
    // Where the bridge is: its topics' base and the line it owns.
    struct Place {
        QString base;
        QString lineName; // the line's name in topics ("ttyUSB0")
        QString line;     // the line as --port names it ("/dev/ttyUSB0")
        QString timeZone; // the IANA zone of the minute's groups
    };

    // `clockState` may be null: then there is no clock topic and no sensor for it.
    Bridge(const BridgeOptions& options, const Place& place, MqttClient& mqtt, Line& port,
           SyncService& sync, const LocalClock& clock, const ClockStateSource* clockState,
           QObject* parent = nullptr);

    // The availability topic's payload, also the broker's will.
    static QByteArray availabilityWord(bool online);

    // Publishes offline, then leaves the broker; `done` runs once that has gone out.
    void stop(Handler done);

private:
    using Answer = std::function<void(const QString& refusal)>;

    void connected();
    void subscribed(const QString& pattern, bool granted);
    void messageArrived(const MqttClient::Message& message);
    void refuseRetained(const MqttClient::Message& message);
    // A command that passed the door; `answer` hears nothing once it is done, or the reason.
    void runCommand(const BridgeCommand& command, const Answer& answer);
    void rememberTitle(quint8 address, const QString& title);
    void answer(const MqttClient::Message& request, const QString& refusal);
    void publishAll();
    void publishAvailability();
    void publishLine();
    void publishClockState(bool always);
    void setSync(bool on);
    QString topic(const QString& path) const { return m_place.base + QLatin1Char('/') + path; }
    QString birthTopic() const;

    BridgeOptions m_options;
    Place m_place;
    MqttClient& m_mqtt;
    Line& m_port;
    SyncService& m_sync;
    const LocalClock& m_clock;
    const ClockStateSource* m_clockState;
    DeliveryWatch m_delivery;
    QTimer m_clockCheck;
    QMap<quint8, QString> m_titles;
    QString m_clockWord;
    // Retained commands already said to be ignored, by topic.
    QSet<QString> m_retainedSeen;
    int m_unansweredSubscriptions = 0;
    bool m_listening = false;
    bool m_syncOn = false;
    bool m_everConnected = false;
};

} // namespace velk
