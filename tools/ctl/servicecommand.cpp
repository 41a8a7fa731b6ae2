#include "ctl/servicecommand.h"

#include "ctl/ctloptions.h"
#include "ctl/servicehost.h"

namespace velk::servicecommand {

QCommandLineOption runOption() {
    QCommandLineOption option(QStringLiteral("as-service"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

bool read(const QStringList& words, const PortOptions& port, CtlOptions& options) {
    if (const QString reason = servicehost::unavailableReason(); !reason.isEmpty()) {
        options.error = QStringLiteral("service: ") + reason;
        return false;
    }
    const QString action = words.value(0);
    if (words.size() != 1 ||
        (action != QLatin1String("install") && action != QLatin1String("remove"))) {
        options.error = QStringLiteral("service: expected install or remove");
        return false;
    }
    // Each port has its own service, so the port is never taken by default.
    if (!port.port()) {
        options.error = QStringLiteral("service %1: expected --port COMn").arg(action);
        return false;
    }
    options.command = action == QLatin1String("install") ? CtlOptions::Command::ServiceInstall
                                                         : CtlOptions::Command::ServiceRemove;
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
    return options.port.device.isEmpty() ? QStringLiteral("COM%1").arg(options.port.number)
                                         : options.port.device;
}

QString serviceName(const CtlOptions& options) {
    return QStringLiteral("VELK-Pro sync ") + portName(options);
}

QStringList serviceArguments(const CtlOptions& options) {
    QStringList arguments{QStringLiteral("--port"), portName(options)};
    if (options.line != LineSettings())
        arguments << QStringLiteral("--settings") << options.line.text();
    return arguments << QStringLiteral("sync") << QStringLiteral("--as-service");
}

} // namespace velk::servicecommand
