#pragma once

#include "controls/handler.h"

#include <QString>
#include <QStringList>

namespace velk {

// A drop-down selector with an editable text field above a fixed list.
//
// Notification rules every implementation honours:
// - setListIndex(i) selects entry i and runs the click handler before it returns, also when i is
//   already selected. An operator's pick does the same.
// - An operator's typing runs the change handler and leaves no entry selected (index -1).
// - A selection made by code never runs the change handler.
class Selector {
public:
    virtual ~Selector() = default;

    void onClick(Handler handler) { m_click = std::move(handler); }
    void onChange(Handler handler) { m_change = std::move(handler); }

    // Selects entry `index` and runs the click handler. An index outside the list is refused:
    // nothing changes, no handler runs, and false tells the caller the step failed.
    bool setListIndex(int index);

    virtual int listIndex() const = 0;
    virtual int count() const = 0;
    virtual QString entry(int index) const = 0;
    // Rewrites the text of entry `index` without selecting anything or running a handler; the
    // field follows when that entry is the selected one.
    virtual void setEntry(int index, const QString& text) = 0;
    // What the text field shows: the selected entry, or what the operator typed.
    virtual QString text() const = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;

protected:
    // Selects without notifying; implementations call raiseClick/raiseChange for operator actions.
    virtual void selectEntry(int index) = 0;
    void raiseClick() const { raise(m_click); }
    void raiseChange() const { raise(m_change); }

private:
    Handler m_click;
    Handler m_change;
};

// The first and last value a date or time selector offers.
struct EntryRange {
    int first;
    int last;
};

// The window's date and time selectors, written once for the window and whatever stands in for it.
inline constexpr EntryRange kHourEntries{0, 23};
inline constexpr EntryRange kMinuteEntries{0, 59};
inline constexpr EntryRange kSecondEntries{0, 59};
inline constexpr EntryRange kMonthEntries{1, 12};
inline constexpr EntryRange kYearEntries{0, 99}; // the year within its century
// One day list per month length: 1-28, 1-29, 1-30 and 1-31.
inline constexpr EntryRange dayEntries(int list) {
    return {1, 28 + list};
}

// Two-digit entries "00", "01", ... used by every date and time selector.
QStringList twoDigitEntries(int first, int last);
inline QStringList twoDigitEntries(EntryRange range) {
    return twoDigitEntries(range.first, range.last);
}

} // namespace velk
