#pragma once

#include "bus/mqttclient.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

class QCommandLineParser;

namespace velk {

struct LineName;

// What `velk-ctl bridge` is told on its command line: the broker, where on it, and which
// addresses it answers for.
struct BridgeOptions {
    static constexpr qsizetype kLargestPayload = 1024;
    // What MQTT carries in a client id (a two-byte length).
    static constexpr qsizetype kLongestClientId = 65535;

    QString brokerHost;
    quint16 brokerPort = MqttClient::kPlainPort;
    bool tls = false;
    // BASE; empty: velk/ followed by the line's name.
    QString topic;
    // Address bytes in the order given, 255 for all.
    QList<quint8> addresses{255};
    QString user;
    QString password;
    QString caFile;
    QString clientId;
    bool discovery = true;
    QString discoveryPrefix = QStringLiteral("homeassistant");
    bool sync = true;

    // Adds the bridge's options to `parser`; where the bridge is not built, none.
    static void addTo(QCommandLineParser& parser);
    // The bridge's lines under "Commands:" in --help.
    static QString commandHelp();
    // Reads the options from a parser that has parsed its arguments. False, with a one-line
    // `why`, for a refused value; a credentials file that others may read is refused too.
    bool read(const QCommandLineParser& parser, QString* why);
    // A one-line refusal when a bridge option was given to another command; empty otherwise.
    static QString strayOption(const QCommandLineParser& parser);

    // "1-4,7,all" as address bytes, each once, in the order given. Nothing, with a one-line
    // `why` giving velk-ctl's own reason for the first item refused, otherwise.
    static std::optional<QList<quint8>> readAddressList(const QString& text, QString* why);
    // The line's name in a topic: the file name of the device a serial line reaches (ttyUSB0),
    // or HOST_PORT for a network line (rfc2217://host:4001 is host_4001), with what topics and
    // identifiers cannot carry made "_".
    static QString lineName(const LineName& line, const QString& device);
    // How an address byte appears in topics: 1 to 254, or all.
    static QString addressName(quint8 address);
};

} // namespace velk
