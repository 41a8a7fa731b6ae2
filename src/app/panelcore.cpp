#include "app/panelcore.h"

#include "app/devicewait.h"
#include "app/eventbindings.h"
#include "clock/clockcapture.h"
#include "clock/datetimeentry.h"
#include "clocksync/clockcommands.h"
#include "clocksync/statuspanels.h"
#include "clocksync/ticker.h"
#include "clocksync/tickhandler.h"
#include "connection/connectioncommands.h"
#include "connection/portcontrol.h"
#include "connection/settingsdialoghost.h"
#include "controls/windowcontrols.h"
#include "titles/titlecommands.h"
#include "titles/titlerule.h"
#include "transmit/transmitter.h"

namespace velk {

PanelCore::PanelCore(MainWindowControls& c, Line& port, const LocalClock& clock,
                     const DialogHostFactory& makeDialogHost, const ClockStateSource* clockState,
                     WallClockAlarm* alarm)
    : m_controls(c) {
    m_portControl = std::make_unique<PortControl>(m_settings, port, c.statusBar, c.messageBox);
    m_dialogHost = makeDialogHost(m_settings, m_startSettings, *m_portControl);
    m_connection = std::make_unique<ConnectionCommands>(
        port, *m_portControl, *c.menu[ConnectionCommands::kConnect],
        *c.menu[ConnectionCommands::kDisconnect], c.messageBox, *m_dialogHost);
    m_transmitter = std::make_unique<Transmitter>(port, c.messageBox);
    m_titles = std::make_unique<TitleCommands>(*m_transmitter, c.address, c.title, c.messageBox);
    m_entry = std::make_unique<DateTimeEntry>(DateTimeSelectors{
        c.hour, c.minute, c.second, {*c.day[0], *c.day[1], *c.day[2], *c.day[3]}, c.month, c.year});
    m_capture = std::make_unique<ClockCapture>(clock);
    m_clockCommands = std::make_unique<ClockCommands>(*m_transmitter, *m_entry, *m_capture);
    m_status = std::make_unique<StatusPanels>(c.statusBar, clock);
    m_deviceWait = std::make_unique<DeviceWait>(port, *m_connection, *m_status);
    m_tick = std::make_unique<TickHandler>(clock, c.timeDisplay, c.dateDisplay, c.sync, *m_capture,
                                           *m_transmitter, *m_clockCommands, *m_status, clockState);
    m_ticker = std::make_unique<Ticker>(clock, alarm);

    // The title box takes only what the line can carry.
    c.title.setInputFilter(titlerule::inputFilter());

    bindMainWindowEvents(
        c, *m_ticker, port,
        {*m_connection, *m_titles, *m_clockCommands, *m_entry, *m_tick, *m_status, *m_deviceWait});
}

PanelCore::~PanelCore() {
    m_ticker->stop();
}

void PanelCore::load(const StartSettings& start) {
    MainWindowControls& c = m_controls;
    m_titles->setDefaultTitle(kDefaultTitle);

    // Comport 1, 9600,N,8,1 unless the command line chose otherwise.
    m_startSettings = start.port;
    m_settings = start.port;

    c.hourMode.select(start.twelveHour ? 0 : 1); // "  12 Hour" or "  24 Hour"
    m_capture->capturePcClock(*m_entry);
    m_entry->fillClockSelectors();
    c.address.setListIndex(0); // "Master", which brings the default title into the title box
    c.sync.setChecked(start.sync);
    m_tick->showDisplays();
    m_portControl->showPortStatus();
    if (start.portGiven)
        m_portControl->applyPortSettings();
    m_deviceWait->setEnabled(start.reconnect);
    m_connectAtStart = start.connect;
}

void PanelCore::started() {
    // A device not there yet when the run starts (an adapter still being set up after a reboot)
    // is waited for as one that vanished, when the run asked for waiting.
    if (m_connectAtStart)
        m_connection->connectAtStart([this] { m_deviceWait->portLost(); });
}

} // namespace velk
