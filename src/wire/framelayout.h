#pragma once

#include <QtGlobal>

// The frames on the one-way display line, byte by byte. Every frame starts with "/" and a
// case-sensitive command letter; there is no length, checksum or escaping.
//
// Addressed frame: "/", "T", the address byte, the text's bytes, carriage return.
// Clock frame: "/", a clock letter, two ASCII digits (tens first); no address, no terminator.
namespace velk::frames {

constexpr char kStartByte = 0x2F;
constexpr char kTerminator = 0x0D;
constexpr char kTitleLetter = 'T';
// Start byte, letter and address byte stand before a title's text.
constexpr int kTitleHeaderLength = 3;
constexpr int kClockFrameLength = 4;

// The address byte that reaches every device at once; devices have the addresses 1 to 254.
constexpr quint8 kAllDevices = 255;
constexpr int kAddressCount = 255; // "Master" and the addresses 1 to 254

// One of the five clock frames: its command letter, its name and the values a device accepts.
struct ClockField {
    char letter;
    const char* name;
    int minimum;
    int maximum;
};

// Positions in a clock group.
enum ClockFieldIndex { kMinute, kHour, kMonth, kYear, kDay, kClockFieldCount };

// In the order a clock group goes out. Seconds are never sent.
inline constexpr ClockField kClockFields[kClockFieldCount] = {
    {'M', "minute", 0, 59}, {'H', "hour", 0, 23}, {'m', "month", 1, 12},
    {'Y', "year", 0, 99},   {'D', "day", 1, 31},
};

// The position of `letter` in a clock group, or -1 for a letter that is no clock frame.
inline constexpr int clockFieldIndex(char letter) {
    for (int i = 0; i < kClockFieldCount; ++i) {
        if (kClockFields[i].letter == letter)
            return i;
    }
    return -1;
}

} // namespace velk::frames
