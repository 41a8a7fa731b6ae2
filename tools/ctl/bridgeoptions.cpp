#include "ctl/bridgeoptions.h"

#include "bus/brokercredentials.h"
#include "controls/quoted.h"
#include "ctl/ctloptions.h"
#include "port/linename.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace velk {

namespace {

const QString kBroker = QStringLiteral("broker");
const QString kTopic = QStringLiteral("topic");
const QString kAddresses = QStringLiteral("addresses");
const QString kCredentials = QStringLiteral("credentials");
const QString kCa = QStringLiteral("ca");
const QString kClientId = QStringLiteral("client-id");
const QString kNoDiscovery = QStringLiteral("no-discovery");
const QString kDiscoveryPrefix = QStringLiteral("discovery-prefix");
const QString kNoSync = QStringLiteral("no-sync");

bool refuse(QString* why, const QString& option, const QString& reason) {
    if (why)
        *why = QStringLiteral("--%1: %2").arg(option, reason);
    return false;
}

// No control character, C1 included: nothing a broker, a log or a terminal takes amiss.
const QRegularExpression kControl(QStringLiteral("[\\x00-\\x1f\\x7f-\\x9f]"));

// A topic the bridge publishes under: no wildcard, no empty level, not a broker's own ($).
bool isTopicBase(const QString& text) {
    static const QRegularExpression bad(QStringLiteral(R"([+#]|^/|/$|//|^\$)"));
    return !text.isEmpty() && text.size() <= 200 && !bad.match(text).hasMatch() &&
           !kControl.match(text).hasMatch();
}

// --topic and --discovery-prefix: left as they are when not given.
bool readTopicBase(const QCommandLineParser& parser, const QString& option, QString& base,
                   QString* why) {
    if (!parser.isSet(option))
        return true;
    base = parser.value(option);
    if (isTopicBase(base))
        return true;
    return refuse(why, option,
                  quoted(base).replace(kControl, QStringLiteral("?")) +
                      QStringLiteral(": expected levels joined by /, without + or #, control "
                                     "characters or a leading $"));
}

bool readBroker(const QString& text, BridgeOptions& options, QString* why) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    const int defaultPort =
        scheme == QLatin1String("mqtts") ? MqttClient::kTlsPort : MqttClient::kPlainPort;
    const int port = url.port(defaultPort);
    if (!url.isValid() || (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts")) ||
        url.host().isEmpty() || port < 1 || !url.userInfo().isEmpty() ||
        (!url.path().isEmpty() && url.path() != QLatin1String("/")) || url.hasQuery() ||
        url.hasFragment())
        return refuse(why, kBroker,
                      quoted(text) + QStringLiteral(": expected mqtt://HOST[:PORT] or "
                                                    "mqtts://HOST[:PORT]"));
    options.brokerHost = url.host();
    options.brokerPort = quint16(port);
    options.tls = scheme == QLatin1String("mqtts");
    return true;
}

bool readCredentials(const QString& path, BridgeOptions& options, QString* why) {
    QString reason;
    const std::optional<BrokerCredentials> credentials = BrokerCredentials::read(path, &reason);
    if (!credentials)
        return refuse(why, kCredentials, reason);
    options.user = credentials->user;
    options.password = credentials->password;
    return true;
}

bool readClientId(const QString& id, QString* why) {
    const qsizetype bytes = id.toUtf8().size();
    if (bytes > BridgeOptions::kLongestClientId)
        return refuse(why, kClientId,
                      QStringLiteral("%1 bytes; MQTT takes at most %2")
                          .arg(bytes)
                          .arg(BridgeOptions::kLongestClientId));
    if (kControl.match(id).hasMatch())
        return refuse(why, kClientId, QStringLiteral("holds a control character"));
    return true;
}

} // namespace

void BridgeOptions::addTo(QCommandLineParser& parser) {
    parser.addOptions({
        {kBroker, QStringLiteral("bridge: the broker, mqtt://HOST[:PORT] or mqtts://HOST[:PORT]."),
         QStringLiteral("URL")},
        {kTopic, QStringLiteral("bridge: the topics' base (default velk/ and the line's name)."),
         QStringLiteral("BASE")},
        {kAddresses,
         QStringLiteral("bridge: the addresses it answers for, e.g. 1-4,7,all "
                        "(default all)."),
         QStringLiteral("LIST")},
        {kCredentials,
         QStringLiteral("bridge: a file with the user on its first line and the "
                        "password on its second, readable by its owner only."),
         QStringLiteral("FILE")},
        {kCa,
         QStringLiteral("bridge: the certificate authority for mqtts (default the "
                        "system's)."),
         QStringLiteral("FILE")},
        {kClientId, QStringLiteral("bridge: the client id on the broker."), QStringLiteral("ID")},
        {kNoDiscovery, QStringLiteral("bridge: publish no Home Assistant discovery.")},
        {kDiscoveryPrefix,
         QStringLiteral("bridge: Home Assistant's discovery prefix (default homeassistant)."),
         QStringLiteral("P")},
        {kNoSync, QStringLiteral("bridge: start with the minute sync off.")},
    });
}

