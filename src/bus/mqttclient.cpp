#include "bus/mqttclient.h"

#include "bus/socketerrors.h"
#include "bus/systemcertificates.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mosquitto.h>
#include <mqtt_protocol.h>

namespace velk {

Q_LOGGING_CATEGORY(lcMqtt, "velk.mqtt", QtWarningMsg)

namespace {

constexpr int kKeepAliveIntervalMs = 1000;
// The first connection is given up when the broker has not answered by then.
constexpr int kFirstAnswerMs = 10000;
// A goodbye that cannot go out within this is given up.
constexpr int kGoodbyeMs = 2000;
constexpr int kFirstPauseMs = 1000;
constexpr int kQos = 1;
constexpr int kStateQos = 0;

// On the thread that made the call: errno is the thread's own.
QString resultText(int result) {
    if (result == MOSQ_ERR_ERRNO)
        return systemErrorText(errno);
    if (result == MOSQ_ERR_EAI) // the library leaves getaddrinfo's code in errno
        return QStringLiteral("cannot look up the name: ") + lookupErrorText(errno);
    return QString::fromUtf8(mosquitto_strerror(result));
}

QString reasonText(int reason) {
    return QString::fromUtf8(mosquitto_reason_string(reason));
}

// The library's properties for a publish; freed when it goes.
class Properties {
public:
    explicit Properties(const MqttClient::PublishOptions& options) {
        if (!options.responseTopic.isEmpty())
            mosquitto_property_add_string(&m_list, MQTT_PROP_RESPONSE_TOPIC,
                                          options.responseTopic.toUtf8().constData());
        if (!options.correlationData.isEmpty())
            mosquitto_property_add_binary(
                &m_list, MQTT_PROP_CORRELATION_DATA, options.correlationData.constData(),
                uint16_t(qMin<qsizetype>(options.correlationData.size(), 0xFFFF)));
        if (options.expirySeconds > 0)
            mosquitto_property_add_int32(&m_list, MQTT_PROP_MESSAGE_EXPIRY_INTERVAL,
                                         options.expirySeconds);
    }
    ~Properties() { mosquitto_property_free_all(&m_list); }
    Properties(const Properties&) = delete;
    Properties& operator=(const Properties&) = delete;
    const mosquitto_property* list() const { return m_list; }

private:
    mosquitto_property* m_list = nullptr;
};

void readProperties(const mosquitto_property* properties, MqttClient::Message& message) {
    char* responseTopic = nullptr;
    if (mosquitto_property_read_string(properties, MQTT_PROP_RESPONSE_TOPIC, &responseTopic,
                                       false)) {
        message.responseTopic = QString::fromUtf8(responseTopic);
        std::free(responseTopic);
    }
    void* data = nullptr;
    uint16_t length = 0;
    if (mosquitto_property_read_binary(properties, MQTT_PROP_CORRELATION_DATA, &data, &length,
                                       false)) {
        message.correlationData = QByteArray(static_cast<const char*>(data), length);
        std::free(data);
    }
}

} // namespace

MqttClient::MqttClient(const Settings& settings, QObject* parent)
    : QObject(parent), m_settings(settings) {
    mosquitto_lib_init();
    const QByteArray clientId = m_settings.clientId.toUtf8();
    m_mosq = mosquitto_new(clientId.isEmpty() ? nullptr : clientId.constData(), true, this);
    m_keepAlive.setInterval(kKeepAliveIntervalMs);
    connect(&m_keepAlive, &QTimer::timeout, this, &MqttClient::keepAlive);
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] { tryConnecting(false); });
    m_firstAnswer.setSingleShot(true);
    connect(&m_firstAnswer, &QTimer::timeout, this, [this] {
        failStart(QStringLiteral("no answer from the broker %1").arg(brokerName()));
    });
}

MqttClient::~MqttClient() {
    // A look-up under way ends within the resolver's own time-out; only then may the library go.
    if (m_connector.joinable())
        m_connector.join();
    m_readNotifier.reset();
    m_writeNotifier.reset();
    if (m_mosq)
        mosquitto_destroy(m_mosq);
    mosquitto_lib_cleanup();
}

QString MqttClient::brokerName() const {
    const QString host =
        m_settings.host.contains(QLatin1Char(':')) ? '[' + m_settings.host + ']' : m_settings.host;
    return QStringLiteral("%1://%2:%3")
        .arg(m_settings.tls ? QStringLiteral("mqtts") : QStringLiteral("mqtt"), host)
        .arg(m_settings.port);
}

