#include "clock/zonedclock.h"
#include "controls/clockstatetext.h"
#include "controls/localclock.h"
#include "ctl/bridgerun.h"
#include "ctl/busrun.h"
#include "ctl/ctloptions.h"
#include "ctl/oneshot.h"
#include "ctl/servicecommand.h"
#include "ctl/servicehost.h"
#include "ctl/syncservice.h"
#include "port/line.h"
#include "port/lineports.h"
#include "port/portdescriptions.h"
#include "port/systemportmapping.h"
#include "system/parentconsole.h"
#include "system/systemclockstate.h"
#include "system/systemwallclockalarm.h"
#include "system/terminationwatcher.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>
#include <optional>

namespace {

// Ends the event loop with `status`, queued: the port or the broker may still be inside its own
// notification.
void exitLater(int status) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [status] { QCoreApplication::exit(status); },
        Qt::QueuedConnection);
}

void printFailure(const QString& failure) {
    QTextStream(stderr) << "velk-ctl: " << failure << Qt::endl;
}

// Help, version and refusals: the status to end with at once; nothing for a run.
std::optional<int> answerAtOnce(const velk::CtlOptions& options) {
    QTextStream out(stdout);
    switch (options.outcome) {
    case velk::CtlOptions::Outcome::Help:
        out << options.help << Qt::flush;
        return 0;
    case velk::CtlOptions::Outcome::Version:
        out << "velk-ctl " << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    case velk::CtlOptions::Outcome::UsageError:
        printFailure(options.error);
        return 2;
    case velk::CtlOptions::Outcome::Run:
        break;
    }
    return std::nullopt;
}

// `clock`: the PC clock's state, and the exit status that says it.
int runClockCommand(const velk::ClockStateSource& clockState) {
    const velk::ClockState state = clockState.read();
    QTextStream(stdout) << velk::clockStateLine(state) << Qt::endl;
    switch (state.sync) {
    case velk::ClockState::Sync::Synchronised:
        return 0;
    case velk::ClockState::Sync::NotSynchronised:
        return 3;
    case velk::ClockState::Sync::Unknown:
        break;
    }
    return 4;
}

// `service install` and `service remove`: what was done, or why not, in one line.
int runServiceCommand(const velk::CtlOptions& options) {
    QString said;
    const int status = options.command == velk::CtlOptions::Command::ServiceInstall
                           ? velk::servicehost::install(options, &said)
                           : velk::servicehost::remove(options, &said);
    QTextStream(status == 0 ? stdout : stderr) << "velk-ctl: " << said << Qt::endl;
    return status;
}

// title, clear, time and status through the line's bridge on the broker.
int runBusCommand(const velk::CtlOptions& options) {
    velk::runOnBus(
        options, [](const QString& report) { QTextStream(stdout) << report << Qt::flush; },
        [](int status, const QString& failure) {
            if (status != 0)
                printFailure(failure);
            exitLater(status);
        });
    return QCoreApplication::exec();
}

// `sync`: the minute sync until a request to end, as a service where asked.
int runSync(const velk::CtlOptions& options, velk::Line& port, const velk::LocalClock& clock,
            const velk::ClockStateSource& clockState) {
    // A service's log says what it did: the sync's comings and goings, not only its failures.
    // QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("velk.*.info=true"));
    // Under the Service Control Manager nobody reads standard error: failures are logged too,
    // and reach the system's event log.
    velk::ServiceHost service(velk::servicecommand::serviceName(options));
    const auto fail = [&](const QString& failure, int status) {
        printFailure(failure);
        if (options.asService)
            qCritical().noquote() << "velk-ctl:" << failure;
        service.finish(status);
        return status;
    };
    if (options.asService) {
        if (const QString failure = service.attach(); !failure.isEmpty())
            return fail(failure, 1);
    }
    // Taken over before the port opens, so a request to end always flushes the line.
    velk::TerminationWatcher watcher;
    velk::SystemWallClockAlarm alarm;
    velk::SyncService sync(port, clock, clockState, &alarm);
    sync.start(options, [&fail](const QString& failure) {
        if (failure.isEmpty())
            return;
        fail(failure, 1);
        exitLater(1);
    });
    const auto stop = [&] {
        sync.stop([](qint64 unsent) {
            if (unsent > 0)
                printFailure(velk::unsentBytesDescription(unsent));
            // As for the single commands: bytes the line would not take are a failure.
            QCoreApplication::exit(unsent > 0 ? 1 : 0);
        });
    };
    QObject::connect(&watcher, &velk::TerminationWatcher::terminationRequested,
                     QCoreApplication::instance(), stop);
    // A service stop or the system shutting down ends the sync as Ctrl+C does.
    QObject::connect(&service, &velk::ServiceHost::stopRequested, QCoreApplication::instance(),
                     stop);
    const int status = QCoreApplication::exec();
    service.finish(status);
    return status;
}

// The bridge under the Service Control Manager: a stop ends it as Ctrl+C does, and its log
// reaches the event log.
int runBridgeService(const velk::CtlOptions& options, velk::Line& port,
                     const velk::LocalClock& clock, const velk::ClockStateSource& clockState) {
    velk::ServiceHost service(velk::servicecommand::serviceName(options));
    if (const QString failure = service.attach(); !failure.isEmpty()) {
        printFailure(failure);
        return 1;
    }
    QObject::connect(&service, &velk::ServiceHost::stopRequested, &service,
                     [] { velk::TerminationWatcher::requestTermination(); });
    const int status = velk::runBridge(options, port, clock, clockState);
    service.finish(status);
    return status;
}

// The commands that drive the line itself: bridge, sync, title, clear and time.
int runOnLine(const velk::CtlOptions& options, const velk::ClockStateSource& clockState) {
    const velk::SystemClock systemClock;
    const velk::ZonedClock clock(systemClock, options.timeZone);
    QString why;
    const std::unique_ptr<velk::Line> port =
        velk::makeLine(options.port, std::make_unique<velk::SystemPortMapping>(), &why,
                       velk::PortChooser::CommandLine);
    if (!port) {
        printFailure(QStringLiteral("--port: ") + why);
        return 2;
    }
    if (options.command == velk::CtlOptions::Command::Bridge)
        return options.asService ? runBridgeService(options, *port, clock, clockState)
                                 : velk::runBridge(options, *port, clock, clockState);
    if (options.command == velk::CtlOptions::Command::Sync)
        return runSync(options, *port, clock, clockState);
    velk::runOnce(options, *port, clock, [](int status, const QString& failure) {
        if (status != 0)
            printFailure(failure);
        exitLater(status);
    });
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char* argv[]) {
    velk::logToStandardError();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velk-ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));

    const velk::CtlOptions options = velk::CtlOptions::parse(QCoreApplication::arguments());
    if (const std::optional<int> status = answerAtOnce(options))
        return *status;
    const velk::SystemClockState clockState;
    switch (options.command) {
    case velk::CtlOptions::Command::Clock:
        return runClockCommand(clockState);
    case velk::CtlOptions::Command::ServiceInstall:
    case velk::CtlOptions::Command::ServiceRemove:
        return runServiceCommand(options);
    default:
        break;
    }
    if (options.port.isBus())
        return runBusCommand(options);
    return runOnLine(options, clockState);
}
