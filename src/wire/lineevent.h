#pragma once

#include <QByteArray>
#include <QString>

namespace velk {

// Why bytes on the line did not make a frame.
enum class InvalidReason {
    NoStartByte,   // bytes seen while waiting for a start byte
    UnknownLetter, // the byte after the start byte is no command letter
    NotDigit,      // a clock frame without two ASCII digits
    OutOfRange,    // a clock value no device clock can hold
    ZeroAddress,   // a title frame addressed to 0
    TitleTooLong,  // no terminator within the longest title the monitor accepts
    Incomplete,    // monitoring ended inside a frame
};

// The five values of a complete clock group, as sent (the year is its last two digits).
struct ClockSetting {
    int minute = 0;
    int hour = 0;
    int month = 0;
    int year = 0;
    int day = 0;

    friend bool operator==(const ClockSetting& a, const ClockSetting& b) {
        return a.minute == b.minute && a.hour == b.hour && a.month == b.month && a.year == b.year &&
               a.day == b.day;
    }
};

// One thing that happened on the line, in the order the bytes arrived.
struct LineEvent {
    enum class Kind {
        Title,      // address, text
        Clear,      // address (a title frame with no text)
        ClockField, // letter, value
        ClockGroup, // clock: five clock frames in the order M, H, m, Y, D
        Invalid,    // reason, bytes; letter and value where the reason names them
    };

    Kind kind = Kind::Invalid;
    int address = 0;
    QString text;
    char letter = 0;
    int value = 0;
    ClockSetting clock;
    InvalidReason reason = InvalidReason::NoStartByte;
    // The bytes as they came off the line; a clock group only sums up frames already reported
    // and carries none.
    QByteArray bytes;

    friend bool operator==(const LineEvent& a, const LineEvent& b) {
        return a.kind == b.kind && a.address == b.address && a.text == b.text &&
               a.letter == b.letter && a.value == b.value && a.clock == b.clock &&
               a.reason == b.reason && a.bytes == b.bytes;
    }
    friend bool operator!=(const LineEvent& a, const LineEvent& b) { return !(a == b); }
};

} // namespace velk
