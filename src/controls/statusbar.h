#pragma once

#include <QString>

namespace velk {

// A status bar of text panels, numbered from 1 like the operator reads them. Which panel shows
// what is known here only: the first carries "Status" and the operator's notices, the link panel
// stands behind it once inserted, and the date always stands last.
class StatusBar {
public:
    // The panels the window is built with: the first one and the date.
    static constexpr int kDesignedPanels = 2;

    virtual ~StatusBar() = default;
    virtual int panelCount() const = 0;
    // Inserts an empty panel at `position`; the panels from there on move one place right.
    virtual void insertPanel(int position) = 0;
    virtual QString panelText(int position) const = 0;
    virtual void setPanelText(int position, const QString& text) = 0;
    // Sizes the panel to its whole text, trailing blanks included.
    virtual void fitPanelToText(int position) = 0;

    QString firstText() const { return panelText(kFirstPanel); }
    void setFirstText(const QString& text) { setPanelText(kFirstPanel, text); }
    // Puts the link panel behind the first one unless the bar has exactly the panels it needs.
    void insertLinkPanel() {
        if (panelCount() != kDesignedPanels + 1)
            insertPanel(kLinkPanel);
    }
    // Writes the link panel (the second), sized to its whole text.
    void setLinkText(const QString& text) {
        setPanelText(kLinkPanel, text);
        fitPanelToText(kLinkPanel);
    }
    // Writes the last panel, whether the link panel has been inserted yet or not.
    void setDateText(const QString& text) {
        if (panelCount() >= kDesignedPanels)
            setPanelText(panelCount(), text);
    }

private:
    static constexpr int kFirstPanel = 1;
    static constexpr int kLinkPanel = 2;
};

} // namespace velk
