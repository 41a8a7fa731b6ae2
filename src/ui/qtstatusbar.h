#pragma once

#include "controls/statusbar.h"

#include <QList>

class QLabel;
class QStatusBar;

namespace velk {

// A status bar whose panels are labels in a QStatusBar, numbered from 1.
class QtStatusBar : public StatusBar {
public:
    // How a panel set up by the window keeps its width.
    enum class Width {
        Fixed,  // exactly the width given
        AtMost, // the width given while there is room, narrower when later panels need it
    };

    // The status bar must outlive the adapter.
    explicit QtStatusBar(QStatusBar* bar);

    void appendPanel(const QString& text, int width, Width kind = Width::Fixed);
    QLabel* panel(int position) const;

    int panelCount() const override;
    void insertPanel(int position) override;
    QString panelText(int position) const override;
    void setPanelText(int position, const QString& text) override;
    void fitPanelToText(int position) override;

private:
    QLabel* makePanel() const;

    QStatusBar* m_bar;
    QList<QLabel*> m_panels; // owned by the status bar
};

} // namespace velk
