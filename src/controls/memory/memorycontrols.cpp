#include "controls/memory/memorycontrols.h"

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
    QString result = m_text + text;
    if (m_maxLength > 0 && result.size() > m_maxLength)
        result.truncate(qMax(m_text.size(), m_maxLength));
    edit(result);
}

void MemoryTextBox::paste(const QString& text) {
    edit(m_maxLength > 0 ? text.left(m_maxLength) : text);
}

void MemoryTextBox::edit(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    raiseChange();
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
