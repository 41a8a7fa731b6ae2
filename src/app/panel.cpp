#include "app/panel.h"

#include "app/eventbindings.h"
#include "app/settingsdialogwindow.h"
#include "clock/clockcapture.h"
#include "clock/datetimeentry.h"
#include "controls/localclock.h"
#include "controls/serialport.h"
#include "protocol/clockcommands.h"
#include "protocol/ticker.h"
#include "protocol/tickhandler.h"
#include "protocol/titlecommands.h"
#include "protocol/transmitter.h"
#include "serial/connectioncommands.h"
#include "serial/portcontrol.h"
#include "ui/mainwindow.h"

namespace velk {

Panel::Panel(std::unique_ptr<SerialPort> port, const LocalClock& clock)
    : m_port(std::move(port)), m_clock(clock), m_window(std::make_unique<MainWindow>()) {
    MainWindowControls& c = m_window->controls();
    m_portControl = std::make_unique<PortControl>(m_settings, *m_port, c.statusBar, c.messageBox);
    m_settingsDialog = std::make_unique<SettingsDialogWindow>(m_settings, *m_portControl);
    m_connection = std::make_unique<ConnectionCommands>(
        *m_port, *m_portControl, *c.menu[ConnectionCommands::kConnect],
        *c.menu[ConnectionCommands::kDisconnect], c.messageBox, *m_settingsDialog);
    m_transmitter = std::make_unique<Transmitter>(*m_port, c.messageBox);
    m_titles = std::make_unique<TitleCommands>(*m_transmitter, c.address, c.title, c.messageBox);
    m_entry = std::make_unique<DateTimeEntry>(
        DateTimeSelectors{c.hour,
                          c.minute,
                          c.second,
                          {*c.day[0], *c.day[1], *c.day[2], *c.day[3]},
                          c.month,
                          c.year});
    m_capture = std::make_unique<ClockCapture>(m_clock);
    m_clockCommands = std::make_unique<ClockCommands>(*m_transmitter, *m_entry, *m_capture);
    m_tick = std::make_unique<TickHandler>(m_clock, c.timeDisplay, c.dateDisplay, c.sync,
                                           *m_capture, *m_transmitter, *m_clockCommands);
    m_ticker = std::make_unique<Ticker>(m_clock);

    bindMainWindowEvents(c, *m_ticker, *m_port,
                         {*m_connection, *m_titles, *m_clockCommands, *m_entry, *m_tick});
}

Panel::~Panel() {
    m_ticker->stop();
}

void Panel::load() {
    MainWindowControls& c = m_window->controls();
    m_titles->setDefaultTitle(kDefaultTitle);

    m_settings.baudRate = QStringLiteral("9600");
    m_settings.dataBits = QStringLiteral("8");
    m_settings.parityLetter = QStringLiteral("N");
    m_settings.stopBits = QStringLiteral("1");
    m_settings.portNumber = 1;

    c.hourMode.select(1); // "  24 Hour"
    m_capture->capturePcClock(*m_entry);
    m_entry->fillClockSelectors();
    c.address.setListIndex(0); // "Master", which brings the default title into the title box
    c.sync.setChecked(false);
    m_tick->showDisplays();
    m_portControl->showPortStatus();
}

void Panel::start() {
    m_window->show();
    m_ticker->start();
}

} // namespace velk
