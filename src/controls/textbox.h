#pragma once

#include "controls/handler.h"

#include <QString>

namespace velk {

// A single-line text box.
//
// Notification rules: setText runs the change handler before it returns whenever the text
// changes; so does the operator's typing or pasting. The length limit applies to typing and
// pasting only, never to text set by code.
class TextBox {
public:
    virtual ~TextBox() = default;

    void onChange(Handler handler) { m_change = std::move(handler); }

    void setText(const QString& text);
    virtual QString text() const = 0;
    virtual int maxLength() const = 0; // 0: no limit

protected:
    virtual void storeText(const QString& text) = 0;
    void raiseChange() const { raise(m_change); }

private:
    Handler m_change;
};

} // namespace velk
