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

const QString kCommands = QStringLiteral("title, clear, time, sync, clock, bridge or service");

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
               "                         now (the default) takes the PC clock\n"
               "  clock                  print whether the PC clock is synchronised\n") +
           servicehost::commandsHelp() +
           QStringLiteral(
               "\n"
               "ADDRESS is 1 to 254, or all for every device. TEXT is up to 20 characters the\n"
               "displays can show; put \"--\" before a TEXT that starts with \"-\".\n"
               "Exit status: 0 done, 1 the port cannot be opened or did not take the bytes,\n"
               "2 a refused argument; clock: 0 synchronised, 3 not synchronised, 4 unknown.\n");
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
    if (options.command != CtlOptions::Command::Sync &&
        options.command != CtlOptions::Command::Time &&
        options.command != CtlOptions::Command::Bridge) {
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
    parser.setApplicationDescription(
        QStringLiteral("Sends titles and the time to VELK-Pro clock and title displays, "
                       "or keeps them in step with the PC clock."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    PortOptions::addTo(parser);
    const QCommandLineOption asService = servicecommand::runOption();
    parser.addOption(asService);
    const QCommandLineOption requireSynced(
        QStringLiteral("require-synced"),
        QStringLiteral("sync: send nothing while the PC clock is not synchronised."));
    parser.addOption(requireSynced);
    parser.addOption(timeZoneOption());
    BridgeOptions::addTo(parser);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("What to do; see below."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));

    if (!parser.parse(arguments)) {
        const QString last = arguments.size() > 1 ? arguments.last() : QString();
        const QString missing = last.startsWith(QStringLiteral("--"))
                                    ? PortOptions::missingValueText(last.mid(2))
                                    : QString();
        options.error = missing.isEmpty() ? parser.errorText() : missing;
        return options;
    }
    if (parser.isSet(help)) {
        // Qt names the program by the path it was started with; the help names it plainly.
        const QString qtHelp = parser.helpText();
        options.help = QStringLiteral("Usage: velk-ctl [options] COMMAND [ARGUMENTS]") +
                       qtHelp.mid(qtHelp.indexOf(QLatin1Char('\n'))) + commandsHelp() +
                       BridgeOptions::commandHelp();
        options.outcome = Outcome::Help;
        return options;
    }
    if (parser.isSet(version)) {
        options.outcome = Outcome::Version;
        return options;
    }
    PortOptions port;
    if (!port.read(parser, &options.error))
        return options;
    options.port = port.port().value_or(LineName());
    options.line = port.settings().value_or(LineSettings());

    QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        options.error = QStringLiteral("no command given (%1)").arg(kCommands);
        return options;
    }
    const QString command = words.takeFirst();
    const auto expect = [&](qsizetype least, qsizetype most, const char* synopsis) {
        if (words.size() >= least && words.size() <= most)
            return true;
        options.error = QStringLiteral("%1: expected %2").arg(command, QLatin1String(synopsis));
        if (words.size() > most)
            options.error +=
                (words.size() == 1 ? QStringLiteral(", got 1 argument")
                                   : QStringLiteral(", got %1 arguments").arg(words.size())) +
                QStringLiteral(" (quote a text with blanks)");
        return false;
    };

    if (command == QLatin1String("title")) {
        if (!expect(2, 2, "ADDRESS TEXT"))
            return options;
        const std::optional<quint8> address = readAddress(words.at(0), &options.error);
        if (!address)
            return options;
        const std::optional<QString> title = titlerule::accept(words.at(1), &options.error);
        if (!title)
            return options;
        options.command = Command::Title;
        options.address = *address;
        options.title = *title;
    } else if (command == QLatin1String("clear")) {
        if (!expect(1, 1, "ADDRESS"))
            return options;
        const std::optional<quint8> address = readAddress(words.at(0), &options.error);
        if (!address)
            return options;
        options.command = Command::Clear;
        options.address = *address;
    } else if (command == QLatin1String("time")) {
        // The date and time may come as one argument or as two.
        if (!expect(0, 2, "now or \"YYYY-MM-DD HH:MM\""))
            return options;
        const QString when = words.join(QLatin1Char(' '));
        if (!when.isEmpty() && when != QLatin1String("now")) {
            options.clock = readClock(when, &options.error);
            if (!options.clock)
                return options;
        }
        options.command = Command::Time;
    } else if (command == QLatin1String("bridge")) {
        if (!expect(0, 0, "no arguments, only options") ||
            !options.bridge.read(parser, &options.error))
            return options;
        if (parser.isSet(asService) && !servicecommand::readRunOption(options))
            return options;
        options.command = Command::Bridge;
        options.serviceKind = ServiceKind::Bridge;
    } else if (command == QLatin1String("sync")) {
        if (!expect(0, 0, "no arguments"))
            return options;
        if (parser.isSet(asService) && !servicecommand::readRunOption(options))
            return options;
        options.command = Command::Sync;
        options.requireSynced = parser.isSet(requireSynced);
    } else if (command == QLatin1String("clock")) {
        if (!expect(0, 0, "no arguments"))
            return options;
        options.command = Command::Clock;
    } else if (command == QLatin1String("service")) {
        if (!servicecommand::read(words, port, parser, options))
            return options;
    } else {
        options.error = QStringLiteral("unknown command %1 (%2)").arg(quoted(command), kCommands);
        return options;
    }
    if (parser.isSet(requireSynced) && options.command != Command::Sync) {
        options.error = QStringLiteral("--require-synced: only with sync");
        return options;
    }
    if (!readTimeZoneOption(parser, options))
        return options;
    const bool bridgeInstall =
        options.command == Command::ServiceInstall && options.serviceKind == ServiceKind::Bridge;
    if (options.command != Command::Bridge && !bridgeInstall) {
        options.error = BridgeOptions::strayOption(parser);
        if (!options.error.isEmpty())
            return options;
    }
    options.outcome = Outcome::Run;
    return options;
}

} // namespace velk
