#include "monitor/monitoroptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cmath>

namespace velk {

namespace {
// QTimer counts milliseconds in an int.
constexpr double kMaxDurationSeconds = 2000000.0;

const QString kCredentials = QStringLiteral("credentials");
const QString kCa = QStringLiteral("ca");

// --credentials and --ca, for a bus line only; false with `why`.
bool readAccess(const QCommandLineParser& parser, MonitorOptions& options, QString* why) {
    const LineName& line = options.lineName;
    for (const QString& option : {kCredentials, kCa}) {
        if (!parser.isSet(option))
            continue;
        if (!line.isBus() || (option == kCa && !line.tls)) {
            *why = QStringLiteral("--%1: only for a%2 bus line")
                       .arg(option, option == kCa ? QStringLiteral("n mqtts://") : QString());
            return false;
        }
    }
    const std::optional<BrokerAccess> access =
        BrokerAccess::read(parser.value(kCredentials), parser.value(kCa), why);
    if (!access)
        return false;
    if (!access->caFile.isEmpty() && !QFileInfo(access->caFile).isReadable()) {
        *why = QStringLiteral("--ca: cannot read \"%1\"").arg(access->caFile);
        return false;
    }
    options.access = *access;
    return true;
}

} // namespace

MonitorOptions MonitorOptions::parse(const QStringList& arguments) {
    MonitorOptions options;
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("help"));
    const QCommandLineOption summary(QStringLiteral("summary"), QStringLiteral("summary"));
    const QCommandLineOption duration(QStringLiteral("duration"), QStringLiteral("duration"),
                                      QStringLiteral("seconds"));
    parser.addOptions({help, summary, duration});
    parser.addOptions(
        {{kCredentials, kCredentials, QStringLiteral("file")}, {kCa, kCa, QStringLiteral("file")}});
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    if (parser.isSet(help)) {
        options.outcome = Outcome::Help;
        return options;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        options.error = QStringLiteral("no device given");
        return options;
    }
    if (positional.size() > 2) {
        options.error = QStringLiteral("unexpected argument \"%1\"").arg(positional.at(2));
        return options;
    }
    options.device = positional.at(0);
    if (const std::optional<LineName> name =
            LineName::parse(options.device, &options.error, QStringLiteral("DEVICE")))
        options.lineName = *name;
    else
        return options;
    if (positional.size() == 2) {
        const auto line = readLine(positional.at(1), &options.error);
        if (!line)
            return options;
        options.line = *line;
    }

    if (!readAccess(parser, options, &options.error))
        return options;
    options.summary = parser.isSet(summary);
    if (parser.isSet(duration)) {
        bool ok = false;
        const double seconds = parser.value(duration).toDouble(&ok);
        if (!ok || !(seconds > 0) || seconds > kMaxDurationSeconds) {
            options.error = QStringLiteral("duration \"%1\" is not a number of seconds above 0 "
                                           "and up to %2")
                                .arg(parser.value(duration))
                                .arg(kMaxDurationSeconds, 0, 'f', 0);
            return options;
        }
        options.durationMs = std::max<qint64>(1, std::llround(seconds * 1000));
    }
    options.outcome = Outcome::Run;
    return options;
}

std::optional<LineSettings> MonitorOptions::readLine(const QString& text, QString* error) {
    const qsizetype commas = text.count(QLatin1Char(','));
    if (commas == 3)
        return LineSettings::parse(text, error);
    if (commas > 0) {
        if (error)
            *error = QStringLiteral("line settings \"%1\" are not BAUD or BAUD,PARITY,DATA,STOP")
                         .arg(text);
        return std::nullopt;
    }
    const std::optional<qint32> baudRate = LineSettings::parseBaudRate(text, error);
    if (!baudRate)
        return std::nullopt;
    LineSettings line;
    line.baudRate = *baudRate;
    return line;
}

QString MonitorOptions::usage() {
    return QStringLiteral(
        "Usage: velk-monitor [--summary] [--duration SECONDS] [--credentials FILE] [--ca FILE]\n"
        "                    DEVICE [BAUD[,PARITY,DATA,STOP]]\n");
}

QString MonitorOptions::help() {
    return usage() +
           QStringLiteral(
               "\n"
               "Prints every frame on a VELK-Pro display line as it arrives, one line per frame,\n"
               "after the local time. DEVICE is opened read-only, so the monitor never disturbs\n"
               "the line. Bytes that make no frame are shown in hex after INVALID.\n"
               "\n"
               "  BAUD[,PARITY,DATA,STOP]  line settings, default 9600,N,8,1; parity E, O or N,\n"
               "                           data bits 5 to 8, stop bits 1 or 2\n"
               "  --summary                at the end, print what each address shows and the\n"
               "                           clock last set\n"
               "  --duration SECONDS       stop after this many seconds\n"
               "  --credentials FILE       for a bus line: the broker's user and password, one\n"
               "                           per line, in a file only its owner may read\n"
               "  --ca FILE                for an mqtts:// bus line: the certificate authority\n"
               "                           of the broker (default the system's)\n"
               "  -h, --help               print this help\n"
               "\n"
               "DEVICE is a Comport number 1-16, a port name such as ttyUSB0 or COM3, a path\n"
               "such as ./pty, or a line on a device server: rfc2217://HOST:PORT (the line\n"
               "settings are sent to it) or tcp://HOST:PORT (a raw TCP port, such as a tap\n"
               "ser2net serves beside the line; its settings are the server's own), or a bus\n"
               "line: mqtt://HOST[:PORT]/BASE or mqtts://HOST[:PORT]/BASE, whose bridge\n"
               "publishes each frame it writes on BASE/frames.\n"
               "\n"
               "Monitoring ends on Ctrl+C (SIGINT), SIGTERM, when the device goes away or when "
               "the\n"
               "duration is up. Exit status: 0 normal end, 1 device cannot be opened, 2 usage "
               "error.\n");
}

} // namespace velk
