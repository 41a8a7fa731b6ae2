#pragma once

#include <QString>

namespace velk {

// One date and time as the panel keeps it: six two-digit decimal texts, the year as its last two
// digits. Texts, not numbers, because they go to the wire digit by digit.
struct ClockValues {
    QString hour;
    QString minute;
    QString second;
    QString day;
    QString month;
    QString year;
};

inline bool operator==(const ClockValues& a, const ClockValues& b) {
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second && a.day == b.day &&
           a.month == b.month && a.year == b.year;
}

inline bool operator!=(const ClockValues& a, const ClockValues& b) {
    return !(a == b);
}

} // namespace velk
