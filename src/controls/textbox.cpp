#include "controls/textbox.h"

namespace velk {

void TextBox::setText(const QString& text) {
    if (text == this->text())
        return;
    storeText(text);
    raiseChange();
}

} // namespace velk
