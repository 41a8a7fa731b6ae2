#pragma once

#include "clock/clockvalues.h"
#include "controls/messagebox.h"
#include "port/line.h"

#include <QByteArray>
#include <functional>

namespace velk {

// Writes frames to the serial port. The line is one-way: a failed write is not reported and the
// next byte or frame is still offered, so a command is never abandoned part-way.
class Transmitter {
public:
    using FrameHandler = std::function<void(const QByteArray& frame)>;

    Transmitter(Line& port, MessageBox& messages);

    // Runs with each frame the port took, as it was written (a bridge shows the line's traffic).
    void onFrame(FrameHandler handler) { m_frame = std::move(handler); }

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
    qint64 discardPending();
    // Every byte withdrawn by discardPending(), counted from the start: with bytesHanded() and
    // pendingBytes() it tells how far the line has taken what was handed.
    qint64 bytesDropped() const { return m_dropped; }

private:
    Line& m_port;
    MessageBox& m_messages;
    qint64 m_handed = 0;
    qint64 m_dropped = 0;
    FrameHandler m_frame;
};

inline const QString kPressConnectMessage = QStringLiteral("Press Connect Comport.");

} // namespace velk
