#include "app/panel.h"
#include "app/startoptions.h"
#include "controls/localclock.h"
#include "port/line.h"
#include "port/lineport.h"
#include "port/lineports.h"
#include "port/systemportmapping.h"
#include "system/parentconsole.h"
#include "system/systemclockstate.h"
#include "system/systemwallclockalarm.h"
#include "system/terminationwatcher.h"
#include "ui/fontengine.h"
#include "ui/fontwarmup.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <cstdio>
#include <optional>

namespace {

// The outcome of reading the command line, when it ends the run: the exit status.
std::optional<int> finish(velk::StartOptions& options, velk::StartOptions::Outcome outcome) {
    using Outcome = velk::StartOptions::Outcome;
    switch (outcome) {
    case Outcome::Help:
        std::fputs(qPrintable(velk::StartOptions::helpText()), stdout);
        return 0;
    case Outcome::Version:
        std::printf("%s\n", qPrintable(velk::StartOptions::versionText()));
        return 0;
    case Outcome::Refused:
        std::fprintf(stderr, "velk-pro: %s\n", qPrintable(options.refusal()));
        return 2;
    case Outcome::Run:
        break;
    }
    return std::nullopt;
}

QStringList rawArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("velk-pro"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));
    // Read once before Qt starts, so help, version and a wrong value need no display; what only
    // Qt knows (-platform ...) is left for the second reading, after Qt has taken its own.
    velk::useParentConsole();
    velk::logToStandardError();
    velk::StartOptions options;
    if (const std::optional<int> status =
            finish(options, options.read(rawArguments(argc, argv), true)))
        return *status;

    velk::requestFontEngine();
    const velk::FontWarmup fontWarmup;
    QApplication app(argc, argv);
    if (const std::optional<int> status =
            finish(options, options.read(QCoreApplication::arguments())))
        return *status;
    // The window is drawn to fixed twip positions; Fusion keeps the controls' metrics the same
    // on every desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QGuiApplication::setDesktopFileName(QStringLiteral("velk-pro"));

    const velk::StartSettings& start = options.settings();
    QString why;
    // The settings dialog can move the line between serial and network later on.
    const auto makePort = [](const velk::LineName& name, QString* refusal) {
        return velk::makeLine(name, std::make_unique<velk::SystemPortMapping>(), refusal);
    };
    std::unique_ptr<velk::Line> port = velk::LinePort::create(start.port.lineName, makePort, &why);
    if (!port) {
        std::fprintf(stderr, "velk-pro: --port: %s\n", qPrintable(why));
        return 2;
    }
    // Declared before the panel so it outlives the panel's last flush of the line.
    velk::TerminationWatcher watcher;
    velk::SystemClock clock;
    const velk::SystemClockState clockState;
    velk::SystemWallClockAlarm alarm;
    velk::Panel panel(std::move(port), clock, &clockState, &alarm);
    // Closing the main window ends the program at once, whatever else is open.
    QObject::connect(&panel.window(), &velk::MainWindow::closed, &app,
                     [&panel] { panel.closeLineThen(&QApplication::quit); });
    panel.closeOnRequest(watcher);
    panel.load(start);
    panel.start();
    return QApplication::exec();
}
