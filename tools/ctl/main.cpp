#include "clock/zonedclock.h"
#include "controls/clockstatetext.h"
#include "controls/localclock.h"
#include "ctl/bridgerun.h"
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

namespace {

// `service install` and `service remove`: what was done, or why not, in one line.
int runServiceCommand(const velk::CtlOptions& options) {
    QString said;
    const int status = options.command == velk::CtlOptions::Command::ServiceInstall
                           ? velk::servicehost::install(options, &said)
                           : velk::servicehost::remove(options, &said);
    QTextStream(status == 0 ? stdout : stderr) << "velk-ctl: " << said << Qt::endl;
    return status;
}

// The bridge under the Service Control Manager: a stop ends it as Ctrl+C does, and its log
// reaches the event log.
int runBridgeService(const velk::CtlOptions& options, velk::Line& port,
                     const velk::LocalClock& clock, const velk::ClockStateSource& clockState) {
    velk::ServiceHost service(velk::servicecommand::serviceName(options));
    if (const QString failure = service.attach(); !failure.isEmpty()) {
        QTextStream(stderr) << "velk-ctl: " << failure << Qt::endl;
        return 1;
    }
    QObject::connect(&service, &velk::ServiceHost::stopRequested, &service,
                     [] { velk::TerminationWatcher::requestTermination(); });
    const int status = velk::runBridge(options, port, clock, clockState);
    service.finish(status);
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    velk::logToStandardError();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velk-ctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);

    const velk::CtlOptions options = velk::CtlOptions::parse(QCoreApplication::arguments());
    switch (options.outcome) {
    case velk::CtlOptions::Outcome::Help:
        out << options.help << Qt::flush;
        return 0;
    case velk::CtlOptions::Outcome::Version:
        out << "velk-ctl " << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    case velk::CtlOptions::Outcome::UsageError:
        err << "velk-ctl: " << options.error << Qt::endl;
        return 2;
    case velk::CtlOptions::Outcome::Run:
        break;
    }

    const velk::SystemClockState clockState;
    if (options.command == velk::CtlOptions::Command::Clock) {
        const velk::ClockState state = clockState.read();
        out << velk::clockStateLine(state) << Qt::endl;
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

    if (options.command == velk::CtlOptions::Command::ServiceInstall ||
        options.command == velk::CtlOptions::Command::ServiceRemove)
        return runServiceCommand(options);

    const velk::SystemClock systemClock;
    const velk::ZonedClock clock(systemClock, options.timeZone);
    QString why;
    const std::unique_ptr<velk::Line> port =
        velk::makeLine(options.port, std::make_unique<velk::SystemPortMapping>(), &why,
                       velk::PortChooser::CommandLine);
    if (!port) {
        err << "velk-ctl: --port: " << why << Qt::endl;
        return 2;
    }
    if (options.command == velk::CtlOptions::Command::Bridge)
        return options.asService ? runBridgeService(options, *port, clock, clockState)
                                 : velk::runBridge(options, *port, clock, clockState);
    if (options.command != velk::CtlOptions::Command::Sync) {
        velk::runOnce(options, *port, clock, [&err](int status, const QString& failure) {
            if (status != 0)
                err << "velk-ctl: " << failure << Qt::endl;
            // Queued: the port may still be inside its own notification.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [status] { QCoreApplication::exit(status); },
                Qt::QueuedConnection);
        });
        return QCoreApplication::exec();
    }

    // A service's log says what it did: the sync's comings and goings, not only its failures.
    // QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("velk.*.info=true"));
    // Under the Service Control Manager nobody reads standard error: failures are logged too,
    // and reach the system's event log.
    velk::ServiceHost service(velk::servicecommand::serviceName(options));
    const auto fail = [&](const QString& failure, int status) {
        err << "velk-ctl: " << failure << Qt::endl;
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
    velk::SyncService sync(*port, clock, clockState, &alarm);
    sync.start(options, [&fail](const QString& failure) {
        if (failure.isEmpty())
            return;
        fail(failure, 1);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    });
    const auto stop = [&] {
        sync.stop([&err](qint64 unsent) {
            if (unsent > 0)
                err << "velk-ctl: " << velk::unsentBytesDescription(unsent) << Qt::endl;
            // As for the single commands: bytes the line would not take are a failure.
            QCoreApplication::exit(unsent > 0 ? 1 : 0);
        });
    };
    QObject::connect(&watcher, &velk::TerminationWatcher::terminationRequested, &app, stop);
    // A service stop or the system shutting down ends the sync as Ctrl+C does.
    QObject::connect(&service, &velk::ServiceHost::stopRequested, &app, stop);
    const int status = QCoreApplication::exec();
    service.finish(status);
    return status;
}
