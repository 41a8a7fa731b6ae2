#pragma once

#include "controls/textedit.h"

#include <QString>
#include <optional>

// What the title box takes: characters the displays can show, a line break as one blank, at most
// kTitleLength characters. The box applies it to the operator's typing and pasting; a title
// that comes whole from elsewhere is held to the same rule.
namespace velk::titlerule {

// The title box's input filter.
InputFilter inputFilter();

// The title as the box would hold it after `text` was pasted into it empty, when the box would
// take it whole (line breaks count as the blanks they become). Nothing when the box would leave
// characters out or cut it short; `why` then says which, in one line.
std::optional<QString> accept(const QString& text, QString* why);

} // namespace velk::titlerule
