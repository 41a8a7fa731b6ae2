#include "transmit/transmitter.h"

#include "controls/logging.h"
#include "wire/frames.h"

#include <array>

namespace velk {

Transmitter::Transmitter(Line& port, MessageBox& messages) : m_port(port), m_messages(messages) {}

namespace {

QByteArray hex(const QByteArray& frame) {
    return frame.toHex(' ').toUpper();
}

} // namespace

bool Transmitter::sendByte(quint8 value) {
    if (!m_port.output(QByteArray(1, char(value))))
        return false;
    ++m_handed;
    return true;
}

void Transmitter::sendBytes(const QByteArray& bytes) {
    qCDebug(lcSerial).noquote() << "frame" << hex(bytes);
    int refused = 0;
    for (const char byte : bytes)
        refused += sendByte(quint8(byte)) ? 0 : 1;
    // The devices never answer, so this is the only trace of a frame that did not go out whole.
    if (refused > 0)
        qCWarning(lcSerial).noquote() << "the port did not take" << refused << "of" << bytes.size()
                                      << "bytes of frame" << hex(bytes);
    if (refused < bytes.size() && m_frame)
        m_frame(bytes);
}

qint64 Transmitter::discardPending() {
    const qint64 dropped = m_port.discardPending();
    m_dropped += dropped;
    return dropped;
}

bool Transmitter::portGuard() {
    if (m_port.isOpen())
        return true;
    m_messages.show(kPressConnectMessage, kAppTitle, MessageBox::Icon::None);
    return false;
}

void Transmitter::writeClockFrame(char letter, const QString& value) {
    const QByteArray frame = frames::clockFrame(letter, value);
    qCDebug(lcSerial).noquote() << "frame" << hex(frame);
    if (m_port.output(frame)) {
        m_handed += frame.size();
        if (m_frame)
            m_frame(frame);
    } else
        qCWarning(lcSerial).noquote() << "the port did not take frame" << hex(frame);
}

void Transmitter::writeClockGroup(const ClockValues& clock) {
    std::array<QString, frames::kClockFieldCount> values;
    values[frames::kMinute] = clock.minute;
    values[frames::kHour] = clock.hour;
    values[frames::kMonth] = clock.month;
    values[frames::kYear] = clock.year;
    values[frames::kDay] = clock.day;
    for (int field = 0; field < frames::kClockFieldCount; ++field)
        writeClockFrame(frames::kClockFields[field].letter, values[std::size_t(field)]);
}

} // namespace velk
