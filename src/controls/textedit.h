#pragma once

#include <QString>
#include <functional>

namespace velk {

// What an operator's typing or pasting may put into a text box: the characters kept of an
// inserted text, and whether any were left out.
struct KeptText {
    QString text;
    bool leftOut = false;
};
using InputFilter = std::function<KeptText(const QString& inserted)>;

// An operator's edit of a text box, reduced to what the box takes.
struct TextEdit {
    QString text;
    int cursor = 0;
    bool leftOut = false; // the filter left characters out
};

// `before` is the box's text and `after` the text the edit would leave, with the cursor at
// `cursor` just behind what was inserted. The inserted text goes through `filter` (none: kept
// whole) and is cut at its end so the box holds at most `limit` characters (0: no limit). The
// limit counts whole characters, so one outside the basic plane is never cut in half. A text that
// was already longer (set by the program) is left whole; it only cannot grow.
TextEdit applyEdit(const QString& before, const QString& after, int cursor, int limit,
                   const InputFilter& filter);

// Characters as the operator counts them: a surrogate pair is one.
int characterCount(const QString& text);

} // namespace velk
