#include "ctl/ctloptions.h"

#include "clock/dayrules.h"
#include "controls/quoted.h"
#include "ctl/servicecommand.h"
#include "ctl/servicehost.h"
#include "titles/titlerule.h"
#include "wire/frames.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace velk {

namespace {

constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;

const QString kCommands =
    QStringLiteral("title, clear, time, status, sync, clock, bridge or service");

template <typename T> std::optional<T> refuse(QString* why, const QString& reason) {
    if (why)
        *why = reason;
    return std::nullopt;
}

QString commandsHelp() {
    return QStringLiteral(
               "\nCommands:\n"
               "  title ADDRESS TEXT     send TEXT to the title of ADDRESS, as Send does\n"
               "  clear ADDRESS          empty the title of ADDRESS, as Clear does\n"
               "  time [now|\"YYYY-MM-DD HH:MM\"]\n"
               "                         set the devices' date and time, as Set Time does;\n"
               "                         now (the default) takes the PC clock (on a bus line:\n"
               "                         the clock of the bridge's PC)\n"
               "  status                 print what the bridge of a bus line reports: whether\n"
               "                         it is online, its line and settings, the sync, its\n"
               "                         PC clock and the title of each address\n"
               "  clock                  print whether the PC clock is synchronised\n") +
           servicehost::commandsHelp() +
           QStringLiteral(
               "\n"
               "ADDRESS is 1 to 254, or all for every device. TEXT is up to 20 characters the\n"
               "displays can show; put \"--\" before a TEXT that starts with \"-\".\n"
               "On a bus line (--port mqtt://HOST[:PORT]/BASE) title, clear and time are\n"
               "requests to the line's bridge, answered within 5 s; sync is the bridge's.\n"
               "Exit status: 0 done, 1 the port cannot be opened or did not take the bytes\n"
               "(on a bus line: the broker cannot be reached, the bridge refused the request\n"
               "or is offline), 2 a refused argument; clock: 0 synchronised, 3 not\n"
               "synchronised, 4 unknown.\n");
}

QCommandLineOption timeZoneOption() {
    return QCommandLineOption(
        QStringLiteral("time-zone"),
        QStringLiteral("sync, time and bridge: the displays' time zone, e.g. Europe/Berlin "
                       "(default the PC's)."),
        QStringLiteral("ZONE"));
}

// --time-zone, for the commands that send the time; false, with options.error, when refused.
bool readTimeZoneOption(const QCommandLineParser& parser, CtlOptions& options) {
    const QString name = timeZoneOption().names().constFirst();
    if (!parser.isSet(name))
        return true;
    // A service keeps the zone on its own command line.
    if (options.command != CtlOptions::Command::Sync &&
        options.command != CtlOptions::Command::Time &&
        options.command != CtlOptions::Command::Bridge &&
        options.command != CtlOptions::Command::ServiceInstall) {
        options.error = QStringLiteral("--time-zone: only with sync, time or bridge");
        return false;
    }
    const std::optional<QTimeZone> zone =
        CtlOptions::readTimeZone(parser.value(name), &options.error);
    if (zone)
        options.timeZone = *zone;
    return zone.has_value();
}

} // namespace

std::optional<quint8> CtlOptions::readAddress(const QString& text, QString* why) {
    if (text.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0)
        return frames::addressByte(0); // "Master"
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    // The address selector's position n is address n; position 0 is "all", not a number.
    const std::optional<quint8> address =
        isNumber && number >= 1 ? frames::addressByte(number) : std::nullopt;
    if (address)
        return address;
    return refuse<quint8>(why,
                          QStringLiteral("address %1: expected 1-254 or all").arg(quoted(text)));
}

