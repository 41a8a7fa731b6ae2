// The whole panel with its port on a pseudo-terminal: connects, ticks the sync box and leaves it
// running for a number of whole minutes, so that the clock groups on the line can be timed
// against the wall clock from the far end. With --naive the phase-locked Ticker is stopped and a
// free-running 1000 ms QTimer, as a plain timer would be written, drives the same tick handler:
// the baseline the Ticker is measured against.
//
//   bench-sync DEVICE MINUTES [--naive]
//
// Once the sync box is ticked it prints one line
//   window mode=phase-locked|naive from=MS first=MS last=MS
// with the wall-clock instant (ms since the epoch) and the first and last whole minutes the run
// covers; it closes the window a few seconds after the last of them.

#include "app/panel.h"
#include "clocksync/ticker.h"
#include "clocksync/tickhandler.h"
#include "controls/localclock.h"
#include "port/pinnedportmapping.h"
#include "port/qtserialport.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QTimer>

#include <cstdio>

namespace {

constexpr qint64 kMinuteMs = 60000;
constexpr int kNaiveIntervalMs = 1000;
// Past the last whole minute: a naive tick may send as late as the end of second 00, and the
// bytes still have to cross the line.
constexpr qint64 kTailMs = 3000;

bool click(QWidget& window, const char* name) {
    auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name));
    if (!button) {
        std::fprintf(stderr, "bench-sync: no button %s\n", name);
        return false;
    }
    button->click();
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    bool minutesOk = false;
    const int minutes = args.size() >= 3 ? args.at(2).toInt(&minutesOk) : 0;
    const bool naive = args.size() == 4 && args.at(3) == QLatin1String("--naive");
    if (!minutesOk || minutes <= 0 || args.size() > 4 || (args.size() == 4 && !naive)) {
        std::fprintf(stderr, "usage: bench-sync DEVICE MINUTES [--naive]\n");
        return 2;
    }

    velk::SystemClock clock;
    velk::Panel panel(std::make_unique<velk::QtSerialPort>(
                          std::make_unique<velk::PinnedPortMapping>(args.at(1), 1, nullptr)),
                      clock);
    QObject::connect(&panel.window(), &velk::MainWindow::closed, &app, &QApplication::quit);
    panel.load();
    panel.start();

    QTimer naiveTimer;
    if (naive) {
        // start() delivers no tick, so stopping right after it leaves the naive timer alone.
        panel.core().ticker().stop();
        naiveTimer.setInterval(kNaiveIntervalMs);
        QObject::connect(&naiveTimer, &QTimer::timeout, &app,
                         [&panel] { panel.core().tickHandler().tick(); });
        naiveTimer.start();
    }

    int status = 0;
    QTimer::singleShot(0, &app, [&] {
        QWidget& window = panel.window();
        auto* sync = window.findChild<QCheckBox*>(QStringLiteral("ChkSync"));
        if (!click(window, "CmdMenu(0)") || !panel.port().isOpen() || !sync) {
            std::fprintf(stderr, "bench-sync: could not connect to %s or find ChkSync\n",
                         qPrintable(args.at(1)));
            status = 1;
            QApplication::quit();
            return;
        }
        if (!sync->isChecked())
            sync->click();
        const qint64 from = QDateTime::currentMSecsSinceEpoch();
        const qint64 first = (from / kMinuteMs + 1) * kMinuteMs;
        const qint64 last = first + (minutes - 1) * kMinuteMs;
        std::printf("window mode=%s from=%lld first=%lld last=%lld\n",
                    naive ? "naive" : "phase-locked", static_cast<long long>(from),
                    static_cast<long long>(first), static_cast<long long>(last));
        std::fflush(stdout);
        QTimer::singleShot(int(last + kTailMs - from), &window, &QWidget::close);
    });
    const int code = QApplication::exec();
    return status != 0 ? status : code;
}
