#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

namespace velk {

class Line;
class Transmitter;

// Tells when the bytes of a command, handed to the line's one writer, have gone onto the line:
// the moment velk-ctl would exit 0. Checked at once and then every millisecond while anything
// waits, through the writer's counts, so bytes written meanwhile by others (the minute's group)
// are told apart.
class DeliveryWatch : public QObject {
    Q_OBJECT

public:
    // Empty once the bytes are on the line, otherwise why they are not.
    using Delivered = std::function<void(const QString& failure)>;

    // Bytes not on the line after this are given up as an answer (a sender waits 5 s).
    static constexpr int kLongestWaitMs = 4000;

    DeliveryWatch(Transmitter& transmitter, Line& port, const QString& lineLabel,
                  QObject* parent = nullptr);

    // Right after a command's bytes were handed over: `delivered` runs exactly once.
    void watch(Delivered delivered);

private:
    struct Waiting {
        qint64 end;     // the writer's count of bytes handed, right after the command's
        qint64 dropped; // the count of bytes withdrawn then
        QDeadlineTimer deadline;
        Delivered delivered;
    };

    void check();
    // Empty while still waiting; "ok" once on the line; otherwise the failure.
    QString outcome(const Waiting& waiting) const;

    Transmitter& m_transmitter;
    Line& m_port;
    QString m_lineLabel;
    std::deque<Waiting> m_waiting;
    QTimer m_poll;
};

} // namespace velk
