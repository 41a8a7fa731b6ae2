#include "bus/mqttclient.h"

#include "bus/systemcertificates.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <mosquitto.h>

namespace velk {

Q_LOGGING_CATEGORY(lcMqtt, "velk.mqtt", QtWarningMsg)

namespace {

constexpr int kMiscIntervalMs = 1000;
// The first connection is given up when the broker has not answered by then.
constexpr int kFirstAnswerMs = 10000;
// A goodbye that cannot go out within this is given up.
constexpr int kGoodbyeMs = 2000;
constexpr int kFirstPauseMs = 1000;

QString resultText(int result) {
    if (result == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(mosquitto_strerror(result));
}

QByteArray utf8OrNull(const QString& text) {
    return text.isEmpty() ? QByteArray() : text.toUtf8();
}

} // namespace

MqttClient::MqttClient(const Settings& settings, QObject* parent)
    : QObject(parent), m_settings(settings) {
    mosquitto_lib_init();
    const QByteArray clientId = utf8OrNull(m_settings.clientId);
    m_mosq = mosquitto_new(clientId.isEmpty() ? nullptr : clientId.constData(), true, this);
    m_misc.setInterval(kMiscIntervalMs);
    connect(&m_misc, &QTimer::timeout, this, [this] {
        mosquitto_loop_misc(m_mosq);
        watchSocket();
    });
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] { tryConnecting(false); });
    m_firstAnswer.setSingleShot(true);
    connect(&m_firstAnswer, &QTimer::timeout, this, [this] {
        failStart(QStringLiteral("no answer from the broker %1").arg(brokerName()));
    });
}

MqttClient::~MqttClient() {
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
    mosquitto_connect_callback_set(m_mosq, &MqttClient::connectCallback);
    mosquitto_disconnect_callback_set(m_mosq, &MqttClient::disconnectCallback);
    mosquitto_message_callback_set(m_mosq, &MqttClient::messageCallback);
    // Small packets go out at once: a state or an error is not held back for the next one.
    int result = mosquitto_int_option(m_mosq, MOSQ_OPT_TCP_NODELAY, 1);
    if (result == MOSQ_ERR_SUCCESS && !m_settings.user.isEmpty())
        result = mosquitto_username_pw_set(m_mosq, m_settings.user.toUtf8().constData(),
                                           m_settings.password.toUtf8().constData());
    if (result == MOSQ_ERR_SUCCESS && !m_settings.willTopic.isEmpty())
        result = mosquitto_will_set(m_mosq, m_settings.willTopic.toUtf8().constData(),
                                    int(m_settings.willPayload.size()),
                                    m_settings.willPayload.constData(), 1, true);
    if (result == MOSQ_ERR_SUCCESS && m_settings.tls) {
        result = m_settings.caFile.isEmpty()
                     ? useSystemCertificates(m_mosq)
                     : mosquitto_tls_set(m_mosq, m_settings.caFile.toLocal8Bit().constData(),
                                         nullptr, nullptr, nullptr, nullptr);
    }
    if (result != MOSQ_ERR_SUCCESS) {
        failStart(QStringLiteral("cannot set up the connection to the broker %1: %2")
                      .arg(brokerName(), resultText(result)));
        return;
    }
    m_firstAnswer.start(kFirstAnswerMs);
    tryConnecting(true);
}

void MqttClient::tryConnecting(bool first) {
    const int result = first ? mosquitto_connect_async(m_mosq, m_settings.host.toUtf8().constData(),
                                                       m_settings.port, kKeepAliveSeconds)
                             : mosquitto_reconnect_async(m_mosq);
    m_misc.start();
    if (result != MOSQ_ERR_SUCCESS) {
        connectionLost(resultText(result));
        return;
    }
    watchSocket();
}

void MqttClient::watchSocket() {
    const int socket = mosquitto_socket(m_mosq);
    if (socket != m_socket) {
        dropNotifiers();
        m_socket = socket;
        if (socket >= 0) {
            m_readNotifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read);
            connect(m_readNotifier.get(), &QSocketNotifier::activated, this,
                    [this] { handleResult(mosquitto_loop_read(m_mosq, 1)); });
            m_writeNotifier = std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Write);
            connect(m_writeNotifier.get(), &QSocketNotifier::activated, this,
                    [this] { handleResult(mosquitto_loop_write(m_mosq, 1)); });
        }
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(mosquitto_want_write(m_mosq));
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
    if (m_stopped)
        return;
    if (m_stopping) {
        m_stopped = true;
        m_misc.stop();
        raise(m_disconnected);
        return;
    }
    if (!m_everConnected) {
        failStart(QStringLiteral("cannot connect to the broker %1: %2").arg(brokerName(), why));
        return;
    }
    if (m_retry.isActive())
        return;
    const int pause = pauseBeforeTry(++m_attempt);
    if (wasConnected)
        qCWarning(lcMqtt).noquote() << "lost the broker" << brokerName() << "(" + why + ")";
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
    m_misc.stop();
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
    if (!m_isConnected) {
        connectionLost(QString());
        return;
    }
    QTimer::singleShot(kGoodbyeMs, this, [this] { connectionLost(QString()); });
    mosquitto_disconnect(m_mosq);
    watchSocket();
}

void MqttClient::publish(const QString& topic, const QByteArray& payload, bool retain) {
    if (!m_isConnected)
        return;
    // At most once: every state is published again on the next connection anyway, and with no
    // acknowledgement coming back a broker that delays small packets never holds a command
    // behind one.
    mosquitto_publish(m_mosq, nullptr, topic.toUtf8().constData(), int(payload.size()),
                      payload.constData(), 0, retain);
    watchSocket();
}

void MqttClient::subscribe(const QString& pattern) {
    if (!m_isConnected)
        return;
    mosquitto_subscribe(m_mosq, nullptr, pattern.toUtf8().constData(), 1);
    watchSocket();
}

void MqttClient::connectCallback(mosquitto*, void* self, int result) {
    auto* client = static_cast<MqttClient*>(self);
    if (result != 0) {
        const QString why = QString::fromUtf8(mosquitto_connack_string(result));
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

void MqttClient::disconnectCallback(mosquitto*, void* self, int result) {
    auto* client = static_cast<MqttClient*>(self);
    client->connectionLost(resultText(result));
}

void MqttClient::messageCallback(mosquitto*, void* self, const mosquitto_message* message) {
    auto* client = static_cast<MqttClient*>(self);
    if (!client->m_message || !message->topic)
        return;
    const QByteArray payload(static_cast<const char*>(message->payload),
                             message->payload ? message->payloadlen : 0);
    client->m_message(QString::fromUtf8(message->topic), payload);
}

} // namespace velk
