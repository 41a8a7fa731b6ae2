#pragma once

#include <memory>

namespace velk {

class BrokerLogin;
class CheckBox;
class ClockStateSource;
class CommandSink;
class Line;
class MessageBox;
class Transmitter;
struct BrokerAccess;
struct LineName;

// What the panel needs of its bus lines: the port for a bus line's name, the commands that go
// to the line's bridge, and the PC clock state to show (the bridge's machine's while a bus line
// is open). It lives in a plugin of its own (velk-bus-lines), loaded once a bus line is named,
// so that a panel on a serial line never maps libmosquitto nor OpenSSL.
class PanelBus {
public:
    virtual ~PanelBus() = default;
    // A bus line for `name` (name.isBus()); the commands, once made, follow it.
    virtual std::unique_ptr<Line> makeLine(const LineName& name) = 0;
    // The panel's commands: to the bridge while a bus line is open, to `local` otherwise.
    virtual std::unique_ptr<CommandSink> makeCommands(Transmitter& local, MessageBox& messages,
                                                      CheckBox& sync) = 0;
    virtual const ClockStateSource& clockState() const = 0;
};

// The plugin's file name without prefix and suffix, and its one exported function, which makes
// a PanelBus the caller owns. `login` may be null; `access` and `ownClockState` must outlive it.
inline constexpr char kBusLinesPlugin[] = "velk-bus-lines";
inline constexpr char kBusLinesEntry[] = "velk_panel_bus";
using PanelBusEntry = PanelBus* (*)(const BrokerAccess& access,
                                    const ClockStateSource& ownClockState, BrokerLogin* login);

// The plugin's PanelBus, for its entry and for tests that link the bus lines directly.
PanelBus* makePanelBus(const BrokerAccess& access, const ClockStateSource& ownClockState,
                       BrokerLogin* login);

} // namespace velk
