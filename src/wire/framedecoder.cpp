#include "wire/framedecoder.h"

namespace velk {

namespace {
using frames::clockFieldIndex;
using frames::kClockFieldCount;
using frames::kStartByte;
using frames::kTerminator;
using frames::kTitleHeaderLength;

LineEvent invalid(InvalidReason reason, char letter = 0, int value = 0) {
    LineEvent event;
    event.kind = LineEvent::Kind::Invalid;
    event.reason = reason;
    event.letter = letter;
    event.value = value;
    return event;
}

bool isDigit(char byte) {
    return byte >= '0' && byte <= '9';
}
} // namespace

std::vector<LineEvent> FrameDecoder::feed(const QByteArray& bytes) {
    std::vector<LineEvent> out;
    for (const char byte : bytes)
        take(byte, out);
    return out;
}

std::vector<LineEvent> FrameDecoder::flushNoise() {
    std::vector<LineEvent> out;
    reportNoise(out);
    return out;
}

std::vector<LineEvent> FrameDecoder::finish() {
    std::vector<LineEvent> out;
    reportNoise(out);
    if (!m_frame.isEmpty()) {
        LineEvent cut = invalid(InvalidReason::Incomplete);
        cut.bytes = m_frame;
        report(cut, out);
    }
    *this = FrameDecoder();
    return out;
}

void FrameDecoder::take(char byte, std::vector<LineEvent>& out) {
    switch (m_state) {
    case State::Hunting:
        if (byte == kStartByte) {
            startFrame(out);
        } else {
            if (m_noise.bytes.isEmpty())
                m_noise = invalid(InvalidReason::NoStartByte);
            m_noise.bytes += byte;
            if (m_noise.bytes.size() >= kMaxNoiseRun)
                reportNoise(out);
        }
        break;
    case State::Letter:
        takeLetter(byte, out);
        break;
    case State::Address:
        if (byte == 0) {
            reject(invalid(InvalidReason::ZeroAddress), byte, out);
        } else {
            m_frame += byte;
            m_state = State::Payload;
        }
        break;
    case State::Payload:
        takePayload(byte, out);
        break;
    case State::Digits:
        takeDigit(byte, out);
        break;
    }
}

void FrameDecoder::takeLetter(char byte, std::vector<LineEvent>& out) {
    if (byte == frames::kTitleLetter) {
        m_frame += byte;
        m_state = State::Address;
    } else if (clockFieldIndex(byte) >= 0) {
        m_frame += byte;
        m_state = State::Digits;
    } else {
        reject(invalid(InvalidReason::UnknownLetter, byte), byte, out);
    }
}

void FrameDecoder::takePayload(char byte, std::vector<LineEvent>& out) {
    if (byte != kTerminator) {
        if (m_frame.size() - kTitleHeaderLength >= kMaxTitleLength)
            rejectLongTitle(byte, out);
        else
            m_frame += byte;
        return;
    }
    m_frame += byte;
    LineEvent event;
    event.address = quint8(m_frame.at(2));
    event.text = QString::fromLatin1(
        m_frame.mid(kTitleHeaderLength, m_frame.size() - kTitleHeaderLength - 1));
    event.kind = event.text.isEmpty() ? LineEvent::Kind::Clear : LineEvent::Kind::Title;
    event.bytes = m_frame;
    m_frame.clear();
    m_state = State::Hunting;
    report(event, out);
}

void FrameDecoder::takeDigit(char byte, std::vector<LineEvent>& out) {
    const char letter = m_frame.at(1);
    if (!isDigit(byte)) {
        reject(invalid(InvalidReason::NotDigit, letter), byte, out);
        return;
    }
    m_frame += byte;
    if (m_frame.size() < frames::kClockFrameLength)
        return;
    const int value = (m_frame.at(2) - '0') * 10 + (m_frame.at(3) - '0');
    const frames::ClockField& field = frames::kClockFields[clockFieldIndex(letter)];
    LineEvent event;
    if (value < field.minimum || value > field.maximum) {
        event = invalid(InvalidReason::OutOfRange, letter, value);
    } else {
        event.kind = LineEvent::Kind::ClockField;
        event.letter = letter;
        event.value = value;
    }
    event.bytes = m_frame;
    m_frame.clear();
    m_state = State::Hunting;
    report(event, out);
}

void FrameDecoder::startFrame(std::vector<LineEvent>& out) {
    reportNoise(out);
    m_frame = QByteArray(1, kStartByte);
    m_state = State::Letter;
}

// The frame being read cannot go on with `byte`. A start byte begins the next frame at once;
// any other byte joins the rejected bytes, which wait for the next start byte.
void FrameDecoder::reject(LineEvent event, char byte, std::vector<LineEvent>& out) {
    event.bytes = m_frame;
    m_frame.clear();
    m_state = State::Hunting;
    if (byte == kStartByte) {
        report(event, out);
        startFrame(out);
    } else {
        event.bytes += byte;
        m_noise = event;
    }
}

// A lost terminator would swallow every later frame into the title, so the decoder goes back to
// the first start byte after the title's own and reads on from there.
void FrameDecoder::rejectLongTitle(char byte, std::vector<LineEvent>& out) {
    const QByteArray held = m_frame + byte;
    m_frame.clear();
    m_state = State::Hunting;
    LineEvent event = invalid(InvalidReason::TitleTooLong);
    const qsizetype resync = held.indexOf(kStartByte, 2);
    if (resync < 0) {
        event.bytes = held;
        m_noise = event;
        return;
    }
    event.bytes = held.left(resync);
    report(event, out);
    for (qsizetype i = resync; i < held.size(); ++i)
        take(held.at(i), out);
}

void FrameDecoder::reportNoise(std::vector<LineEvent>& out) {
    if (m_noise.bytes.isEmpty())
        return;
    LineEvent noise = m_noise;
    m_noise = LineEvent();
    report(noise, out);
}

// Every event goes out through here, so a clock group is summed up only from clock frames that
// followed each other with nothing in between.
void FrameDecoder::report(LineEvent event, std::vector<LineEvent>& out) {
    out.push_back(event);
    if (event.kind != LineEvent::Kind::ClockField) {
        m_groupLength = 0;
        return;
    }
    const int index = clockFieldIndex(event.letter);
    if (index != m_groupLength)
        m_groupLength = 0;
    if (index != m_groupLength)
        return;
    m_group[m_groupLength++] = event.value;
    if (m_groupLength < kClockFieldCount)
        return;
    m_groupLength = 0;
    LineEvent group;
    group.kind = LineEvent::Kind::ClockGroup;
    group.clock = ClockSetting{m_group[0], m_group[1], m_group[2], m_group[3], m_group[4]};
    out.push_back(group);
}

} // namespace velk
