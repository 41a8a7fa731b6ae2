#pragma once

#include "controls/handler.h"
#include "controls/linesettings.h"

#include <QByteArray>
#include <QString>

namespace velk {

// The serial port as the panel uses it: one-way, write only, never blocking the window.
//
// Configuration calls return false on a refusal and put a description an operator can act on in
// `why`. Output to a closed or lost port fails quietly: the caller just goes on.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Runs once when an open port is lost (adapter unplugged, device gone). The port has been
    // closed already when the handler runs.
    void onLost(Handler handler) { m_lost = std::move(handler); }

    virtual int portNumber() const = 0;
    virtual bool setPortNumber(int number, QString* why) = 0;
    // The line settings as the port holds them.
    virtual LineSettings settings() const = 0;
    virtual bool setSettings(const LineSettings& settings, QString* why) = 0;

    virtual bool isOpen() const = 0;
    virtual QString open() = 0;
    // Closes after handing pending bytes to the line, waiting only while the line takes them; the
    // window keeps running meanwhile. Returns how many bytes the line would not take (discarded).
    virtual qint64 close() = 0;
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
