#include "ui/returnclick.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace velk {

void ReturnClick::watch(QAbstractButton* button) {
    button->installEventFilter(this);
}

bool ReturnClick::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool returnKey = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!returnKey || !plain || !button)
        return false;
    // One click per press: holding the key down must not send a frame per repeat.
    if (!key->isAutoRepeat())
        button->click();
    return true;
}

} // namespace velk
