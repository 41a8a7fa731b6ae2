#include "port/linename.h"

#include "controls/quoted.h"
#include "port/pinnedportmapping.h"
#include "port/portsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace velk {

namespace {

std::optional<LineName> refuse(QString* why, const QString& option, const QString& reason) {
    if (why)
        *why = QStringLiteral("%1: %2").arg(option, reason);
    return std::nullopt;
}

bool isComportNumber(qlonglong number) {
    return number >= PortSettings::kFirstPort && number <= PortSettings::kLastPort;
}

// "HOST:PORT" (or "HOST" where `defaultPort` is given) of `text`; nothing but the reason when
// malformed.
std::optional<LineName> readEndpoint(const QString& authority, quint16 defaultPort,
                                     const QString& text, QString* why, const QString& option) {
    QString host;
    QString portText;
    bool portGiven = true;
    if (authority.startsWith(QLatin1Char('['))) {
        const int close = authority.indexOf(QLatin1Char(']'));
        if (close < 0)
            return refuse(why, option, QStringLiteral("no closing \"]\" in %1").arg(quoted(text)));
        host = authority.mid(1, close - 1);
        const QString after = authority.mid(close + 1);
        portGiven = !after.isEmpty() || defaultPort == 0;
        if (portGiven && !after.startsWith(QLatin1Char(':')))
            return refuse(why, option, QStringLiteral("no port in %1").arg(quoted(text)));
        portText = after.mid(1);
        static const QRegularExpression ipv6(QStringLiteral("^[0-9A-Fa-f:.]*:[0-9A-Fa-f:.]*$"));
        if (!ipv6.match(host).hasMatch())
            return refuse(
                why, option,
                QStringLiteral("\"%1\" is not an IPv6 address in %2").arg(host, quoted(text)));
    } else {
        const int colon = authority.lastIndexOf(QLatin1Char(':'));
        portGiven = colon >= 0;
        if (!portGiven && defaultPort == 0)
            return refuse(why, option, QStringLiteral("no port in %1").arg(quoted(text)));
        host = portGiven ? authority.left(colon) : authority;
        portText = portGiven ? authority.mid(colon + 1) : QString();
        if (host.isEmpty())
            return refuse(why, option, QStringLiteral("no host in %1").arg(quoted(text)));
        static const QRegularExpression hostName(
            QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?"
                           "(\\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)*\\.?$"));
        if (!hostName.match(host).hasMatch())
            return refuse(why, option,
                          QStringLiteral("\"%1\" is not a host name or address in %2 (an IPv6 "
                                         "address goes in brackets)")
                              .arg(host, quoted(text)));
    }
    if (host.isEmpty())
        return refuse(why, option, QStringLiteral("no host in %1").arg(quoted(text)));
    if (!portGiven)
        return LineName::network(LineName::Protocol::Raw, host, defaultPort);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const int port = digits.match(portText).hasMatch() ? portText.toInt() : 0;
    if (portText.isEmpty())
        return refuse(why, option, QStringLiteral("no port in %1").arg(quoted(text)));
    if (port < 1 || port > 65535)
        return refuse(why, option,
                      QStringLiteral("port \"%1\" in %2 is not a TCP port 1-65535")
                          .arg(portText, quoted(text)));
    return LineName::network(LineName::Protocol::Raw, host, quint16(port));
}

// "mqtt://HOST[:PORT]/BASE" or "mqtts://..."; `rest` follows the "://".
std::optional<LineName> parseBusUrl(bool tls, const QString& rest, const QString& text,
                                    QString* why, const QString& option) {
    const int slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return refuse(
            why, option,
            QStringLiteral("no topic base in %1 (expected %2://HOST[:PORT]/BASE)")
                .arg(quoted(text), tls ? QStringLiteral("mqtts") : QStringLiteral("mqtt")));
    const std::optional<LineName> endpoint = readEndpoint(
        rest.left(slash), tls ? LineName::kMqttsPort : LineName::kMqttPort, text, why, option);
    if (!endpoint)
        return endpoint;
    const QString base = rest.mid(slash + 1);
    if (const QString fault = LineName::topicBaseFault(base); !fault.isEmpty())
        return refuse(why, option, QStringLiteral("%1 in %2").arg(fault, quoted(text)));
    return LineName::bus(tls, endpoint->host, endpoint->tcpPort, base);
}

// A device server's or a bus line's URL; nothing but the reason when malformed.
std::optional<LineName> parseUrl(const QString& scheme, const QString& rest, const QString& text,
                                 QString* why, const QString& option) {
    const auto is = [&scheme](const char* name) {
        return scheme.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("mqtt") || is("mqtts"))
        return parseBusUrl(is("mqtts"), rest, text, why, option);
    if (!is("rfc2217") && !is("tcp"))
        return refuse(why, option,
                      QStringLiteral("unknown scheme \"%1://\" in %2 (use rfc2217://, tcp://, "
                                     "mqtt:// or mqtts://)")
                          .arg(scheme, quoted(text)));
    std::optional<LineName> name = readEndpoint(rest, 0, text, why, option);
    if (name && is("rfc2217"))
        name->protocol = LineName::Protocol::Rfc2217;
    return name;
}

} // namespace

