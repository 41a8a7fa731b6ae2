#pragma once

#include "controls/selector.h"

#include <QObject>

class QComboBox;

namespace velk {

// A selector over an editable QComboBox. Only the operator's own actions (a pick from the list,
// typing into the field) raise the handlers from Qt's side; selections made by code are
// notified by the contract, so no handler runs twice.
class QtSelector : public QObject, public Selector {
    Q_OBJECT
public:
    // Fills the combo box with `entries` and leaves it without a selection. The combo box must
    // outlive the adapter.
    QtSelector(QComboBox* combo, const QStringList& entries);

    // A locked field shows the selected entry but takes no typing; picking still works.
    void setTextLocked(bool locked);
    // Puts another list into the combo box with entry `index` selected, or with `text` in the
    // field when `index` is -1, and runs no handler.
    void replaceEntries(const QStringList& entries, int index, const QString& text);
    // Selects without running a handler.
    void showEntry(int index) { selectEntry(index); }

    int listIndex() const override;
    int count() const override;
    QString entry(int index) const override;
    void setEntry(int index, const QString& text) override;
    QString text() const override;
    bool isVisible() const override;
    void setVisible(bool visible) override;

protected:
    void selectEntry(int index) override;

private:
    void onActivated();
    void onTextEdited();

    QComboBox* m_combo;
    // Typing leaves the combo box's current index alone, but then no entry counts as selected.
    bool m_edited = false;
};

} // namespace velk
