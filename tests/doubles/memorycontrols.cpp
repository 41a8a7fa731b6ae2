#include "doubles/memorycontrols.h"

namespace velk {

MemorySelector::MemorySelector(QStringList entries) : m_entries(std::move(entries)) {}

void MemorySelector::pick(int index) {
    setListIndex(index);
}

void MemorySelector::type(const QString& text) {
    m_index = -1;
    m_text = text;
    raiseChange();
}

void MemorySelector::selectEntry(int index) {
    m_index = index;
    m_text = m_entries.value(index);
}

void MemoryTextBox::type(const QString& text) {
    edit(m_text + text);
}

void MemoryTextBox::paste(const QString& text) {
    edit(text);
}

void MemoryTextBox::edit(const QString& after) {
    const TextEdit taken = operatorEdit(m_text, after, int(after.size()));
    if (taken.text != m_text) {
        m_text = taken.text;
        raiseChange();
    }
    if (taken.leftOut)
        raiseLeftOut();
}

void MemoryStatusBar::insertPanel(int position) {
    m_panels.insert(qBound(0, position - 1, int(m_panels.size())), QString());
}

void MemoryStatusBar::setPanelText(int position, const QString& text) {
    if (position >= 1 && position <= m_panels.size())
        m_panels[position - 1] = text;
}

void MemoryMessageBox::show(const QString& text, const QString& title, Icon icon) {
    m_shown.push_back({text, title, icon});
    if (m_whileOpen) {
        Handler pending = std::move(m_whileOpen);
        m_whileOpen = nullptr;
        pending();
    }
}

} // namespace velk
