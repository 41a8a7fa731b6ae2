#include "app/startoptions.h"

#include "connection/settingsdialoglogic.h"
#include "port/portoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>

namespace velk {

namespace {

const QString kConnect = QStringLiteral("connect");
const QString kSync = QStringLiteral("sync");
const QString kTwelveHour = QStringLiteral("12h");
const QString kReconnect = QStringLiteral("reconnect");
const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
// The options that take no value.
const QStringList kSwitches = {kConnect, kSync, kTwelveHour, kReconnect, kHelp, kVersion};

// The options Qt itself takes from a window program's command line (the application, the
// widgets, the X11 and Windows platforms), and whether each takes a value, which may come as the
// next argument; the first reading leaves them to Qt.
const QHash<QString, bool> kQtOptions = {{QStringLiteral("platform"), true},
                                         {QStringLiteral("platformpluginpath"), true},
                                         {QStringLiteral("platformtheme"), true},
                                         {QStringLiteral("plugin"), true},
                                         {QStringLiteral("qmljsdebugger"), true},
                                         {QStringLiteral("qwindowgeometry"), true},
                                         {QStringLiteral("qwindowicon"), true},
                                         {QStringLiteral("qwindowtitle"), true},
                                         {QStringLiteral("reverse"), false},
                                         {QStringLiteral("session"), true},
                                         {QStringLiteral("style"), true},
                                         {QStringLiteral("stylesheet"), true},
                                         {QStringLiteral("widgetcount"), false},
                                         {QStringLiteral("display"), true},
                                         {QStringLiteral("geometry"), true},
                                         {QStringLiteral("title"), true},
                                         {QStringLiteral("name"), true},
                                         {QStringLiteral("visual"), true},
                                         {QStringLiteral("ncols"), true},
                                         {QStringLiteral("cmap"), false},
                                         {QStringLiteral("im"), true},
                                         {QStringLiteral("inputstyle"), true},
                                         {QStringLiteral("nograb"), false},
                                         {QStringLiteral("dograb"), false},
                                         {QStringLiteral("dialogs"), true},
                                         {QStringLiteral("fontengine"), true},
                                         {QStringLiteral("testability"), false}};

// Every option, as a refusal lists what the panel takes.
const QString kTaken = QStringLiteral("the panel takes --port, --settings, --connect, --sync, "
                                      "--12h, --reconnect, --help and --version");

void configure(QCommandLineParser& parser) {
    // "-platform" must read as one unknown word, never as -p -l -a ...; Qt takes it itself.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Control panel for clock and title displays on a serial line."));
    // Not Qt's own help option: its --help-all would need the application object.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), kHelp},
                                        QStringLiteral("Show this help and end.")));
    parser.addOption(QCommandLineOption({QStringLiteral("v"), kVersion},
                                        QStringLiteral("Show the version and end.")));
    PortOptions::addTo(parser);
    parser.addOption(
        QCommandLineOption(kConnect, QStringLiteral("Press CONNECT once the window is up.")));
    parser.addOption(QCommandLineOption(kSync, QStringLiteral("Tick \"Sync Time Date\".")));
    parser.addOption(
        QCommandLineOption(kTwelveHour, QStringLiteral("Show the time in 12-hour form.")));
    parser.addOption(QCommandLineOption(
        kReconnect, QStringLiteral("When the device vanishes, try the port again every 2 s "
                                   "until it is back, then carry on connected.")));
}

// The option an argument names, without its dashes and value; empty for anything else.
QString optionName(const QString& argument) {
    if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
        return {};
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.left(name.indexOf(QLatin1Char('=')));
}

// The option that ends the line still waiting for its value, if any.
QString optionWithoutValue(const QStringList& arguments) {
    for (int index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (argument == QLatin1String("--"))
            return {};
        if (argument.contains(QLatin1Char('=')))
            continue;
        const QString name = optionName(argument);
        if (PortOptions::missingValueText(name).isEmpty())
            continue;
        if (index + 1 == arguments.size())
            return name;
        ++index; // its value
    }
    return {};
}

