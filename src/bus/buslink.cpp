#include "bus/buslink.h"

#include <QRandomGenerator>
#include <QStringDecoder>

namespace velk {

namespace {

constexpr int kCorrelationBytes = 16;
// A reason longer than this is cut: it is one line for a person.
constexpr qsizetype kLongestReason = 512;
const QString kStates[] = {QStringLiteral("availability"), QStringLiteral("line"),
                           QStringLiteral("sync"), QStringLiteral("clock"),
                           QStringLiteral("+/title")};

QByteArray randomBytes(int count) {
    QByteArray bytes(count, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), count / 4);
    return bytes;
}

// The bridge's reason as one printable line.
QString reasonText(const QByteArray& payload) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(payload.left(kLongestReason * 4));
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            c = QLatin1Char(' ');
    }
    text = text.trimmed().left(kLongestReason);
    return text.isEmpty() ? QStringLiteral("the bridge refused it without a reason") : text;
}

} // namespace

MqttClient::Settings BusLink::clientSettings(const LineName& line, const BrokerAccess& access,
                                             bool oneShot) {
    MqttClient::Settings settings =
        MqttClient::Settings::forBroker(line.host, line.tcpPort, line.tls, access);
    settings.oneShot = oneShot;
    return settings;
}

BusLink::BusLink(const LineName& line, const BrokerAccess& access, bool oneShot, QObject* parent)
    : QObject(parent), m_line(line) {
    MqttClient::Settings settings = clientSettings(line, access, oneShot);
    // Its own reply topic: a client id no other client has.
    settings.clientId = QStringLiteral("velk-") + QString::fromLatin1(randomBytes(8).toHex());
    m_replyTopic = topic(QStringLiteral("reply/") + settings.clientId);
    m_mqtt = std::make_unique<MqttClient>(settings);
    m_mqtt->onConnected([this] { connected(); });
    m_mqtt->onSubscribed(
        [this](const QString& pattern, bool granted) { subscribed(pattern, granted); });
    m_mqtt->onMessage([this](const MqttClient::Message& m) { message(m); });
    m_mqtt->onFailedToStart([this](const QString& why) {
        finishAll({Result::Status::Offline, why});
        if (m_failed)
            m_failed(why);
    });
    m_mqtt->onLost([this](const QString& why) {
        m_isReady = false;
        finishAll({Result::Status::Offline, why});
        if (m_lost)
            m_lost(why);
    });
}

BusLink::~BusLink() = default;

QString BusLink::topic(const QString& path) const {
    return m_line.topicBase + QLatin1Char('/') + path;
}

QString BusLink::offlineText() const {
    return QStringLiteral("the bridge for %1 is offline").arg(m_line.topicBase);
}

void BusLink::start() {
    m_mqtt->start();
}

void BusLink::stop(Handler done) {
    m_stopping = true;
    m_isReady = false;
    finishAll({Result::Status::Offline, offlineText()});
    m_mqtt->onDisconnected(std::move(done));
    m_mqtt->disconnect();
}

void BusLink::connected() {
    m_isReady = false;
    m_awaited.clear();
    // The reply topic last: its acknowledgement comes after every state's retained message.
    for (const QString& path : kStates)
        m_awaited << topic(path);
    m_awaited << m_replyTopic;
    for (const QString& pattern : m_awaited)
        m_mqtt->subscribe(pattern);
}

void BusLink::subscribed(const QString& pattern, bool granted) {
    if (!granted)
        qCWarning(lcMqtt).noquote()
            << "the broker" << m_mqtt->brokerName() << "refused the subscription to" << pattern;
    m_awaited.removeOne(pattern);
    if (!m_awaited.isEmpty() || m_isReady)
        return;
    m_isReady = true;
    raise(m_ready);
}

void BusLink::message(const MqttClient::Message& message) {
    if (message.topic == m_replyTopic) {
        if (m_pending.count(message.correlationData) == 0)
            return; // an answer to a request given up already
        const bool ok = message.payload == "ok";
        finish(message.correlationData, {ok ? Result::Status::Ok : Result::Status::Refused,
                                         ok ? QString() : reasonText(message.payload)});
        return;
    }
    const QString base = m_line.topicBase + QLatin1Char('/');
    if (!message.topic.startsWith(base))
        return;
    QString why;
    const std::optional<BusState::Part> part =
        m_state.take(message.topic.mid(base.size()), message.payload, &why);
    if (!part) {
        qCWarning(lcMqtt).noquote() << "ignored from the bridge:" << why;
        return;
    }
    if (*part == BusState::Part::Availability && m_state.isOffline())
        finishAll({Result::Status::Offline, offlineText()});
    if (*part != BusState::Part::None && m_changed) {
        const std::optional<quint8> address =
            BusState::addressOf(message.topic.mid(base.size()).section(QLatin1Char('/'), 0, 0));
        m_changed(*part, address.value_or(0));
    }
}

void BusLink::request(const QString& path, const QByteArray& payload, ResultHandler done) {
    const auto answerLater = [this](ResultHandler handler, const Result& result) {
        QMetaObject::invokeMethod(
            this, [handler, result] { handler(result); }, Qt::QueuedConnection);
    };
    if (!m_isReady || m_stopping || !m_state.isOnline())
        return answerLater(std::move(done), {Result::Status::Offline, offlineText()});
    const QByteArray correlation = randomBytes(kCorrelationBytes);
    Pending& pending = m_pending[correlation];
    pending.done = std::move(done);
    pending.timer = std::make_unique<QTimer>();
    pending.timer->setSingleShot(true);
    connect(pending.timer.get(), &QTimer::timeout, this, [this, correlation] {
        finish(correlation, {Result::Status::Offline, offlineText()});
    });
    pending.timer->start(kAnswerSeconds * 1000);
    MqttClient::PublishOptions options;
    options.responseTopic = m_replyTopic;
    options.correlationData = correlation;
    options.expirySeconds = kAnswerSeconds;
    m_mqtt->publish(topic(path), payload, options);
}

void BusLink::finish(const QByteArray& correlation, const Result& result) {
    auto found = m_pending.find(correlation);
    if (found == m_pending.end())
        return;
    ResultHandler done = std::move(found->second.done);
    // The timer may be the one whose signal is running.
    found->second.timer.release()->deleteLater();
    m_pending.erase(found);
    // From the event loop, never from inside the library's callback: the one told may open a
    // modal box, whose loop would read the broker's socket again within that callback.
    if (done)
        QMetaObject::invokeMethod(
            this, [done, result] { done(result); }, Qt::QueuedConnection);
}

void BusLink::finishAll(const Result& result) {
    QList<QByteArray> waiting;
    for (const auto& [correlation, pending] : m_pending)
        waiting << correlation;
    for (const QByteArray& correlation : waiting)
        finish(correlation, result);
}

void BusLink::sendTitle(quint8 address, const QString& title, ResultHandler done) {
    request(BusState::addressName(address) + QStringLiteral("/title/set"), title.toUtf8(),
            std::move(done));
}

void BusLink::sendClear(quint8 address, ResultHandler done) {
    request(BusState::addressName(address) + QStringLiteral("/clear"), QByteArray(),
            std::move(done));
}

void BusLink::sendTime(const QString& when, ResultHandler done) {
    request(QStringLiteral("time/set"), when.toUtf8(), std::move(done));
}

void BusLink::sendSync(bool on, ResultHandler done) {
    request(QStringLiteral("sync/set"), on ? QByteArray("ON") : QByteArray("OFF"), std::move(done));
}

} // namespace velk
