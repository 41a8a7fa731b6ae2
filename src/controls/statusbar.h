#pragma once

#include <QString>

namespace velk {

// A status bar of text panels, numbered from 1 like the operator reads them.
class StatusBar {
public:
    virtual ~StatusBar() = default;
    virtual int panelCount() const = 0;
    // Inserts an empty panel at `position`; the panels from there on move one place right.
    virtual void insertPanel(int position) = 0;
    virtual QString panelText(int position) const = 0;
    virtual void setPanelText(int position, const QString& text) = 0;
    // Sizes the panel to its whole text, trailing blanks included.
    virtual void fitPanelToText(int position) = 0;
};

} // namespace velk