// The arguments without Qt's own options and their values, as Qt leaves them once it has
// taken its own.
QStringList withoutQtOptions(const QStringList& arguments) {
    QStringList kept = arguments.mid(0, 1);
    for (int index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (argument == QLatin1String("--")) {
            kept += arguments.mid(index);
            break;
        }
        const QString name = optionName(argument);
        const bool valueFollows = !argument.contains(QLatin1Char('='));
        if (kQtOptions.contains(name)) {
            if (kQtOptions.value(name) && valueFollows)
                ++index;
            continue;
        }
        kept << argument;
        // One of ours waiting for its value keeps it, whatever it looks like.
        if (valueFollows && !PortOptions::missingValueText(name).isEmpty() &&
            index + 1 < arguments.size())
            kept << arguments.at(++index);
    }
    return kept;
}

// The first argument naming one of `names`, as it was typed (with a value when `withValue`).
QString typed(const QStringList& arguments, const QStringList& names, bool withValue = false) {
    for (int index = 1; index < arguments.size(); ++index) {
        const QString& argument = arguments.at(index);
        if (argument == QLatin1String("--"))
            break;
        const QString name = optionName(argument);
        if (name.isEmpty() || !names.contains(name))
            continue;
        if (!withValue)
            return argument.section(QLatin1Char('='), 0, 0);
        if (argument.contains(QLatin1Char('=')))
            return argument;
    }
    return {};
}

// The baud rates the settings dialog offers; the options set nothing it could not show.
bool dialogOffers(qint32 baudRate) {
    return SettingsDialogLogic::entries(SettingsDialogLogic::kBaudRate)
        .contains(QString::number(baudRate));
}

} // namespace

StartOptions::Outcome StartOptions::read(const QStringList& given, bool leaveQtOptions) {
    m_settings = StartSettings();
    m_refusal.clear();
    const QStringList arguments = leaveQtOptions ? withoutQtOptions(given) : given;
    QCommandLineParser parser;
    configure(parser);
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(kHelp))
        return Outcome::Help;
    if (parser.isSet(kVersion))
        return Outcome::Version;

    if (const QString name = optionWithoutValue(arguments); !name.isEmpty())
        return refuse(PortOptions::missingValueText(name));
    if (!parsed) {
        if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty())
            return refuse(
                QStringLiteral("unknown option \"%1\"; %2").arg(typed(arguments, unknown), kTaken));
        if (const QString value = typed(arguments, kSwitches, true); !value.isEmpty())
            return refuse(QStringLiteral("%1: takes no value, got \"%2\"")
                              .arg(value.section(QLatin1Char('='), 0, 0), value));
        return refuse(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument \"%1\"; %2")
                          .arg(parser.positionalArguments().constFirst(), kTaken));

    PortOptions port;
    QString why;
    if (!port.read(parser, &why))
        return refuse(why);
    if (port.settings() && !dialogOffers(port.settings()->baudRate)) {
        const QStringList rates = SettingsDialogLogic::entries(SettingsDialogLogic::kBaudRate);
        return refuse(QStringLiteral("--settings: the panel offers %1 or %2 baud, got \"%3\"")
                          .arg(rates.mid(0, rates.size() - 1).join(QStringLiteral(", ")),
                               rates.constLast(), parser.value(QStringLiteral("settings"))));
    }

    StartSettings& start = m_settings;
    start.portGiven = port.port() || port.settings();
    if (port.port())
        start.port.lineName = *port.port();
    if (port.settings())
        start.port.line = *port.settings();
    start.connect = parser.isSet(kConnect);
    start.sync = parser.isSet(kSync);
    start.twelveHour = parser.isSet(kTwelveHour);
    start.reconnect = parser.isSet(kReconnect);
    return Outcome::Run;
}

StartOptions::Outcome StartOptions::refuse(const QString& why) {
    m_settings = StartSettings();
    m_refusal = why;
    return Outcome::Refused;
}

QString StartOptions::helpText() {
    QCommandLineParser parser;
    configure(parser);
    // Without the application object Qt cannot name the program itself.
    return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                     QCoreApplication::applicationName());
}

QString StartOptions::versionText() {
    return QCoreApplication::applicationName() + QLatin1Char(' ') +
           QCoreApplication::applicationVersion();
}

} // namespace velk
