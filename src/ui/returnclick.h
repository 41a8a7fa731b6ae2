#pragma once

#include <QObject>

class QAbstractButton;

namespace velk {

// Return and keypad Enter click a focused button, as Space does: operators of panels like this
// one expect it, and a plain Qt window only does it for dialog buttons.
class ReturnClick : public QObject {
    Q_OBJECT
public:
    explicit ReturnClick(QObject* parent) : QObject(parent) {}

    void watch(QAbstractButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace velk
