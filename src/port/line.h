#pragma once

#include "controls/handler.h"
#include "controls/linesettings.h"
#include "port/linename.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace velk {

// The line to the displays as the programs use it: one-way, write only, never blocking the
// window, not even in a nested event loop. A serial device or a device server on the network.
//
// Configuration calls return false on a refusal and put a description an operator can act on in
// `why`. Output to a closed or lost line fails quietly: the caller just goes on.
//
// Opening and closing report through a handler that runs exactly once: before the call returns
// where the answer is at hand (a local device, an already closed line), otherwise later from the
// event loop (a network connect and negotiation, bytes still draining). Until `opened` has run
// with success the line is not open; from the moment close() is called it is not open either.
// A close() while an open is still under way withdraws it: that open's handler never runs.
class Line {
public:
    // Empty on success, otherwise why the line could not be opened.
    using Opened = std::function<void(const QString& failure)>;
    // How many bytes the line would not take; they were discarded.
    using Closed = std::function<void(qint64 unsent)>;

    virtual ~Line() = default;

    // Runs once when an open line is lost (adapter unplugged, device gone, connection dropped).
    // The line has been closed already when the handler runs.
    void onLost(Handler handler) { m_lost = std::move(handler); }

    // Which line this is: Comport n, a device reached by name, or a device server.
    virtual LineName name() const = 0;
    // Moves to the line `name` while closed. A line refuses the names it cannot reach (a serial
    // line refuses every device server) and, while open, any other line.
    virtual bool setName(const LineName& name, QString* why) = 0;
    // The line as the status bar names it: "Com 1", or "HOST:PORT" for a network line.
    QString lineLabel() const { return name().label(); }
    // The line settings as the line holds them.
    virtual LineSettings settings() const = 0;
    virtual bool setSettings(const LineSettings& settings, QString* why) = 0;

    virtual bool isOpen() const = 0;
    // Opens the chosen line, finding anew which device "Comport n" reaches.
    virtual void open(Opened opened) = 0;
    // Opens the line the last open() reached again, the same device even when the system's list
    // of ports changed meanwhile. Cheap while the line is still missing: it is tried, not sought.
    virtual void reopen(Opened opened) { open(std::move(opened)); }
    // Hands pending bytes to the line, waiting only while the line takes them, then closes. The
    // window keeps running meanwhile.
    virtual void close(Closed closed = {}) = 0;
    // Hands the bytes to the line's output; false when they could not be (quietly).
    virtual bool output(const QByteArray& bytes) = 0;
    // Bytes handed to output() that the device has not taken yet. 0 when closed.
    virtual qint64 pendingBytes() const { return 0; }
    // Whether this line can take back bytes it has accepted but the device has not taken: only
    // then can a late clock group still be dropped instead of arriving late.
    virtual bool canWithdraw() const { return false; }
    // Withdraws every byte the device has not taken; returns how many were withdrawn (always 0
    // where canWithdraw() is false).
    virtual qint64 discardPending() { return 0; }

protected:
    void raiseLost() const { raise(m_lost); }
    // Refuses a configuration call with `description`.
    static bool refuse(QString* why, const QString& description) {
        if (why)
            *why = description;
        return false;
    }

private:
    Handler m_lost;
};

} // namespace velk
