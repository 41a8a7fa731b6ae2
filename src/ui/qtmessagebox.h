#pragma once

#include "controls/messagebox.h"

class QWidget;

namespace velk {

// Modal Qt message boxes with an OK button only, shown over the given window. The event loop
// keeps running while one is open, so timer ticks still arrive.
class QtMessageBox : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent);

    void show(const QString& text, const QString& title, Icon icon) override;

private:
    QWidget* m_parent;
};

} // namespace velk
