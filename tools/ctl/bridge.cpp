#include "ctl/bridge.h"

#include "bus/mqttclient.h"
#include "controls/clockstate.h"
#include "controls/serialport.h"
#include "controls/textbox.h"
#include "ctl/ctloptions.h"
#include "ctl/oneshot.h"
#include "ctl/syncservice.h"
#include "titles/titlerule.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>

namespace velk {

namespace {

constexpr int kClockCheckMs = 1000;

const QByteArray kOnline = QByteArrayLiteral("online");
const QByteArray kOffline = QByteArrayLiteral("offline");

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString listText(const QList<quint8>& addresses) {
    QStringList names;
    for (quint8 address : addresses)
        names << BridgeOptions::addressName(address);
    return names.join(QLatin1Char(','));
}

} // namespace

Bridge::Bridge(const BridgeOptions& options, const QString& base, const QString& lineName,
               MqttClient& mqtt, SerialPort& port, SyncService& sync, const LocalClock& clock,
               const ClockStateSource* clockState, QObject* parent)
    : QObject(parent), m_options(options), m_base(base), m_lineName(lineName), m_mqtt(mqtt),
      m_port(port), m_sync(sync), m_clock(clock), m_clockState(clockState),
      m_transmitter(port, m_messages) {
    setSync(options.sync);
    m_mqtt.onConnected([this] { connected(); });
    m_mqtt.onMessage([this](const MqttClient::Message& message) {
        const QString refusal = take(message.topic, message.payload);
        if (refusal.isEmpty())
            return;
        qCInfo(lcMqtt).noquote() << "refused:" << refusal;
        m_mqtt.publish(this->topic(QStringLiteral("error")), refusal.toUtf8(), false);
    });
    m_sync.onLineChanged([this] { publishAvailability(); });
    if (m_clockState) {
        m_clockCheck.setInterval(kClockCheckMs);
        connect(&m_clockCheck, &QTimer::timeout, this, [this] { publishClockState(false); });
        m_clockCheck.start();
    }
}

void Bridge::connected() {
    for (const char* command : {"+/title/set", "+/clear", "time/set", "sync/set"})
        m_mqtt.subscribe(topic(QLatin1String(command)));
    if (m_options.discovery)
        publishDiscovery();
    publishAvailability();
    for (auto title = m_titles.cbegin(); title != m_titles.cend(); ++title)
        m_mqtt.publish(topic(BridgeOptions::addressName(title.key()) + QStringLiteral("/title")),
                       title.value().toUtf8(), true);
    m_mqtt.publish(topic(QStringLiteral("sync")), m_syncOn ? "ON" : "OFF", true);
    publishClockState(true);
}

void Bridge::stop(Handler done) {
    m_clockCheck.stop();
    m_mqtt.onDisconnected(std::move(done));
    m_mqtt.publish(topic(QStringLiteral("availability")), kOffline, true);
    m_mqtt.disconnect();
}

void Bridge::publishAvailability() {
    m_mqtt.publish(topic(QStringLiteral("availability")), m_port.isOpen() ? kOnline : kOffline,
                   true);
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
    if (on && !m_sync.ticker().isActive())
        m_sync.ticker().start();
    else if (!on)
        m_sync.ticker().stop();
}

QString Bridge::take(const QString& topic, const QByteArray& payload) {
    const QString where = topic + QStringLiteral(": ");
    if (payload.size() > BridgeOptions::kLargestPayload)
        return where + QStringLiteral("a payload of %1 bytes; at most %2 are taken")
                           .arg(payload.size())
                           .arg(BridgeOptions::kLargestPayload);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(payload);
    if (utf8.hasError())
        return where + QStringLiteral("the payload is not valid UTF-8");
    const QString path = topic.mid(m_base.size() + 1);
    QString why;
    if (path == QLatin1String("sync/set")) {
        const QString word = text.trimmed().toUpper();
        if (word != QLatin1String("ON") && word != QLatin1String("OFF"))
            return where + QStringLiteral("sync %1: expected ON or OFF").arg(quoted(text));
        setSync(word == QLatin1String("ON"));
        qCInfo(lcMqtt).noquote() << "minute sync" << word;
        m_mqtt.publish(this->topic(QStringLiteral("sync")), word.toUtf8(), true);
        return {};
    }
    CtlOptions command;
    if (path == QLatin1String("time/set")) {
        command.command = CtlOptions::Command::Time;
        if (text.trimmed() != QLatin1String("now")) {
            command.clock = CtlOptions::readClock(text, &why);
            if (!command.clock)
                return where + why;
        }
    } else {
        const QStringList levels = path.split(QLatin1Char('/'));
        const bool isTitle = levels.size() == 3 && levels.at(1) == QLatin1String("title") &&
                             levels.at(2) == QLatin1String("set");
        const bool isClear = levels.size() == 2 && levels.at(1) == QLatin1String("clear");
        if (!isTitle && !isClear)
            return where + QStringLiteral("not a command topic");
        const std::optional<quint8> address = CtlOptions::readAddress(levels.at(0), &why);
        if (!address)
            return where + why;
        if (!m_options.addresses.contains(*address))
            return where + QStringLiteral("address %1: not one this bridge answers for (%2)")
                               .arg(quoted(levels.at(0)), listText(m_options.addresses));
        command.address = *address;
        command.command = isTitle ? CtlOptions::Command::Title : CtlOptions::Command::Clear;
        if (isTitle) {
            const std::optional<QString> title = titlerule::accept(text, &why);
            if (!title)
                return where + why;
            command.title = *title;
        }
    }
    if (!m_port.isOpen())
        return where + QStringLiteral("the line %1 is not open; nothing was sent").arg(m_lineName);
    writeCommand(command, m_transmitter, m_clock);
    if (command.command != CtlOptions::Command::Time) {
        m_titles[command.address] = command.title;
        m_mqtt.publish(
            this->topic(BridgeOptions::addressName(command.address) + QStringLiteral("/title")),
            command.title.toUtf8(), true);
    }
    return {};
}

void Bridge::publishDiscovery() {
    static const QRegularExpression unfit(QStringLiteral("[^A-Za-z0-9_-]"));
    const QString node = QString(m_base).replace(unfit, QStringLiteral("_"));
    const QJsonObject device{
        {"identifiers", QJsonArray{node}},
        {"name", QStringLiteral("VELK line ") + m_lineName},
        {"manufacturer", "VELK-Pro"},
        {"model", "velk-ctl bridge"},
    };
    const auto announce = [&](const char* component, const QString& id, const QString& name,
                              QJsonObject config) {
        config.insert("name", name);
        config.insert("unique_id", node + QLatin1Char('_') + id);
        config.insert("availability_topic", topic(QStringLiteral("availability")));
        config.insert("device", device);
        m_mqtt.publish(QStringLiteral("%1/%2/%3/%4/config")
                           .arg(m_options.discoveryPrefix, QLatin1String(component), node, id),
                       QJsonDocument(config).toJson(QJsonDocument::Compact), true);
    };
    for (quint8 address : m_options.addresses) {
        const QString name = BridgeOptions::addressName(address);
        announce("text", QStringLiteral("title_") + name, QStringLiteral("Title ") + name,
                 {{"command_topic", topic(name + QStringLiteral("/title/set"))},
                  {"state_topic", topic(name + QStringLiteral("/title"))},
                  {"max", kTitleLength},
                  {"mode", "text"}});
        announce("button", QStringLiteral("clear_") + name, QStringLiteral("Clear ") + name,
                 {{"command_topic", topic(name + QStringLiteral("/clear"))},
                  {"payload_press", "PRESS"}});
    }
    announce("switch", QStringLiteral("sync"), QStringLiteral("Sync time"),
             {{"command_topic", topic(QStringLiteral("sync/set"))},
              {"state_topic", topic(QStringLiteral("sync"))},
              {"payload_on", "ON"},
              {"payload_off", "OFF"}});
    announce("button", QStringLiteral("set_time"), QStringLiteral("Set time now"),
             {{"command_topic", topic(QStringLiteral("time/set"))}, {"payload_press", "now"}});
    if (m_clockState)
        announce("binary_sensor", QStringLiteral("clock"), QStringLiteral("PC clock synchronised"),
                 {{"state_topic", topic(QStringLiteral("clock"))},
                  {"value_template",
                   "{% if value == 'synchronised' %}ON{% elif value == 'not synchronised' "
                   "%}OFF{% else %}None{% endif %}"}});
}

} // namespace velk
