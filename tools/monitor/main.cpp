#include "monitor.h"

#include "monitor/monitoroptions.h"
#include "system/terminationwatcher.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <chrono>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Taken over before the port opens, so a request to end always gets the summary printed.
    velk::TerminationWatcher watcher;
    QTextStream out(stdout);
    QTextStream err(stderr);

    const velk::MonitorOptions options = velk::MonitorOptions::parse(app.arguments());
    switch (options.outcome) {
    case velk::MonitorOptions::Outcome::Help:
        out << velk::MonitorOptions::help() << Qt::flush;
        return 0;
    case velk::MonitorOptions::Outcome::UsageError:
        err << "velk-monitor: " << options.error << "\n"
            << velk::MonitorOptions::usage() << "Try velk-monitor --help for more.\n"
            << Qt::flush;
        return 2;
    case velk::MonitorOptions::Outcome::Run:
        break;
    }

    velk::Monitor monitor(options, out, err);
    if (const QString failure = monitor.start(); !failure.isEmpty()) {
        err << "velk-monitor: " << failure << Qt::endl;
        return 1;
    }
    QObject::connect(&watcher, &velk::TerminationWatcher::terminationRequested, &monitor,
                     &velk::Monitor::stop);
    QObject::connect(
        &monitor, &velk::Monitor::finished, &app,
        [&monitor] { QCoreApplication::exit(monitor.exitStatus()); }, Qt::QueuedConnection);
    if (options.durationMs > 0)
        QTimer::singleShot(std::chrono::milliseconds(options.durationMs), &monitor,
                           &velk::Monitor::stop);
    return app.exec();
}
