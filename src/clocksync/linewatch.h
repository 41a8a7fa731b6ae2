#pragma once

#include <QString>
#include <optional>

namespace velk {

class Transmitter;

// Watches the line, once a second, through the bytes the port still holds. A clock group the
// line has not started taking within a second of its minute is withdrawn, with everything
// queued with it, so a line that drains later never sets the displays to a time long past; a
// line that cannot withdraw what it accepted says so instead of claiming a drop. A
// line that stops taking data, and takes it again, is logged once each way.
class LineWatch {
public:
    static constexpr qint64 kGroupDeadlineMs = 1000;

    explicit LineWatch(Transmitter& transmitter);

    // Right after the group for the minute that starts at `minuteMs` went to the port; `label`
    // names it in the log ("22:40"), `ahead` is what the port held just before it, `bytes` its
    // length.
    void groupWritten(qint64 minuteMs, const QString& label, qint64 ahead, qint64 bytes);
    // Once a second, at `nowMs`. The warning when a group was withdrawn, otherwise empty.
    QString check(qint64 nowMs);

private:
    void remember(qint64 pending);

    struct Group {
        qint64 minuteMs;
        QString label;
        qint64 ahead;    // bytes queued before it
        qint64 queued;   // those and itself
        qint64 handedAt; // the count of bytes handed over right after it
    };

    Transmitter& m_transmitter;
    std::optional<Group> m_group;
    qint64 m_lastPending = 0;
    qint64 m_lastHanded = 0;
    bool m_stalled = false;
};

} // namespace velk
