#pragma once

#include "clock/clockvalues.h"
#include "controls/messagebox.h"
#include "port/line.h"

#include <QByteArray>

namespace velk {

// Writes frames to the serial port. The line is one-way: a failed write is not reported and the
// next byte or frame is still offered, so a command is never abandoned part-way.
class Transmitter {
public:
    Transmitter(Line& port, MessageBox& messages);

    // False when the port did not take the byte.
    bool sendByte(quint8 value);
    // One sendByte per byte, the way title and clear frames go out.
    void sendBytes(const QByteArray& bytes);

    bool isPortOpen() const { return m_port.isOpen(); }
    // Every operator command that writes opens with this: a closed port is explained to the
    // operator and the command sends nothing.
    bool portGuard();

    // A clock frame goes out in one write.
    void writeClockFrame(char letter, const QString& value);
    // Minute, hour, month, year, day: the order the devices expect. Seconds are never sent.
    void writeClockGroup(const ClockValues& clock);

    // Every byte the port took from here, counted from the start.
    qint64 bytesHanded() const { return m_handed; }
    qint64 pendingBytes() const { return m_port.pendingBytes(); }
    qint64 discardPending() { return m_port.discardPending(); }

private:
    Line& m_port;
    MessageBox& m_messages;
    qint64 m_handed = 0;
};

inline const QString kPressConnectMessage = QStringLiteral("Press Connect Comport.");

} // namespace velk
