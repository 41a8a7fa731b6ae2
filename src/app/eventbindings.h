#pragma once

namespace velk {

class ClockCommands;
class ConfigureDialog;
class ConnectionCommands;
class DateTimeEntry;
class DeviceWait;
class Line;
class SettingsDialogLogic;
class StatusPanels;
class TickHandler;
class Ticker;
class TitleCommands;
struct MainWindowControls;

// The main window's handlers, one place for every event the panel reacts to.
struct MainWindowHandlers {
    ConnectionCommands& connection;
    TitleCommands& titles;
    ClockCommands& clockCommands;
    DateTimeEntry& entry;
    TickHandler& tick;
    StatusPanels& status;
    DeviceWait& deviceWait;
};

void bindMainWindowEvents(MainWindowControls& controls, Ticker& ticker, Line& port,
                          const MainWindowHandlers& handlers);
void bindSettingsDialogEvents(ConfigureDialog& dialog, SettingsDialogLogic& logic);

} // namespace velk
