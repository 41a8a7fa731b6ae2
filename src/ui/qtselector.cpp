#include "ui/qtselector.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>

namespace velk {

namespace {

// Qt gives a field a completer over the whole list when it has none, and the selector drops it
// at once; one empty stand-in, shared by every selector of the window, spares building them.
QCompleter* standInCompleter(QWidget* window) {
    const QString name = QStringLiteral("velk-stand-in-completer");
    auto* completer = window->findChild<QCompleter*>(name, Qt::FindDirectChildrenOnly);
    if (!completer) {
        completer = new QCompleter(window);
        completer->setObjectName(name);
    }
    return completer;
}

// As QComboBox::setEditable(true), less the work a selector never uses or can put off: Qt
// builds the drop-down at once, and a completer that the selector drops.
void makeEditable(QComboBox* combo) {
    auto* field = new QLineEdit(combo);
    field->setPalette(combo->palette());
    field->setCompleter(standInCompleter(combo->window()));
    combo->setLineEdit(field);
}

} // namespace

QtSelector::QtSelector(QComboBox* combo, const QStringList& entries) : m_combo(combo) {
    // The list is filled before the field exists, which would otherwise lay its text out again
    // for every entry added.
    m_combo->clear();
    m_combo->addItems(entries);
    m_combo->setCurrentIndex(-1);
    makeEditable(m_combo);
    // Typing behaves like a plain text field: nothing typed joins the list or completes itself.
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setCompleter(nullptr);

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

void QtSelector::replaceEntries(const QStringList& entries, int index, const QString& text) {
    m_combo->clear();
    m_combo->addItems(entries);
    m_combo->setCurrentIndex(index);
    m_edited = index < 0 && !text.isEmpty();
    if (m_edited)
        m_combo->setEditText(text);
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

void QtSelector::setEntry(int index, const QString& text) {
    if (index < 0 || index >= m_combo->count())
        return;
    m_combo->setItemText(index, text);
    // A long entry (a network line's URL) may not fit the field: the whole of it on hovering.
    m_combo->setItemData(index, text, Qt::ToolTipRole);
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
