#include "clock/dayrules.h"

namespace velk {

QString twoDigitForm(const QString& decimal) {
    return decimal.size() == 1 ? QLatin1Char('0') + decimal : decimal;
}

QString twoDigitForm(int value) {
    return twoDigitForm(QString::number(value));
}

std::optional<int> clockNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

bool isLeapYear(int twoDigitYear) {
    return twoDigitYear % 4 == 0;
}

bool isLeapYear(const QString& year) {
    const std::optional<int> value = clockNumber(year);
    return value && isLeapYear(*value);
}

std::optional<int> daysInMonth(int month, int twoDigitYear) {
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return 31;
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return isLeapYear(twoDigitYear) ? 29 : 28;
    default:
        return std::nullopt;
    }
}

std::optional<int> dayListFor(const QString& month, const QString& year) {
    const std::optional<int> value = clockNumber(month);
    if (!value)
        return std::nullopt;
    // An unreadable year is no leap year.
    const std::optional<int> days = daysInMonth(*value, clockNumber(year).value_or(1));
    if (!days)
        return std::nullopt;
    return *days - lastDayOfList(0);
}

std::optional<int> dayIndexOnList(int list, const QString& day) {
    const std::optional<int> value = clockNumber(day);
    if (!value)
        return std::nullopt;
    return qMin(*value, lastDayOfList(list)) - 1;
}

} // namespace velk
