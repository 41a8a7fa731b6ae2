#pragma once

#include "controls/button.h"

#include <QObject>

class QAbstractButton;

namespace velk {

// A command button over any Qt button; the button must outlive the adapter.
class QtButton : public QObject, public Button {
    Q_OBJECT
public:
    explicit QtButton(QAbstractButton* button);

    bool isVisible() const override;
    void setVisible(bool visible) override;

private:
    QAbstractButton* m_button;
};

} // namespace velk
