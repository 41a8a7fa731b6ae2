#include "ctl/servicecommand.h"

#include "ctl/bridgeoptions.h"
#include "ctl/ctloptions.h"
#include "ctl/servicehost.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace velk::servicecommand {

namespace {

const QString kSyncPrefix = QStringLiteral("VELK-Pro sync ");
const QString kBridgePrefix = QStringLiteral("VELK-Pro bridge ");

// Options that are velk-ctl's own, not the bridge's; flags of the bridge's that take no value.
const QStringList kNotBridge = {QStringLiteral("port"), QStringLiteral("settings"),
                                QStringLiteral("as-service"), QStringLiteral("require-synced"),
                                QStringLiteral("time-zone")};
const QStringList kBridgeFlags = {QStringLiteral("no-discovery"), QStringLiteral("no-sync")};
// Files the service reads later, from another working directory.
const QStringList kBridgeFiles = {QStringLiteral("credentials"), QStringLiteral("ca")};

// The bridge's options as given, for the service's own command line.
QStringList bridgeArguments(const QCommandLineParser& parser) {
    QStringList arguments;
    for (const QString& name : parser.optionNames()) {
        if (kNotBridge.contains(name) || arguments.contains(QStringLiteral("--") + name))
            continue;
        arguments << QStringLiteral("--") + name;
        if (kBridgeFlags.contains(name))
            continue;
        const QString value = parser.value(name);
        arguments << (kBridgeFiles.contains(name)
                          ? QDir::toNativeSeparators(QFileInfo(value).absoluteFilePath())
                          : value);
    }
    return arguments;
}

} // namespace

QCommandLineOption runOption() {
    QCommandLineOption option(QStringLiteral("as-service"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

bool read(const QStringList& words, const PortOptions& port, const QCommandLineParser& parser,
          CtlOptions& options) {
    if (const QString reason = servicehost::unavailableReason(); !reason.isEmpty()) {
        options.error = QStringLiteral("service: ") + reason;
        return false;
    }
    const QString action = words.value(0);
    const bool bridge = words.value(1) == QLatin1String("bridge");
    if (words.size() != (bridge ? 2 : 1) ||
        (action != QLatin1String("install") && action != QLatin1String("remove"))) {
        options.error = QStringLiteral("service: expected install or remove, then bridge for "
                                       "the bridge");
        return false;
    }
    // Each line has its own service, so the line is never taken by default.
    if (!port.port()) {
        options.error = QStringLiteral("service %1: expected --port COMn").arg(action);
        return false;
    }
    options.command = action == QLatin1String("install") ? CtlOptions::Command::ServiceInstall
                                                         : CtlOptions::Command::ServiceRemove;
    options.serviceKind = bridge ? CtlOptions::ServiceKind::Bridge : CtlOptions::ServiceKind::Sync;
    // The bridge's options are checked now, not when the service first starts.
    if (bridge && options.command == CtlOptions::Command::ServiceInstall) {
        if (!options.bridge.read(parser, &options.error))
            return false;
        options.bridgeArguments = bridgeArguments(parser);
    }
    return true;
}

bool readRunOption(CtlOptions& options) {
    if (const QString reason = servicehost::unavailableReason(); !reason.isEmpty()) {
        options.error = QStringLiteral("--as-service: ") + reason;
        return false;
    }
    options.asService = true;
    return true;
}

QString portName(const CtlOptions& options) {
    switch (options.port.kind) {
    case LineName::Kind::Comport:
        return QStringLiteral("COM%1").arg(options.port.number);
    case LineName::Kind::Device:
        return QDir::toNativeSeparators(options.port.device);
    case LineName::Kind::Network:
    case LineName::Kind::Bus: // refused for services before this is asked
        break;
    }
    return options.port.text();
}

QString lineName(const CtlOptions& options) {
    // A service's name holds no path separator: \\.\COM20 is COM20.
    return options.port.kind == LineName::Kind::Comport
               ? portName(options)
               : BridgeOptions::lineName(options.port, options.port.device);
}

QString serviceName(const CtlOptions& options) {
    return (options.serviceKind == CtlOptions::ServiceKind::Bridge ? kBridgePrefix : kSyncPrefix) +
           lineName(options);
}

QString rivalName(const CtlOptions& options) {
    return (options.serviceKind == CtlOptions::ServiceKind::Bridge ? kSyncPrefix : kBridgePrefix) +
           lineName(options);
}

QStringList serviceArguments(const CtlOptions& options) {
    QStringList arguments{QStringLiteral("--port"), portName(options)};
    if (options.line != LineSettings())
        arguments << QStringLiteral("--settings") << options.line.text();
    if (options.serviceKind == CtlOptions::ServiceKind::Bridge)
        arguments << QStringLiteral("bridge") << options.bridgeArguments;
    else
        arguments << QStringLiteral("sync");
    if (options.timeZone.isValid())
        arguments << QStringLiteral("--time-zone") << QString::fromUtf8(options.timeZone.id());
    return arguments << QStringLiteral("--as-service");
}

} // namespace velk::servicecommand
