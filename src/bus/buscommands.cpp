#include "bus/buscommands.h"

#include "controls/checkbox.h"
#include "controls/messagebox.h"
#include "transmit/transmitter.h"

namespace velk {

BusCommands::BusCommands(Transmitter& local, BusLineSlot& slot, MessageBox& messages,
                         CheckBox& sync)
    : m_local(local), m_slot(slot), m_messages(messages), m_sync(sync) {}

void BusCommands::follow(BusLine& line) {
    line.onChanged([this](BusState::Part part, quint8) {
        if (part == BusState::Part::Sync)
            bridgeSyncChanged();
    });
    line.onOpened([this] {
        // A box ticked before the bridge was reached (--sync) switches its sync on; otherwise
        // the box shows the bridge's.
        if (m_sync.isChecked())
            syncBoxChanged(true);
        else
            bridgeSyncChanged();
    });
}

bool BusCommands::portGuard() {
    return m_local.portGuard();
}

BusLink::ResultHandler BusCommands::answered() const {
    return [&messages = m_messages](const BusLink::Result& result) {
        if (!result.ok())
            messages.show(result.reason, kAppTitle, MessageBox::Icon::Information);
    };
}

void BusCommands::sendTitle(quint8 address, const QString& text) {
    if (BusLink* bus = link())
        return bus->sendTitle(address, text, answered());
    m_local.sendTitle(address, text);
}

void BusCommands::clearTitle(quint8 address) {
    if (BusLink* bus = link())
        return bus->sendClear(address, answered());
    m_local.clearTitle(address);
}

void BusCommands::setClock(const ClockValues& c) {
    if (BusLink* bus = link())
        return bus->sendTime(
            QStringLiteral("20%1-%2-%3 %4:%5").arg(c.year, c.month, c.day, c.hour, c.minute),
            answered());
    m_local.setClock(c);
}

std::optional<QString> BusCommands::shownTitle(quint8 address) const {
    const BusLink* bus = link();
    if (!bus)
        return std::nullopt;
    // An empty title cannot be kept retained: none kept is an empty one.
    return bus->state().title(address).value_or(QString());
}

void BusCommands::syncBoxChanged(bool on) {
    BusLink* bus = link();
    if (!bus || bus->state().sync() == on)
        return;
    bus->sendSync(on, answered());
}

void BusCommands::bridgeSyncChanged() {
    const BusLink* bus = link();
    if (bus && bus->state().sync())
        m_sync.setChecked(*bus->state().sync());
}

ClockState BusClockState::read() const {
    const BusLink* bus = m_slot.line ? m_slot.line->link() : nullptr;
    if (!bus)
        return m_own.read();
    ClockState state;
    for (const auto sync : {ClockState::Sync::Synchronised, ClockState::Sync::NotSynchronised}) {
        if (bus->state().clock() == clockStateWord(sync))
            state.sync = sync;
    }
    state.detail = QStringLiteral("the bridge's PC");
    return state;
}

} // namespace velk
