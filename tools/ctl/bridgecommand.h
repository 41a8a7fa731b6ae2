#pragma once

#include "clock/clockvalues.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace velk {

struct CtlOptions;

// A command the bridge takes from the broker, checked at the door by velk-ctl's own rules.
struct BridgeCommand {
    enum class Kind { Title, Clear, Time, Sync };

    Kind kind = Kind::Clear;
    quint8 address = 0; // Title and Clear
    QString title;      // Title: as the title box holds it
    // Time: nothing for now, the PC clock as the command runs.
    std::optional<ClockValues> clock;
    bool syncOn = false; // Sync

    // `path` is the topic below BASE ("1/title/set"); `addresses` are those the bridge answers
    // for. Nothing, with a one-line `why` (a reason about an address names it), for a payload
    // or topic refused.
    static std::optional<BridgeCommand> read(const QString& path, const QByteArray& payload,
                                             const QList<quint8>& addresses, QString* why);

    // velk-ctl's command that writes the same frames.
    CtlOptions ctlCommand() const;
};

} // namespace velk