int MqttClient::pauseBeforeTry(int attempt) {
    qint64 pause = kFirstPauseMs;
    for (int i = 1; i < attempt && pause < kLongestPauseMs; ++i)
        pause *= 2;
    return int(qMin<qint64>(pause, kLongestPauseMs));
}

void MqttClient::start() {
    if (!m_mosq) {
        failStart(QStringLiteral("cannot make a client for the broker %1").arg(brokerName()));
        return;
    }
    if (!setUp())
        return;
    m_firstAnswer.start(kFirstAnswerMs);
    tryConnecting(true);
}

bool MqttClient::setUp() {
    mosquitto_connect_v5_callback_set(m_mosq, &MqttClient::connectCallback);
    mosquitto_disconnect_v5_callback_set(m_mosq, &MqttClient::disconnectCallback);
    mosquitto_message_v5_callback_set(m_mosq, &MqttClient::messageCallback);
    mosquitto_publish_v5_callback_set(m_mosq, &MqttClient::publishCallback);
    mosquitto_subscribe_v5_callback_set(m_mosq, &MqttClient::subscribeCallback);
    mosquitto_log_callback_set(m_mosq, &MqttClient::logCallback);
    int result = mosquitto_int_option(m_mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    // Small packets go out at once: a state or an answer is not held back for the next one.
    if (result == MOSQ_ERR_SUCCESS)
        result = mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    if (result == MOSQ_ERR_SUCCESS && !m_settings.user.isEmpty())
        result = mosquitto_username_pw_set(m_mosq, m_settings.user.toUtf8().constData(),
                                           m_settings.password.toUtf8().constData());
    if (result == MOSQ_ERR_SUCCESS && !m_settings.willTopic.isEmpty())
        result = mosquitto_will_set(m_mosq, m_settings.willTopic.toUtf8().constData(),
                                    int(m_settings.willPayload.size()),
                                    m_settings.willPayload.constData(), kQos, true);
    // The certificate is checked against the broker's name as given, also after the look-up.
    if (result == MOSQ_ERR_SUCCESS && m_settings.tls) {
        result = m_settings.caFile.isEmpty()
                     ? useSystemCertificates(m_mosq)
                     : mosquitto_tls_set(m_mosq, m_settings.caFile.toLocal8Bit().constData(),
                                         nullptr, nullptr, nullptr, nullptr);
    }
    if (result == MOSQ_ERR_SUCCESS)
        return true;
    failStart(QStringLiteral("cannot set up the connection to the broker %1: %2")
                  .arg(brokerName(), resultText(result)));
    return false;
}

void MqttClient::tryConnecting(bool first) {
    if (m_connector.joinable())
        m_connector.join(); // it has handed its result back already
    m_connecting = true;
    m_keepAlive.stop();
    const QByteArray host = m_settings.host.toUtf8();
    const int port = m_settings.port;
    mosquitto* mosq = m_mosq;
    // The library resolves the name inside the connect; the loop is not touched until the
    // result is handed back.
    m_connector = std::thread([this, mosq, host, port, first] {
        const int result = first ? mosquitto_connect_bind_async(mosq, host.constData(), port,
                                                                kKeepAliveSeconds, nullptr)
                                 : mosquitto_reconnect_async(mosq);
        const QString why = result == MOSQ_ERR_SUCCESS ? QString() : resultText(result);
        QMetaObject::invokeMethod(
            this, [this, result, why] { connectTried(result, why); }, Qt::QueuedConnection);
    });
}

void MqttClient::connectTried(int result, const QString& why) {
    m_connecting = false;
    if (m_stopped) { // given up while the look-up ran
        mosquitto_disconnect(m_mosq);
        dropNotifiers();
        return;
    }
    if (m_stopping) {
        mosquitto_disconnect(m_mosq);
        connectionLost(QString());
        return;
    }
    if (result != MOSQ_ERR_SUCCESS) {
        connectionLost(why);
        return;
    }
    m_keepAlive.start();
    m_tcpConnecting = true;
    watchSocket();
}

void MqttClient::keepAlive() {
    mosquitto_loop_misc(m_mosq);
    watchSocket();
}

void MqttClient::watchSocket() {
    const int socket = mosquitto_socket(m_mosq);
    if (socket != m_socket) {
        dropNotifiers();
        m_socket = socket;
        if (socket >= 0) {
            m_readNotifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
            connect(m_readNotifier.get(), &QSocketNotifier::activated, this, [this] {
                if (!tcpConnectFailed())
                    handleResult(mosquitto_loop_read(m_mosq, 1));
            });
            m_writeNotifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
            connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, [this] {
                if (!tcpConnectFailed())
                    handleResult(mosquitto_loop_write(m_mosq, 1));
            });
        }
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(mosquitto_want_write(m_mosq));
}

bool MqttClient::tcpConnectFailed() {
    // The library takes a refused connection for a TLS handshake still on its way and would be
    // called again and again; the socket itself says whether it reached the broker.
    if (!m_tcpConnecting || m_socket < 0)
        return false;
    int error = 0;
    if (reachedPeer(m_socket, &error)) {
        m_tcpConnecting = false;
        return false;
    }
    mosquitto_disconnect(m_mosq);
    connectionLost(error != 0 ? systemErrorText(error)
                              : QStringLiteral("no connection (refused, or unreachable)"));
    return true;
}

void MqttClient::dropNotifiers() {
    // The notifier may be the one whose signal is running: it goes once that has returned.
    for (auto* notifier : {&m_readNotifier, &m_writeNotifier}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            notifier->release()->deleteLater();
        }
    }
    m_socket = -1;
}

