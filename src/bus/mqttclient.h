#pragma once

#include "controls/handler.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class QSocketNotifier;
struct mosquitto;
struct mosquitto_message;

namespace velk {

// velk.mqtt: the bridge's broker connection and the commands it takes.
Q_DECLARE_LOGGING_CATEGORY(lcMqtt)

// One connection to an MQTT broker, driven by the Qt event loop: the library's socket is watched
// with notifiers and its keep-alive runs on a timer, so no thread of its own is needed. A
// connection lost after it was once made is made again, with a growing pause between tries.
class MqttClient : public QObject {
    Q_OBJECT

public:
    struct Settings {
        QString host;
        quint16 port = 1883;
        bool tls = false;
        QString caFile;   // empty: the system's certificates
        QString clientId; // empty: the library makes one up
        QString user;
        QString password;
        // Published by the broker, retained, when the connection ends without a goodbye.
        QString willTopic;
        QByteArray willPayload;
    };
    using MessageHandler = std::function<void(const QString& topic, const QByteArray& payload)>;
    using FailureHandler = std::function<void(const QString& why)>;

    static constexpr int kKeepAliveSeconds = 30;
    static constexpr int kLongestPauseMs = 30000;

    explicit MqttClient(const Settings& settings, QObject* parent = nullptr);
    ~MqttClient() override;
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // Runs on every connection the broker accepted, the first and each one made again.
    void onConnected(Handler handler) { m_connected = std::move(handler); }
    // Runs when the first connection cannot be made or the broker refuses it; no further try is
    // made then. `why` names the broker.
    void onFailedToStart(FailureHandler handler) { m_failedToStart = std::move(handler); }
    void onMessage(MessageHandler handler) { m_message = std::move(handler); }
    // Runs once a goodbye asked for by disconnect() has gone out (or could not).
    void onDisconnected(Handler handler) { m_disconnected = std::move(handler); }

    // Starts the first connection; the outcome arrives through the handlers.
    void start();
    // Says goodbye to the broker, after what was published before; no further try is made.
    void disconnect();
    bool isConnected() const { return m_isConnected; }

    // Quietly dropped while not connected: the states are published again on connecting.
    void publish(const QString& topic, const QByteArray& payload, bool retain);
    void subscribe(const QString& pattern);

    // "mqtt://host:port" as the operator names the broker in messages.
    QString brokerName() const;
    // The pause before try `attempt` (1 for the first try again): 1 s, doubled each time, at
    // most kLongestPauseMs.
    static int pauseBeforeTry(int attempt);

private:
    static void connectCallback(mosquitto*, void* self, int result);
    static void disconnectCallback(mosquitto*, void* self, int result);
    static void messageCallback(mosquitto*, void* self, const mosquitto_message* message);

    void tryConnecting(bool first);
    void connectionLost(const QString& why);
    void failStart(const QString& why);
    // After every call into the library: follows its socket and whether it has bytes to write.
    void watchSocket();
    void dropNotifiers();
    void handleResult(int result);

    Settings m_settings;
    mosquitto* m_mosq = nullptr;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    int m_socket = -1;
    QTimer m_misc;
    QTimer m_retry;
    QTimer m_firstAnswer;
    bool m_everConnected = false;
    bool m_isConnected = false;
    bool m_stopping = false;
    bool m_stopped = false;
    int m_attempt = 0;
    Handler m_connected;
    FailureHandler m_failedToStart;
    MessageHandler m_message;
    Handler m_disconnected;
};

} // namespace velk
