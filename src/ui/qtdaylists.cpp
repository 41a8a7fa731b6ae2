#include "ui/qtdaylists.h"

#include <QComboBox>

namespace velk {

// One day list. While shown it reads and writes the combo box; while hidden it keeps its entries,
// its selection and the text of its field itself.
class QtDayLists::List : public Selector {
public:
    List(QtDayLists& owner, int index)
        : m_owner(owner), m_index(index), m_entries(twoDigitEntries(dayEntries(index))) {}

    bool isShown() const { return m_owner.m_shown == m_index; }
    const QStringList& entries() const { return m_entries; }
    int keptIndex() const { return m_selected; }
    const QString& keptText() const { return m_text; }
    // What the combo box showed while this list had it.
    void keep(int selected, const QString& text) {
        m_selected = selected;
        m_text = text;
    }
    void operatorPicked() const { raiseClick(); }
    void operatorTyped() const { raiseChange(); }

    int listIndex() const override { return isShown() ? m_owner.m_field.listIndex() : m_selected; }
    int count() const override { return int(m_entries.size()); }
    QString entry(int index) const override { return m_entries.value(index); }
    void setEntry(int index, const QString& text) override {
        if (index < 0 || index >= count())
            return;
        m_entries[index] = text;
        if (isShown())
            m_owner.m_field.setEntry(index, text);
        else if (m_selected == index)
            m_text = text;
    }
    QString text() const override { return isShown() ? m_owner.m_field.text() : m_text; }
    bool isVisible() const override { return isShown(); }
    void setVisible(bool visible) override {
        if (visible)
            m_owner.show(m_index);
        else
            m_owner.hide(m_index);
    }

protected:
    void selectEntry(int index) override {
        if (isShown())
            m_owner.m_field.showEntry(index);
        else
            keep(index, m_entries.value(index));
    }

private:
    QtDayLists& m_owner;
    const int m_index;
    QStringList m_entries;
    int m_selected = -1;
    QString m_text;
};

QtDayLists::QtDayLists(QComboBox* combo)
    : m_field(combo, twoDigitEntries(dayEntries(kListCount - 1))) {
    for (int index = 0; index < kListCount; ++index)
        m_lists[std::size_t(index)] = std::make_unique<List>(*this, index);
    m_shown = kListCount - 1;
    // Only the list shown can be picked from or typed into.
    m_field.onClick([this] {
        if (m_shown >= 0)
            m_lists[std::size_t(m_shown)]->operatorPicked();
    });
    m_field.onChange([this] {
        if (m_shown >= 0)
            m_lists[std::size_t(m_shown)]->operatorTyped();
    });
}

QtDayLists::~QtDayLists() = default;

Selector& QtDayLists::list(int index) {
    return *m_lists.at(std::size_t(index));
}

void QtDayLists::show(int index) {
    if (m_shown == index)
        return;
    if (m_shown >= 0)
        hide(m_shown);
    const List& shown = *m_lists[std::size_t(index)];
    m_field.replaceEntries(shown.entries(), shown.keptIndex(), shown.keptText());
    m_shown = index;
    m_field.setVisible(true);
}

void QtDayLists::hide(int index) {
    if (m_shown != index)
        return;
    m_lists[std::size_t(index)]->keep(m_field.listIndex(), m_field.text());
    m_shown = -1;
    m_field.setVisible(false);
}

} // namespace velk
