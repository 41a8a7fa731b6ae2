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

// Two-digit entries "00", "01", ... used by every date and time selector.
QStringList twoDigitEntries(int first, int last);

// The address selector's entries: "Master" for all devices, then the addresses "1" to "254".
QStringList addressEntries();

} // namespace velk
