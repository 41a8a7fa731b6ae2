#include "app/busseam.h"

#include "controls/clockstate.h"
#include "port/line.h"
#include "port/lineports.h"
#include "port/systemportmapping.h"

// The Windows build has no MQTT library yet: bus line names are refused when they are read, and
// the panel keeps its own port, transmitter and clock state.

namespace velk {

struct BusSeam::Parts {
    const ClockStateSource& own;
};

BusSeam::BusSeam(const BrokerAccess&, const ClockStateSource& ownClockState, BrokerLogin*)
    : m_parts(std::make_unique<Parts>(Parts{ownClockState})) {}

BusSeam::~BusSeam() = default;

std::unique_ptr<Line> BusSeam::makePort(const LineName& name, QString* why) {
    return makeLine(name, std::make_unique<SystemPortMapping>(), why);
}

PanelCore::CommandSinkFactory BusSeam::sinkFactory() {
    return {};
}

const ClockStateSource& BusSeam::clockState() const {
    return m_parts->own;
}

} // namespace velk
