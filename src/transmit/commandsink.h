#pragma once

#include "clock/clockvalues.h"

#include <QString>
#include <QtGlobal>
#include <optional>

namespace velk {

// Where the panel's Send, Clear, Set Time and sync box go: frames onto the line itself (the
// Transmitter), or requests to the line's bridge on the broker. The handlers stay the same front
// doors; only where the bytes are made changes.
class CommandSink {
public:
    virtual ~CommandSink() = default;

    // Every operator command that writes opens with this: a closed line is explained to the
    // operator and the command sends nothing.
    virtual bool portGuard() = 0;
    virtual void sendTitle(quint8 address, const QString& text) = 0;
    virtual void clearTitle(quint8 address) = 0;
    virtual void setClock(const ClockValues& clock) = 0;

    // What the display at `address` shows now, where the line reports it; nothing otherwise.
    virtual std::optional<QString> shownTitle(quint8 address) const {
        Q_UNUSED(address);
        return std::nullopt;
    }
    // True while someone else keeps the minute (the line's bridge): no clock group of the
    // panel's own goes out then, and the sync box switches theirs.
    virtual bool keepsMinuteElsewhere() const { return false; }
    // The operator ticked or cleared the sync box while keepsMinuteElsewhere().
    virtual void syncBoxChanged(bool on) { Q_UNUSED(on); }
};

} // namespace velk
