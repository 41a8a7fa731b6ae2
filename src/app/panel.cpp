#include "app/panel.h"

#include "app/settingsdialogwindow.h"
#include "clocksync/ticker.h"
#include "port/line.h"
#include "port/portdescriptions.h"
#include "system/terminationwatcher.h"
#include "ui/mainwindow.h"

#include <QTimer>
#include <cstdio>

namespace velk {

Panel::Panel(std::unique_ptr<Line> port, const LocalClock& clock,
             const ClockStateSource* clockState, WallClockAlarm* alarm)
    : m_port(std::move(port)), m_window(std::make_unique<MainWindow>()) {
    m_core = std::make_unique<PanelCore>(
        m_window->controls(), *m_port, clock,
        [this](PortSettings& settings, const PortSettings& start, PortControl& control) {
            auto dialog = std::make_unique<SettingsDialogWindow>(settings, start, control);
            m_settingsDialog = dialog.get();
            return dialog;
        },
        clockState, alarm);
}

Panel::~Panel() {
    // Still open only when the event loop ended some other way: the port's own destructor then
    // hands over what it can, bounded as closing is.
    m_core->ticker().stop();
}

void Panel::closeLineThen(const Handler& done) {
    // Exit waits for pending bytes as Disconnect does, with the event loop still turning. What
    // the line would not take can only be told on standard error now that the window is gone.
    m_core->ticker().stop();
    m_port->close([done](qint64 unsent) {
        if (unsent > 0)
            std::fprintf(stderr, "velk-pro: %s\n", qPrintable(unsentBytesDescription(unsent)));
        raise(done);
    });
}

void Panel::start() {
    m_window->show();
    m_core->ticker().start();
    // After the window is up, so a failure's message box stands over it.
    QTimer::singleShot(0, m_window.get(), [this] { m_core->started(); });
}

void Panel::closeOnRequest(TerminationWatcher& watcher) {
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, m_window.get(),
                     &QWidget::close);
    // No later chance to hand pending bytes to the line: the process may end at any moment.
    QObject::connect(&watcher, &TerminationWatcher::endingNow, m_window.get(),
                     [this] { m_port->close(); });
}

} // namespace velk