void MqttClient::handleResult(int result) {
    if (result == MOSQ_ERR_SUCCESS || mosquitto_socket(m_mosq) >= 0) {
        watchSocket();
        return;
    }
    connectionLost(resultText(result));
}

void MqttClient::connectionLost(const QString& why) {
    dropNotifiers();
    const bool wasConnected = m_isConnected;
    m_isConnected = false;
    m_pendingSubscriptions.clear();
    m_pendingPublishes.clear();
    if (m_stopped)
        return;
    if (m_stopping) {
        m_stopped = true;
        m_keepAlive.stop();
        raise(m_disconnected);
        return;
    }
    if (!m_everConnected) {
        failStart(QStringLiteral("cannot connect to the broker %1: %2")
                      .arg(brokerName(), connectFailure(why)));
        return;
    }
    if (wasConnected) {
        const QString lost = why.isEmpty()
                                 ? QStringLiteral("lost the broker %1").arg(brokerName())
                                 : QStringLiteral("lost the broker %1 (%2)").arg(brokerName(), why);
        qCWarning(lcMqtt).noquote() << lost;
        if (m_settings.oneShot) {
            m_stopped = true;
            m_keepAlive.stop();
            m_retry.stop();
        }
        if (m_lost)
            m_lost(lost);
        if (m_settings.oneShot)
            return;
    }
    if (m_retry.isActive() || m_connecting)
        return;
    const int pause = pauseBeforeTry(++m_attempt);
    qCInfo(lcMqtt).noquote() << "trying the broker" << brokerName() << "again in" << pause / 1000
                             << "s";
    m_retry.start(pause);
}

void MqttClient::failStart(const QString& why) {
    if (m_stopped)
        return;
    m_stopped = true;
    m_firstAnswer.stop();
    m_retry.stop();
    m_keepAlive.stop();
    if (!m_connecting) // otherwise the connect's result closes what it opened
        mosquitto_disconnect(m_mosq);
    dropNotifiers();
    if (m_failedToStart)
        m_failedToStart(why);
}

void MqttClient::disconnect() {
    if (m_stopping || m_stopped)
        return;
    m_stopping = true;
    m_retry.stop();
    m_firstAnswer.stop();
    if (m_connecting)
        return; // the connect's result says goodbye
    if (!m_isConnected) {
        connectionLost(QString());
        return;
    }
    QTimer::singleShot(kGoodbyeMs, this, [this] { connectionLost(QString()); });
    mosquitto_disconnect(m_mosq);
    watchSocket();
}

void MqttClient::publish(const QString& topic, const QByteArray& payload, bool retain) {
    PublishOptions options;
    options.retain = retain;
    send(topic, payload, options, kStateQos);
}

void MqttClient::publish(const QString& topic, const QByteArray& payload,
                         const PublishOptions& options) {
    send(topic, payload, options, kQos);
}

void MqttClient::send(const QString& topic, const QByteArray& payload,
                      const PublishOptions& options, int qos) {
    if (!m_isConnected)
        return;
    const Properties properties(options);
    int id = 0;
    const int result =
        mosquitto_publish_v5(m_mosq, &id, topic.toUtf8().constData(), int(payload.size()),
                             payload.constData(), qos, options.retain, properties.list());
    if (result != MOSQ_ERR_SUCCESS)
        qCWarning(lcMqtt).noquote() << "cannot publish on" << topic + ":" << resultText(result);
    else if (qos > 0)
        m_pendingPublishes.insert(id, topic);
    watchSocket();
}

