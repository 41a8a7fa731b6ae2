#include "protocol/transmitter.h"

#include "wire/frames.h"

#include <array>

namespace velk {

Transmitter::Transmitter(SerialPort& port, MessageBox& messages)
    : m_port(port), m_messages(messages) {}

void Transmitter::sendByte(quint8 value) {
    m_port.output(QByteArray(1, char(value)));
}

void Transmitter::sendBytes(const QByteArray& bytes) {
    for (const char byte : bytes)
        sendByte(quint8(byte));
}

bool Transmitter::portGuard() {
    if (m_port.isOpen())
        return true;
    m_messages.show(kPressConnectMessage, kAppTitle, MessageBox::Icon::None);
    return false;
}

void Transmitter::writeClockFrame(char letter, const QString& value) {
    m_clockFrame = frames::clockFrame(letter, value);
    m_port.output(m_clockFrame);
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
