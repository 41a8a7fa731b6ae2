#pragma once

#include "controls/handler.h"
#include "controls/textedit.h"

#include <QString>

namespace velk {

// The title box holds at most this many characters: one line of a display.
inline constexpr int kTitleLength = 20;

// A single-line text box.
//
// Notification rules: setText runs the change handler before it returns whenever the text
// changes; so does the operator's typing or pasting. The length limit applies to typing and
// pasting only, never to text set by code, and counts whole characters. So does the input filter:
// what typing and pasting insert passes through it, and when it leaves characters out the
// left-out handler runs once for that edit.
class TextBox {
public:
    virtual ~TextBox() = default;

    void onChange(Handler handler) { m_change = std::move(handler); }
    void onLeftOut(Handler handler) { m_leftOut = std::move(handler); }
    void setInputFilter(InputFilter filter) { m_filter = std::move(filter); }

    void setText(const QString& text);
    virtual QString text() const = 0;
    virtual int maxLength() const = 0; // 0: no limit
    // What the box tells on hovering; a box without one ignores it.
    virtual void setToolTip(const QString& text) { Q_UNUSED(text) }

protected:
    virtual void storeText(const QString& text) = 0;
    void raiseChange() const { raise(m_change); }
    void raiseLeftOut() const { raise(m_leftOut); }
    // The operator's edit from `before` to `after` as the box takes it.
    TextEdit operatorEdit(const QString& before, const QString& after, int cursor) const {
        return applyEdit(before, after, cursor, maxLength(), m_filter);
    }

private:
    Handler m_change;
    Handler m_leftOut;
    InputFilter m_filter;
};

} // namespace velk
