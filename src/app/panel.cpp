#include "app/panel.h"

#include "app/settingsdialogwindow.h"
#include "controls/serialport.h"
#include "protocol/ticker.h"
#include "system/terminationwatcher.h"
#include "ui/mainwindow.h"

namespace velk {

Panel::Panel(std::unique_ptr<SerialPort> port, const LocalClock& clock)
    : m_port(std::move(port)), m_window(std::make_unique<MainWindow>()) {
    m_core = std::make_unique<PanelCore>(
        m_window->controls(), *m_port, clock, [this](PortSettings& settings, PortControl& control) {
            auto dialog = std::make_unique<SettingsDialogWindow>(settings, control);
            m_settingsDialog = dialog.get();
            return dialog;
        });
}

Panel::~Panel() = default;

void Panel::start() {
    m_window->show();
    m_core->ticker().start();
}

void Panel::closeOnRequest(TerminationWatcher& watcher) {
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, m_window.get(),
                     &QWidget::close);
    // No later chance to hand pending bytes to the line: the process may end at any moment.
    QObject::connect(&watcher, &TerminationWatcher::endingNow, m_window.get(),
                     [this] { m_port->close(); });
}

} // namespace velk
