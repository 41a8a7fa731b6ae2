#pragma once

#include "bus/brokeraccess.h"
#include "bus/busstate.h"
#include "bus/mqttclient.h"
#include "port/linename.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

namespace velk {

// A client of a line's bridge on the broker: it connects, follows the bridge's retained states
// and sends it requests (MQTT 5, with a response topic of its own and correlation data), each
// of which gets exactly one result.
class BusLink : public QObject {
    Q_OBJECT

public:
    // How a request ended.
    struct Result {
        enum class Status { Ok, Refused, Offline };
        Status status = Status::Offline;
        QString reason; // empty for Ok: the bridge's own reason, or why it is offline
        bool ok() const { return status == Status::Ok; }
    };
    using ResultHandler = std::function<void(const Result&)>;
    using PartHandler = std::function<void(BusState::Part part, quint8 address)>;

    // The broker connection that reaches `line` as `access` allows.
    static MqttClient::Settings clientSettings(const LineName& line, const BrokerAccess& access,
                                               bool oneShot);

    // How long a request waits for its answer; also its expiry on the broker.
    static constexpr int kAnswerSeconds = 5;

    // `oneShot`: the first failure or a loss ends it, with no retry (velk-ctl).
    BusLink(const LineName& line, const BrokerAccess& access, bool oneShot,
            QObject* parent = nullptr);
    ~BusLink() override;

    // Runs once all subscriptions are acknowledged on each connection: the retained states
    // have arrived by then.
    void onReady(Handler handler) { m_ready = std::move(handler); }
    // The first connection failed, or (one-shot) the broker was lost; `why` names the broker.
    void onFailed(MqttClient::FailureHandler handler) { m_failed = std::move(handler); }
    // A connection once made was lost; the client tries again unless one-shot.
    void onLost(MqttClient::FailureHandler handler) { m_lost = std::move(handler); }
    // A retained state changed; `address` only for BusState::Part::Title.
    void onChanged(PartHandler handler) { m_changed = std::move(handler); }

    void start();
    // Leaves the broker; nothing the bridge keeps changes.
    void stop(Handler done = {});
    bool isReady() const { return m_isReady; }

    const BusState& state() const { return m_state; }
    const LineName& line() const { return m_line; }

    // Requests, as the bridge takes them; `done` runs exactly once, from the event loop (not
    // when the link is gone first).
    void sendTitle(quint8 address, const QString& title, ResultHandler done);
    void sendClear(quint8 address, ResultHandler done);
    // `when` is "now" or "YYYY-MM-DD HH:MM".
    void sendTime(const QString& when, ResultHandler done);
    void sendSync(bool on, ResultHandler done);

    // "the bridge for BASE is offline"
    QString offlineText() const;

private:
    struct Pending {
        ResultHandler done;
        std::unique_ptr<QTimer> timer;
    };

    void connected();
    void subscribed(const QString& pattern, bool granted);
    void message(const MqttClient::Message& message);
    void request(const QString& path, const QByteArray& payload, ResultHandler done);
    void finish(const QByteArray& correlation, const Result& result);
    void finishAll(const Result& result);
    QString topic(const QString& path) const;

    LineName m_line;
    QString m_replyTopic;
    std::unique_ptr<MqttClient> m_mqtt;
    BusState m_state;
    std::map<QByteArray, Pending> m_pending; // by correlation data
    QStringList m_awaited;                   // subscriptions not acknowledged yet
    bool m_isReady = false;
    bool m_stopping = false;
    Handler m_ready;
    MqttClient::FailureHandler m_failed;
    MqttClient::FailureHandler m_lost;
    PartHandler m_changed;
};

} // namespace velk
