#include "ui/qtcheckbox.h"

#include <QAbstractButton>

namespace velk {

QtCheckBox::QtCheckBox(QAbstractButton* box) : m_box(box) {
    m_box->setCheckable(true);
}

bool QtCheckBox::isChecked() const {
    return m_box->isChecked();
}

void QtCheckBox::setChecked(bool checked) {
    m_box->setChecked(checked);
}

} // namespace velk
