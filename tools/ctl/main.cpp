#include "controls/localclock.h"
#include "ctl/bridgerun.h"
#include "ctl/ctloptions.h"
#include "ctl/oneshot.h"
#include "ctl/syncservice.h"
#include "port/portdescriptions.h"
#include "port/qtserialport.h"
#include "port/systemportmapping.h"
#include "system/terminationwatcher.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

int main(int argc, char* argv[]) {
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

    velk::SystemClock clock;
    velk::QtSerialPort port(options.port.mapping(std::make_unique<velk::SystemPortMapping>()));
    if (options.command == velk::CtlOptions::Command::Bridge)
        return velk::runBridge(options, port, clock);
    if (options.command != velk::CtlOptions::Command::Sync) {
        QString why;
        const int status = velk::runOnce(options, port, clock, &why);
        if (status != 0)
            err << "velk-ctl: " << why << Qt::endl;
        return status;
    }

    // A service's log says what it did: the sync's comings and goings, not only its failures.
    // QT_LOGGING_RULES still overrides this.
    QLoggingCategory::setFilterRules(QStringLiteral("velk.*.info=true"));
    // Taken over before the port opens, so a request to end always flushes the line.
    velk::TerminationWatcher watcher;
    velk::SyncService sync(port, clock);
    if (const QString failure = sync.start(options); !failure.isEmpty()) {
        err << "velk-ctl: " << failure << Qt::endl;
        return 1;
    }
    QObject::connect(&watcher, &velk::TerminationWatcher::terminationRequested, &app, [&] {
        if (const qint64 unsent = sync.stop(); unsent > 0)
            err << "velk-ctl: " << velk::unsentBytesDescription(unsent) << Qt::endl;
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}
