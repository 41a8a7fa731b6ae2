#pragma once

#include "controls/handler.h"

namespace velk {

// An exclusive group of option buttons forming one control array.
// Selecting a button, by the operator or from code, runs the click handler with its index.
class OptionGroup {
public:
    virtual ~OptionGroup() = default;

    void onClick(IndexHandler handler) { m_click = std::move(handler); }

    // Refuses an index outside the group (returns false, no handler runs).
    bool select(int index);
    virtual int selected() const = 0; // -1 when none
    virtual int count() const = 0;

protected:
    virtual void check(int index) = 0;
    void raiseClick(int index) const {
        if (m_click)
            m_click(index);
    }

private:
    IndexHandler m_click;
};

} // namespace velk
