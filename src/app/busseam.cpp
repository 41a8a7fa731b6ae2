#include "app/busseam.h"

#include "controls/clockstate.h"
#include "controls/logging.h"
#include "controls/pluginentry.h"
#include "controls/windowcontrols.h"
#include "port/lineports.h"
#include "port/systemportmapping.h"
#include "transmit/transmitter.h"

namespace velk {

namespace {

// The panel's commands: the transmitter's until the bus lines are loaded, theirs after (they
// still go to the transmitter while no bus line is open).
class SwitchingSink : public CommandSink {
public:
    SwitchingSink(Transmitter& local, MainWindowControls& controls)
        : m_local(local), m_controls(controls) {}

    void useBusLines(PanelBus& bus) {
        if (!m_bus)
            m_bus = bus.makeCommands(m_local, m_controls.messageBox, m_controls.sync);
    }

    bool portGuard() override { return sink().portGuard(); }
    void sendTitle(quint8 address, const QString& text) override {
        sink().sendTitle(address, text);
    }
    void clearTitle(quint8 address) override { sink().clearTitle(address); }
    void setClock(const ClockValues& clock) override { sink().setClock(clock); }
    std::optional<QString> shownTitle(quint8 address) const override {
        return sink().shownTitle(address);
    }
    bool keepsMinuteElsewhere() const override { return sink().keepsMinuteElsewhere(); }
    void syncBoxChanged(bool on) override { sink().syncBoxChanged(on); }

private:
    CommandSink& sink() const { return m_bus ? *m_bus : static_cast<CommandSink&>(m_local); }

    Transmitter& m_local;
    MainWindowControls& m_controls;
    std::unique_ptr<CommandSink> m_bus;
};

// The PC clock state shown: the panel's own until the bus lines are loaded, theirs after.
class SwitchingClockState : public ClockStateSource {
public:
    SwitchingClockState(const ClockStateSource& own, const std::unique_ptr<PanelBus>& bus)
        : m_own(own), m_bus(bus) {}
    ClockState read() const override { return m_bus ? m_bus->clockState().read() : m_own.read(); }

private:
    const ClockStateSource& m_own;
    const std::unique_ptr<PanelBus>& m_bus;
};

} // namespace

struct BusSeam::Parts {
    Parts(const BrokerAccess& access, const ClockStateSource& own, BrokerLogin* login,
          PanelBusEntry entry)
        : access(access), own(own), login(login), entry(entry), clockState(own, bus) {}

    // The bus lines, loaded on first use; null, with `why`, when the plugin cannot be loaded.
    PanelBus* busLines(const LineName& name, QString* why);

    BrokerAccess access;
    const ClockStateSource& own;
    BrokerLogin* login;
    PanelBusEntry entry;
    std::unique_ptr<PanelBus> bus;
    SwitchingClockState clockState;
    SwitchingSink* sink = nullptr; // owned by the panel's core
};

PanelBus* BusSeam::Parts::busLines(const LineName& name, QString* why) {
    if (bus)
        return bus.get();
    QString failure;
    if (!entry)
        entry =
            reinterpret_cast<PanelBusEntry>(pluginEntry(kBusLinesPlugin, kBusLinesEntry, &failure));
    if (!entry) {
        qCWarning(lcSerial, "bus lines are not available: %s", qPrintable(failure));
        if (why)
            *why = QStringLiteral("%1: bus lines are not available in this installation")
                       .arg(name.text());
        return nullptr;
    }
    bus.reset(entry(access, own, login));
    if (sink)
        sink->useBusLines(*bus);
    return bus.get();
}

BusSeam::BusSeam(const BrokerAccess& access, const ClockStateSource& ownClockState,
                 BrokerLogin* login, PanelBusEntry busLines)
    : m_parts(std::make_unique<Parts>(access, ownClockState, login, busLines)) {}

BusSeam::~BusSeam() = default;

std::unique_ptr<Line> BusSeam::makePort(const LineName& name, QString* why) {
    if (!name.isBus())
        return makeLine(name, std::make_unique<SystemPortMapping>(), why);
    PanelBus* bus = m_parts->busLines(name, why);
    return bus ? bus->makeLine(name) : nullptr;
}

PanelCore::CommandSinkFactory BusSeam::sinkFactory() {
    return [parts = m_parts.get()](Transmitter& local, MainWindowControls& c) {
        auto sink = std::make_unique<SwitchingSink>(local, c);
        parts->sink = sink.get();
        if (parts->bus)
            sink->useBusLines(*parts->bus);
        return std::unique_ptr<CommandSink>(std::move(sink));
    };
}

const ClockStateSource& BusSeam::clockState() const {
    return m_parts->clockState;
}

} // namespace velk
