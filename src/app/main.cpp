#include "app/panel.h"
#include "controls/localclock.h"
#include "port/qtserialport.h"
#include "port/systemportmapping.h"
#include "system/terminationwatcher.h"
#include "ui/fontengine.h"
#include "ui/fontwarmup.h"
#include "ui/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    velk::requestFontEngine();
    const velk::FontWarmup fontWarmup;
    QApplication app(argc, argv);
    // The window is drawn to fixed twip positions; Fusion keeps the controls' metrics the same
    // on every desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QStringLiteral("velk-pro"));
    QApplication::setApplicationVersion(QStringLiteral(VELK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("velk-pro"));

    // Declared before the panel so it outlives the panel's last flush of the line.
    velk::TerminationWatcher watcher;
    velk::SystemClock clock;
    velk::Panel panel(
        std::make_unique<velk::QtSerialPort>(std::make_unique<velk::SystemPortMapping>()), clock);
    // Closing the main window ends the program at once, whatever else is open.
    QObject::connect(&panel.window(), &velk::MainWindow::closed, &app, &QApplication::quit);
    panel.closeOnRequest(watcher);
    panel.load();
    panel.start();
    return QApplication::exec();
}
