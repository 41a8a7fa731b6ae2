#pragma once

#include "bus/brokeraccess.h"
#include "clock/clockvalues.h"
#include "controls/linesettings.h"
#include "ctl/bridgeoptions.h"
#include "port/portoptions.h"

#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <optional>

namespace velk {

// What the command line asks of velk-ctl.
struct CtlOptions {
    enum class Outcome { Run, Help, Version, UsageError };
    enum class Command {
        Title,
        Clear,
        Time,
        Status,
        Sync,
        Clock,
        Bridge,
        ServiceInstall,
        ServiceRemove
    };

    Outcome outcome = Outcome::UsageError;
    // One line, for Outcome::UsageError.
    QString error;
    // What --help prints, for Outcome::Help.
    QString help;

    Command command = Command::Sync;
    LineName port;     // Comport 1 unless --port says otherwise
    LineSettings line; // 9600,N,8,1 unless --settings says otherwise
    // A bus line's broker: --credentials and --ca.
    BrokerAccess access;
    quint8 address = 0;
    // The title as the title box holds it.
    QString title;
    // The date and time for `time`; nothing: the PC clock as the command runs.
    std::optional<ClockValues> clock;
    // `sync` or `bridge` runs under the Service Control Manager (Windows).
    bool asService = false;
    // Which service `service install|remove` (and a run under the manager) is about.
    enum class ServiceKind { Sync, Bridge };
    ServiceKind serviceKind = ServiceKind::Sync;
    // `service install bridge`: the bridge's options as given, for the service's command line.
    QStringList bridgeArguments;
    // `sync --require-synced`: no groups while the PC clock is not synchronised.
    bool requireSynced = false;
    // What `bridge` is told.
    BridgeOptions bridge;
    // --time-zone for the minute's groups and `time now` (sync, time, bridge); invalid: the
    // PC's local time.
    QTimeZone timeZone;

    // `arguments` as main() gets them, the program's name first.
    static CtlOptions parse(const QStringList& arguments);

    // "all" or 1 to 254, as the address byte; nothing, with a one-line `why`, otherwise.
    static std::optional<quint8> readAddress(const QString& text, QString* why);
    // "YYYY-MM-DD HH:MM" with a year from 2000 to 2099, a day the month has by the panel's own
    // calendar; nothing, with a one-line `why`, otherwise.
    static std::optional<ClockValues> readClock(const QString& text, QString* why);
    // An IANA zone this system knows ("Europe/Berlin"); nothing, with a one-line `why`,
    // otherwise.
    static std::optional<QTimeZone> readTimeZone(const QString& text, QString* why);
};

} // namespace velk
