#pragma once

namespace velk {

// One of the five clock frames: its command letter, its name and the values a device accepts.
struct ClockField {
    char letter;
    const char* name;
    int minimum;
    int maximum;
};

// In the order the panel sends a clock group.
inline constexpr ClockField kClockFields[] = {
    {'M', "minute", 0, 59}, {'H', "hour", 0, 23}, {'m', "month", 1, 12},
    {'Y', "year", 0, 99},   {'D', "day", 1, 31},
};
inline constexpr int kClockFieldCount = int(sizeof kClockFields / sizeof kClockFields[0]);

// The position of `letter` in a clock group, or -1 for a letter that is no clock frame.
inline constexpr int clockFieldIndex(char letter) {
    for (int i = 0; i < kClockFieldCount; ++i) {
        if (kClockFields[i].letter == letter)
            return i;
    }
    return -1;
}

} // namespace velk
