#pragma once

#include "clock/datetimeentry.h"
#include "doubles/memorycontrols.h"

#include <QTest>
#include <array>

namespace velk::test {

// The six date and time selectors in memory, bound to the entry the way the window binds them.
class DateTimeRig {
public:
    DateTimeRig() {
        hour.onClick([this] { entry.hourClicked(); });
        minute.onClick([this] { entry.minuteClicked(); });
        second.onClick([this] { entry.secondClicked(); });
        month.onClick([this] { entry.monthClicked(); });
        year.onClick([this] { entry.yearClicked(); });
        hour.onChange([this] { entry.hourChanged(); });
        minute.onChange([this] { entry.minuteChanged(); });
        second.onChange([this] { entry.secondChanged(); });
        month.onChange([this] { entry.monthChanged(); });
        year.onChange([this] { entry.yearChanged(); });
        for (int k = 0; k < kDayListCount; ++k) {
            day[k].onClick([this, k] { entry.dayClicked(k); });
            day[k].onChange([this, k] { entry.dayChanged(k); });
        }
    }
    DateTimeRig(const DateTimeRig&) = delete;
    DateTimeRig& operator=(const DateTimeRig&) = delete;

    // Sets the entry clock and the selectors, as Update Time does.
    void fill(const ClockValues& values) {
        entry.setEntryClock(values);
        entry.fillClockSelectors();
    }

    int visibleDayListCount() const {
        int visible = 0;
        for (const MemorySelector& list : day)
            visible += list.isVisible() ? 1 : 0;
        return visible;
    }
    // The one visible day list, or -1 when not exactly one is visible.
    int visibleDayList() const {
        if (visibleDayListCount() != 1)
            return -1;
        for (int k = 0; k < kDayListCount; ++k) {
            if (day[k].isVisible())
                return k;
        }
        return -1;
    }
    MemorySelector& shownDay() { return day[visibleDayList()]; }

    MemorySelector hour{twoDigitEntries(kHourEntries)};
    MemorySelector minute{twoDigitEntries(kMinuteEntries)};
    MemorySelector second{twoDigitEntries(kSecondEntries)};
    std::array<MemorySelector, kDayListCount> day{MemorySelector(twoDigitEntries(dayEntries(0))),
                                                  MemorySelector(twoDigitEntries(dayEntries(1))),
                                                  MemorySelector(twoDigitEntries(dayEntries(2))),
                                                  MemorySelector(twoDigitEntries(dayEntries(3)))};
    MemorySelector month{twoDigitEntries(kMonthEntries)};
    MemorySelector year{twoDigitEntries(kYearEntries)};
    DateTimeEntry entry{
        DateTimeSelectors{hour, minute, second, {day[0], day[1], day[2], day[3]}, month, year}};
};

inline ClockValues clockValues(const char* hour, const char* minute, const char* second,
                               const char* day, const char* month, const char* year) {
    return ClockValues{QString::fromLatin1(hour),   QString::fromLatin1(minute),
                       QString::fromLatin1(second), QString::fromLatin1(day),
                       QString::fromLatin1(month),  QString::fromLatin1(year)};
}

} // namespace velk::test

namespace velk {
// Readable failure messages for QCOMPARE on clock values.
inline char* toString(const ClockValues& values) {
    const QString text =
        QStringLiteral("%1:%2:%3 %4-%5-%6")
            .arg(values.hour, values.minute, values.second, values.month, values.day, values.year);
    return QTest::toString(text);
}
} // namespace velk
