#pragma once

#include <QString>
#include <optional>

namespace velk {

// The four overlaid day lists hold 28, 29, 30 and 31 days; list k ends on day 28 + k.
constexpr int kDayListCount = 4;
constexpr int lastDayOfList(int list) {
    return 28 + list;
}

// Puts a "0" in front of a one-character decimal text; other texts stay as they are.
QString twoDigitForm(const QString& decimal);
QString twoDigitForm(int value);

// The decimal number a clock text stands for, or nothing when the text is not a number.
std::optional<int> clockNumber(const QString& text);

// Only the two-digit year counts: every multiple of 4 is a leap year, "00" included.
bool isLeapYear(int twoDigitYear);
bool isLeapYear(const QString& year);

// The days of a month (1 to 12) in a two-digit year; nothing for any other month.
std::optional<int> daysInMonth(int month, int twoDigitYear);

// The day list (0..3) that fits a month in a year; nothing for a month outside "01".."12".
std::optional<int> dayListFor(const QString& month, const QString& year);

// The index to select on a day list for a day: the day itself, pulled back to the list's last
// day when the month is shorter. Nothing when the day is not a number.
std::optional<int> dayIndexOnList(int list, const QString& day);

} // namespace velk