std::optional<ClockValues> CtlOptions::readClock(const QString& text, QString* why) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d)$)"));
    const QRegularExpressionMatch match = pattern.match(text.simplified());
    const int year = match.captured(1).toInt();
    if (!match.hasMatch() || year < kFirstYear || year > kLastYear)
        return refuse<ClockValues>(why, QStringLiteral("time %1: expected now or "
                                                       "\"YYYY-MM-DD HH:MM\" with a year %2-%3")
                                            .arg(quoted(text))
                                            .arg(kFirstYear)
                                            .arg(kLastYear));
    ClockValues clock;
    clock.year = match.captured(1).right(2);
    clock.month = match.captured(2);
    clock.day = match.captured(3);
    clock.hour = match.captured(4);
    clock.minute = match.captured(5);
    clock.second = twoDigitForm(0);
    // Each field within what its frame carries; the day also within its month.
    const QString* values[frames::kClockFieldCount] = {&clock.minute, &clock.hour, &clock.month,
                                                       &clock.year, &clock.day};
    for (int field = 0; field < frames::kClockFieldCount; ++field) {
        const frames::ClockField& rule = frames::kClockFields[field];
        const int value = values[field]->toInt();
        if (value < rule.minimum || value > rule.maximum)
            return refuse<ClockValues>(why, QStringLiteral("time %1: the %2 is out of range")
                                                .arg(quoted(text), QLatin1String(rule.name)));
    }
    const std::optional<int> days = daysInMonth(clock.month.toInt(), clock.year.toInt());
    if (!days || clock.day.toInt() > *days)
        return refuse<ClockValues>(why, QStringLiteral("time %1: that month has %2 days")
                                            .arg(quoted(text))
                                            .arg(days.value_or(0)));
    return clock;
}

namespace {

// velk-ctl's own switches, beside the port's and the bridge's options.
struct Switches {
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption asService;
    QCommandLineOption requireSynced;
    QCommandLineOption timeZone;
};

Switches configure(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Sends titles and the time to VELK-Pro clock and title displays, "
                       "or keeps them in step with the PC clock."));
    Switches switches{parser.addHelpOption(), parser.addVersionOption(),
                      servicecommand::runOption(),
                      QCommandLineOption(QStringLiteral("require-synced"),
                                         QStringLiteral("sync: send nothing while the PC clock "
                                                        "is not synchronised.")),
                      timeZoneOption()};
    // The bridge adds --credentials and --ca where it is built, which is where bus lines are.
    PortOptions::addTo(parser, false);
    parser.addOption(switches.asService);
    parser.addOption(switches.requireSynced);
    parser.addOption(switches.timeZone);
    BridgeOptions::addTo(parser);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("What to do; see below."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));
    return switches;
}

// Qt's refusal, or ours for --port or --settings left without a value.
QString parseError(const QCommandLineParser& parser, const QStringList& arguments) {
    const QString last = arguments.size() > 1 ? arguments.last() : QString();
    const QString missing = last.startsWith(QStringLiteral("--"))
                                ? PortOptions::missingValueText(last.mid(2))
                                : QString();
    return missing.isEmpty() ? parser.errorText() : missing;
}

// Whether `command` got from `least` to `most` arguments; otherwise false with `why`.
bool expectArguments(const QString& command, const QStringList& words, qsizetype least,
                     qsizetype most, const char* synopsis, QString* why) {
    if (words.size() >= least && words.size() <= most)
        return true;
    *why = QStringLiteral("%1: expected %2").arg(command, QLatin1String(synopsis));
    if (words.size() > most)
        *why += (words.size() == 1 ? QStringLiteral(", got 1 argument")
                                   : QStringLiteral(", got %1 arguments").arg(words.size())) +
                QStringLiteral(" (quote a text with blanks)");
    return false;
}

bool readTitle(const QStringList& words, CtlOptions& options) {
    if (!expectArguments(QStringLiteral("title"), words, 2, 2, "ADDRESS TEXT", &options.error))
        return false;
    const std::optional<quint8> address = CtlOptions::readAddress(words.at(0), &options.error);
    const std::optional<QString> title =
        address ? titlerule::accept(words.at(1), &options.error) : std::nullopt;
    if (!title)
        return false;
    options.command = CtlOptions::Command::Title;
    options.address = *address;
    options.title = *title;
    return true;
}

