#pragma once

#include "controls/handler.h"
#include "controls/linesettings.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace velk {

// The line to the displays as the panel uses it: one-way, write only, never blocking the window,
// not even in a nested event loop. A serial device or a device server on the network.
//
// Configuration calls return false on a refusal and put a description an operator can act on in
// `why`. Output to a closed or lost port fails quietly: the caller just goes on.
//
// Opening and closing report through a handler that runs exactly once: before the call returns
// where the answer is at hand (a local device, an already closed port), otherwise later from the
// event loop (a network connect and negotiation, bytes still draining). Until `opened` has run
// with success the port is not open; from the moment close() is called it is not open either.
// A close() while an open is still under way withdraws it: that open's handler never runs.
class SerialPort {
public:
    // Empty on success, otherwise why the line could not be opened.
    using Opened = std::function<void(const QString& failure)>;
    // How many bytes the line would not take; they were discarded.
    using Closed = std::function<void(qint64 unsent)>;

    virtual ~SerialPort() = default;

    // Runs once when an open port is lost (adapter unplugged, device gone, connection dropped).
    // The port has been closed already when the handler runs.
    void onLost(Handler handler) { m_lost = std::move(handler); }

    virtual int portNumber() const = 0;
    virtual bool setPortNumber(int number, QString* why) = 0;
    // The device server's URL the port reaches instead of Comport n; empty for a serial line.
    virtual QString networkLine() const { return {}; }
    // Switches between Comport n (an empty `url`) and a device server ("rfc2217://HOST:PORT"),
    // while closed. A port that reaches serial lines only refuses every URL.
    virtual bool setNetworkLine(const QString& url, QString* why) {
        return url.isEmpty() ||
               refuse(why, QStringLiteral("%1: this port reaches serial lines only").arg(url));
    }
    // The line as the status bar names it: "Com 1", or "HOST:PORT" for a network line.
    virtual QString lineLabel() const { return QStringLiteral("Com %1").arg(portNumber()); }
    // The line settings as the port holds them.
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
    // Hands the bytes to the port's output; false when they could not be (quietly).
    virtual bool output(const QByteArray& bytes) = 0;
    // Bytes handed to output() that have not left for the line yet: in the port's own buffer
    // and in the system's queue (or a network socket's). 0 when closed.
    virtual qint64 pendingBytes() const { return 0; }
    // Drops every byte not yet on the line; returns how many were dropped.
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
