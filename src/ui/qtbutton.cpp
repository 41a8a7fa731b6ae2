#include "ui/qtbutton.h"

#include <QAbstractButton>

namespace velk {

QtButton::QtButton(QAbstractButton* button) : m_button(button) {
    connect(m_button, &QAbstractButton::clicked, this, [this] { raiseClick(); });
}

bool QtButton::isVisible() const {
    return !m_button->isHidden();
}

void QtButton::setVisible(bool visible) {
    m_button->setVisible(visible);
}

} // namespace velk
