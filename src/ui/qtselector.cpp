#include "ui/qtselector.h"

#include <QComboBox>
#include <QLineEdit>

namespace velk {

QtSelector::QtSelector(QComboBox* combo, const QStringList& entries) : m_combo(combo) {
    m_combo->setEditable(true);
    // Typing behaves like a plain text field: nothing typed joins the list or completes itself.
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setCompleter(nullptr);
    m_combo->clear();
    m_combo->addItems(entries);
    m_combo->setCurrentIndex(-1);

    QLineEdit* field = m_combo->lineEdit();
    // Qt selects a matching entry when typing ends and reports that as the operator's pick;
    // a typed text must stay a typed text.
    disconnect(field, &QLineEdit::editingFinished, m_combo, nullptr);

    connect(m_combo, &QComboBox::activated, this, &QtSelector::onActivated);
    connect(field, &QLineEdit::textEdited, this, &QtSelector::onTextEdited);
}

void QtSelector::setTextLocked(bool locked) {
    m_combo->lineEdit()->setReadOnly(locked);
}

int QtSelector::listIndex() const {
    return m_edited ? -1 : m_combo->currentIndex();
}

int QtSelector::count() const {
    return m_combo->count();
}

QString QtSelector::entry(int index) const {
    return m_combo->itemText(index);
}

QString QtSelector::text() const {
    return m_combo->currentText();
}

bool QtSelector::isVisible() const {
    return !m_combo->isHidden();
}

void QtSelector::setVisible(bool visible) {
    m_combo->setVisible(visible);
}

void QtSelector::selectEntry(int index) {
    m_edited = false;
    // Also puts the entry's text back into the field when the operator had typed over it.
    m_combo->setCurrentIndex(index);
}

void QtSelector::onActivated() {
    m_edited = false;
    raiseClick();
}

void QtSelector::onTextEdited() {
    m_edited = true;
    raiseChange();
}

} // namespace velk