bool readClear(const QStringList& words, CtlOptions& options) {
    if (!expectArguments(QStringLiteral("clear"), words, 1, 1, "ADDRESS", &options.error))
        return false;
    const std::optional<quint8> address = CtlOptions::readAddress(words.at(0), &options.error);
    if (!address)
        return false;
    options.command = CtlOptions::Command::Clear;
    options.address = *address;
    return true;
}

bool readTime(const QStringList& words, CtlOptions& options) {
    // The date and time may come as one argument or as two.
    if (!expectArguments(QStringLiteral("time"), words, 0, 2, "now or \"YYYY-MM-DD HH:MM\"",
                         &options.error))
        return false;
    const QString when = words.join(QLatin1Char(' '));
    if (!when.isEmpty() && when != QLatin1String("now")) {
        options.clock = CtlOptions::readClock(when, &options.error);
        if (!options.clock)
            return false;
    }
    options.command = CtlOptions::Command::Time;
    return true;
}

// A command without arguments.
bool readBare(const QString& command, const QStringList& words, CtlOptions::Command which,
              CtlOptions& options) {
    if (!expectArguments(command, words, 0, 0, "no arguments", &options.error))
        return false;
    options.command = which;
    return true;
}

// The command and its arguments into `options`; false with options.error.
bool readCommand(const QCommandLineParser& parser, const Switches& switches,
                 const PortOptions& port, CtlOptions& options) {
    QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        options.error = QStringLiteral("no command given (%1)").arg(kCommands);
        return false;
    }
    const QString command = words.takeFirst();
    if (command == QLatin1String("title"))
        return readTitle(words, options);
    if (command == QLatin1String("clear"))
        return readClear(words, options);
    if (command == QLatin1String("time"))
        return readTime(words, options);
    if (command == QLatin1String("status"))
        return readBare(command, words, CtlOptions::Command::Status, options);
    if (command == QLatin1String("clock"))
        return readBare(command, words, CtlOptions::Command::Clock, options);
    if (command == QLatin1String("bridge")) {
        if (!expectArguments(command, words, 0, 0, "no arguments, only options", &options.error))
            return false;
        options.command = CtlOptions::Command::Bridge;
        options.serviceKind = CtlOptions::ServiceKind::Bridge;
        return options.bridge.read(parser, &options.error) &&
               (!parser.isSet(switches.asService) || servicecommand::readRunOption(options));
    }
    if (command == QLatin1String("sync")) {
        if (!readBare(command, words, CtlOptions::Command::Sync, options))
            return false;
        options.requireSynced = parser.isSet(switches.requireSynced);
        return !parser.isSet(switches.asService) || servicecommand::readRunOption(options);
    }
    if (command == QLatin1String("service"))
        return servicecommand::read(words, port, parser, options);
    options.error = QStringLiteral("unknown command %1 (%2)").arg(quoted(command), kCommands);
    return false;
}

// The arguments without --credentials and --ca and their values.
QStringList withoutBrokerAccess(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (argument == QLatin1String("--")) {
            kept += arguments.mid(index);
            break;
        }
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        if (name != QLatin1String("--credentials") && name != QLatin1String("--ca")) {
            kept << argument;
            continue;
        }
        if (!argument.contains(QLatin1Char('=')))
            ++index; // its value
    }
    return kept;
}

// A bridge option given to another command; on a bus line --credentials and --ca belong to the
// line, not to the bridge.
QString strayBridgeOption(const QCommandLineParser& parser, const QStringList& arguments,
                          const CtlOptions& options) {
    if (!options.port.isBus())
        return BridgeOptions::strayOption(parser);
    QCommandLineParser line;
    configure(line);
    line.parse(withoutBrokerAccess(arguments));
    return BridgeOptions::strayOption(line);
}

