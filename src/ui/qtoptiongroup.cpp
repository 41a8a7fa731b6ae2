#include "ui/qtoptiongroup.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace velk {

QtOptionGroup::QtOptionGroup(const QList<QAbstractButton*>& buttons)
    : m_group(new QButtonGroup(this)) {
    m_group->setExclusive(true);
    for (int index = 0; index < buttons.size(); ++index)
        m_group->addButton(buttons.at(index), index);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int index) { raiseClick(index); });
}

int QtOptionGroup::selected() const {
    return m_group->checkedId();
}

int QtOptionGroup::count() const {
    return int(m_group->buttons().size());
}

void QtOptionGroup::check(int index) {
    if (QAbstractButton* button = m_group->button(index))
        button->setChecked(true);
}

} // namespace velk