QString BridgeOptions::commandHelp() {
    return QStringLiteral(
        "\n"
        "bridge --broker URL [bridge options]: takes titles, clears, the time and the sync\n"
        "from an MQTT broker under the topic BASE and publishes their states there, with\n"
        "Home Assistant discovery, until it is asked to end as sync is. A lost line is\n"
        "waited for.\n"
        "A command with an MQTT 5 response topic is answered there: ok once its bytes are\n"
        "on the line, or the reason. Retained commands are never carried out.\n"
        "Exit status 1 also when the broker cannot be reached or refuses the connection\n"
        "at start.\n");
}

QString BridgeOptions::strayOption(const QCommandLineParser& parser) {
    for (const QString& name : {kBroker, kTopic, kAddresses, kCredentials, kCa, kClientId,
                                kNoDiscovery, kDiscoveryPrefix, kNoSync}) {
        if (parser.isSet(name))
            return QStringLiteral("--%1: only for bridge").arg(name);
    }
    return {};
}

bool BridgeOptions::read(const QCommandLineParser& parser, QString* why) {
    if (!parser.isSet(kBroker))
        return refuse(why, kBroker, QStringLiteral("bridge needs the broker's URL"));
    if (!readBroker(parser.value(kBroker), *this, why))
        return false;
    if (!readTopicBase(parser, kTopic, topic, why))
        return false;
    if (parser.isSet(kAddresses)) {
        QString reason;
        const std::optional<QList<quint8>> list =
            readAddressList(parser.value(kAddresses), &reason);
        if (!list)
            return refuse(why, kAddresses, reason);
        addresses = *list;
    }
    if (parser.isSet(kCredentials) && !readCredentials(parser.value(kCredentials), *this, why))
        return false;
    if (parser.isSet(kCa)) {
        caFile = parser.value(kCa);
        if (!tls)
            return refuse(why, kCa, QStringLiteral("only for an mqtts:// broker"));
        if (!QFileInfo(caFile).isReadable())
            return refuse(why, kCa, QStringLiteral("cannot read %1").arg(caFile));
    }
    clientId = parser.value(kClientId);
    if (!readClientId(clientId, why))
        return false;
    discovery = !parser.isSet(kNoDiscovery);
    if (!readTopicBase(parser, kDiscoveryPrefix, discoveryPrefix, why))
        return false;
    sync = !parser.isSet(kNoSync);
    return true;
}

std::optional<QList<quint8>> BridgeOptions::readAddressList(const QString& text, QString* why) {
    static const QRegularExpression range(QStringLiteral(R"(^(\d+)-(\d+)$)"));
    QList<quint8> list;
    const auto add = [&list](quint8 address) {
        if (!list.contains(address))
            list.append(address);
    };
    for (const QString& item : text.split(QLatin1Char(','))) {
        const QString word = item.trimmed();
        const QRegularExpressionMatch match = range.match(word);
        if (!match.hasMatch()) {
            const std::optional<quint8> address = CtlOptions::readAddress(word, why);
            if (!address)
                return std::nullopt;
            add(*address);
            continue;
        }
        const std::optional<quint8> low = CtlOptions::readAddress(match.captured(1), why);
        const std::optional<quint8> high =
            low ? CtlOptions::readAddress(match.captured(2), why) : std::nullopt;
        if (!high)
            return std::nullopt;
        if (*low > *high) {
            if (why)
                *why =
                    QStringLiteral("range %1: expected the lower address first").arg(quoted(word));
            return std::nullopt;
        }
        for (int address = *low; address <= *high; ++address)
            add(quint8(address));
    }
    return list;
}

QString BridgeOptions::lineName(const LineName& line, const QString& device) {
    static const QRegularExpression unfit(QStringLiteral("[^A-Za-z0-9_.-]"));
    QString name;
    if (line.isNetwork())
        name = line.host + QLatin1Char('_') + QString::number(line.tcpPort);
    else // the file name, after the last separator of either system
        name = device.mid(
            qMax(device.lastIndexOf(QLatin1Char('/')), device.lastIndexOf(QLatin1Char('\\'))) + 1);
    name.replace(unfit, QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("line") : name;
}

QString BridgeOptions::addressName(quint8 address) {
    return address == 255 ? QStringLiteral("all") : QString::number(address);
}

} // namespace velk