void MqttClient::subscribe(const QString& pattern) {
    if (!m_isConnected)
        return;
    int id = 0;
    const int result = mosquitto_subscribe_v5(m_mosq, &id, pattern.toUtf8().constData(), kQos,
                                              MQTT_SUB_OPT_RETAIN_AS_PUBLISHED, nullptr);
    if (result != MOSQ_ERR_SUCCESS)
        qCWarning(lcMqtt).noquote() << "cannot subscribe to" << pattern + ":" << resultText(result);
    else
        m_pendingSubscriptions.insert(id, pattern);
    watchSocket();
}

void MqttClient::connectCallback(mosquitto*, void* self, int reason, int,
                                 const mosquitto_property*) {
    auto* client = static_cast<MqttClient*>(self);
    if (reason != MQTT_RC_SUCCESS) {
        const QString why = reasonText(reason);
        if (!client->m_everConnected) {
            client->failStart(QStringLiteral("the broker %1 refused the connection: %2")
                                  .arg(client->brokerName(), why));
            return;
        }
        qCWarning(lcMqtt).noquote()
            << "the broker" << client->brokerName() << "refused the connection:" << why;
        return;
    }
    client->m_firstAnswer.stop();
    client->m_everConnected = true;
    client->m_isConnected = true;
    client->m_attempt = 0;
    qCInfo(lcMqtt).noquote() << "connected to the broker" << client->brokerName();
    raise(client->m_connected);
}

void MqttClient::disconnectCallback(mosquitto*, void* self, int result, const mosquitto_property*) {
    auto* client = static_cast<MqttClient*>(self);
    client->connectionLost(resultText(result));
}

void MqttClient::messageCallback(mosquitto*, void* self, const mosquitto_message* message,
                                 const mosquitto_property* properties) {
    auto* client = static_cast<MqttClient*>(self);
    if (!client->m_message || !message->topic)
        return;
    Message received;
    received.topic = QString::fromUtf8(message->topic);
    received.payload = QByteArray(static_cast<const char*>(message->payload),
                                  message->payload ? message->payloadlen : 0);
    received.retained = message->retain;
    readProperties(properties, received);
    client->m_message(received);
}

void MqttClient::publishCallback(mosquitto*, void* self, int mid, int reason,
                                 const mosquitto_property*) {
    auto* client = static_cast<MqttClient*>(self);
    const QString topic = client->m_pendingPublishes.take(mid);
    // "No matching subscribers" (16) is an answer, not a refusal.
    if (reason >= MQTT_RC_UNSPECIFIED)
        client->logRefusal(reason, QStringLiteral("a message on ") + topic);
}

void MqttClient::subscribeCallback(mosquitto*, void* self, int mid, int count, const int* granted,
                                   const mosquitto_property*) {
    auto* client = static_cast<MqttClient*>(self);
    const QString pattern = client->m_pendingSubscriptions.take(mid);
    const bool ok = count > 0 && granted[0] < MQTT_RC_UNSPECIFIED;
    if (!ok)
        client->logRefusal(count > 0 ? granted[0] : MQTT_RC_UNSPECIFIED,
                           QStringLiteral("the subscription to ") + pattern);
    if (client->m_subscribed && !pattern.isEmpty())
        client->m_subscribed(pattern, ok);
}

void MqttClient::logRefusal(int reason, const QString& what) const {
    qCWarning(lcMqtt).noquote() << "the broker" << brokerName() << "refused" << what + ":"
                                << reasonText(reason);
}

QString MqttClient::connectFailure(const QString& why) {
    QString tlsError;
    {
        const std::lock_guard<std::mutex> lock(m_tlsErrorLock);
        tlsError = m_tlsError;
    }
    if (!m_settings.tls || tlsError.isEmpty())
        return why;
    const QString checkedBy = m_settings.caFile.isEmpty()
                                  ? QStringLiteral("the system's certificates")
                                  : QStringLiteral("the CA in ") + m_settings.caFile;
    return QStringLiteral("its certificate was not accepted by %1 (%2)").arg(checkedBy, tlsError);
}

void MqttClient::logCallback(mosquitto*, void* self, int level, const char* text) {
    const QString line = QString::fromUtf8(text);
    qCDebug(lcMqtt).noquote() << "libmosquitto:" << line;
    // "OpenSSL Error[0]: error:0A000086:SSL routines::certificate verify failed": the last part.
    if (!(level & MOSQ_LOG_ERR) || !line.startsWith(QLatin1String("OpenSSL Error")))
        return;
    auto* client = static_cast<MqttClient*>(self);
    const std::lock_guard<std::mutex> lock(client->m_tlsErrorLock);
    client->m_tlsError = line.mid(line.lastIndexOf(QLatin1Char(':')) + 1).trimmed();
}

} // namespace velk