LineName LineName::bus(bool tls, const QString& host, quint16 port, const QString& base) {
    LineName name = network(Protocol::Raw, host, port);
    name.kind = Kind::Bus;
    name.tls = tls;
    name.topicBase = base;
    return name;
}

QString LineName::topicBaseFault(const QString& base) {
    if (base.isEmpty())
        return QStringLiteral("no topic base");
    if (base.startsWith(QLatin1Char('$')))
        return QStringLiteral(
            "the topic base starts with \"$\", which the broker keeps for itself");
    // Room for the longest topic below it ("/255/title/set") within MQTT's 65,535 bytes.
    if (base.toUtf8().size() > kLongestTopicBase)
        return QStringLiteral("the topic base is longer than %1 bytes").arg(kLongestTopicBase);
    for (const QStringView level : QStringView(base).split(QLatin1Char('/'))) {
        if (level.isEmpty())
            return QStringLiteral("an empty level in the topic base");
        for (const QChar c : level) {
            if (c == QLatin1Char('+') || c == QLatin1Char('#'))
                return QStringLiteral("a wildcard \"%1\" in the topic base").arg(c);
            const ushort code = c.unicode();
            if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || c.isSurrogate() ||
                c.category() == QChar::Other_Format)
                return QStringLiteral("a control character in the topic base");
        }
    }
    return {};
}

LineName LineName::network(Protocol protocol, const QString& host, quint16 port) {
    LineName name;
    name.kind = Kind::Network;
    name.protocol = protocol;
    name.host = host;
    name.tcpPort = port;
    return name;
}

std::optional<LineName> LineName::parse(const QString& text, QString* why, const QString& option,
                                        bool comNames) {
    const QString trimmed = text.trimmed();
    const QString expected = QStringLiteral("expected a Comport number %1-%2, a device path, "
                                            "rfc2217://HOST:PORT, tcp://HOST:PORT or "
                                            "mqtt(s)://HOST[:PORT]/BASE, got %3")
                                 .arg(PortSettings::kFirstPort)
                                 .arg(PortSettings::kLastPort)
                                 .arg(quoted(text));
    // A leading dash is an option that took this one's place, e.g. "--port --connect".
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('-')))
        return refuse(why, option, expected);

    static const QRegularExpression number(QStringLiteral("^[0-9]+$"));
    if (number.match(trimmed).hasMatch()) {
        bool fits = false;
        const qlonglong value = trimmed.toLongLong(&fits);
        if (!fits || !isComportNumber(value))
            return refuse(why, option,
                          QStringLiteral("Comport %1 is out of range, expected %2-%3")
                              .arg(trimmed)
                              .arg(PortSettings::kFirstPort)
                              .arg(PortSettings::kLastPort));
        return comport(int(value));
    }

    static const QRegularExpression url(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://(.*)$"));
    if (const QRegularExpressionMatch match = url.match(trimmed); match.hasMatch())
        return parseUrl(match.captured(1), match.captured(2), trimmed, why, option);

    if (comNames) {
        static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]?)$"),
                                                QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = comName.match(trimmed);
        if (match.hasMatch() && isComportNumber(match.captured(1).toInt()))
            return comport(match.captured(1).toInt());
    }
    LineName device;
    device.kind = Kind::Device;
    device.number = PortSettings::kFirstPort;
    // A bare name (ttyUSB0, COM20) is the system's port name; a path is taken from the working
    // directory when relative, as every other program reads it.
    const bool isPath = trimmed.contains(QLatin1Char('/')) || trimmed.contains(QLatin1Char('\\'));
    device.device = isPath ? QDir::cleanPath(QFileInfo(trimmed).absoluteFilePath()) : trimmed;
    return device;
}

std::optional<LineName> LineName::parseNetwork(const QString& text, QString* why,
                                               const QString& option) {
    std::optional<LineName> name = parse(text, why, option);
    if (name && !name->isNetwork() && !name->isBus())
        return refuse(why, option,
                      QStringLiteral("expected rfc2217://HOST:PORT, tcp://HOST:PORT or "
                                     "mqtt(s)://HOST[:PORT]/BASE, got %1")
                          .arg(quoted(text)));
    return name;
}

QString LineName::endpoint() const {
    const QString shownHost = host.contains(QLatin1Char(':')) ? '[' + host + ']' : host;
    return shownHost + QLatin1Char(':') + QString::number(tcpPort);
}

QString LineName::label() const {
    if (isBus())
        return busLabel();
    return isNetwork() ? endpoint() : QStringLiteral("Com %1").arg(number);
}

QString LineName::text() const {
    switch (kind) {
    case Kind::Comport:
        return QString::number(number);
    case Kind::Device:
        return device;
    case Kind::Network:
        break;
    case Kind::Bus:
        return (tls ? QStringLiteral("mqtts://") : QStringLiteral("mqtt://")) + busLabel();
    }
    return (protocol == Protocol::Rfc2217 ? QStringLiteral("rfc2217://")
                                          : QStringLiteral("tcp://")) +
           endpoint();
}

std::unique_ptr<PortMapping> LineName::mapping(std::unique_ptr<PortMapping> system) const {
    if (kind != Kind::Device)
        return system;
    return std::make_unique<PinnedPortMapping>(device, number, std::move(system));
}

} // namespace velk
