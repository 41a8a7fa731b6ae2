#pragma once

#include "serial/portsettings.h"

#include <memory>

namespace velk {

class ClockCapture;
class ClockCommands;
class ConnectionCommands;
class DateTimeEntry;
class LocalClock;
class MainWindow;
class PortControl;
class SerialPort;
class SettingsDialogWindow;
class TickHandler;
class Ticker;
class TitleCommands;
class Transmitter;

// The composition root: builds the main window and every subsystem, binds each event to its
// handler, and runs the start-up sequence.
class Panel {
public:
    Panel(std::unique_ptr<SerialPort> port, const LocalClock& clock);
    ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The start-up sequence, before the window is first shown. It neither configures nor opens
    // the port and writes nothing to it.
    void load();
    // Shows the window and starts the one-second tick; the first tick comes about a second later.
    void start();

    MainWindow& window() { return *m_window; }
    SerialPort& port() { return *m_port; }
    const PortSettings& portSettings() const { return m_settings; }
    Ticker& ticker() { return *m_ticker; }
    TickHandler& tickHandler() { return *m_tick; }
    TitleCommands& titles() { return *m_titles; }
    ClockCommands& clockCommands() { return *m_clockCommands; }
    const DateTimeEntry& entry() const { return *m_entry; }
    SettingsDialogWindow& settingsDialog() { return *m_settingsDialog; }

private:
    // Declared first so it goes last: pending bytes are flushed after everything else is gone.
    std::unique_ptr<SerialPort> m_port;
    const LocalClock& m_clock;
    PortSettings m_settings;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<PortControl> m_portControl;
    std::unique_ptr<SettingsDialogWindow> m_settingsDialog;
    std::unique_ptr<ConnectionCommands> m_connection;
    std::unique_ptr<Transmitter> m_transmitter;
    std::unique_ptr<TitleCommands> m_titles;
    std::unique_ptr<DateTimeEntry> m_entry;
    std::unique_ptr<ClockCapture> m_capture;
    std::unique_ptr<ClockCommands> m_clockCommands;
    std::unique_ptr<TickHandler> m_tick;
    std::unique_ptr<Ticker> m_ticker;
};

inline const QString kDefaultTitle = QStringLiteral("Title String ...");

} // namespace velk
