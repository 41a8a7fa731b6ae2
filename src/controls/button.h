#pragma once

#include "controls/handler.h"

namespace velk {

// A command button. Clicks come from the operator only; code shows or hides it.
class Button {
public:
    virtual ~Button() = default;

    void onClick(Handler handler) { m_click = std::move(handler); }

    virtual bool isVisible() const = 0;
    virtual void setVisible(bool visible) = 0;

protected:
    void raiseClick() const { raise(m_click); }

private:
    Handler m_click;
};

} // namespace velk
