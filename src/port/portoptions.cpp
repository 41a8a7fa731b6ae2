#include "port/portoptions.h"

#include "controls/quoted.h"
#include "port/portsettings.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace velk {

namespace {

const QString kPortOption = QStringLiteral("port");
const QString kSettingsOption = QStringLiteral("settings");
const QString kCredentialsOption = QStringLiteral("credentials");
const QString kCaOption = QStringLiteral("ca");

template <typename T> std::optional<T> refuse(QString* why, const QString& reason) {
    if (why)
        *why = reason;
    return std::nullopt;
}

bool refused(QString* why, const QString& reason) {
    if (why)
        *why = reason;
    return false;
}

// What each option accepts, as its refusals say it.
QString expected(const QString& option) {
    if (option == kPortOption)
        return QStringLiteral("a Comport number %1-%2, a device path, rfc2217://HOST:PORT, "
                              "tcp://HOST:PORT or mqtt(s)://HOST[:PORT]/BASE")
            .arg(PortSettings::kFirstPort)
            .arg(PortSettings::kLastPort);
    if (option == kSettingsOption)
        return QStringLiteral("BAUD,PARITY,DATA,STOP such as 9600,N,8,1");
    return QStringLiteral("a FILE");
}

QString refusal(const QString& option, const QString& given) {
    return QStringLiteral("--%1: expected %2, got %3").arg(option, expected(option), given);
}

} // namespace

void PortOptions::addTo(QCommandLineParser& parser, bool brokerAccess) {
    parser.addOption(QCommandLineOption(
        kPortOption,
        QStringLiteral("Use Comport N (1-16), the serial device DEVICE (which counts as "
                       "Comport 1), a device server on the network: rfc2217://HOST:PORT "
                       "(line settings sent to it) or tcp://HOST:PORT (bytes as they are; the "
                       "line settings are the server's own), or the line's bridge on an MQTT "
                       "broker: mqtt://HOST[:PORT]/BASE or mqtts://HOST[:PORT]/BASE (BASE is "
                       "the bridge's --topic; the line settings are the bridge's)."),
        QStringLiteral("N|DEVICE|URL")));
    parser.addOption(
        QCommandLineOption(kSettingsOption,
                           QStringLiteral("Line settings BAUD,PARITY,DATA,STOP, e.g. 19200,E,7,2 "
                                          "(parity E, O or N; 5-8 data bits; 1 or 2 stop bits)."),
                           QStringLiteral("BAUD,P,D,S")));
    if (!brokerAccess)
        return;
    parser.addOption(QCommandLineOption(
        kCredentialsOption,
        QStringLiteral("For a bus line: a file with the broker's user on its first line and the "
                       "password on its second, readable by its owner only."),
        QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(
        kCaOption,
        QStringLiteral("For an mqtts:// bus line: the certificate authority that signed the "
                       "broker's certificate (default the system's)."),
        QStringLiteral("FILE")));
}

std::optional<LineSettings> PortOptions::parseSettings(const QString& text, QString* why) {
    QString reason;
    if (std::optional<LineSettings> settings = LineSettings::parse(text, &reason))
        return settings;
    return refuse<LineSettings>(why, refusal(kSettingsOption, quoted(text)) +
                                         QStringLiteral(" (%1)").arg(reason));
}

QString PortOptions::missingValueText(const QString& option) {
    if (option != kPortOption && option != kSettingsOption && option != kCredentialsOption &&
        option != kCaOption)
        return {};
    return refusal(option, QStringLiteral("nothing"));
}

bool PortOptions::read(const QCommandLineParser& parser, QString* why, bool brokerAccess) {
    m_port.reset();
    m_settings.reset();
    m_credentialsFile.clear();
    m_caFile.clear();
    if (parser.isSet(kPortOption)) {
        m_port = LineName::parse(parser.value(kPortOption), why);
        if (!m_port)
            return false;
    }
    if (parser.isSet(kSettingsOption)) {
        m_settings = parseSettings(parser.value(kSettingsOption), why);
        if (!m_settings)
            return false;
    }
    return !brokerAccess || readBrokerAccess(parser, why);
}

bool PortOptions::readBrokerAccess(const QCommandLineParser& parser, QString* why) {
    const bool bus = m_port && m_port->isBus();
    for (const QString& option : {kCredentialsOption, kCaOption}) {
        if (!parser.isSet(option))
            continue;
        const QString file = parser.value(option);
        if (!bus)
            return refused(why, QStringLiteral("--%1: only for a bus line (--port "
                                               "mqtt://HOST[:PORT]/BASE)")
                                    .arg(option));
        if (option == kCaOption && !m_port->tls)
            return refused(why, QStringLiteral("--ca: only for an mqtts:// bus line"));
        if (!QFileInfo(file).isFile() || !QFileInfo(file).isReadable())
            return refused(why, QStringLiteral("--%1: cannot read %2").arg(option, quoted(file)));
        (option == kCaOption ? m_caFile : m_credentialsFile) = file;
    }
    return true;
}

} // namespace velk
