#include "bus/panelbus.h"

#include "bus/buscommands.h"

namespace velk {

namespace {

class BusLinesForThePanel : public PanelBus {
public:
    BusLinesForThePanel(const BrokerAccess& access, const ClockStateSource& ownClockState,
                        BrokerLogin* login)
        : m_access(access), m_login(login), m_clockState(ownClockState, m_slot) {}

    std::unique_ptr<Line> makeLine(const LineName& name) override {
        auto line = std::make_unique<BusLine>(name, m_access, m_login);
        m_slot.line = line.get();
        if (m_commands)
            m_commands->follow(*line);
        return line;
    }

    std::unique_ptr<CommandSink> makeCommands(Transmitter& local, MessageBox& messages,
                                              CheckBox& sync) override {
        auto commands = std::make_unique<BusCommands>(local, m_slot, messages, sync);
        m_commands = commands.get();
        if (m_slot.line)
            m_commands->follow(*m_slot.line);
        return commands;
    }

    const ClockStateSource& clockState() const override { return m_clockState; }

private:
    const BrokerAccess& m_access;
    BrokerLogin* m_login;
    BusLineSlot m_slot;
    BusClockState m_clockState;
    BusCommands* m_commands = nullptr; // owned by the panel's core
};

} // namespace

PanelBus* makePanelBus(const BrokerAccess& access, const ClockStateSource& ownClockState,
                       BrokerLogin* login) {
    return new BusLinesForThePanel(access, ownClockState, login);
}

} // namespace velk
