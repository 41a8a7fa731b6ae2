#pragma once

// In-memory controls that honour the same contracts as the Qt widgets, so every handler can be
// driven without a display. Operator actions (pick, type, click) are methods of their own.

#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/messagebox.h"
#include "controls/optiongroup.h"
#include "controls/selector.h"
#include "controls/statusbar.h"
#include "controls/textbox.h"

#include <QStringList>
#include <vector>

namespace velk {

class MemorySelector : public Selector {
public:
    explicit MemorySelector(QStringList entries = {});

    // The operator picks entry `index` from the list.
    void pick(int index);
    // The operator types into the text field: no entry stays selected.
    void type(const QString& text);

    int listIndex() const override { return m_index; }
    int count() const override { return m_entries.size(); }
    QString entry(int index) const override { return m_entries.value(index); }
    void setEntry(int index, const QString& text) override {
        if (index < 0 || index >= m_entries.size())
            return;
        m_entries[index] = text;
        if (index == m_index)
            m_text = text;
    }
    QString text() const override { return m_text; }
    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override { m_visible = visible; }

protected:
    void selectEntry(int index) override;

private:
    QStringList m_entries;
    int m_index = -1;
    QString m_text;
    bool m_visible = true;
};

class MemoryTextBox : public TextBox {
public:
    explicit MemoryTextBox(int maxLength = 0) : m_maxLength(maxLength) {}

    // The operator types at the end of the text; characters beyond the limit or refused by the
    // input filter are left out.
    void type(const QString& text);
    // The operator replaces the whole text by pasting; the paste is filtered and cut to the limit.
    void paste(const QString& text);

    QString text() const override { return m_text; }
    int maxLength() const override { return m_maxLength; }
    void setToolTip(const QString& text) override { m_toolTip = text; }
    QString toolTip() const { return m_toolTip; }

protected:
    void storeText(const QString& text) override { m_text = text; }

private:
    void edit(const QString& after);
    QString m_text;
    QString m_toolTip;
    int m_maxLength;
};

class MemoryOptionGroup : public OptionGroup {
public:
    explicit MemoryOptionGroup(int count) : m_count(count) {}
    void pick(int index) { select(index); }
    int selected() const override { return m_selected; }
    int count() const override { return m_count; }

protected:
    void check(int index) override { m_selected = index; }

private:
    int m_count;
    int m_selected = -1;
};

class MemoryCheckBox : public CheckBox {
public:
    bool isChecked() const override { return m_checked; }
    void setChecked(bool checked) override { m_checked = checked; }

private:
    bool m_checked = false;
};

class MemoryButton : public Button {
public:
    void click() const { raiseClick(); }
    bool isVisible() const override { return m_visible; }
    void setVisible(bool visible) override { m_visible = visible; }

private:
    bool m_visible = true;
};

class MemoryStatusBar : public StatusBar {
public:
    explicit MemoryStatusBar(QStringList panels = {}) : m_panels(std::move(panels)) {}
    int panelCount() const override { return m_panels.size(); }
    void insertPanel(int position) override;
    QString panelText(int position) const override { return m_panels.value(position - 1); }
    void setPanelText(int position, const QString& text) override;
    void fitPanelToText(int) override {}
    const QStringList& panels() const { return m_panels; }

private:
    QStringList m_panels;
};

class MemoryMessageBox : public MessageBox {
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon;
    };
    void show(const QString& text, const QString& title, Icon icon) override;
    const std::vector<Shown>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }
    // Runs while the next box is "open", to model a tick arriving during a modal wait.
    void whileOpen(Handler handler) { m_whileOpen = std::move(handler); }

private:
    std::vector<Shown> m_shown;
    Handler m_whileOpen;
};

} // namespace velk
