#pragma once

#include "app/startoptions.h"
#include "port/portsettings.h"

#include <QString>
#include <functional>
#include <memory>

namespace velk {

class ClockCapture;
class ClockStateSource;
class ClockCommands;
class ConnectionCommands;
class DateTimeEntry;
class DeviceWait;
class LocalClock;
class PortControl;
class Line;
class SettingsDialogHost;
class StatusPanels;
class TickHandler;
class Ticker;
class TitleCommands;
class Transmitter;
class WallClockAlarm;
struct MainWindowControls;

inline const QString kDefaultTitle = QStringLiteral("Title String ...");

// Every subsystem of the panel over the window's controls, with each event bound to its handler
// and the start-up sequence. It knows the controls only by their contracts, so the same core
// runs behind the Qt window and behind in-memory controls.
class PanelCore {
public:
    // Makes the settings dialog's host once the settings and the port control exist.
    // It gets the run's settings, what the run started from, and the port control.
    using DialogHostFactory = std::function<std::unique_ptr<SettingsDialogHost>(
        PortSettings&, const PortSettings&, PortControl&)>;

    // The clock's state, when given, is shown beside the PC time; the alarm, when given, starts
    // each minute's sync on the minute itself (see Ticker).
    PanelCore(MainWindowControls& controls, Line& port, const LocalClock& clock,
              const DialogHostFactory& makeDialogHost, const ClockStateSource* clockState = nullptr,
              WallClockAlarm* alarm = nullptr);
    ~PanelCore();
    PanelCore(const PanelCore&) = delete;
    PanelCore& operator=(const PanelCore&) = delete;

    // The start-up sequence, with what the command line asked for. It opens nothing and writes
    // nothing to the port; it configures the port only when the command line chose a port or
    // line settings, as Ok would.
    void load(const StartSettings& start = {});
    // Once the window is up: CONNECT, when the command line asked for it.
    void started();

    const PortSettings& portSettings() const { return m_settings; }
    Ticker& ticker() { return *m_ticker; }
    TickHandler& tickHandler() { return *m_tick; }
    TitleCommands& titles() { return *m_titles; }
    ClockCommands& clockCommands() { return *m_clockCommands; }
    const DateTimeEntry& entry() const { return *m_entry; }
    DeviceWait& deviceWait() { return *m_deviceWait; }

private:
    MainWindowControls& m_controls;
    PortSettings m_settings;
    PortSettings m_startSettings;
    bool m_connectAtStart = false;
    std::unique_ptr<PortControl> m_portControl;
    std::unique_ptr<SettingsDialogHost> m_dialogHost;
    std::unique_ptr<ConnectionCommands> m_connection;
    std::unique_ptr<Transmitter> m_transmitter;
    std::unique_ptr<TitleCommands> m_titles;
    std::unique_ptr<DateTimeEntry> m_entry;
    std::unique_ptr<ClockCapture> m_capture;
    std::unique_ptr<ClockCommands> m_clockCommands;
    std::unique_ptr<StatusPanels> m_status;
    std::unique_ptr<DeviceWait> m_deviceWait;
    std::unique_ptr<TickHandler> m_tick;
    std::unique_ptr<Ticker> m_ticker;
};

} // namespace velk
