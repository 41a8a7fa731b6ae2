#include "ctl/bridge.h"

#include "controls/clockstate.h"
#include "ctl/bridgecommand.h"
#include "ctl/bridgediscovery.h"
#include "ctl/ctloptions.h"
#include "ctl/oneshot.h"
#include "ctl/syncservice.h"
#include "port/line.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velk {

namespace {

constexpr int kClockCheckMs = 1000;

const char* const kCommandTopics[] = {"+/title/set", "+/clear", "time/set", "sync/set"};

QByteArray syncWord(bool on) {
    return on ? QByteArrayLiteral("ON") : QByteArrayLiteral("OFF");
}

} // namespace

Bridge::Bridge(const BridgeOptions& options, const Place& place, MqttClient& mqtt, Line& port,
               SyncService& sync, const LocalClock& clock, const ClockStateSource* clockState,
               QObject* parent)
    : QObject(parent), m_options(options), m_place(place), m_mqtt(mqtt), m_port(port), m_sync(sync),
      m_clock(clock), m_clockState(clockState), m_delivery(sync.transmitter(), port, place.line),
      m_syncOn(options.sync) {
    // The minute's groups begin with the bridge: once the broker has taken it.
    m_sync.setSyncOn(false);
    m_mqtt.onConnected([this] { connected(); });
    m_mqtt.onSubscribed(
        [this](const QString& pattern, bool granted) { subscribed(pattern, granted); });
    m_mqtt.onMessage([this](const MqttClient::Message& message) { messageArrived(message); });
    m_sync.onLineChanged([this] { publishAvailability(); });
    m_sync.transmitter().onFrame([this](const QByteArray& frame) {
        m_mqtt.publish(topic(QStringLiteral("frames")), frame, false);
    });
    if (m_clockState) {
        m_clockCheck.setInterval(kClockCheckMs);
        connect(&m_clockCheck, &QTimer::timeout, this, [this] { publishClockState(false); });
        m_clockCheck.start();
    }
}

QByteArray Bridge::availabilityWord(bool online) {
    return online ? QByteArrayLiteral("online") : QByteArrayLiteral("offline");
}

QString Bridge::birthTopic() const {
    return m_options.discovery ? m_options.discoveryPrefix + QStringLiteral("/status") : QString();
}

void Bridge::connected() {
    if (!m_everConnected) {
        m_everConnected = true;
        m_sync.setSyncOn(m_syncOn);
    }
    m_listening = false;
    m_unansweredSubscriptions = 0;
    for (const char* command : kCommandTopics) {
        m_mqtt.subscribe(topic(QLatin1String(command)));
        ++m_unansweredSubscriptions;
    }
    if (!birthTopic().isEmpty()) {
        m_mqtt.subscribe(birthTopic());
        ++m_unansweredSubscriptions;
    }
    publishAll();
}

void Bridge::subscribed(const QString& pattern, bool granted) {
    if (!granted) {
        qCWarning(lcMqtt).noquote() << "the bridge stays offline: it cannot listen to" << pattern;
        return;
    }
    if (--m_unansweredSubscriptions > 0)
        return;
    m_listening = true;
    publishAvailability();
}

void Bridge::publishAll() {
    if (m_options.discovery) {
        for (const DiscoveryConfig& config :
             discoveryConfigs(m_options, m_place.base, m_place.lineName, m_clockState))
            m_mqtt.publish(config.topic, config.payload, true);
    }
    publishAvailability();
    publishLine();
    for (auto title = m_titles.cbegin(); title != m_titles.cend(); ++title)
        m_mqtt.publish(topic(BridgeOptions::addressName(title.key()) + QStringLiteral("/title")),
                       title.value().toUtf8(), true);
    m_mqtt.publish(topic(QStringLiteral("sync")), syncWord(m_syncOn), true);
    publishClockState(true);
}

void Bridge::stop(Handler done) {
    m_clockCheck.stop();
    m_mqtt.onDisconnected(std::move(done));
    m_mqtt.publish(topic(QStringLiteral("availability")), availabilityWord(false), true);
    m_mqtt.disconnect();
}

void Bridge::publishAvailability() {
    m_mqtt.publish(topic(QStringLiteral("availability")),
                   availabilityWord(m_listening && m_port.isOpen()), true);
}

