#pragma once

#include "bus/brokeraccess.h"
#include "controls/handler.h"

#include <QByteArray>
#include <QHash>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QSocketNotifier;
struct mosquitto;
struct mosquitto_message;
struct mqtt5__property;

namespace velk {

// velk.mqtt: the broker connection and what goes over it.
Q_DECLARE_LOGGING_CATEGORY(lcMqtt)

// One MQTT 5 connection to a broker, driven by the Qt event loop: the library's socket is watched
// with notifiers and its keep-alive runs on a timer. Only the connect, which looks up the
// broker's name, runs on a worker thread, so a slow resolver never holds up the loop. A
// connection lost after it was once made is made again, with a growing pause between tries,
// unless the client is a one-shot one.
class MqttClient : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 kPlainPort = 1883;
    static constexpr quint16 kTlsPort = 8883;

    struct Settings {
        QString host;
        quint16 port = kPlainPort;
        bool tls = false;
        QString caFile;   // empty: the system's certificates
        QString clientId; // empty: the library makes one up
        QString user;
        QString password;
        // Published by the broker, retained, when the connection ends without a goodbye.
        QString willTopic;
        QByteArray willPayload;
        // Never retries: the first failure, or a later loss, ends it through onFailedToStart or
        // onLost.
        bool oneShot = false;

        // The broker at `host`:`port`, over TLS where `tls`, with the account and CA given.
        static Settings forBroker(const QString& host, quint16 port, bool tls,
                                  const BrokerAccess& access) {
            Settings settings;
            settings.host = host;
            settings.port = port;
            settings.tls = tls;
            settings.caFile = access.caFile;
            settings.user = access.user;
            settings.password = access.password;
            return settings;
        }
    };
    struct Message {
        QString topic;
        QByteArray payload;
        // The retain flag as published (subscriptions use Retain As Published); a retained
        // message handed over at subscription carries it too.
        bool retained = false;
        QString responseTopic; // empty when none
        QByteArray correlationData;
    };
    struct PublishOptions {
        bool retain = false;
        QString responseTopic;
        QByteArray correlationData;
        quint32 expirySeconds = 0; // Message Expiry Interval; 0: none
    };
    using MessageHandler = std::function<void(const Message&)>;
    using FailureHandler = std::function<void(const QString& why)>;
    using SubscribedHandler = std::function<void(const QString& pattern, bool granted)>;

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
    // Runs when a connection once made is lost; `why` names the broker. A one-shot client stops
    // then, any other tries again.
    void onLost(FailureHandler handler) { m_lost = std::move(handler); }
    void onMessage(MessageHandler handler) { m_message = std::move(handler); }
    // Runs once the broker has answered a subscription (SUBACK): granted or refused.
    void onSubscribed(SubscribedHandler handler) { m_subscribed = std::move(handler); }
    // Runs once a goodbye asked for by disconnect() has gone out (or could not).
    void onDisconnected(Handler handler) { m_disconnected = std::move(handler); }

    // Starts the first connection; the outcome arrives through the handlers.
    void start();
    // Says goodbye to the broker, after what was published before; no further try is made.
    void disconnect();

    // Quietly dropped while not connected: states are published again on connecting.
    // At most once (QoS 0), as states and frames go: with no acknowledgement coming back, a
    // broker that delays small packets (Nagle) never holds a command behind one.
    void publish(const QString& topic, const QByteArray& payload, bool retain);
    // At least once (QoS 1), as requests and answers go; the broker's PUBACK is checked.
    void publish(const QString& topic, const QByteArray& payload, const PublishOptions& options);
    // QoS 1, Retain As Published; the answer arrives through onSubscribed.
    void subscribe(const QString& pattern);

    // "mqtt://host:port" as the operator names the broker in messages.
    QString brokerName() const;
    // The pause before try `attempt` (1 for the first try again): 1 s, doubled each time, at
    // most kLongestPauseMs.
    static int pauseBeforeTry(int attempt);

private:
    static void connectCallback(mosquitto*, void* self, int reason, int flags,
                                const mqtt5__property* properties);
    static void disconnectCallback(mosquitto*, void* self, int result,
                                   const mqtt5__property* properties);
    static void messageCallback(mosquitto*, void* self, const mosquitto_message* message,
                                const mqtt5__property* properties);
    static void publishCallback(mosquitto*, void* self, int mid, int reason,
                                const mqtt5__property* properties);
    static void logCallback(mosquitto*, void* self, int level, const char* text);
    static void subscribeCallback(mosquitto*, void* self, int mid, int count, const int* granted,
                                  const mqtt5__property* properties);

    void send(const QString& topic, const QByteArray& payload, const PublishOptions& options,
              int qos);
    bool setUp();
    void tryConnecting(bool first);
    void connectTried(int result, const QString& why);
    void connectionLost(const QString& why);
    void failStart(const QString& why);
    void keepAlive();
    // After every call into the library: follows its socket and whether it has bytes to write.
    void watchSocket();
    void dropNotifiers();
    // True, with the connection given up as lost, when the socket did not reach the broker.
    bool tcpConnectFailed();
    void handleResult(int result);
    void logRefusal(int result, const QString& what) const;
    // Why a connection that never came up failed, with the TLS library's word where it had one.
    QString connectFailure(const QString& why);

    Settings m_settings;
    mosquitto* m_mosq = nullptr;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    int m_socket = -1;
    // The connect in progress; the library is not touched from the loop while it runs.
    std::thread m_connector;
    bool m_connecting = false;
    bool m_tcpConnecting = false; // the socket's connect may still be on its way
    QTimer m_keepAlive;
    QTimer m_retry;
    QTimer m_firstAnswer;
    bool m_everConnected = false;
    bool m_isConnected = false;
    bool m_stopping = false;
    bool m_stopped = false;
    int m_attempt = 0;
    // Subscriptions sent and not yet answered, by message id.
    QHash<int, QString> m_pendingSubscriptions;
    // Messages sent and not yet acknowledged (PUBACK), by message id: their topics.
    QHash<int, QString> m_pendingPublishes;
    // The TLS library's last complaint (a certificate refused); the worker may write it too.
    std::mutex m_tlsErrorLock;
    QString m_tlsError;
    Handler m_connected;
    FailureHandler m_failedToStart;
    FailureHandler m_lost;
    MessageHandler m_message;
    SubscribedHandler m_subscribed;
    Handler m_disconnected;
};

} // namespace velk
