#pragma once

#include "bus/busline.h"
#include "controls/clockstate.h"
#include "transmit/commandsink.h"

namespace velk {

class CheckBox;
class MessageBox;
class Transmitter;

// The panel's commands where its line may be a bus line: requests to the bridge while the slot
// holds an open bus line (a refusal or no answer gets a message box with the bridge's reason),
// frames onto the line itself otherwise. The sync box mirrors the bridge's sync and switches it.
class BusCommands : public CommandSink {
public:
    BusCommands(Transmitter& local, BusLineSlot& slot, MessageBox& messages, CheckBox& sync);

    // Follows `line`'s states: the sync box shows the bridge's sync.
    void follow(BusLine& line);

    bool portGuard() override;
    void sendTitle(quint8 address, const QString& text) override;
    void clearTitle(quint8 address) override;
    void setClock(const ClockValues& clock) override;
    std::optional<QString> shownTitle(quint8 address) const override;
    bool keepsMinuteElsewhere() const override { return link() != nullptr; }
    void syncBoxChanged(bool on) override;

private:
    BusLink* link() const { return m_slot.line ? m_slot.line->link() : nullptr; }
    // Shows the bridge's reason when a request was not carried out.
    BusLink::ResultHandler answered() const;
    void bridgeSyncChanged();

    Transmitter& m_local;
    BusLineSlot& m_slot;
    MessageBox& m_messages;
    CheckBox& m_sync;
};

// The PC clock's state the panel shows: the bridge's machine's on an open bus line (the clock
// master there), the panel's own otherwise.
class BusClockState : public ClockStateSource {
public:
    BusClockState(const ClockStateSource& own, const BusLineSlot& slot)
        : m_own(own), m_slot(slot) {}
    ClockState read() const override;

private:
    const ClockStateSource& m_own;
    const BusLineSlot& m_slot;
};

} // namespace velk
