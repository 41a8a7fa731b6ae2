#pragma once

#include "controls/checkbox.h"

class QAbstractButton;

namespace velk {

// A check box over any checkable Qt button; the button must outlive the adapter.
class QtCheckBox : public CheckBox {
public:
    explicit QtCheckBox(QAbstractButton* box);

    bool isChecked() const override;
    void setChecked(bool checked) override;

private:
    QAbstractButton* m_box;
};

} // namespace velk