// What a bus line refuses: the line belongs to its bridge.
QString busRefusal(const QCommandLineParser& parser, const CtlOptions& options) {
    if (!options.port.isBus()) {
        return options.command == CtlOptions::Command::Status
                   ? QStringLiteral("status: only for a bus line (--port "
                                    "mqtt://HOST[:PORT]/BASE), where a bridge reports it")
                   : QString();
    }
    const QString base = options.port.topicBase;
    switch (options.command) {
    case CtlOptions::Command::Sync:
    case CtlOptions::Command::ServiceInstall:
    case CtlOptions::Command::ServiceRemove:
        return QStringLiteral("sync: on a bus line the bridge keeps the minute; switch it with "
                              "%1/sync/set")
            .arg(base);
    case CtlOptions::Command::Bridge:
        return QStringLiteral("bridge: needs the line itself, not a bus line");
    default:
        break;
    }
    if (parser.isSet(QStringLiteral("settings")))
        return QStringLiteral("--settings: the line settings of a bus line are its bridge's");
    if (parser.isSet(timeZoneOption().names().constFirst()))
        return QStringLiteral("--time-zone: on a bus line the bridge's own time zone is used");
    return {};
}

// `service install bridge` takes the bridge's options for the service's command line.
bool installsBridge(const CtlOptions& options) {
    return options.command == CtlOptions::Command::ServiceInstall &&
           options.serviceKind == CtlOptions::ServiceKind::Bridge;
}

// Checks across options and command; false with options.error.
bool checkCombination(const QCommandLineParser& parser, const QStringList& arguments,
                      const Switches& switches, CtlOptions& options) {
    if (parser.isSet(switches.requireSynced) && options.command != CtlOptions::Command::Sync)
        options.error = QStringLiteral("--require-synced: only with sync");
    else if (options.command != CtlOptions::Command::Bridge && !installsBridge(options))
        options.error = strayBridgeOption(parser, arguments, options);
    if (options.error.isEmpty())
        options.error = busRefusal(parser, options);
    return options.error.isEmpty() && readTimeZoneOption(parser, options);
}

// --port, --settings and, for a bus line, --credentials and --ca; false with options.error.
bool readPort(const QCommandLineParser& parser, PortOptions& port, CtlOptions& options) {
    if (!port.read(parser, &options.error, false))
        return false;
    options.port = port.port().value_or(LineName());
    options.line = port.settings().value_or(LineSettings());
    if (!options.port.isBus())
        return true;
    std::optional<BrokerAccess> access;
    if (port.readBrokerAccess(parser, &options.error))
        access = BrokerAccess::read(port.credentialsFile(), port.caFile(), &options.error);
    options.access = access.value_or(BrokerAccess());
    return access.has_value();
}

} // namespace

std::optional<QTimeZone> CtlOptions::readTimeZone(const QString& text, QString* why) {
    const QByteArray id = text.toUtf8();
    if (QTimeZone::isTimeZoneIdAvailable(id))
        return QTimeZone(id);
    return refuse<QTimeZone>(why, QStringLiteral("--time-zone: %1: not a time zone this system "
                                                 "knows (an IANA name like Europe/Berlin)")
                                      .arg(quoted(text)));
}

CtlOptions CtlOptions::parse(const QStringList& arguments) {
    CtlOptions options;
    QCommandLineParser parser;
    const Switches switches = configure(parser);
    if (!parser.parse(arguments)) {
        options.error = parseError(parser, arguments);
        return options;
    }
    if (parser.isSet(switches.help)) {
        // Qt names the program by the path it was started with; the help names it plainly.
        const QString qtHelp = parser.helpText();
        options.help = QStringLiteral("Usage: velk-ctl [options] COMMAND [ARGUMENTS]") +
                       qtHelp.mid(qtHelp.indexOf(QLatin1Char('\n'))) + commandsHelp() +
                       BridgeOptions::commandHelp();
        options.outcome = Outcome::Help;
        return options;
    }
    if (parser.isSet(switches.version)) {
        options.outcome = Outcome::Version;
        return options;
    }
    PortOptions port;
    if (!readPort(parser, port, options) || !readCommand(parser, switches, port, options) ||
        !checkCombination(parser, arguments, switches, options))
        return options;
    options.outcome = Outcome::Run;
    return options;
}

} // namespace velk
