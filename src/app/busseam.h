#pragma once

#include "app/panelcore.h"
#include "bus/brokeraccess.h"
#include "bus/panelbus.h"

#include <memory>

namespace velk {

class BrokerLogin;
class ClockStateSource;
class Line;
struct LineName;

// What the panel needs to reach a line's bridge on the broker: the port for a line's name (a bus
// line, or what makeLine makes for the others), where the commands go, and the PC clock's state
// it shows (the bridge's machine's on a bus line). The bus lines come from their plugin, loaded
// when the first bus line is named; until then the panel's own transmitter and clock state.
class BusSeam {
public:
    // `login` is asked for a user and password where no --credentials were given and the broker
    // wants them. `busLines` makes the bus lines where the caller links them itself; null: from
    // the plugin.
    BusSeam(const BrokerAccess& access, const ClockStateSource& ownClockState,
            BrokerLogin* login = nullptr, PanelBusEntry busLines = nullptr);
    ~BusSeam();
    BusSeam(const BusSeam&) = delete;
    BusSeam& operator=(const BusSeam&) = delete;

    std::unique_ptr<Line> makePort(const LineName& name, QString* why);
    PanelCore::CommandSinkFactory sinkFactory();
    const ClockStateSource& clockState() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

} // namespace velk
