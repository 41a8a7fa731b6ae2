#include "protocol/transmitter.h"

#include "protocol/frames.h"

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
    writeClockFrame(frames::kMinuteLetter, clock.minute);
    writeClockFrame(frames::kHourLetter, clock.hour);
    writeClockFrame(frames::kMonthLetter, clock.month);
    writeClockFrame(frames::kYearLetter, clock.year);
    writeClockFrame(frames::kDayLetter, clock.day);
}

} // namespace velk
