#include "port/portoptions.h"

#include "controls/quoted.h"
#include "port/portsettings.h"

#include <QCommandLineParser>

namespace velk {

namespace {

const QString kPortOption = QStringLiteral("port");
const QString kSettingsOption = QStringLiteral("settings");

template <typename T> std::optional<T> refuse(QString* why, const QString& reason) {
    if (why)
        *why = reason;
    return std::nullopt;
}

// What each option accepts, as its refusals say it.
QString expected(const QString& option) {
    if (option == kPortOption)
        return QStringLiteral("a Comport number %1-%2, a device path, rfc2217://HOST:PORT or "
                              "tcp://HOST:PORT")
            .arg(PortSettings::kFirstPort)
            .arg(PortSettings::kLastPort);
    return QStringLiteral("BAUD,PARITY,DATA,STOP such as 9600,N,8,1");
}

QString refusal(const QString& option, const QString& given) {
    return QStringLiteral("--%1: expected %2, got %3").arg(option, expected(option), given);
}

} // namespace

void PortOptions::addTo(QCommandLineParser& parser) {
    parser.addOption(QCommandLineOption(
        kPortOption,
        QStringLiteral("Use Comport N (1-16), the serial device DEVICE (which counts as "
                       "Comport 1), or a device server on the network: rfc2217://HOST:PORT "
                       "(line settings sent to it) or tcp://HOST:PORT (bytes as they are; the "
                       "line settings are the server's own)."),
        QStringLiteral("N|DEVICE|URL")));
    parser.addOption(
        QCommandLineOption(kSettingsOption,
                           QStringLiteral("Line settings BAUD,PARITY,DATA,STOP, e.g. 19200,E,7,2 "
                                          "(parity E, O or N; 5-8 data bits; 1 or 2 stop bits)."),
                           QStringLiteral("BAUD,P,D,S")));
}

std::optional<LineSettings> PortOptions::parseSettings(const QString& text, QString* why) {
    QString reason;
    if (std::optional<LineSettings> settings = LineSettings::parse(text, &reason))
        return settings;
    return refuse<LineSettings>(why, refusal(kSettingsOption, quoted(text)) +
                                         QStringLiteral(" (%1)").arg(reason));
}

QString PortOptions::missingValueText(const QString& option) {
    if (option != kPortOption && option != kSettingsOption)
        return {};
    return refusal(option, QStringLiteral("nothing"));
}

bool PortOptions::read(const QCommandLineParser& parser, QString* why) {
    m_port.reset();
    m_settings.reset();
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
    return true;
}

} // namespace velk
