#pragma once

#include "clock/clockvalues.h"
#include "clock/dayrules.h"
#include "controls/selector.h"

#include <array>
#include <functional>

namespace velk {

// The date and time selectors of the window. The day is four overlaid lists of 28, 29, 30 and 31
// days; exactly one of them is shown, chosen by month length and leap year.
struct DateTimeSelectors {
    Selector& hour;
    Selector& minute;
    Selector& second;
    std::array<std::reference_wrapper<Selector>, kDayListCount> day;
    Selector& month;
    Selector& year;
};

// Owns the entry clock: the date and time the operator has picked, which Set Time sends.
// Picks update it at once; typing into a selector is undone by re-selecting the stored value.
//
// Steps that cannot be carried out (no entry selected, a text that is not a number, an index
// outside a list) are skipped quietly and leave their target as it was.
class DateTimeEntry {
public:
    explicit DateTimeEntry(const DateTimeSelectors& selectors);

    const ClockValues& entryClock() const { return m_entry; }
    // The PC clock capture replaces the entry clock as a whole; the selectors follow only
    // through fillClockSelectors().
    void setEntryClock(const ClockValues& values) { m_entry = values; }

    void hourClicked();
    void minuteClicked();
    void secondClicked();
    void dayClicked(int list);
    void monthClicked();
    void yearClicked();

    void hourChanged();
    void minuteChanged();
    void secondChanged();
    void dayChanged(int list);
    void monthChanged();
    void yearChanged();

    // Shows the one day list that fits the entry month and year and selects the entry day on it,
    // pulled back to the month's last day where needed.
    void showDayList();
    // Makes every selector show the entry clock.
    void fillClockSelectors();

private:
    Selector* dayList(int list) const;

    DateTimeSelectors m_selectors;
    ClockValues m_entry;
};

} // namespace velk