void Bridge::publishLine() {
    QJsonArray addresses;
    for (quint8 address : m_options.addresses)
        addresses.append(int(address));
    const QJsonObject line{{"line", m_place.line},
                           {"settings", m_port.settings().text()},
                           {"addresses", addresses},
                           {"time_zone", m_place.timeZone}};
    m_mqtt.publish(topic(QStringLiteral("line")),
                   QJsonDocument(line).toJson(QJsonDocument::Compact), true);
}

void Bridge::publishClockState(bool always) {
    if (!m_clockState)
        return;
    const QString word = clockStateWord(m_clockState->read().sync);
    if (word == m_clockWord && !always)
        return;
    m_clockWord = word;
    m_mqtt.publish(topic(QStringLiteral("clock")), word.toUtf8(), true);
}

void Bridge::setSync(bool on) {
    m_syncOn = on;
    if (m_everConnected)
        m_sync.setSyncOn(on);
}

void Bridge::messageArrived(const MqttClient::Message& message) {
    if (message.topic == birthTopic()) {
        // Home Assistant came back, perhaps without what it was told before.
        if (message.payload == "online")
            publishAll();
        return;
    }
    if (message.retained) {
        refuseRetained(message);
        return;
    }
    QString why;
    const std::optional<BridgeCommand> command = BridgeCommand::read(
        message.topic.mid(m_place.base.size() + 1), message.payload, m_options.addresses, &why);
    if (!command) {
        answer(message, why);
        return;
    }
    runCommand(*command, [this, message](const QString& refusal) { answer(message, refusal); });
}

void Bridge::refuseRetained(const MqttClient::Message& message) {
    // An empty one is someone clearing it; each other is said once, not at every reconnect.
    if (message.payload.isEmpty() || m_retainedSeen.contains(message.topic))
        return;
    m_retainedSeen.insert(message.topic);
    qCWarning(lcMqtt).noquote() << "a retained command on" << message.topic
                                << "is ignored; retained commands are never carried out";
    answer(message, QStringLiteral("a retained command is never carried out; clear it with an "
                                   "empty retained message"));
}

void Bridge::runCommand(const BridgeCommand& command, const Answer& answer) {
    if (command.kind == BridgeCommand::Kind::Sync) {
        setSync(command.syncOn);
        qCInfo(lcMqtt).noquote() << "minute sync" << syncWord(command.syncOn);
        m_mqtt.publish(topic(QStringLiteral("sync")), syncWord(command.syncOn), true);
        answer({});
        return;
    }
    // Nothing is queued for a line that is not there: the sender hears so at once.
    if (!m_port.isOpen()) {
        answer(QStringLiteral("the line %1 is not open; nothing was sent").arg(m_place.line));
        return;
    }
    writeCommand(command.ctlCommand(), m_sync.transmitter(), m_clock);
    m_delivery.watch([this, command, answer](const QString& failure) {
        if (failure.isEmpty() && command.kind != BridgeCommand::Kind::Time)
            rememberTitle(command.address, command.title);
        answer(failure);
    });
}

void Bridge::rememberTitle(quint8 address, const QString& title) {
    constexpr quint8 kAll = 255;
    for (quint8 shown : m_options.addresses) {
        if (address != kAll && shown != address)
            continue;
        m_titles[shown] = title;
        m_mqtt.publish(topic(BridgeOptions::addressName(shown) + QStringLiteral("/title")),
                       title.toUtf8(), true);
    }
}

void Bridge::answer(const MqttClient::Message& request, const QString& refusal) {
    if (!request.responseTopic.isEmpty()) {
        MqttClient::PublishOptions options;
        options.correlationData = request.correlationData;
        if (!refusal.isEmpty())
            qCInfo(lcMqtt).noquote() << "refused:" << request.topic + ":" << refusal;
        m_mqtt.publish(request.responseTopic, refusal.isEmpty() ? "ok" : refusal.toUtf8(), options);
        return;
    }
    if (refusal.isEmpty())
        return;
    const QString error = request.topic + QStringLiteral(": ") + refusal;
    qCInfo(lcMqtt).noquote() << "refused:" << error;
    m_mqtt.publish(topic(QStringLiteral("error")), error.toUtf8(), false);
}

} // namespace velk
