#include "app/busseam.h"

#include "bus/buscommands.h"
#include "controls/windowcontrols.h"
#include "port/lineports.h"
#include "port/systemportmapping.h"

namespace velk {

struct BusSeam::Parts {
    Parts(const BrokerAccess& access, const ClockStateSource& own, BrokerLogin* login)
        : access(access), login(login), clockState(own, slot) {}

    BrokerAccess access;
    BrokerLogin* login;
    BusLineSlot slot;
    BusClockState clockState;
    BusCommands* commands = nullptr; // owned by the panel's core
};

BusSeam::BusSeam(const BrokerAccess& access, const ClockStateSource& ownClockState,
                 BrokerLogin* login)
    : m_parts(std::make_unique<Parts>(access, ownClockState, login)) {}

BusSeam::~BusSeam() = default;

std::unique_ptr<Line> BusSeam::makePort(const LineName& name, QString* why) {
    if (!name.isBus())
        return makeLine(name, std::make_unique<SystemPortMapping>(), why);
    auto line = std::make_unique<BusLine>(name, m_parts->access, m_parts->login);
    m_parts->slot.line = line.get();
    if (m_parts->commands)
        m_parts->commands->follow(*line);
    return line;
}

PanelCore::CommandSinkFactory BusSeam::sinkFactory() {
    return [parts = m_parts.get()](Transmitter& local, MainWindowControls& c) {
        auto commands = std::make_unique<BusCommands>(local, parts->slot, c.messageBox, c.sync);
        parts->commands = commands.get();
        if (parts->slot.line)
            commands->follow(*parts->slot.line);
        return std::unique_ptr<CommandSink>(std::move(commands));
    };
}

const ClockStateSource& BusSeam::clockState() const {
    return m_parts->clockState;
}

} // namespace velk
