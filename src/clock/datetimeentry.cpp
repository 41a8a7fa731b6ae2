#include "clock/datetimeentry.h"

namespace velk {

namespace {

// The entry clock text for the selected entry, counting the first entry as `first`.
void takeSelection(const Selector& selector, int first, QString& target) {
    const int index = selector.listIndex();
    if (index >= 0)
        target = twoDigitForm(index + first);
}

// Selects the entry of a stored clock text whose first entry stands for `first`.
void selectValue(Selector& selector, const QString& value, int first) {
    if (const std::optional<int> number = clockNumber(value))
        selector.setListIndex(*number - first);
}

} // namespace

DateTimeEntry::DateTimeEntry(const DateTimeSelectors& selectors) : m_selectors(selectors) {}

Selector* DateTimeEntry::dayList(int list) const {
    if (list < 0 || list >= kDayListCount)
        return nullptr;
    return &m_selectors.day[list].get();
}

void DateTimeEntry::hourClicked() {
    takeSelection(m_selectors.hour, 0, m_entry.hour);
}

void DateTimeEntry::minuteClicked() {
    takeSelection(m_selectors.minute, 0, m_entry.minute);
}

void DateTimeEntry::secondClicked() {
    takeSelection(m_selectors.second, 0, m_entry.second);
}

void DateTimeEntry::dayClicked(int list) {
    if (Selector* selector = dayList(list))
        takeSelection(*selector, 1, m_entry.day);
}

void DateTimeEntry::monthClicked() {
    takeSelection(m_selectors.month, 1, m_entry.month);
    showDayList();
}

void DateTimeEntry::yearClicked() {
    takeSelection(m_selectors.year, 0, m_entry.year);
    showDayList();
}

void DateTimeEntry::hourChanged() {
    selectValue(m_selectors.hour, m_entry.hour, 0);
}

void DateTimeEntry::minuteChanged() {
    selectValue(m_selectors.minute, m_entry.minute, 0);
}

void DateTimeEntry::secondChanged() {
    selectValue(m_selectors.second, m_entry.second, 0);
}

void DateTimeEntry::dayChanged(int list) {
    if (Selector* selector = dayList(list))
        selectValue(*selector, m_entry.day, 1);
}

void DateTimeEntry::monthChanged() {
    selectValue(m_selectors.month, m_entry.month, 1);
}

void DateTimeEntry::yearChanged() {
    selectValue(m_selectors.year, m_entry.year, 0);
}

void DateTimeEntry::showDayList() {
    // Without a month there is no list to choose; hiding all four would leave no day at all.
    const std::optional<int> chosen = dayListFor(m_entry.month, m_entry.year);
    if (!chosen)
        return;
    for (int list = 0; list < kDayListCount; ++list)
        dayList(list)->setVisible(false);
    Selector& shown = *dayList(*chosen);
    if (const std::optional<int> index = dayIndexOnList(*chosen, m_entry.day))
        shown.setListIndex(*index);
    shown.setVisible(true);
}

void DateTimeEntry::fillClockSelectors() {
    selectValue(m_selectors.hour, m_entry.hour, 0);
    selectValue(m_selectors.minute, m_entry.minute, 0);
    selectValue(m_selectors.second, m_entry.second, 0);
    selectValue(m_selectors.year, m_entry.year, 0);
    selectValue(m_selectors.month, m_entry.month, 1);
    showDayList();
}

} // namespace velk
